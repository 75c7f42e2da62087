// A simulator over a fresh board for tests: a recording window stand-in and
// helpers that write S-record files and load them.
#pragma once

#include "records/srecord_writer.h"
#include "sim/simulator.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace torva::test {

// Records boxes, questions and timer calls; answers questions from a script.
class RecordingUi final : public SimulatorUi {
public:
    struct Box {
        std::string caption;
        std::string text;
        bool operator==(const Box&) const = default;
    };
    std::vector<Box> boxes;
    std::vector<std::string> questions;
    std::deque<bool> answers; // No when the script runs out
    int timer_starts = 0;
    int timer_stops = 0;
    int setup_runs = 0;
    std::optional<std::string> chosen_file;

    void show_message(std::string_view caption, std::string_view text) override {
        boxes.push_back({std::string(caption), std::string(text)});
    }
    bool ask_yes_no(std::string_view, std::string_view text) override {
        questions.emplace_back(text);
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void start_timer(RunMode) override { ++timer_starts; }
    void stop_timer() override { ++timer_stops; }
    std::optional<std::string> choose_load_file() override { return chosen_file; }
    bool run_target_setup() override {
        ++setup_runs;
        return false;
    }
};

// Pieces of a load file: bytes at an address.
using Chunk = std::pair<uint32_t, std::vector<uint8_t>>;

// Connects the device setup's row (of the chosen type, or its own) and gives
// its model; null when the row cannot be connected.
template <typename Model>
Model* connect_device(Board& board, int row, int32_t type = 0) {
    const int slot = board.setup().connect_row(row, type);
    return slot < 0 ? nullptr
                    : board.iosim().device_as<Model>(
                          board.setup().connection_slots()[size_t(slot)].handle);
}

struct SimulatorFixture : ::testing::Test {
    TempDir dir;
    Board board;
    Cpu cpu{board.memory()};
    RecordingUi ui;
    std::filesystem::path program_dir = dir.path() / "bin";
    Simulator sim{board, cpu, ui, program_dir};

    SimulatorFixture() { sim.window_created(); }

    // Writes an S-record file of the chunks (no end record when start is none).
    std::string write_s19(const std::string& name, std::initializer_list<Chunk> chunks,
                          std::optional<uint32_t> start = std::nullopt) {
        std::string text;
        for (const auto& [address, bytes] : chunks)
            text += srecord_data(address, bytes) + "\n";
        if (start) text += srecord_end(*start) + "\n";
        return dir.write(name, text);
    }
    // Loads the chunks through the load chain; PC lands on the first chunk.
    void load(std::initializer_list<Chunk> chunks) {
        sim.load_file().load_file_path = write_s19("program.s19", chunks);
        ASSERT_EQ(kLoadOk, sim.load_chain());
    }
    // Runs until the CPU is about to execute SWI, or max_steps.
    Simulator::RunResult run_to_swi(uint64_t max_steps = 100000) {
        static constexpr uint8_t kSwi[] = {0x3F};
        return sim.run_headless(max_steps, kSwi);
    }
    uint8_t read(uint32_t address) {
        uint8_t byte = 0;
        board.memory().mem_read_byte(address, byte);
        return byte;
    }
};

} // namespace torva::test
