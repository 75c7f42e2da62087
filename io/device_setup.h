// The board's device configuration: the board option word, the connection
// values of both device tables, the 20 connection slots, opening and closing
// devices, binding rows, and the descriptor file read last.
#pragma once

#include "cpu/onchip/serial_interface.h"
#include "io/device_table.h"
#include "io/device_type_list.h"
#include "io/setup_messages.h"
#include "iosim/iosim_library.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace torva {

struct ConnectionSlot {
    uint32_t base = 0;
    int32_t handle = -1; // -1: the slot is free
    int32_t type = 0;
    bool is_new = false;               // opened since the configuration was last committed
    int32_t row = -1;                  // device-table row, -1 for none
    BoardKind board = BoardKind::kBus; // the table the row belongs to
    std::string name;                  // the address text given at opening, or empty

    bool used() const { return handle >= 0; }
};

class DeviceSetup {
public:
    static constexpr int kSlotCount = 20;
    static constexpr size_t kMaxSlotName = 32;

    // The serial interfaces are the on-chip ones the serial rows attach.
    DeviceSetup(IoSimLibrary& library, std::array<SerialInterface, 2>& serial,
                MessageSink messages = {});
    DeviceSetup(const DeviceSetup&) = delete;
    DeviceSetup& operator=(const DeviceSetup&) = delete;

    IoSimLibrary& library() { return library_; }
    void set_message_sink(MessageSink messages) { messages_ = std::move(messages); }
    void show(const std::string& text) const;

    uint32_t option_word() const { return option_word_; }
    void set_option_word(uint32_t word) {
        option_word_ = word;
        if (on_option_word_) on_option_word_();
    }
    // Called after every change of the option word (the board's address
    // decoding depends on it).
    void set_option_word_callback(std::function<void()> callback) {
        on_option_word_ = std::move(callback);
    }
    BoardKind board() const { return board_kind(option_word_); }

    // The device-type list, fetched from the library the first time it is asked for.
    const DeviceTypeList& types();

    // Connection values of the selected board's table. Rows outside the
    // table read as free.
    int row_count() const { return int(device_rows(board()).size()); }
    int32_t row_value(int row) const { return row_value(board(), row); }
    int32_t row_value(BoardKind board, int row) const;
    std::string device_list_line(int row) const;

    // The handle of an open device bound to a row of a table, or -1.
    int32_t row_handle(BoardKind board, int row);

    // Opens a device in the first free slot: the slot number, or -1 when all
    // slots are taken (with the message) or the library refuses the device.
    // An empty address text stands for the address as "$%X".
    int open_device(int row, int32_t type, uint32_t address, int32_t option,
                    std::string_view address_text);

    // Whether a row of the selected board could take a device now: inside the
    // table, free, and for a serial row its interface without a device.
    bool can_bind(int row) const;
    // Puts a handle into a row of the selected board as the binding rules
    // say. False (nothing changed) when can_bind says no.
    bool bind(int row, int32_t handle);
    // Frees a row of the selected board and gives the handle it held, -1
    // when it held none. The caller closes that device.
    int32_t unbind(int row);

    // Connect in the setup dialog: opens the row's device as the table says
    // (port rows with the type the user chose) and binds it. The slot, or -1.
    int connect_row(int row, int32_t chosen_type = 0);
    // Disconnect in the setup dialog: unbinds the row, closes its device and
    // frees the device's slot.
    void disconnect_row(int row);

    // Closes every device and frees every slot and every row of both tables.
    void close_all();
    // Releases the slots whose device the user closed.
    void prune();
    // Unbinds the slot's row, closes its device and frees it.
    void release_slot(int slot);
    // Closes the devices bound to the table of the board not selected now
    // (left behind by a switch of boards).
    void close_other_board();
    // The configuration is accepted: no slot counts as new any more.
    void commit();
    // Undoes everything since the last commit: closes the new devices.
    void cancel_new();

    // (Not named slots(): window code includes this beside Qt, whose
    // keyword macro takes that name.)
    std::span<const ConnectionSlot> connection_slots() const { return slots_; }
    int slot_of_handle(int32_t handle) const;
    // A name for the place a device is bound to ("bus-row-3", "bare-row-0"),
    // under which its window keeps its position; "" for a device without a
    // row.
    std::string place_key(int32_t handle) const;
    // The name of the row a device is bound to ("Port A"), "" for none.
    std::string place_name(int32_t handle) const;
    // The handle of the device attached to an on-chip serial interface, or -1.
    int32_t serial_handle(int interface) const {
        if (interface < 0 || interface > 1) return -1;
        return serial_handles_[size_t(interface)];
    }

    // The descriptor file read last, and its name as the simulator shows it.
    const std::string& current_descriptor() const { return current_descriptor_; }
    void set_current_descriptor(std::string path) { current_descriptor_ = std::move(path); }
    std::string descriptor_display_name() const;
    // The directory the descriptor file dialogs start in: that of the file
    // chosen last, "" for the current directory.
    const std::string& descriptor_dialog_dir() const { return descriptor_dialog_dir_; }
    void set_descriptor_dialog_dir(std::string dir) { descriptor_dialog_dir_ = std::move(dir); }

private:
    using RowValues = std::array<int32_t, kMaxRows>;
    RowValues& values(BoardKind board) { return board == BoardKind::kBare ? bare_ : bus_; }
    const RowValues& values(BoardKind board) const {
        return board == BoardKind::kBare ? bare_ : bus_;
    }
    int32_t unbind(BoardKind board, int row);
    void attach_serial(int interface, int32_t handle);
    void detach_serial(int interface);

    IoSimLibrary& library_;
    std::array<SerialInterface, 2>& serial_;
    MessageSink messages_;
    uint32_t option_word_ = 0;
    RowValues bus_;
    RowValues bare_;
    std::array<ConnectionSlot, kSlotCount> slots_{};
    std::array<int32_t, 2> serial_handles_{-1, -1};
    DeviceTypeList types_;
    std::string current_descriptor_;
    std::string descriptor_dialog_dir_;
    std::function<void()> on_option_word_;
};

} // namespace torva
