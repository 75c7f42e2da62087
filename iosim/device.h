// What every simulated board device has in common: register access by offset,
// its interrupt request, the passing of CPU time, its option, whether it is
// still open, and a way for a window to notice that its state changed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace torva {

class Device;

// The library's side of every change of a device: it keeps the count of
// devices that request an interrupt and tells the board that something moved.
class DeviceListener {
public:
    virtual ~DeviceListener() = default;
    virtual void device_changed(Device& device) = 0;
};

// Device type numbers, as the device-type list gives them.
enum class DeviceType : int32_t {
    kOutport = 1,
    kInport = 2,
    kHexDisplay = 3,
    kFlipFlop = 4,
    kPrinter = 5,
    kKeyboard = 6,
    kDisplay = 7,
    kDoor = 8,
    kDrill = 9,
    kSerial = 10,
    kInOutPort = 11,
    kSegmentDigit = 12,
};

class Device {
public:
    Device(DeviceType type, std::string address_text)
        : type_(type), address_text_(std::move(address_text)) {}
    virtual ~Device() = default;
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    DeviceType type() const { return type_; }
    // The place the device was connected at ("$C00", "sci0", "$400/$600").
    const std::string& address_text() const { return address_text_; }

    // Register access by offset from the device's base. Offsets a device does
    // not have read $FF and ignore writes.
    virtual uint8_t read(uint32_t offset) = 0;
    virtual void write(uint32_t offset, uint8_t value) = 0;
    // Whether the device asks for an interrupt now.
    virtual bool irq_pending() const { return false; }
    // CPU time passing, for devices with moving parts or busy times. Time
    // may pass in pieces of any size: two calls do what one call with the
    // sum does.
    virtual void advance(uint32_t /*cycles*/) {}
    // Cycles until the device changes by itself as time passes (a motor
    // step, a busy time running out); kNoChange while nothing moves.
    static constexpr uint32_t kNoChange = UINT32_MAX;
    virtual uint32_t cycles_to_change() const { return kNoChange; }
    // A frame of the display ended. Devices that light something (LEDs) show
    // it, as the eye sees a real board, at the share of the frame's time it
    // was lit when averaged (Run Real Time); otherwise (a halted or stepped
    // board) as it is latched now.
    virtual void end_display_frame(bool averaged) { (void)averaged; }

    // A number the device keeps for the board's configuration files.
    int32_t option() const { return option_; }
    void set_option(int32_t option);

    // Open until the user closes the device's window; a closed device stays
    // in the library until the program closes it, but no longer answers.
    bool is_open() const { return open_; }
    void user_close();

    // Counts every change a window would show; the callback (if any) runs on
    // each one, on the thread that caused it.
    uint64_t change_count() const { return change_count_; }
    void set_change_callback(std::function<void()> callback) { on_change_ = std::move(callback); }

    // Told of every change before the window's callback; the library sets it.
    void set_listener(DeviceListener* listener) { listener_ = listener; }

protected:
    // Every change of state, whatever caused it, goes through here: register
    // access, time, the user's input, closing.
    void changed();

private:
    DeviceType type_;
    std::string address_text_;
    int32_t option_ = 0;
    bool open_ = true;
    uint64_t change_count_ = 0;
    std::function<void()> on_change_;
    DeviceListener* listener_ = nullptr;
    // Whether the library counts this device as requesting an interrupt.
    bool irq_counted_ = false;
    friend class IoSimulator;
};

} // namespace torva
