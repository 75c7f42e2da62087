// Fills a waveform from a running board: every byte the program writes to
// the board's bus (named after the device there), the on-chip port
// registers, the bytes each serial line sends, and the switches a lab sets.
#pragma once

#include "lab/board_places.h"
#include "lab/waveform.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace torva {
class Board;
}

namespace torva::lab {

class WaveformRecorder {
public:
    // now gives the run's time in cycles, for every change recorded.
    WaveformRecorder(Board& board, std::function<Cycles()> now);

    // Connects the recorder to the board's observers. A caller that watches
    // them too calls the handlers below from its own observers instead.
    void attach();

    void bus_write(uint32_t address, uint8_t byte);
    void register_write(uint16_t offset, uint8_t byte);
    void serial_byte(int interface, uint8_t byte);
    void input(const BoardPlace& place, uint8_t value);

    std::shared_ptr<Waveform> waveform() const { return waveform_; }

private:
    // The signal a bus address is recorded as: the device register there, or
    // the address itself.
    uint32_t bus_signal(uint32_t address);

    Board& board_;
    std::function<Cycles()> now_;
    std::shared_ptr<Waveform> waveform_ = std::make_shared<Waveform>();
    uint32_t ports_[4];
    uint32_t serial_[2];
    uint32_t serial_count_[2];
    uint32_t sent_[2] = {0, 0};
};

} // namespace torva::lab
