// The fast read path: blocks of plain storage the bus hands out give the
// same bytes as the byte calls, and a layout change is seen at once.
#include "cpu/cpu.h"
#include "support/flat_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace torva {
namespace {

// A flat memory that hands out its blocks, except those marked as I/O or
// holding a hole; the program page window answers paged addresses of the
// current page. Writes are logged, so that they can be undone.
class DirectMemory final : public MemoryBus {
public:
    struct Write {
        uint32_t address;
        uint8_t before, after;
        bool operator==(const Write&) const = default;
    };
    test::FlatMemory flat;
    std::bitset<MemoryBus::kDirectBlocks> io_blocks;
    uint32_t generation = 7;
    int byte_reads = 0;
    std::vector<Write> writes;

    int mem_read_byte(uint32_t address, uint8_t& byte) override {
        ++byte_reads;
        return flat.mem_read_byte(window(address), byte);
    }
    int mem_write_byte(uint32_t address, uint8_t byte) override {
        const uint32_t at = window(address);
        writes.push_back({address, at <= 0xFFFF ? flat.bytes[at] : uint8_t(0), byte});
        return flat.mem_write_byte(at, byte);
    }
    uint8_t get_ppage() const override { return flat.ppage; }
    void set_ppage(uint8_t page) override {
        flat.ppage = page;
        ++generation;
    }
    const uint8_t* direct_read_block(uint32_t block) override {
        const uint32_t first = block << kDirectBlockBits;
        if (io_blocks[block]) return nullptr;
        for (uint32_t a = first; a < first + (1u << kDirectBlockBits); ++a)
            if (flat.holes[a]) return nullptr;
        return &flat.bytes[first];
    }
    const uint32_t* layout_generation() const override { return &generation; }

