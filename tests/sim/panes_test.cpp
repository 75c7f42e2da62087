// The window's pane models over a loaded board: disassembly lines and their
// colours, the memory pane's window and cell writes, the stack pane, the
// register fields, the menus, and that looking at memory changes nothing.
#include "sim_fixture.h"

#include "sim/debug_map.h"
#include "sim/disassembly_pane.h"
#include "sim/memory_pane.h"
#include "sim/panel.h"
#include "sim/register_fields.h"
#include "sim/stack_pane.h"

namespace torva {
namespace {

using Pane = DisassemblyPane;

struct PanesTest : test::SimulatorFixture {
    Disassembler disassembler{board.memory()};
    DisassemblyPane pane{disassembler, sim.breakpoints()};
    // Thirty NOPs from $1000, then BRA back to $1000.
    void load_nops() {
        std::vector<uint8_t> code(30, 0xA7);
        code.insert(code.end(), {0x20, 0xE0});
        sim.load_file().load_file_path = write_s19("nops.s19", {{0x1000, code}});
        ASSERT_EQ(kLoadOk, sim.load_chain());
    }
};

TEST_F(PanesTest, DisassemblyLinesAnchorScrollByOneAndReanchor) {
    load({{0x1000, {0x86, 0x12, 0xA6, 0xE0, 0x10}}});
    pane.refresh(0x1000);
    EXPECT_EQ("  1000 LDAA  #$12                ", pane.text(0) + "  ");
    EXPECT_EQ(Pane::kColumns, int(pane.text(0).size()));
    EXPECT_EQ(0x1002u, pane.address(1));
    EXPECT_EQ("  1002 LDAA  16,X", pane.text(1).substr(0, 17));

    load_nops();
    pane.refresh(0x1000);
    EXPECT_EQ(0x100Bu, pane.address(11));
    // A PC on one of the first eleven lines keeps the lines.
    pane.track(0x1009, false);
    EXPECT_EQ(0x1000u, pane.address(0));
    EXPECT_EQ(9, pane.current_line());
    // Sequential flow reaching the eleventh line scrolls up by one.
    pane.track(0x100A, false);
    EXPECT_EQ(0x1001u, pane.address(0));
    EXPECT_EQ(0x100Cu, pane.address(11));
    EXPECT_EQ("  100C NOP", pane.text(11).substr(0, 10));
    EXPECT_EQ(9, pane.current_line());
    // A jump re-anchors only when the target is not an early line start.
    pane.track(0x1003, true);
    EXPECT_EQ(0x1001u, pane.address(0));
    pane.track(0x1020, true);
    EXPECT_EQ(0x1020u, pane.address(0));
    // A PC in the middle of an instruction shown (not a line start) re-anchors.
    load({{0x1000, {0x86, 0x12, 0x86, 0x34}}});
    pane.refresh(0x1000);
    pane.refresh(0x1001);
    EXPECT_EQ(0x1001u, pane.address(0));
}

TEST_F(PanesTest, UnreadableAddressEndsTheLinesAndPagedAddressesWrap) {
    // The register block is readable, a device address is not: with the
    // bus board's fixed outport at $0400 the pane stops there.
    load({{0x1000, {0xA7}}});
    pane.refresh(0x03FE);
    int invalid = -1;
    for (int line = 0; line < Pane::kLines && invalid < 0; ++line)
        if (pane.text(line).find(Pane::kInvalid) != std::string::npos) invalid = line;
    ASSERT_GE(invalid, 0);
    for (int line = invalid + 1; line < Pane::kLines; ++line) {
        EXPECT_EQ(std::string(Pane::kColumns, ' '), pane.text(line));
        EXPECT_EQ(pane.address(invalid), pane.address(line));
    }
    EXPECT_EQ(0x0000u, Pane::next_address(0xFFFF, 1));
    EXPECT_EQ(0x3C8002u, Pane::next_address(0x3C8000, 2));
    EXPECT_EQ(0xC000u, Pane::next_address(0x3CBFFF, 1));
    EXPECT_EQ("3C8000 LDAA", Pane::format_line(0x3C8000, "LDAA").substr(0, 11));
    EXPECT_EQ("  0010 AB        C", Pane::format_line(0x10, "AB\tC").substr(0, 18));
}

TEST_F(PanesTest, LineColoursAndTheLineMenu) {
    load_nops();
    sim.breakpoints().add(0x1001, BreakState::kEnabled);
    sim.breakpoints().add(0x1002, BreakState::kDisabled);
    sim.breakpoints().add(0x1003, BreakState::kTemporary);
    pane.refresh(0x1000);
    const Rgb white{255, 255, 255}, black{0, 0, 0}, yellow{255, 255, 0};
    EXPECT_EQ((LineColours{yellow, black}), pane.colours(0));
    EXPECT_EQ((LineColours{{255, 0, 0}, black}), pane.colours(1));
    EXPECT_EQ((LineColours{{220, 220, 220}, black}), pane.colours(2));
    EXPECT_EQ((LineColours{{255, 0, 0}, black}), pane.colours(3));
    EXPECT_EQ((LineColours{white, black}), pane.colours(4));
    pane.mark_current(0x1001);
    EXPECT_EQ((LineColours{black, yellow}), pane.colours(1));
    pane.select(3);
    EXPECT_EQ((LineColours{{160, 160, 160}, white}), pane.colours(3));
    EXPECT_EQ(0x1003u, pane.selected_address());

    const auto texts = [](const std::vector<MenuEntry>& menu) {
        std::vector<std::string> list;
        for (const MenuEntry& entry : menu)
            list.push_back(entry.id == 0 ? "-" : entry.text);
        return list;
    };
    using Texts = std::vector<std::string>;
    EXPECT_EQ((Texts{"&Remove Break", "-", "&Disable Break", "-", "&Goto here"}),
              texts(line_menu(BreakState::kTemporary)));
    EXPECT_EQ("&Enable Break", texts(line_menu(BreakState::kDisabled))[2]);
    EXPECT_EQ((Texts{"&Set Break", "-", "&Goto here"}), texts(line_menu(std::nullopt)));

    const Texts halted = texts(window_menu(sim));
    EXPECT_EQ("Reload (nops.s19)", halted[6]);
    EXPECT_EQ("Run Re&al Time\tF5", halted[12]);
    sim.dispatch(sim_cmd::kEnableBreakOnIo);
    sim.dispatch(sim_cmd::kRunFast);
    EXPECT_EQ((Texts{"&Breakpoint Table", "&Disable Break on IO", "E&nable Break on IRQ",
                     "&Clear All Breaks", "-", "&Halt\tShift+F5"}),
              texts(window_menu(sim)));
}

// The labels of the thirty NOPs: START on the first, MID and LATE inside.
ProgramSymbols nop_labels() {
    DebugMap map;
    map.symbols = {{"START", SymbolKind::kLabel, 0x1000, 0, 1},
                   {"MID", SymbolKind::kLabel, 0x1005, 0, 6},
                   {"LATE", SymbolKind::kLabel, 0x100A, 0, 11},
                   {"TEN", SymbolKind::kEqu, 0x1001, -1, 0}};
    return ProgramSymbols(map);
}

TEST_F(PanesTest, LabelLinesNameInstructionsAndScrollAwayWithThem) {
    load_nops();
    pane.set_symbols(nop_labels());
    pane.refresh(0x1000);
    EXPECT_EQ(std::string("  START:") + std::string(23, ' '), pane.text(0));
    EXPECT_TRUE(pane.is_label_line(0));
    EXPECT_EQ(0x1000u, pane.address(0));
    EXPECT_EQ("  1000 NOP", pane.text(1).substr(0, 10));
    EXPECT_EQ(1, pane.current_line());
    EXPECT_EQ("  MID:", pane.text(6).substr(0, 6));
    EXPECT_EQ(0x1005u, pane.address(7));
    EXPECT_EQ(0x1009u, pane.address(11));

    // Sequential flow reaching the scroll line scrolls by one; a label that
    // comes into the last line stands there alone until the next scroll.
    pane.track(0x1008, false);
    EXPECT_EQ(9, pane.current_line());
    EXPECT_EQ(0x1000u, pane.address(0));
    EXPECT_TRUE(pane.is_label_line(11));
    EXPECT_EQ("  LATE:", pane.text(11).substr(0, 7));
    pane.track(0x1009, false);
    EXPECT_EQ(9, pane.current_line());
    EXPECT_TRUE(pane.is_label_line(10));
    // A label on the scroll line scrolls away with the instruction below it.
    pane.track(0x100A, false);
    EXPECT_EQ(9, pane.current_line());
    EXPECT_EQ(0x100Au, pane.address(9));
    EXPECT_TRUE(pane.is_label_line(8));
    EXPECT_EQ(0x100Cu, pane.address(11));
    // A refresh that keeps the lines does not bring back a label scrolled off.
    const uint32_t top = pane.address(0);
    pane.refresh(0x100A);
    EXPECT_EQ(top, pane.address(0));
    EXPECT_FALSE(pane.is_label_line(0));
    EXPECT_EQ(9, pane.current_line());
    // A jump to a label re-anchors with the label on top; the branch names it.
    pane.track(0x1000, true);
    EXPECT_TRUE(pane.is_label_line(0));
    EXPECT_EQ(1, pane.current_line());
    pane.refresh(0x101E);
    EXPECT_EQ("  101E BRA   START", pane.text(0).substr(0, 18));

    // Label lines are plain, selectable, and select their instruction.
    pane.refresh(0x1000);
    EXPECT_EQ((LineColours{{255, 255, 255}, {0, 0, 160}}), pane.colours(0));
    pane.select(0);
    EXPECT_EQ((LineColours{{160, 160, 160}, {255, 255, 255}}), pane.colours(0));
    EXPECT_EQ(0x1000u, pane.selected_address());
}

TEST_F(PanesTest, SymbolsHiddenGiveThePlainLinesExactly) {
    load_nops();
    DisassemblyPane plain{disassembler, sim.breakpoints()};
    pane.set_symbols(nop_labels());
    pane.refresh(0x1000);
    // Hiding takes effect at the next refresh, as the window makes one.
    pane.show_symbols(false);
    pane.refresh(0x1000);
    plain.refresh(0x1000);
    for (const uint32_t pc : {0x1000u, 0x1008u, 0x1009u, 0x100Au, 0x101Eu}) {
        SCOPED_TRACE(pc);
        pane.track(pc, pc == 0x101E);
        plain.track(pc, pc == 0x101E);
        for (int line = 0; line < Pane::kLines; ++line) {
            EXPECT_EQ(plain.text(line), pane.text(line));
            EXPECT_EQ(plain.address(line), pane.address(line));
            EXPECT_FALSE(pane.is_label_line(line));
        }
        EXPECT_EQ(plain.current_line(), pane.current_line());
    }
    EXPECT_EQ(std::string(Pane::kColumns, ' ').replace(0, 16, "  A, B, ANOTHER:"),
              Pane::format_label_line({"A", "B", "ANOTHER"}));
    EXPECT_EQ(size_t(Pane::kColumns), Pane::format_label_line({std::string(40, 'L')}).size());
}

TEST_F(PanesTest, ShowSymbolsItemOnlyWithAMap) {
    load_nops();
    const auto last = [](const std::vector<MenuEntry>& menu) { return menu.back(); };
    EXPECT_NE(sim_cmd::kShowSymbols, last(line_menu(std::nullopt)).id);
    const MenuEntry on = last(line_menu(std::nullopt, true));
    EXPECT_EQ(sim_cmd::kShowSymbols, on.id);
    EXPECT_EQ("Show &Symbols", on.text);
    EXPECT_TRUE(on.checked);
    EXPECT_FALSE(last(line_menu(BreakState::kEnabled, false)).checked);
    const auto has_item = [](const std::vector<MenuEntry>& menu) {
        for (const MenuEntry& entry : menu)
            if (entry.id == sim_cmd::kShowSymbols) return true;
        return false;
    };
    EXPECT_TRUE(has_item(window_menu(sim, true)));
    EXPECT_FALSE(has_item(window_menu(sim)));
}

TEST_F(PanesTest, MemoryPaneWindowAddressEntryAndCells) {
    MemoryPane memory(board.memory());
    memory.scroll(MemoryPane::Scroll::kBottom);
    EXPECT_EQ("FFC0", memory.row_address_text(0));
    EXPECT_EQ(0xFFFFu, memory.cell_address(63));
    memory.scroll(MemoryPane::Scroll::kPageDown);
    EXPECT_EQ(MemoryPane::kLastRow, memory.row());
    memory.scroll(MemoryPane::Scroll::kTop);
    memory.scroll(MemoryPane::Scroll::kLineUp);
    EXPECT_EQ(0, memory.row());

    EXPECT_EQ("mem", memory.button_text());
    EXPECT_FALSE(memory.press_address_button(""));
    EXPECT_EQ("set", memory.button_text());
    EXPECT_EQ("Badly formed address", memory.press_address_button("12G4").value_or(""));
    EXPECT_EQ("mem", memory.button_text());
    memory.press_address_button("");
    EXPECT_FALSE(memory.press_address_button("1234"));
    EXPECT_EQ("1230", memory.row_address_text(0));

    // With a debug map the entry takes a symbol, letter case as defined; a
    // name the map lacks is refused like a bad number, and digits still win.
    DebugMap map;
    map.symbols = {{"BUFFER", SymbolKind::kLabel, 0x1050}, {"BEEF", SymbolKind::kEqu, 0x2000}};
    const auto enter = [&](std::string_view text) {
        memory.press_address_button("", &map);
        return memory.press_address_button(text, &map);
    };
    EXPECT_FALSE(enter("BUFFER"));
    EXPECT_EQ("1050", memory.row_address_text(0));
    EXPECT_EQ("Badly formed address", enter("buffer").value_or(""));
    EXPECT_EQ("1050", memory.row_address_text(0));
    EXPECT_FALSE(enter("BEEF"));
    EXPECT_EQ("BEE0", memory.row_address_text(0));
    memory.press_address_button("");
    EXPECT_EQ("Badly formed address", memory.press_address_button("BUFFER").value_or(""));
    enter("1234");

    // RAM cell: the typed byte is written; a text that is not hexadecimal
    // writes the byte back and the cell shows it again.
    EXPECT_FALSE(memory.cell_read_only(4));
    EXPECT_EQ(std::nullopt, memory.edit_cell(4, "5a"));
    EXPECT_EQ(0x5A, read(0x1234));
    EXPECT_EQ("5A", memory.edit_cell(4, "zz").value_or(""));
    EXPECT_EQ(0x5A, read(0x1234));

    // Flash: read-only without ROM write enable; with it the byte changes.
    memory.press_address_button("");
    memory.press_address_button("C000");
    EXPECT_TRUE(memory.cell_read_only(0));
    EXPECT_EQ("FF", memory.edit_cell(0, "12").value_or(""));
    EXPECT_EQ(0xFF, read(0xC000));
    sim.dispatch(sim_cmd::kToggleRomWrite);
    EXPECT_FALSE(memory.cell_read_only(0));
    EXPECT_EQ(std::nullopt, memory.edit_cell(0, "12"));
    EXPECT_EQ(0x12, read(0xC000));

    // The page window shows the page selected now.
    board.memory().set_ppage(0x3C);
    memory.scroll_to_row(0x800);
    EXPECT_EQ(0x3C8000u, memory.cell_address(0));
    EXPECT_EQ("8000", memory.row_address_text(0));
    // Only the cells inside the window take the page, whichever row the
    // pane starts at: fixed flash and RAM beside it read as themselves.
    board.memory().set_rom_write_enable(true);
    ASSERT_EQ(0, board.memory().mem_write_byte(0xC000, 0x5C));
    memory.scroll_to_row(0xBFE);
    EXPECT_EQ(0x3CBFFFu, memory.cell_address(31));
    EXPECT_EQ(0xC000u, memory.cell_address(32));
    EXPECT_EQ("5C", memory.cell_text(32));
    memory.scroll_to_row(0x7FE);
    EXPECT_EQ(0x7FFFu, memory.cell_address(31));
    EXPECT_EQ(0x3C8000u, memory.cell_address(32));

    EXPECT_EQ(63, MemoryPane::move_focus(0, MemoryPane::Move::kLeft));
    EXPECT_EQ(0, MemoryPane::move_focus(63, MemoryPane::Move::kRight));
    EXPECT_EQ(48, MemoryPane::move_focus(0, MemoryPane::Move::kUp));
    EXPECT_EQ(3, MemoryPane::move_focus(51, MemoryPane::Move::kDown));
}

TEST_F(PanesTest, LookingAtIoAddressesChangesNothingAndTripsNoBreak) {
    // A received character waits in serial interface 0; the memory pane over
    // the register block shows its status and data without taking it.
    load({{0x1000, {0x20, 0xFE}}});
    SerialInterface& sci = board.modules().serial[0];
    sci.attach();
    board.memory().mem_write_byte(0xC8, 0x00); // baud high, then low
    board.memory().mem_write_byte(0xC9, 0x01);
    board.memory().mem_write_byte(0xCB, SerialInterface::kReceiverEnable);
    ASSERT_TRUE(sci.receive('A'));
    sim.dispatch(sim_cmd::kEnableBreakOnIo);
    sim.dispatch(sim_cmd::kRunFast);

    MemoryPane memory(board.memory());
    memory.scroll_to_row(0xC);
    EXPECT_EQ("41", memory.cell_text(0xF));
    EXPECT_TRUE(memory.cell_read_only(0xF));
    EXPECT_NE(0, sci.status1() & SerialInterface::kReceiveFull);
    // The unmodelled modules' toggling bytes do not flip when looked at.
    memory.scroll_to_row(0x14);
    EXPECT_EQ(memory.cell_text(0), memory.cell_text(0));
    // A device address reads "XX": asking the device could change it.
    memory.scroll_to_row(0x40);
    EXPECT_EQ("XX", memory.cell_text(0));

    StackPane stack(board.memory());
    stack.refresh(0x00CF);
    EXPECT_EQ("00CF 41", stack.line_text(stack.arrow_line()));
    EXPECT_NE(0, sci.status1() & SerialInterface::kReceiveFull);
    pane.refresh(0x00C8);
    EXPECT_TRUE(sim.running()) << "no look tripped break on IO";
}

TEST_F(PanesTest, DisassemblyLeavesTheCpuStepStateAlone) {
    load({{0x1000, {0x86, 0x12, 0x20, 0xFE}}});
    std::vector<std::string> traced;
    sim.add_instruction_listener(
        [&](uint32_t, std::string_view text) { traced.emplace_back(text); });
    cpu.ctx.fetch_address = 0x1234;
    cpu.ctx.cycles = 7;
    const auto line = disassembler.disassemble(0x1000);
    ASSERT_TRUE(line);
    EXPECT_EQ("LDAA  #$12", line->text);
    EXPECT_EQ(2u, line->length);
    EXPECT_EQ(0x1234u, cpu.ctx.fetch_address);
    EXPECT_EQ(7u, cpu.ctx.cycles);
    EXPECT_EQ(0x1000, cpu.regs.pc);
    sim.step(true);
    EXPECT_EQ((std::vector<std::string>{"LDAA  #$12"}), traced);
}

TEST_F(PanesTest, StackPaneFollowsTheStackPointer) {
    StackPane stack(board.memory());
    stack.refresh(0x3C80);
    EXPECT_EQ(0x3C7A, stack.start());
    EXPECT_EQ(6, stack.arrow_line());
    EXPECT_TRUE(stack.arrow_changed());
    stack.painted();
    EXPECT_FALSE(stack.arrow_changed());
    stack.refresh(0x3C7D); // start + 3: the window stays
    EXPECT_EQ(0x3C7A, stack.start());
    EXPECT_EQ(3, stack.arrow_line());
    EXPECT_TRUE(stack.arrow_changed());
    stack.refresh(0x3C7C); // start + 2: moves
    EXPECT_EQ(0x3C76, stack.start());
    stack.refresh(0x0002); // wraps below 0
    EXPECT_EQ(0xFFFC, stack.start());
    EXPECT_EQ("FFFC FF", stack.line_text(0));
}

TEST(RegisterFields, FormatParseAndApply) {
    EXPECT_EQ("0F", format_number(16, 8, 0x10F));
    EXPECT_EQ("00AB", format_number(16, 16, 0xAB));
    EXPECT_EQ("0000000000000001", format_number(16, 64, 1));
    EXPECT_EQ("-5", format_number(10, 16, uint64_t(-5)));
    EXPECT_EQ("101", format_number(2, 3, 5));
    EXPECT_EQ("11010000", format_number(2, 8, 0xD0));
    EXPECT_EQ("", format_number(2, 7, 1));
    EXPECT_EQ("", format_number(8, 8, 1));
    EXPECT_EQ(0xABu, parse_number(16, "aB"));
    EXPECT_EQ(std::nullopt, parse_number(2, "102"));
    EXPECT_EQ(std::nullopt, parse_number(10, "1A"));
    EXPECT_EQ(0u, parse_number(16, ""));
    EXPECT_EQ(std::nullopt, parse_number(16, "10000000000000000"));

    MemoryMap memory;
    Cpu cpu(memory);
    // A B X Y PC SP CCR, as the fields list them.
    const auto fields = [&cpu] {
        const CpuRegisters& r = cpu.regs;
        return std::vector<unsigned>{r.a, r.b, r.x, r.y, r.pc, r.sp, r.ccr};
    };
    cpu.regs.a = 0x11;
    cpu.regs.x = 0x2222;
    cpu.regs.ccr = 0xD0;
    EXPECT_EQ("11010000", register_text(cpu, kRegCcr));
    // Fields: A B X Y PC SP CCR. An emptied field sets 0; a field that does
    // not parse leaves its register.
    apply_register_fields(cpu, {"", "7f", "12G4", "1234", "2000", "3C80", "00000001"});
    EXPECT_EQ((std::vector<unsigned>{0, 0x7F, 0x2222, 0x1234, 0x2000, 0x3C80, 0x01}), fields());

    // With a debug map a field takes a symbol's value, cut to the register;
    // digits still read as a number and an unknown name leaves the register.
    DebugMap map;
    map.symbols = {{"BUFFER", SymbolKind::kLabel, 0x1050},
                   {"COUNT", SymbolKind::kEqu, 0x1A5},
                   {"ABBA", SymbolKind::kEqu, 0x4000}};
    apply_register_fields(cpu, {"COUNT", "", "BUFFER", "ABBA", "START", "buffer", ""}, &map);
    EXPECT_EQ((std::vector<unsigned>{0xA5, 0, 0x1050, 0xABBA, 0x2000, 0x3C80, 0}), fields());
}

} // namespace
} // namespace torva
