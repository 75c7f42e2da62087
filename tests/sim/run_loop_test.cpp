// Fast runs skip the per-step checks while nothing can need them. A twin
// simulator that takes every step through the full one-step algorithm is the
// oracle: after any number of steps both must agree on registers, counters,
// memory and what the devices saw.
#include "sim_fixture.h"

#include "iosim/devices/flip_flop.h"
#include "iosim/devices/printer.h"
#include "iosim/devices/serial_device.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace torva {
namespace {

using test::Chunk;

struct Twin {
    Board board;
    Cpu cpu{board.memory()};
    SimulatorUi ui;
    Simulator sim{board, cpu, ui, "."};
    SerialDevice* console = nullptr;
    Printer* printer = nullptr;
    FlipFlop* flip_flop = nullptr;
    // How many of a test's outside events this twin has seen.
    size_t events = 0;

    // The program, with a serial console on interface 0 or with a printer
    // and a flip-flop. (The console's polls look at the devices too, so
    // each kind is tested without the other.)
    Twin(std::initializer_list<Chunk> program, bool with_console,
         CycleModel model = CycleModel::Classic) {
        sim.window_created();
        sim.set_cycle_model(model);
        if (with_console) {
            console = test::connect_device<SerialDevice>(board, bus_row::kSerial0);
        } else {
            printer = test::connect_device<Printer>(board, bus_row::kPrinter);
            flip_flop = test::connect_device<FlipFlop>(board, bus_row::kFlipFlop);
        }
        sim.reset_simulator(true);
        board.memory().set_rom_write_enable(true);
        for (const auto& [address, bytes] : program)
            for (uint32_t i = 0; i < bytes.size(); ++i)
                board.memory().mem_write_byte(address + i, bytes[i]);
        board.memory().set_rom_write_enable(false);
        cpu.regs.pc = program.begin()->first;
    }
};

void expect_same(Twin& fast, Twin& slow, uint64_t steps) {
    SCOPED_TRACE(testing::Message() << "after " << steps << " steps");
    // Registers, waiting state, counters and program page.
    const auto state = [](Twin& twin) {
        const CpuRegisters& r = twin.cpu.regs;
        return std::vector<uint64_t>{r.pc,
                                     r.sp,
                                     r.x,
                                     r.y,
                                     r.d(),
                                     r.ccr,
                                     twin.cpu.cpu_waiting,
                                     twin.sim.cycle_total(),
                                     twin.sim.cycle_counter(),
                                     twin.sim.byte_counter(),
                                     twin.board.memory().get_ppage()};
    };
    EXPECT_EQ(state(slow), state(fast));
    for (uint32_t address = 0x2000; address < 0x2200; ++address)
        ASSERT_EQ(*std::as_const(slow.board.memory()).storage(address),
                  *std::as_const(fast.board.memory()).storage(address))
            << std::hex << address;
    if (fast.console) {
        EXPECT_EQ(slow.console->output(), fast.console->output());
        EXPECT_EQ(slow.console->pending_input(), fast.console->pending_input());
    } else {
        EXPECT_EQ(slow.printer->paper(), fast.printer->paper());
        EXPECT_EQ(slow.flip_flop->is_set(), fast.flip_flop->is_set());
    }
}

// Runs the fast twin in headless runs of varying length and the slow twin
// one full step at a time; `between` acts on both at every boundary between
// two runs, given the steps so far.
void run_both(Twin& fast, Twin& slow, uint64_t total,
              const std::function<void(Twin&, uint64_t steps)>& between = {}) {
    static constexpr uint64_t kChunks[] = {17, 1, 100, 3, 999, 2};
    uint64_t steps = 0;
    for (size_t i = 0; steps < total; ++i) {
        if (between) {
            between(fast, steps);
            between(slow, steps);
        }
        const uint64_t chunk = std::min(kChunks[i % std::size(kChunks)], total - steps);
        const auto result = fast.sim.run_headless(chunk, {});
        ASSERT_EQ(Simulator::StopReason::kStepLimit, result.reason);
        ASSERT_EQ(chunk, result.steps);
        for (uint64_t k = 0; k < chunk; ++k)
            slow.sim.step(false);
        steps += chunk;
        slow.board.catch_up_devices();
        expect_same(fast, slow, steps);
        if (testing::Test::HasFailure()) return;
    }
}

TEST(RunLoopTest, SerialInterruptsEnabledMidRunAndWaitingForInput) {
    // The transmit interrupt is enabled by a write after a delay loop and
    // must be taken at the very next step; then the program echoes what
    // comes in by the receive interrupt, whether it is busy or idles in WAI
    // when a character arrives.
    const std::initializer_list<Chunk> program = {
        {0x1000,
         {
             0xCF, 0x3C, 0x00, // $1000 LDS  #$3C00
             0x10, 0xEF,       // $1003 CLI
             0xC6, 0x05,       // $1005 LDAB #5
             0x04, 0x31, 0xFD, // $1007 DBNE B,$1007
             0x86, 0xAC,       // $100A LDAA #$AC   TIE, RIE, TE, RE
             0x5A, 0xCB,       // $100C STAA $CB
             0xC6, 0x7D,       // $100E LDAB #125   busy for a while,
             0x04, 0x31, 0xFD, // $1010 DBNE B,$1010
             0x3E,             // $1013 WAI          then idle
             0x20, 0xF8,       // $1014 BRA  $100E
         }},
        {0x1100,
         {
             0x96, 0xCC, // $1100 LDAA $CC     status
             0x85, 0x20, // $1102 BITA #$20    a character in?
             0x27, 0x05, // $1104 BEQ  $110B
             0xD6, 0xCF, // $1106 LDAB $CF
             0x5B, 0xCF, // $1108 STAB $CF     echo it
             0x0B,       // $110A RTI
             0x86, 0x2C, // $110B LDAA #$2C    transmitter empty: its interrupt off
             0x5A, 0xCB, // $110D STAA $CB
             0x0B,       // $110F RTI
         }},
        {0xFFD6, {0x11, 0x00}},
    };
    for (const CycleModel model : {CycleModel::Classic, CycleModel::Cpu12}) {
        SCOPED_TRACE(cycle_model_name(model).name);
        Twin fast(program, true, model), slow(program, true, model);
        run_both(fast, slow, 6000, [](Twin& twin, uint64_t steps) {
            static constexpr std::pair<uint64_t, const char*> kTyped[] = {{120, "hi"}, {3000, "!"}};
            if (twin.events < std::size(kTyped) && steps >= kTyped[twin.events].first)
                twin.console->type_text(kTyped[twin.events++].second);
        });
        EXPECT_EQ("hi!", fast.console->output());
    }
}

TEST(RunLoopTest, RealTimeInterruptsCountedInAHandler) {
    const std::initializer_list<Chunk> program = {
        {0x1000,
         {
             0xCF, 0x3C, 0x00, // $1000 LDS  #$3C00
             0x86, 0x80,       // $1003 LDAA #$80
             0x5A, 0x38,       // $1005 STAA $38    real-time interrupt enable
             0x86, 0x11,       // $1007 LDAA #$11
             0x5A, 0x3B,       // $1009 STAA $3B    period 4096 cycles
             0x10, 0xEF,       // $100B CLI
             0x08,             // $100D INX
             0x20, 0xFD,       // $100E BRA  $100D
         }},
        {0x1100,
         {
             0x86, 0x80,       // $1100 LDAA #$80
             0x5A, 0x37,       // $1102 STAA $37    clear the flag
             0x72, 0x20, 0x00, // $1104 INC  $2000
             0x0B,             // $1107 RTI
         }},
        {0xFFF0, {0x11, 0x00}},
    };
    for (const CycleModel model : {CycleModel::Classic, CycleModel::Cpu12}) {
        SCOPED_TRACE(cycle_model_name(model).name);
        Twin fast(program, false, model), slow(program, false, model);
        run_both(fast, slow, 30000);
        EXPECT_GE(*std::as_const(fast.board.memory()).storage(0x2000), 5);
    }
}

// The real-time interrupt's period is a number of bus cycles: a loop of
// IBNE X, which the classic model charges 6 cycles and the CPU12 model 3,
// passes twice as often in one period under the CPU12 model.
TEST(RunLoopTest, RealTimeInterruptPeriodInTheChosenModelsCycles) {
    const std::initializer_list<Chunk> program = {
        {0x1000,
         {
             0xCF, 0x3C, 0x00, // $1000 LDS  #$3C00
             0x86, 0x80,       // $1003 LDAA #$80
             0x5A, 0x38,       // $1005 STAA $38    real-time interrupt enable
             0x86, 0x11,       // $1007 LDAA #$11
             0x5A, 0x3B,       // $1009 STAA $3B    period 4096 cycles from here
             0xCE, 0x00, 0x00, // $100B LDX  #0
             0x10, 0xEF,       // $100E CLI
             0x04, 0xB5, 0xFD, // $1010 IBNE X,$1010
         }},
        {0x1100,
         {
             0x7E, 0x20, 0x00, // $1100 STX  $2000    passes so far
             0x3E,             // $1103 WAI           and stay
         }},
        {0xFFF0, {0x11, 0x00}},
    };
    for (const auto& [model, loop_cycles] :
         {std::pair{CycleModel::Classic, 6}, std::pair{CycleModel::Cpu12, 3}}) {
        SCOPED_TRACE(cycle_model_name(model).name);
        Twin twin(program, false, model);
        twin.sim.run_headless(5000, {});
        const int passes = *std::as_const(twin.board.memory()).storage(0x2000) << 8 |
                           *std::as_const(twin.board.memory()).storage(0x2001);
        // STAA, LDX and CLI (2 + 2 + 1 cycles in either model) lie between
        // the period's start and the loop.
        const int expected = (4096 - 5) / loop_cycles;
        EXPECT_NEAR(expected, passes, 1);
    }
}

TEST(RunLoopTest, DeviceRequestsFromTheUserAndFromDeviceTime) {
    // The printer requests an interrupt as soon as a register write enables
    // it, and again once its busy time is over; the flip-flop when the user
    // presses its button between two runs.
    const std::initializer_list<Chunk> program = {
        {0x1000,
         {
             0xCF, 0x3C, 0x00, // $1000 LDS  #$3C00
             0x10, 0xEF,       // $1003 CLI
             0x86, 0x02,       // $1005 LDAA #$02
             0x7A, 0x08, 0x02, // $1007 STAA $0802   interrupt on: the printer is ready
             0x86, 0x50,       // $100A LDAA #'P'
             0x7A, 0x08, 0x00, // $100C STAA $0800   printer data
             0x86, 0x03,       // $100F LDAA #$03
             0x7A, 0x08, 0x02, // $1011 STAA $0802   strobe, interrupt when ready
             0x02,             // $1014 INY
             0x20, 0xFD,       // $1015 BRA  $1014
         }},
        {0x1100,
         {
             0xB6, 0x0D, 0xC0, // $1100 LDAA $0DC0   flip-flop: reading clears it
             0x72, 0x20, 0x00, // $1103 INC  $2000
             0x79, 0x08, 0x02, // $1106 CLR  $0802   printer interrupt off
             0x0B,             // $1109 RTI
         }},
        {0xFFF2, {0x11, 0x00}},
    };
    Twin fast(program, false), slow(program, false);
    run_both(fast, slow, 3000, [](Twin& twin, uint64_t steps) {
        static constexpr uint64_t kPresses[] = {1240, 2362};
        if (twin.events < std::size(kPresses) && steps >= kPresses[twin.events]) {
            twin.flip_flop->press_button();
            ++twin.events;
        }
    });
    EXPECT_EQ(4, *std::as_const(fast.board.memory()).storage(0x2000));
}

TEST(RunLoopTest, RegisterBlockMovedOverRamDuringARun) {
    const std::initializer_list<Chunk> program = {
        {0x1000,
         {
             0x86, 0x55,       // $1000 LDAA #$55
             0x7A, 0x20, 0x30, // $1002 STAA $2030   RAM
             0xC6, 0x20,       // $1005 LDAB #$20
             0x7B, 0x00, 0x11, // $1007 STAB $0011   register block to $2000
             0xB6, 0x20, 0x3B, // $100A LDAA $203B   the clock's real-time control
             0x7A, 0x21, 0x00, // $100D STAA $2100
             0x79, 0x20, 0x11, // $1010 CLR  $2011   register block back to 0
             0xB6, 0x20, 0x30, // $1013 LDAA $2030   RAM again
             0x7A, 0x21, 0x01, // $1016 STAA $2101
             0x72, 0x21, 0x02, // $1019 INC  $2102
             0x20, 0xE2,       // $101C BRA  $1000
         }},
    };
    Twin fast(program, true), slow(program, true);
    run_both(fast, slow, 2000);
    EXPECT_EQ(0x55, *std::as_const(fast.board.memory()).storage(0x2101));
}

} // namespace
} // namespace torva
