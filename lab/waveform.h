// The board's outputs over simulated time: the values each signal took and
// when, written as a Value Change Dump for waveform viewers (GTKWave).
#pragma once

#include "lab/lab_time.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace torva::lab {

class Waveform {
public:
    struct Signal {
        std::string name;
        int width;
    };
    struct Change {
        Cycles at;
        uint32_t signal;
        uint32_t value;
    };
    // Beyond this many changes the recording stops (and says so): a program
    // that toggles a port in a tight loop fills memory fast.
    static constexpr size_t kDefaultChangeLimit = 4'000'000;

    explicit Waveform(size_t change_limit = kDefaultChangeLimit) : change_limit_(change_limit) {}

    // A signal of width bits (1 to 32); gives its number. Names are unique:
    // a name given twice gives the first signal's number.
    uint32_t add_signal(std::string_view name, int width);
    // The number of a signal, or -1.
    int find(std::string_view name) const;
    // The signal took value at a time; the same value again is no change.
    void change(uint32_t signal, Cycles at, uint32_t value);

    const std::vector<Signal>& signals() const { return signals_; }
    // In the order recorded; write_vcd puts them in time order.
    const std::vector<Change>& changes() const { return changes_; }
    bool truncated() const { return truncated_; }

    // The dump, with times in nanoseconds of the board's bus clock and the
    // comment (lab, submission) in its header.
    void write_vcd(std::ostream& out, std::string_view comment) const;

private:
    size_t change_limit_;
    std::vector<Signal> signals_;
    std::vector<uint32_t> last_;
    std::vector<bool> known_;
    std::vector<Change> changes_;
    bool truncated_ = false;
};

} // namespace torva::lab
