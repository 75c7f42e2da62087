// The device library's eleven operations, under the names the board's
// simulator has always called them by. Arguments and results are 32-bit
// integers; a handle is what OpenSim gave. Handle -1 stands for "nothing
// connected": every operation accepts it and changes nothing.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace torva {

class IoSimLibrary {
public:
    virtual ~IoSimLibrary() = default;

    // A version number for the device dialog's title.
    virtual int32_t GetIOVersion() = 0;
    // Bytes the device-type list needs, its ending zero byte included.
    virtual int32_t QueryIOListSize() = 0;
    // Copies the device-type list into the buffer, cut to fit and always
    // ended by a zero byte; gives the bytes written, the zero included.
    virtual int32_t GetIOList(std::span<char> buffer) = 0;
    // Opens a device of a type at a place ("$C00", "sci0", "$400/$600");
    // a handle of 0 or more, or -1 for an unknown type.
    virtual int32_t OpenSim(int32_t type, std::string_view address, int32_t reserved) = 0;
    // 0, or -1 for a handle that names no device.
    virtual int32_t SetOptionSim(int32_t handle, int32_t option) = 0;
    // The device's option; 0 for a handle that names no device.
    virtual int32_t GetOptionSim(int32_t handle) = 0;
    // 0, or -1 for a handle that names no device.
    virtual int32_t CloseSim(int32_t handle) = 0;
    // 1 while the device is open; 0 once the user closed it, and for any
    // handle that names no device.
    virtual int32_t QuerySim(int32_t handle) = 0;
    // The byte at a register offset in the low 8 bits; $FF where no open
    // device answers.
    virtual int32_t InputSim(int32_t handle, int32_t offset) = 0;
    // 0, or -1 where no open device takes the byte.
    virtual int32_t OutputSim(int32_t handle, int32_t byte, int32_t offset) = 0;
    // 1 while the open device requests an interrupt, else 0.
    virtual int32_t IsIosimPendingIrq(int32_t handle) = 0;
};

} // namespace torva
