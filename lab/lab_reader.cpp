// The lab file reader: the file's TOML, then every table's keys against the
// keys it may have; the board, the run's bounds and the stimuli here, the
// checks in check_reader.cpp; then every place the lab names is checked
// against the board it describes.
#include "lab/lab_reader.h"

#include "lab/check_reader.h"
#include "lab/lab_board.h"
#include "lab/lab_values.h"
#include "lab/toml_document.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <sstream>

namespace torva::lab {
namespace {

// Every key each table may hold. A key added to the lab file is added here
// and read below; nothing else needs to know.
constexpr std::array<std::string_view, 14> kLabKeys = {
    "title", "program",    "target",    "board",        "devices", "monitor",  "start",
    "stop",  "time_limit", "max_steps", "output_limit", "cycles",  "stimulus", "check"};
constexpr std::array<std::string_view, 14> kStimulusKeys = {
    "at",   "set", "bit",  "value",  "press",     "keypad", "hold",
    "send", "sci", "pace", "action", "interrupt", "reset",  "release"};
// What a stimulus does, and which further keys go with each.
struct StimulusForm {
    std::string_view key;
    StimulusKind kind;
    std::array<std::string_view, 2> extras;
};
constexpr std::array<StimulusForm, 7> kStimulusForms = {{
    {"set", StimulusKind::kSet, {"value", "bit"}},
    {"press", StimulusKind::kPress, {"keypad", "hold"}},
    {"release", StimulusKind::kRelease, {}},
    {"send", StimulusKind::kSend, {"sci", "pace"}},
    {"action", StimulusKind::kAction, {}},
    {"interrupt", StimulusKind::kInterrupt, {}},
    {"reset", StimulusKind::kReset, {}},
}};
// The board part and the run's bounds, from the top table.
void read_board(const TomlNode& top, Lab& lab) {
    if (const auto* node = find(top, "title")) lab.title = string_value(*node, "title");
    if (const auto* node = find(top, "program")) lab.program = string_value(*node, "program");
    if (const auto* node = find(top, "target")) {
        lab.target = lab.file.parent_path() / string_value(*node, "target");
        if (find(top, "board"))
            fail(*find(top, "board"), "board and target do not go together: the target "
                                      "descriptor says which board it is");
    }
    if (const auto* node = find(top, "board")) {
        const std::string board = string_value(*node, "board");
        if (board != "bus" && board != "bare")
            fail(*node, "board is \"bus\" (the RT12 with I/O bus) or \"bare\"");
        lab.board = board == "bare" ? BoardKind::kBare : BoardKind::kBus;
    }
    if (const auto* node = find(top, "devices")) {
        const auto* list = node->as_array();
        if (!list) fail(*node, "devices takes a list such as [\"leds\", \"switches\"]");
        for (const TomlNode& item : *list) {
            const std::string text = string_value(item, "devices");
            const size_t colon = text.find(':');
            const BoardPlace* place = find_place(text.substr(0, colon));
            if (!place) fail(item, no_place("devices", text.substr(0, colon)));
            int32_t type = colon == std::string::npos ? place->default_type : 0;
            if (colon != std::string::npos) {
                const auto named = device_type_by_name(text.substr(colon + 1));
                if (!named)
                    fail(item, "devices: no device type " + in_quotes(text.substr(colon + 1)) +
                                   " (" + joined(device_type_names()) + ")");
                type = *named;
            }
            lab.devices.push_back({place, type});
        }
    }
    if (const auto* node = find(top, "monitor")) lab.monitor = bool_value(*node, "monitor");
    if (const auto* node = find(top, "start")) {
        const std::string start = string_value(*node, "start");
        if (start != "load" && start != "reset")
            fail(*node, "start is \"load\" (the load file's start address) or \"reset\" "
                        "(the reset vector)");
        lab.start_at_reset = start == "reset";
    }
    if (const auto* node = find(top, "cycles")) {
        const auto model = parse_cycle_model(string_value(*node, "cycles"));
        if (!model)
            fail(*node, "cycles is \"classic\" (the simulator's own count) or \"cpu12\" (the "
                        "board's)");
        lab.cycle_model = *model;
    }
    if (const auto* node = find(top, "time_limit")) {
        lab.time_limit = time_value(*node, "time_limit", false);
        if (lab.time_limit == 0) fail(*node, "time_limit must be longer than 0");
    }
    if (const auto* node = find(top, "stop")) {
        lab.stops.clear();
        if (const auto* list = node->as_array())
            for (const TomlNode& item : *list)
                lab.stops.push_back(stop_value(item));
        else
            lab.stops.push_back(stop_value(*node));
    }
    if (const auto* node = find(top, "max_steps"))
        lab.max_steps = uint64_t(integer_value(*node, "max_steps", 1, INT64_MAX));
    if (const auto* node = find(top, "output_limit"))
        lab.output_limit = size_t(integer_value(*node, "output_limit", 1, 1 << 26));
}

// The one form a stimulus has, and no key that belongs to another form.
const StimulusForm& stimulus_form(const TomlNode& table) {
    const StimulusForm* form = nullptr;
    for (const StimulusForm& candidate : kStimulusForms) {
        if (!find(table, candidate.key)) continue;
        if (form)
            fail(*find(table, candidate.key),
                 "a [[stimulus]] does one thing: " + std::string(form->key) + " and " +
                     std::string(candidate.key) + " go into two of them");
        form = &candidate;
    }
    if (!form) {
        std::array<std::string_view, kStimulusForms.size()> keys{};
        std::ranges::transform(kStimulusForms, keys.begin(), &StimulusForm::key);
        fail(table.spot, "a [[stimulus]] needs one of " + joined(keys));
    }
    for (const auto& [key, node] : table.entries()) {
        const std::string_view name = key->name;
        if (name == "at" || name == form->key ||
            std::ranges::find(form->extras, name) != form->extras.end())
            continue;
        fail(key->spot,
             in_quotes(name) + " does not go with " + std::string(form->key) +
                 (form->extras[0].empty() ? "" : " (only " + joined(form->extras) + ")"));
    }
    return *form;
}

int key_code(const TomlNode& node) {
    if (node.is_integer()) return int(integer_value(node, "press", 0, 15));
    if (const auto* text = node.as_string(); text && (*text).size() == 1)
        if (const auto code = parse_number("$" + (*text))) return int(*code);
    fail(node, "press takes a key of the keypad: 0 to 15, or \"0\" to \"F\"");
}

void read_stimulus(const TomlNode& table, Lab& lab) {
    check_keys(table, kStimulusKeys, "a [[stimulus]]");
    const TomlNode* at_node = find(table, "at");
    if (!at_node) fail(table.spot, "a [[stimulus]] needs at = TIME");
    Stimulus stimulus;
    stimulus.at = time_value(*at_node, "at", false);
    check_time(*at_node, stimulus.at, lab, "at");
    const StimulusForm& form = stimulus_form(table);
    stimulus.kind = form.kind;
    const TomlNode& main = *find(table, form.key);
    stimulus.spot = main.spot;
    switch (form.kind) {
    case StimulusKind::kSet: {
        stimulus.place = &place_value(main, "set");
        if (!stimulus.place->inputs)
            fail(main, "set: " + in_quotes(stimulus.place->name) + " has no switches to set");
        const TomlNode* value = find(table, "value");
        if (!value) fail(main, "set needs value = the switches (or, with bit, the switch)");
        if (const TomlNode* bit = find(table, "bit")) {
            stimulus.bit = int(integer_value(*bit, "bit", 0, 7));
            stimulus.value = value->is_boolean() ? uint8_t(bool_value(*value, "value"))
                                                 : uint8_t(integer_value(*value, "value", 0, 1));
        } else {
            stimulus.value = byte_value(*value, "value");
        }
        lab.stimuli.push_back(stimulus);
        return;
    }
    case StimulusKind::kPress: {
        stimulus.value = uint8_t(key_code(main));
        stimulus.place = find_place("keypad");
        if (const TomlNode* keypad = find(table, "keypad")) {
            stimulus.place = &place_value(*keypad, "keypad");
            if (stimulus.place->name != "keypad" && stimulus.place->name != "keypad2")
                fail(*keypad, "keypad is \"keypad\" or \"keypad2\"");
        }
        lab.stimuli.push_back(stimulus);
        if (const TomlNode* hold = find(table, "hold")) {
            Stimulus release = stimulus;
            release.kind = StimulusKind::kRelease;
            release.at = stimulus.at + time_value(*hold, "hold", false);
            check_time(*hold, release.at, lab, "the key's release");
            lab.stimuli.push_back(release);
        }
        return;
    }
    case StimulusKind::kRelease:
        stimulus.place = find_place("keypad");
        if (main.is_string())
            stimulus.place = &place_value(main, "release");
        else if (!bool_value(main, "release"))
            fail(main, "release takes true or the keypad");
        if (stimulus.place->name != "keypad" && stimulus.place->name != "keypad2")
            fail(main, "release is true (the keypad) or \"keypad2\"");
        lab.stimuli.push_back(stimulus);
        return;
    case StimulusKind::kSend: {
        const std::string text = string_value(main, "send");
        stimulus.place = find_place("sci0");
        if (const TomlNode* sci = find(table, "sci")) {
            stimulus.place = &place_value(*sci, "sci");
            if (stimulus.place->value != PlaceValue::kStream || stimulus.place->name == "printer")
                fail(*sci, "sci is \"sci0\" or \"sci1\"");
        }
        if (text.find('\0') != std::string::npos)
            fail(main, "send: a zero byte cannot travel to the board");
        const TomlNode* pace = find(table, "pace");
        if (!pace) {
            stimulus.text = text;
            lab.stimuli.push_back(stimulus);
            return;
        }
        const Cycles step = time_value(*pace, "pace", false);
        for (size_t i = 0; i < text.size(); ++i) {
            Stimulus character = stimulus;
            character.at = stimulus.at + step * i;
            character.text = text.substr(i, 1);
            lab.stimuli.push_back(character);
        }
        if (!text.empty()) check_time(*pace, lab.stimuli.back().at, lab, "the paced text's end");
        return;
    }
    case StimulusKind::kAction: {
        const std::string name = string_value(main, "action");
        const ActionName* action = find_action(name);
        if (!action) {
            std::string names;
            for (const ActionName& known : kActions)
                names += (names.empty() ? "" : ", ") + std::string(known.name);
            fail(main, "action: no action " + in_quotes(name) + " (" + names + ")");
        }
        stimulus.action = action->action;
        stimulus.place = find_place(action->place);
        lab.stimuli.push_back(stimulus);
        return;
    }
    case StimulusKind::kInterrupt: {
        const std::string kind = string_value(main, "interrupt");
        if (kind != "irq" && kind != "xirq") fail(main, "interrupt is \"irq\" or \"xirq\"");
        stimulus.interrupt = kind == "irq" ? InterruptSource::kIrq : InterruptSource::kXirq;
        lab.stimuli.push_back(stimulus);
        return;
    }
    case StimulusKind::kReset:
        if (!bool_value(main, "reset")) fail(main, "reset takes true");
        lab.stimuli.push_back(stimulus);
        return;
    }
}

// The array of tables under key, each handed to read.
template <typename Read>
void read_tables(const TomlNode& top, std::string_view key, Lab& lab, Read read) {
    const TomlNode* node = find(top, key);
    if (!node) return;
    if (!node->is_array_of_tables())
        fail(*node, std::string(key) + " is written as [[" + std::string(key) +
                        "]] tables, one per " + std::string(key));
    for (const TomlNode& item : node->values)
        read(item, lab);
}

// Every place a stimulus or check names must have its device on the board.
void check_places(const Lab& lab, const std::filesystem::path& program_dir) {
    SimulatedBoard board(program_dir);
    std::string why;
    if (!set_up_board(board, lab, program_dir, why)) fail({1, 1}, why);
    const auto need = [&](const BoardPlace* place, SourceSpot spot) {
        if (!place || place_device(board.board(), *place)) return;
        fail(spot, "nothing is connected at " + in_quotes(place->name) +
                       ": add it to devices = [...] or to the target descriptor");
    };
    for (const Stimulus& stimulus : lab.stimuli)
        need(stimulus.place, stimulus.spot);
    for (const Check& check : lab.checks) {
        need(check.place, check.spot);
        need(check.follows, check.spot);
    }
}

std::string located(const std::filesystem::path& file, SourceSpot spot, const std::string& text) {
    if (spot.line <= 0) return file.string() + ": " + text;
    return file.string() + ":" + std::to_string(spot.line) + ":" + std::to_string(spot.column) +
           ": " + text;
}

} // namespace

std::optional<Lab> read_lab_text(std::string_view text, const std::filesystem::path& file,
                                 const std::filesystem::path& program_dir, std::string& error) {
    std::string fault;
    SourceSpot fault_spot;
    const auto parsed = parse_toml(text, file.string(), fault, fault_spot);
    if (!parsed) {
        error = located(file, fault_spot, fault);
        return std::nullopt;
    }
    const TomlNode& top = *parsed;
    Lab lab;
    lab.file = file;
    try {
        check_keys(top, kLabKeys, "the lab");
        read_board(top, lab);
        read_tables(top, "stimulus", lab, read_stimulus);
        read_tables(top, "check", lab, read_check);
        if (lab.checks.empty()) fail(SourceSpot{}, "the lab has no [[check]]");
        std::ranges::stable_sort(lab.stimuli, {}, &Stimulus::at);
        check_places(lab, program_dir);
    } catch (const LabFault& fault) {
        error = located(file, fault.spot, fault.text);
        return std::nullopt;
    }
    return lab;
}

std::optional<Lab> read_lab_file(const std::filesystem::path& file,
                                 const std::filesystem::path& program_dir, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    std::error_code ec;
    if (!in || std::filesystem::is_directory(file, ec)) {
        error = file.string() + ": can't read the lab file";
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return read_lab_text(text.str(), file, program_dir, error);
}

} // namespace torva::lab
