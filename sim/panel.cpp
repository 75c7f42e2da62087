// Lamps, counters and the context menus' entries.
#include "sim/panel.h"

#include "io/setup_messages.h"
#include "shell/key_table.h"
#include "sim/sim_commands.h"

#include <cstdio>

namespace torva {

namespace {

MenuEntry item(int id) {
    const SimCommandInfo* info = find_sim_command(id);
    MenuEntry entry;
    entry.id = id;
    if (info) entry.text = info->menu_text;
    if (const std::string_view keys = shown_key(id); !keys.empty()) {
        entry.text += '\t';
        entry.text += keys;
    }
    return entry;
}

MenuEntry separator() {
    return {};
}

// The checkable Show Symbols item after a separator, when a map is loaded.
void add_show_symbols(std::vector<MenuEntry>& menu, std::optional<bool> symbols) {
    if (!symbols) return;
    menu.push_back(separator());
    menu.push_back({sim_cmd::kShowSymbols, std::string(kShowSymbolsText), *symbols, {}});
}

// A submenu of checkable choices with ids from first on; the one for which
// chosen is true is checked.
template <typename Choice, size_t N, typename Chosen>
MenuEntry choice_menu(std::string_view text, int first, const std::array<Choice, N>& choices,
                      Chosen chosen) {
    MenuEntry menu;
    menu.text = text;
    for (size_t i = 0; i < N; ++i) {
        MenuEntry choice;
        choice.id = first + int(i);
        choice.text = choices[i].menu_text;
        choice.checked = chosen(choices[i]);
        menu.submenu.push_back(choice);
    }
    return menu;
}

} // namespace

Lamps lamps_of(Simulator& sim) {
    Lamps lamps;
    lamps.io_break = sim.break_on_io();
    lamps.irq_break = sim.break_on_irq();
    lamps.running = sim.running();
    lamps.exception_handling = sim.exception_handling();
    lamps.rom_write = sim.rom_write_enable();
    lamps.service_irq = sim.in_service(InterruptSource::kIrq);
    lamps.service_xirq = sim.in_service(InterruptSource::kXirq);
    return lamps;
}

std::string counter_text(uint32_t count) {
    char text[16];
    std::snprintf(text, sizeof text, "%7.7u", unsigned(count));
    return text;
}

std::vector<MenuEntry> line_menu(std::optional<BreakState> state, std::optional<bool> symbols) {
    std::vector<MenuEntry> menu;
    if (state) {
        menu.push_back(item(sim_cmd::kRemoveBreak));
        menu.push_back(separator());
        menu.push_back(
            item(*state != BreakState::kDisabled ? sim_cmd::kDisableBreak : sim_cmd::kEnableBreak));
    } else {
        menu.push_back(item(sim_cmd::kSetBreak));
    }
    menu.push_back(separator());
    menu.push_back(item(sim_cmd::kGotoHere));
    add_show_symbols(menu, symbols);
    return menu;
}

std::vector<MenuEntry> window_menu(Simulator& sim, std::optional<bool> symbols) {
    std::vector<MenuEntry> menu;
    menu.push_back(item(sim_cmd::kBreakpointTable));
    menu.push_back(
        item(sim.break_on_io() ? sim_cmd::kDisableBreakOnIo : sim_cmd::kEnableBreakOnIo));
    menu.push_back(
        item(sim.break_on_irq() ? sim_cmd::kDisableBreakOnIrq : sim_cmd::kEnableBreakOnIrq));
    menu.push_back(item(sim_cmd::kClearAllBreaks));
    add_show_symbols(menu, symbols);
    menu.push_back(separator());
    if (sim.running()) {
        menu.push_back(item(sim_cmd::kHalt));
        return menu;
    }
    menu.push_back(item(sim_cmd::kLoadNew));
    if (const std::string& name = sim.load_file().load_file_base_name; !name.empty()) {
        MenuEntry reload = item(sim_cmd::kReload);
        reload.text = format_message(std::string(reload.text).c_str(), name.c_str());
        menu.push_back(reload);
    }
    menu.push_back(separator());
    for (const int id : {sim_cmd::kResetSimulator, sim_cmd::kResetCpu, sim_cmd::kRunSlow,
                         sim_cmd::kRunFast, sim_cmd::kRunRealTime})
        menu.push_back(item(id));
    menu.push_back(choice_menu("Real-time &clock", sim_cmd::kFirstBusClock, kBusClockChoices,
                               [&](const BusClockChoice& c) { return c.hz == sim.bus_clock(); }));
    menu.push_back(
        choice_menu("Cycle &model", sim_cmd::kFirstCycleModel, kCycleModelChoices,
                    [&](const CycleModelChoice& c) { return c.model == sim.cycle_model(); }));
    menu.push_back(separator());
    menu.push_back(item(sim_cmd::kSimulatorSetup));
    return menu;
}

} // namespace torva
