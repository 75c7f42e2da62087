// A lab as its file states it: the program a submission must be, the board
// it runs on, how long it may run, the stimuli applied over simulated time
// and the checks that score it.
#pragma once

#include "cpu/cycle_model.h"
#include "cpu/interrupt_host.h"
#include "io/device_table.h"
#include "lab/board_places.h"
#include "lab/lab_time.h"
#include "lab/text_pattern.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace torva::lab {

// Where the lab file says something, for messages about it.
struct SourceSpot {
    int line = 0;
    int column = 0;
};

// An address as a lab names it: a label of the program (plus an offset) or a
// number. Labels are looked up in each submission's own symbols.
struct Location {
    std::string label; // empty: address alone
    int64_t offset = 0;
    uint32_t address = 0;
    std::string text() const;
};

// Where a run stops early: before an SWI or BGND, or on reaching a location.
struct StopPoint {
    enum class Kind { kSwi, kBgnd, kLocation };
    Kind kind;
    Location location;
    std::string text() const;
};

enum class StimulusKind { kSet, kPress, kRelease, kSend, kAction, kInterrupt, kReset };

// One thing done to the board at a time. Paced texts and held keys are
// spread into one stimulus per character and per key edge when read.
struct Stimulus {
    Cycles at = 0;
    StimulusKind kind = StimulusKind::kSet;
    const BoardPlace* place = nullptr; // set, press, release, send, action
    int bit = -1;                      // set: one switch; -1 sets all eight
    uint8_t value = 0;                 // set: switches or the switch; press: key code
    std::string text;                  // send
    DeviceAction action{};             // action
    InterruptSource interrupt = InterruptSource::kNone; // IRQ or XIRQ
    SourceSpot spot;
};

enum class CheckKind { kOutput, kSerial, kMemory, kStop, kCycles, kNoUndefined };
enum class When { kAt, kAlways, kEventually };

struct RegisterExpectation {
    std::string name; // "A", "B", "D", "X", "Y", "SP", "PC", "CCR"
    Location value;
};

struct Check {
    std::string name;
    int points = 1;
    CheckKind kind = CheckKind::kOutput;
    SourceSpot spot;

    // When the check looks: at one time, or over a window (always/eventually).
    When when = When::kAt;
    Cycles at = kEnd;
    Window window;
    // Always: after each stimulus the program has this long to react.
    Cycles settle = 0;

    // Output and serial: the place looked at.
    const BoardPlace* place = nullptr;
    uint32_t bus_address = 0; // output at a bus address ("$A00"): place is null
    // A byte compared under a mask with a number or with another place's inputs.
    uint8_t mask = 0xFF;
    std::optional<uint8_t> equals;
    const BoardPlace* follows = nullptr;
    // Text (display, serial, printer): equal, containing, matching.
    std::optional<std::string> text_equals;
    std::optional<std::string> contains;
    std::string pattern;
    TextPattern matches;

    // Memory: the bytes expected at a location (words are big-endian).
    Location location;
    std::vector<uint8_t> bytes;
    int unit = 1; // 1 bytes, 2 words: how they are shown

    // Stop: how the program must stop (none: any stop), the registers there.
    std::optional<StopPoint> stopped;
    bool any_stop = false;
    std::vector<RegisterExpectation> registers;

    // Cycles from the start until the program stops.
    Cycles cycles_at_most = 0;
};

struct DeviceChoice {
    const BoardPlace* place;
    int32_t type; // 0: the row's own
};

struct Lab {
    std::filesystem::path file;
    std::string title;
    // The file a submission folder must hold; also the submission when none is given.
    std::string program;
    // A board descriptor (.hc12sim); empty: the board's default descriptor.
    std::filesystem::path target;
    BoardKind board = BoardKind::kBus;
    std::vector<DeviceChoice> devices;
    bool monitor = false;
    bool start_at_reset = false;
    // How the run counts each instruction's cycles; every time and cycle
    // count of the lab is in these cycles.
    CycleModel cycle_model = CycleModel::Classic;
    Cycles time_limit = kBusClockHz; // one second
    std::vector<StopPoint> stops{{StopPoint::Kind::kSwi, {}}};
    uint64_t max_steps = 0; // 0: from the time limit
    size_t output_limit = 65536;
    std::vector<Stimulus> stimuli; // in time order, file order within a time
    std::vector<Check> checks;

    int max_points() const;
    uint64_t step_limit() const;
};

} // namespace torva::lab
