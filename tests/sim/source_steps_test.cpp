// The steps that follow the source, on programs assembled with their debug
// map: over calls to breakpoints, out of nested calls, into routines
// without source, over a line that loops, and a step that never comes back.
#include "asm/session.h"
#include "sim/debug_map.h"
#include "sim/source_steps.h"
#include "sim_fixture.h"
#include "support/tool_process.h"

#include <filesystem>

namespace torva {
namespace {

class SourceStepsTest : public test::SimulatorFixture {
protected:
    SourceSteps steps{sim};

    // Assembles the source with its map in the temporary directory and
    // loads it; `extra` adds data records that have no source lines.
    void load_source(const std::string& source, std::initializer_list<test::Chunk> extra = {}) {
        dir.write("prog.asm", source);
        const auto old = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        AsmSession session;
        const int ok = asm_assemble(session, "-g \"prog.asm\"");
        std::filesystem::current_path(old);
        ASSERT_EQ(1, ok);
        std::string text = test::read_file(dir.path() / "prog.s19");
        // After the header record, before the end record.
        for (const auto& [address, bytes] : extra)
            text.insert(text.find('\n') + 1, srecord_data(address, bytes) + "\n");
        dir.write("prog.s19", text);
        sim.load_new((dir.path() / "prog.s19").string());
        ASSERT_TRUE(sim.load_file().debug_map);
    }
    uint32_t label(const char* name) { return sim.load_file().debug_map->symbol(name)->value; }
    int line_of_pc() { return sim.load_file().debug_map->place_of(cpu.regs.pc).line; }
    // Runs the step under way to its end (or a step budget).
    void finish(uint64_t budget = 10'000'000) {
        while (sim.running() && budget > 0) {
            budget -= std::min<uint64_t>(budget, 100'000);
            sim.run_fast(100'000);
        }
    }
    void step(SourceStep kind) {
        ASSERT_TRUE(steps.start(kind));
        finish();
        EXPECT_FALSE(sim.running());
    }
};

constexpr const char* kNested = "       org $1000\n"  // 1
                                "START  lds #$3C00\n" // 2
                                "       jsr OUTER\n"  // 3
                                "       nop\n"        // 4
                                "       swi\n"        // 5
                                "OUTER  psha\n"       // 6
                                "       bsr INNER\n"  // 7
                                "       pula\n"       // 8
                                "       rts\n"        // 9
                                "INNER  ldaa #1\n"    // 10
                                "       ldab #2\n"    // 11
                                "       rts\n";       // 12

TEST_F(SourceStepsTest, OverIntoAndOutFollowTheLines) {
    load_source(kNested);
    step(SourceStep::kInto); // lds
    EXPECT_EQ(3, line_of_pc());
    step(SourceStep::kOver); // the whole of OUTER
    EXPECT_EQ(4, line_of_pc());
    EXPECT_EQ(0x3C00, cpu.regs.sp);
}

TEST_F(SourceStepsTest, OverACallStopsAtABreakpointInside) {
    load_source(kNested);
    sim.goto_here(label("START") + 3); // at the JSR
    finish();
    sim.breakpoints().add(label("INNER") + 2, BreakState::kEnabled);
    step(SourceStep::kOver);
    EXPECT_EQ(11, line_of_pc());
}

TEST_F(SourceStepsTest, OutOfTwoNestedCallsReturnsOneLevel) {
    load_source(kNested);
    sim.breakpoints().add(label("INNER") + 2, BreakState::kEnabled);
    sim.start_run(RunMode::kRunningFast);
    finish();
    ASSERT_EQ(11, line_of_pc());
    step(SourceStep::kOut);
    EXPECT_EQ(8, line_of_pc()) << "back in OUTER after its BSR";
    step(SourceStep::kOut); // PULA balances OUTER's PSHA on the way out
    EXPECT_EQ(4, line_of_pc());
}

TEST_F(SourceStepsTest, IntoARoutineWithoutSourceComesBackToTheNextLine) {
    load_source("       org $1000\n"
                "       lds #$3C00\n"
                "       jsr $FE06\n"
                "       staa $2000\n"
                "       swi\n",
                {{0xFE06, {0x86, 0x2A, 0x3D}}}); // LDAA #42, RTS: no lines of its own
    step(SourceStep::kInto);
    step(SourceStep::kInto);
    EXPECT_EQ(4, line_of_pc());
    EXPECT_EQ(42, cpu.regs.a);
}

TEST_F(SourceStepsTest, OverALineThatLoopsRunsOneIteration) {
    load_source("       org $1000\n"
                "       ldy #5\n"
                "LOOP   dbne y,LOOP\n"
                "       swi\n");
    step(SourceStep::kInto);
    step(SourceStep::kOver);
    EXPECT_EQ(3, line_of_pc());
    EXPECT_EQ(4, cpu.regs.y);
}

TEST_F(SourceStepsTest, AStepWaitingForInputCanBeHalted) {
    load_source("       org $1000\n"
                "       lds #$3C00\n"
                "       jsr WAITKEY\n"
                "       swi\n"
                "WAITKEY brclr $2000,#1,WAITKEY\n"
                "       rts\n");
    step(SourceStep::kInto);
    ASSERT_TRUE(steps.start(SourceStep::kOver));
    finish(1'000'000);
    EXPECT_TRUE(sim.running() && sim.stepping());
    sim.halt();
    EXPECT_FALSE(sim.running() || sim.stepping());
    EXPECT_EQ(5, line_of_pc());
}

TEST_F(SourceStepsTest, RunToAnAddressAndCallFacts) {
    load_source(kNested);
    ASSERT_TRUE(steps.run_to(label("INNER")));
    finish();
    EXPECT_EQ(10, line_of_pc());
    struct Case {
        std::vector<uint8_t> bytes;
        uint32_t length;
        bool call, returns;
    };
    for (const Case& c :
         {Case{{0x16, 0x10, 0x00}, 3, true, false}, Case{{0x07, 0x02}, 2, true, false},
          Case{{0x4A, 0x10, 0x00, 0x01}, 4, true, false}, Case{{0x3F}, 1, true, false},
          Case{{0x18, 0x30}, 2, true, false}, Case{{0x18, 0x06}, 2, false, false},
          Case{{0x3D}, 1, false, true}, Case{{0x0A}, 1, false, true}, Case{{0x0B}, 1, false, true},
          Case{{0x86, 0x01}, 2, false, false}}) {
        for (size_t i = 0; i < c.bytes.size(); ++i)
            board.memory().mem_write_byte(uint32_t(0x2000 + i), c.bytes[i]);
        const auto facts = instruction_facts(board.memory(), 0x2000);
        ASSERT_TRUE(facts);
        EXPECT_EQ(c.length, facts->length) << int(c.bytes[0]);
        EXPECT_EQ(c.call, facts->call) << int(c.bytes[0]);
        EXPECT_EQ(c.returns, facts->returns) << int(c.bytes[0]);
    }
}

TEST_F(SourceStepsTest, AMapOfAnotherBuildIsLeftAlone) {
    load_source(kNested);
    const std::string map = test::read_file(dir.path() / "prog.dbg");
    load_source(std::string("; one line more\n") + kNested);
    dir.write("prog.dbg", map);
    sim.load_new((dir.path() / "prog.s19").string());
    EXPECT_FALSE(sim.load_file().debug_map);
}

} // namespace
} // namespace torva