    // Puts back every byte written and page 0.
    void undo() {
        for (auto w = writes.rbegin(); w != writes.rend(); ++w)
            flat.mem_write_byte(window(w->address), w->before);
        writes.clear();
        set_ppage(0);
    }

private:
    uint32_t window(uint32_t address) const {
        if (address > 0xFFFF && (address >> 16) == flat.ppage && (address & 0xC000) == 0x8000)
            return address & 0xFFFF;
        return address;
    }
};

// A loop over loads, stores, ALU, auto-increment, branches and a subroutine.
const std::vector<uint8_t> kProgram = {
    0xCE, 0x30, 0x00, 0xCD, 0x31, 0x00, 0xC6, 0x10, 0xA6, 0x30, 0x8B, 0x03, 0x6A,
    0x70, 0x81, 0x80, 0x25, 0x02, 0x84, 0x7F, 0x07, 0x05, 0x04, 0x31, 0xEF, 0x20,
    0xE5, 0x36, 0xB6, 0x30, 0x00, 0xA8, 0x40, 0x7A, 0x34, 0x00, 0x32, 0x3D,
};

template <typename Bus>
void run_program(Bus& memory, test::FlatMemory& flat, CpuRegisters& out) {
    for (size_t i = 0; i < kProgram.size(); ++i)
        flat.bytes[0x2000 + i] = kProgram[i];
    for (int i = 0; i < 0x100; ++i)
        flat.bytes[0x3000 + i] = uint8_t(i * 23);
    Cpu cpu(memory);
    cpu.regs.pc = 0x2000;
    for (int i = 0; i < 5000; ++i)
        cpu.cpu_step(cpu.current_execution_address(), true, false);
    out = cpu.regs;
}

TEST(DirectReadTest, SameResultsAsByteCalls) {
    test::FlatMemory plain;
    DirectMemory direct;
    CpuRegisters a, b;
    run_program(plain, plain, a);
    run_program(direct, direct.flat, b);
    EXPECT_EQ(0, std::memcmp(&a, &b, sizeof a));
    EXPECT_TRUE(plain.bytes == direct.flat.bytes);
    // Every read came through the blocks.
    EXPECT_EQ(0, direct.byte_reads);
}

TEST(DirectReadTest, LayoutChangesAreSeenAtOnce) {
    DirectMemory memory;
    Cpu cpu(memory);
    memory.flat.load(0x2000, {0x86, 0x12}); // LDAA #$12
    EXPECT_EQ(2u, cpu.cpu_step(0x2000, true, false));
    EXPECT_EQ(0x12, cpu.regs.a);

    // Bytes changed behind the CPU's back are read as they are now.
    memory.flat.bytes[0x2001] = 0x34;
    cpu.cpu_step(0x2000, true, false);
    EXPECT_EQ(0x34, cpu.regs.a);

    // The block becomes I/O: with the layout counter changed, reads go
    // through the byte calls again.
    memory.io_blocks[0x2000 >> MemoryBus::kDirectBlockBits] = true;
    memory.flat.holes[0x2000] = true;
    ++memory.generation;
    EXPECT_EQ(0u, cpu.cpu_step(0x2000, false, false)); // $FF fetched, nothing counted

    // And back: a block the bus had none for is asked again after the change.
    memory.io_blocks[0x2000 >> MemoryBus::kDirectBlockBits] = false;
    memory.flat.holes[0x2000] = false;
    ++memory.generation;
    memory.byte_reads = 0;
    EXPECT_EQ(2u, cpu.cpu_step(0x2000, true, false));
    EXPECT_EQ(0x34, cpu.regs.a);
    EXPECT_EQ(0, memory.byte_reads);
}

TEST(DirectReadTest, PagedAddressesOfTheCurrentPageOnly) {
    DirectMemory memory;
    Cpu cpu(memory);
    memory.flat.load(0x9000, {0xA7});
    memory.set_ppage(0x3C);
    EXPECT_EQ(1u, cpu.cpu_step(0x3C9000, false, false));
    EXPECT_EQ(0, memory.byte_reads);
    // Another page is not the window's: the byte call answers (and fails).
    EXPECT_EQ(0u, cpu.cpu_step(0x3D9000, false, false));
    EXPECT_GT(memory.byte_reads, 0);
    // CALL changes the page through the bus, which changes the layout.
    memory.flat.load(0x2000, {0x4A, 0x90, 0x00, 0x3D}); // CALL $9000,$3D
    cpu.regs.pc = 0x2000;
    cpu.cpu_step(0x2000, true, false);
    EXPECT_EQ(0x3D, memory.get_ppage());
    memory.byte_reads = 0;
    EXPECT_EQ(1u, cpu.cpu_step(0x3D9000, false, false));
    EXPECT_EQ(0, memory.byte_reads);

    // The run loop's step takes its page from the bus as it is now, even
    // when someone else switched it: STAA 0,X at $3E:9000 runs, not the
    // byte at $3D:9000.
    memory.flat.load(0x9000, {0x6A, 0x00});
    memory.set_ppage(0x3E);
    cpu.regs.pc = 0x9000;
    cpu.regs.x = 0x2100;
    cpu.regs.a = 0x5A;
    uint32_t cycles = 0, pc_written = 0;
    EXPECT_EQ(2u, cpu.execute_next(cycles, pc_written));
    EXPECT_EQ(0x5A, memory.flat.bytes[0x2100]);
}

// cpu_step takes an opcode from a block already handed out without a call of
// its own; the step's contract must be the same there as through the byte
// calls: length, PC, registers, cycles and pc_written (untouched for an
// undefined encoding), execute = 0 changing nothing, and the trace text.
// Without trace, operand bytes come from the opcode's block and the common
// indexed forms are decoded inline: the outcome must still match, at a
// block's start, with the operand in the next block, and with that next
// byte nothing answers for.
TEST(DirectReadTest, StepsThroughTheBlocksMatchTracedByteCalls) {
    const std::vector<std::vector<uint8_t>> programs = {
        {0xA7},                   // NOP
        {0x86, 0x12},             // LDAA #
        {0xCE, 0x12, 0x34},       // LDX #
        {0xB6, 0x30, 0x00},       // LDAA extended
        {0xA6, 0x30},             // LDAA 1,X+
        {0xA6, 0x7F},             // LDAA 1,-Y
        {0xA6, 0xBC},             // LDAA 4,SP-
        {0x6A, 0x1F},             // STAA -1,X
        {0x6A, 0x70},             // STAA 1,Y+
        {0xA6, 0x8F},             // LDAA 15,SP
        {0xA6, 0xC2},             // LDAA 2,PC
        {0xA6, 0xE6},             // LDAA D,X
        {0x1A, 0x45},             // LEAX 5,Y
        {0x20, 0x10},             // BRA
        {0x16, 0x12, 0x34},       // JSR extended
        {0x18, 0x20, 0x00, 0x10}, // LBRA (page 2)
        {0x18, 0x0B, 0x30, 0x12}, // MOVB #$12,1,X+ (page 2)
        {0xB7, 0x30},             // TFR with an undefined postbyte
        {0xB7, 0x01},             // TFR A,B
    };
    struct Outcome {
        uint32_t length, cycles, pc_written;
        CpuRegisters regs;
        std::string trace;
    };
    const auto run = [](MemoryBus& memory, test::FlatMemory& flat,
                        const std::vector<uint8_t>& program, uint32_t at, bool execute,
                        bool trace) {
        std::copy(program.begin(), program.end(), flat.bytes.begin() + at);
        Cpu cpu(memory);
        cpu.regs = {0x00, 0x12, 0x34, 0x3100, 0x3000, 0x3C80, uint16_t(at)};
        // A step that only measures has the block handed out.
        cpu.cpu_step(at, false, false);
        Outcome out{0, 77, 77, {}, {}};
        cpu.trace_out = [&out](std::string_view text) { out.trace += text; };
        out.length = cpu.cpu_step(at, execute, trace, out.cycles, out.pc_written);
        out.regs = cpu.regs;
        return out;
    };
    const auto expect_same = [](const Outcome& a, const Outcome& b) {
        EXPECT_EQ(a.length, b.length);
        EXPECT_EQ(a.cycles, b.cycles);
        EXPECT_EQ(a.pc_written, b.pc_written);
        EXPECT_EQ(0, std::memcmp(&a.regs, &b.regs, sizeof a.regs));
    };
    for (const auto& program : programs)
        for (const uint32_t at : {0x2000u, 0x23FFu})
            for (const bool hole : {false, true})
                for (const bool execute : {false, true}) {
                    SCOPED_TRACE(testing::Message() << int(program[0]) << " at " << at << " hole "
                                                    << hole << " execute " << execute);
                    test::FlatMemory plain;
                    DirectMemory direct, untraced;
                    plain.holes[at + 1] = direct.flat.holes[at + 1] = hole;
                    untraced.flat.holes[at + 1] = hole;
                    const Outcome a = run(plain, plain, program, at, execute, true);
                    const Outcome b = run(direct, direct.flat, program, at, execute, true);
                    const Outcome c = run(untraced, untraced.flat, program, at, execute, false);
                    expect_same(a, b);
                    EXPECT_EQ(a.trace, b.trace);
                    EXPECT_FALSE(b.trace.empty());
                    expect_same(a, c);
                    EXPECT_TRUE(plain.bytes == direct.flat.bytes);
                    EXPECT_TRUE(plain.bytes == untraced.flat.bytes);
                }
}

// Every encoding of both pages, executed without trace through the plain
// entry points (cpu_step's and the run loop's), must end as the traced step
// through the general ones: length, cycles, pc_written, registers, program
// page, waiting state and every byte written, under either cycle model. The byte after the opcode
// runs through all its values, so that every indexed postbyte form meets every opcode that takes
// one, and the inline decoding of the common forms meets the full decoder.
TEST(DirectReadTest, PlainStepsMatchTracedStepsForEveryEncoding) {
    // Writes are undone after each step, so that one memory serves every
    // case.
    struct Outcome {
        uint32_t length = 0, cycles = 77, pc_written = 77;
        std::array<uint16_t, 7> regs{};
        uint8_t ppage = 0;
        bool waiting = false;
        InterruptSource in_service = InterruptSource::kNone;
        std::vector<DirectMemory::Write> writes;
        bool operator==(const Outcome&) const = default;
    };
    enum class Way { Traced, CpuStep, RunLoop };

    DirectMemory memory;
    for (uint32_t a = 0; a < 0x10000; ++a)
        memory.flat.bytes[a] = uint8_t(a * 23 + (a >> 8));
    const auto run = [&memory](const std::array<uint8_t, 7>& code, Way way, CycleModel model) {
        std::copy(code.begin(), code.end(), memory.flat.bytes.begin() + 0x2000);
        Cpu cpu(memory);
        cpu.set_cycle_model(model);
        cpu.regs = {0x00, 0x12, 0x34, 0x3100, 0x3000, 0x3C80, 0x2000};
        cpu.trace_out = [](std::string_view) {};
        Outcome out;
        if (way == Way::RunLoop)
            out.length = cpu.execute_next(out.cycles, out.pc_written);
        else
            out.length = cpu.cpu_step(0x2000, true, way == Way::Traced, out.cycles, out.pc_written);
        for (int r = 0; r < 7; ++r)
            out.regs[r] = uint16_t(cpu.get_register(r));
        out.ppage = memory.get_ppage();
        out.waiting = cpu.cpu_waiting;
        out.in_service = cpu.irq_in_service;
        out.writes = memory.writes;
        memory.undo();
        return out;
    };

    int failures = 0;
    for (const CycleModel model : {CycleModel::Classic, CycleModel::Cpu12})
        for (const bool page2 : {false, true})
            for (int code = 0; code < 0x100; ++code)
                for (int next = 0; next < 0x100; ++next) {
                    if (!page2 && code == 0x18) continue;
                    std::array<uint8_t, 7> bytes = {0x18, uint8_t(code), uint8_t(next), 0x12,
                                                    0x34, 0x56,          0x78};
                    if (!page2) std::copy(bytes.begin() + 1, bytes.end(), bytes.begin());
                    const Outcome traced = run(bytes, Way::Traced, model);
                    for (const Way way : {Way::CpuStep, Way::RunLoop})
                        if (!(run(bytes, way, model) == traced) && ++failures <= 10)
                            ADD_FAILURE()
                                << cycle_model_name(model).name << " page " << (page2 ? 2 : 1)
                                << " code " << code << " next " << next << " way " << int(way);
                }
    EXPECT_EQ(0, failures);
}

} // namespace
} // namespace torva
