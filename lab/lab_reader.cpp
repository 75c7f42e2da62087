// The lab file reader: TOML through toml++, then every table's keys against
// the keys it may have, and every value into the lab's own terms.
#include "lab/lab_reader.h"

#include "lab/lab_board.h"

#define TOML_EXCEPTIONS 0
#include <toml++/toml.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <span>
#include <sstream>

namespace torva::lab {
namespace {

// Every key each table may hold. A key added to the lab file is added here
// and read below; nothing else needs to know.
constexpr std::array<std::string_view, 13> kLabKeys = {
    "title", "program",    "target",    "board",        "devices",  "monitor", "start",
    "stop",  "time_limit", "max_steps", "output_limit", "stimulus", "check"};
constexpr std::array<std::string_view, 14> kStimulusKeys = {
    "at",   "set", "bit",  "value",  "press",     "keypad", "hold",
    "send", "sci", "pace", "action", "interrupt", "reset",  "release"};
constexpr std::array<std::string_view, 22> kCheckKeys = {
    "name",      "points",         "output",       "serial", "memory", "stopped",
    "registers", "cycles_at_most", "no_undefined", "at",     "always", "eventually",
    "settle",    "equals",         "follows",      "bit",    "mask",   "contains",
    "matches",   "bytes",          "words",        "text"};
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
// What a check looks at: exactly one of these (stopped and registers may go together).
constexpr std::array<std::string_view, 7> kSubjects = {
    "output", "serial", "memory", "stopped", "registers", "cycles_at_most", "no_undefined"};
constexpr std::array<std::string_view, 8> kRegisterNames = {"A", "B",  "D",  "X",
                                                            "Y", "SP", "PC", "CCR"};

// A fault in the lab file: where, and what.
struct LabFault {
    SourceSpot spot;
    std::string text;
};

SourceSpot spot_of(const toml::source_region& region) {
    return {int(region.begin.line), int(region.begin.column)};
}
SourceSpot spot_of(const toml::node& node) {
    return spot_of(node.source());
}

[[noreturn]] void fail(SourceSpot spot, std::string text) {
    throw LabFault{spot, std::move(text)};
}
[[noreturn]] void fail(const toml::node& node, std::string text) {
    fail(spot_of(node), std::move(text));
}

std::string in_quotes(std::string_view text) {
    std::string quoted(1, '\'');
    quoted += text;
    quoted += '\'';
    return quoted;
}

size_t edit_distance(std::string_view a, std::string_view b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string joined(std::span<const std::string_view> words) {
    std::string text;
    for (const std::string_view word : words) {
        if (word.empty()) continue;
        if (!text.empty()) text += ", ";
        text += word;
    }
    return text;
}

// The closest of the words to a misspelt one, or "".
std::string_view closest(std::string_view word, std::span<const std::string_view> words) {
    std::string_view best;
    size_t best_distance = 3;
    for (const std::string_view candidate : words) {
        const size_t distance = edit_distance(word, candidate);
        if (distance < best_distance) {
            best = candidate;
            best_distance = distance;
        }
    }
    return best;
}

// Every key of the table must be one the table may hold; a misspelt one is
// named with the key it was probably meant to be.
void check_keys(const toml::table& table, std::span<const std::string_view> allowed,
                std::string_view where) {
    for (const auto& [key, node] : table) {
        const std::string_view name = key.str();
        if (std::ranges::find(allowed, name) != allowed.end()) continue;
        std::string text = "unknown key " + in_quotes(name) + " in " + std::string(where);
        const std::string_view best = closest(name, allowed);
        if (!best.empty()) text += " (did you mean " + in_quotes(best) + "?)";
        fail(spot_of(key.source()), text);
    }
}

const toml::node* find(const toml::table& table, std::string_view key) {
    return table.get(key);
}

std::string string_value(const toml::node& node, std::string_view key) {
    if (const auto* text = node.as_string()) return text->get();
    fail(node, std::string(key) + " takes a text in quotes");
}

bool bool_value(const toml::node& node, std::string_view key) {
    if (const auto* flag = node.as_boolean()) return flag->get();
    fail(node, std::string(key) + " takes true or false");
}

int64_t integer_value(const toml::node& node, std::string_view key, int64_t low, int64_t high) {
    const auto* number = node.as_integer();
    if (!number) fail(node, std::string(key) + " takes a whole number");
    const int64_t value = number->get();
    if (value < low || value > high)
        fail(node, std::string(key) + " must lie between " + std::to_string(low) + " and " +
                       std::to_string(high));
    return value;
}

uint8_t byte_value(const toml::node& node, std::string_view key) {
    return uint8_t(integer_value(node, key, 0, 255));
}

// A time: a number of cycles, or a text with its unit; "end" where allowed.
Cycles time_value(const toml::node& node, std::string_view key, bool end_allowed) {
    if (const auto* number = node.as_integer()) {
        if (number->get() < 0) fail(node, std::string(key) + " cannot be negative");
        return Cycles(number->get());
    }
    if (const auto* text = node.as_string()) {
        if (end_allowed && text->get() == "end") return kEnd;
        if (const auto cycles = parse_time(text->get())) return *cycles;
    }
    fail(node, std::string(key) +
                   " takes a time with its unit (\"20ms\", \"1.5s\", \"250us\", \"100 cycles\") "
                   "or a number of cycles");
}

Window window_value(const toml::node& node, std::string_view key) {
    if (const auto* text = node.as_string())
        if (const auto window = parse_window(text->get())) return *window;
    fail(node, std::string(key) + " takes a window \"FROM..UNTIL\" such as \"5ms..\", "
                                  "\"..50ms\" or \"10ms..80ms\"");
}

std::optional<uint32_t> parse_number(std::string_view text) {
    int base = 10;
    if (text.starts_with('$')) {
        text.remove_prefix(1);
        base = 16;
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    for (const char c : text) {
        const int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                          : std::isxdigit(static_cast<unsigned char>(c))
                              ? std::toupper(static_cast<unsigned char>(c)) - 'A' + 10
                              : 99;
        if (digit >= base) return std::nullopt;
        value = value * uint64_t(base) + uint64_t(digit);
        if (value > UINT32_MAX) return std::nullopt;
    }
    return uint32_t(value);
}

bool is_label_start(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '.';
}
bool is_label_char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '$';
}

// An address or a label of the program, with an optional "+N" or "-N".
Location location_value(const toml::node& node, std::string_view key) {
    Location location;
    if (const auto* number = node.as_integer()) {
        if (number->get() < 0 || number->get() > 0x3FFFFF)
            fail(node, std::string(key) + ": no such address");
        location.address = uint32_t(number->get());
        return location;
    }
    const auto* string = node.as_string();
    if (!string) fail(node, std::string(key) + " takes an address or a label of the program");
    const std::string& text = string->get();
    if (!text.empty() && !is_label_start(text[0])) {
        if (const auto address = parse_number(text)) {
            location.address = *address;
            return location;
        }
        fail(node, std::string(key) + ": " + in_quotes(text) +
                       " is neither an address ($1200, 0x1200, 4608) nor a label");
    }
    size_t end = 0;
    while (end < text.size() && is_label_char(text[end]))
        ++end;
    location.label = text.substr(0, end);
    const std::string_view rest(text.data() + end, text.size() - end);
    if (location.label.empty() || (!rest.empty() && rest[0] != '+' && rest[0] != '-'))
        fail(node, std::string(key) + ": " + in_quotes(text) + " is not a label (with +N or -N)");
    if (!rest.empty()) {
        const auto offset = parse_number(rest.substr(1));
        if (!offset) fail(node, std::string(key) + ": " + in_quotes(text) + " has a bad offset");
        location.offset = rest[0] == '-' ? -int64_t(*offset) : int64_t(*offset);
    }
    return location;
}

std::string place_names() {
    std::vector<std::string_view> names;
    for (const BoardPlace& place : kPlaces)
        names.push_back(place.name);
    return joined(names);
}

std::string no_place(std::string_view key, const std::string& name) {
    std::vector<std::string_view> names;
    for (const BoardPlace& place : kPlaces)
        names.push_back(place.name);
    const std::string_view best = closest(name, names);
    return std::string(key) + ": no place " + in_quotes(name) + " on the board" +
           (best.empty() ? " (" + place_names() + ")" : " (did you mean " + in_quotes(best) + "?)");
}

const BoardPlace& place_value(const toml::node& node, std::string_view key) {
    const std::string name = string_value(node, key);
    if (const BoardPlace* place = find_place(name)) return *place;
    fail(node, no_place(key, name));
}

StopPoint stop_value(const toml::node& node) {
    if (const auto* text = node.as_string()) {
        if (text->get() == "swi") return {StopPoint::Kind::kSwi, {}};
        if (text->get() == "bgnd") return {StopPoint::Kind::kBgnd, {}};
    }
    return {StopPoint::Kind::kLocation, location_value(node, "stop")};
}

// The board part and the run's bounds, from the top table.
void read_board(const toml::table& top, Lab& lab) {
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
        for (const toml::node& item : *list) {
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
    if (const auto* node = find(top, "time_limit")) {
        lab.time_limit = time_value(*node, "time_limit", false);
        if (lab.time_limit == 0) fail(*node, "time_limit must be longer than 0");
    }
    if (const auto* node = find(top, "stop")) {
        lab.stops.clear();
        if (const auto* list = node->as_array())
            for (const toml::node& item : *list)
                lab.stops.push_back(stop_value(item));
        else
            lab.stops.push_back(stop_value(*node));
    }
    if (const auto* node = find(top, "max_steps"))
        lab.max_steps = uint64_t(integer_value(*node, "max_steps", 1, INT64_MAX));
    if (const auto* node = find(top, "output_limit"))
        lab.output_limit = size_t(integer_value(*node, "output_limit", 1, 1 << 26));
}

void check_time(const toml::node& node, Cycles t, const Lab& lab, std::string_view key) {
    if (t != kEnd && t > lab.time_limit)
        fail(node,
             std::string(key) + " lies after the time limit (" + format_time(lab.time_limit) + ")");
}

// The one form a stimulus has, and no key that belongs to another form.
const StimulusForm& stimulus_form(const toml::table& table) {
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
        fail(spot_of(table), "a [[stimulus]] needs one of " + joined(keys));
    }
    for (const auto& [key, node] : table) {
        const std::string_view name = key.str();
        if (name == "at" || name == form->key ||
            std::ranges::find(form->extras, name) != form->extras.end())
            continue;
        fail(spot_of(key.source()),
             in_quotes(name) + " does not go with " + std::string(form->key) +
                 (form->extras[0].empty() ? "" : " (only " + joined(form->extras) + ")"));
    }
    return *form;
}

int key_code(const toml::node& node) {
    if (node.is_integer()) return int(integer_value(node, "press", 0, 15));
    if (const auto* text = node.as_string(); text && text->get().size() == 1)
        if (const auto code = parse_number("$" + text->get())) return int(*code);
    fail(node, "press takes a key of the keypad: 0 to 15, or \"0\" to \"F\"");
}

void read_stimulus(const toml::table& table, Lab& lab) {
    check_keys(table, kStimulusKeys, "a [[stimulus]]");
    const toml::node* at_node = find(table, "at");
    if (!at_node) fail(spot_of(table), "a [[stimulus]] needs at = TIME");
    Stimulus stimulus;
    stimulus.at = time_value(*at_node, "at", false);
    check_time(*at_node, stimulus.at, lab, "at");
    const StimulusForm& form = stimulus_form(table);
    stimulus.kind = form.kind;
    const toml::node& main = *find(table, form.key);
    stimulus.spot = spot_of(main);
    switch (form.kind) {
    case StimulusKind::kSet: {
        stimulus.place = &place_value(main, "set");
        if (!stimulus.place->inputs)
            fail(main, "set: " + in_quotes(stimulus.place->name) + " has no switches to set");
        const toml::node* value = find(table, "value");
        if (!value) fail(main, "set needs value = the switches (or, with bit, the switch)");
        if (const toml::node* bit = find(table, "bit")) {
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
        if (const toml::node* keypad = find(table, "keypad")) {
            stimulus.place = &place_value(*keypad, "keypad");
            if (stimulus.place->name != "keypad" && stimulus.place->name != "keypad2")
                fail(*keypad, "keypad is \"keypad\" or \"keypad2\"");
        }
        lab.stimuli.push_back(stimulus);
        if (const toml::node* hold = find(table, "hold")) {
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
        if (const toml::node* sci = find(table, "sci")) {
            stimulus.place = &place_value(*sci, "sci");
            if (stimulus.place->value != PlaceValue::kStream || stimulus.place->name == "printer")
                fail(*sci, "sci is \"sci0\" or \"sci1\"");
        }
        if (text.find('\0') != std::string::npos)
            fail(main, "send: a zero byte cannot travel to the board");
        const toml::node* pace = find(table, "pace");
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
        stimulus.interrupt = kind == "irq" ? 1 : 2;
        lab.stimuli.push_back(stimulus);
        return;
    }
    case StimulusKind::kReset:
        if (!bool_value(main, "reset")) fail(main, "reset takes true");
        lab.stimuli.push_back(stimulus);
        return;
    }
}

// at, always or eventually; def is the check's time when none is given.
void read_when(const toml::table& table, Check& check, const Lab& lab, bool windows) {
    const toml::node* at = find(table, "at");
    const toml::node* always = find(table, "always");
    const toml::node* eventually = find(table, "eventually");
    if (int(at != nullptr) + int(always != nullptr) + int(eventually != nullptr) > 1)
        fail(*(at ? at : always), "a check looks at one time or over one window: at, always "
                                  "and eventually do not go together");
    if (!windows && (always || eventually))
        fail(*(always ? always : eventually), std::string(always ? "always" : "eventually") +
                                                  " does not go with this check; "
                                                  "use at = TIME");
    if (always) {
        check.when = When::kAlways;
        check.window = window_value(*always, "always");
        check_time(*always, check.window.until, lab, "always");
        check_time(*always, check.window.from, lab, "always");
    } else if (eventually) {
        check.when = When::kEventually;
        check.window = window_value(*eventually, "eventually");
        check_time(*eventually, check.window.until, lab, "eventually");
        check_time(*eventually, check.window.from, lab, "eventually");
    } else if (at) {
        check.at = time_value(*at, "at", true);
        check_time(*at, check.at, lab, "at");
    }
    if (const toml::node* settle = find(table, "settle")) {
        if (!always) fail(*settle, "settle goes only with always");
        check.settle = time_value(*settle, "settle", false);
    }
}

// The comparison of a byte: equals a number or follows a place's switches,
// through a mask or one bit.
void read_byte_comparison(const toml::table& table, Check& check) {
    const toml::node* equals = find(table, "equals");
    const toml::node* follows = find(table, "follows");
    if (!equals == !follows)
        fail(spot_of(table), "a check of a byte needs equals = NUMBER or follows = \"PLACE\"");
    if (equals) check.equals = byte_value(*equals, "equals");
    if (follows) {
        check.follows = &place_value(*follows, "follows");
        if (!check.follows->inputs)
            fail(*follows, "follows: " + in_quotes(check.follows->name) + " has no switches");
    }
    const toml::node* bit = find(table, "bit");
    const toml::node* mask = find(table, "mask");
    if (bit && mask) fail(*mask, "bit and mask do not go together");
    if (bit) check.mask = uint8_t(1u << integer_value(*bit, "bit", 0, 7));
    if (mask) check.mask = byte_value(*mask, "mask");
    if (check.equals && bit && *check.equals > 1) fail(*equals, "with bit, equals is 0 or 1");
    if (check.equals && bit) check.equals = uint8_t(*check.equals ? check.mask : 0);
    for (const char* text_key : {"contains", "matches"})
        if (const toml::node* node = find(table, text_key))
            fail(*node, std::string(text_key) + " goes with text (display, serial, printer), "
                                                "not with a byte");
}

void read_text_comparison(const toml::table& table, Check& check) {
    const toml::node* equals = find(table, "equals");
    const toml::node* contains = find(table, "contains");
    const toml::node* matches = find(table, "matches");
    if (int(equals != nullptr) + int(contains != nullptr) + int(matches != nullptr) != 1)
        fail(spot_of(table), "a check of text needs one of equals, contains or matches");
    if (equals) check.text_equals = string_value(*equals, "equals");
    if (contains) check.contains = string_value(*contains, "contains");
    if (matches) {
        check.pattern = string_value(*matches, "matches");
        try {
            check.matches = std::make_shared<const std::regex>(check.pattern);
        } catch (const std::regex_error& error) {
            fail(*matches, "matches: not a regular expression (" + std::string(error.what()) + ")");
        }
    }
    for (const char* byte_key : {"follows", "bit", "mask"})
        if (const toml::node* node = find(table, byte_key))
            fail(*node, std::string(byte_key) + " goes with a byte, not with text");
}

void read_memory(const toml::table& table, Check& check) {
    check.location = location_value(*find(table, "memory"), "memory");
    const toml::node* bytes = find(table, "bytes");
    const toml::node* words = find(table, "words");
    const toml::node* text = find(table, "text");
    if (int(bytes != nullptr) + int(words != nullptr) + int(text != nullptr) != 1)
        fail(spot_of(table), "a check of memory needs one of bytes, words or text");
    if (text) {
        for (const char c : string_value(*text, "text"))
            check.bytes.push_back(uint8_t(c));
        return;
    }
    const toml::node& list_node = bytes ? *bytes : *words;
    const char* key = bytes ? "bytes" : "words";
    const auto* list = list_node.as_array();
    if (!list || list->empty()) fail(list_node, std::string(key) + " takes a list of numbers");
    check.unit = bytes ? 1 : 2;
    for (const toml::node& item : *list) {
        const int64_t value = integer_value(item, key, 0, bytes ? 0xFF : 0xFFFF);
        if (words) check.bytes.push_back(uint8_t(value >> 8));
        check.bytes.push_back(uint8_t(value));
    }
}

void read_stop(const toml::table& table, Check& check) {
    if (const toml::node* stopped = find(table, "stopped")) {
        if (stopped->is_boolean()) {
            if (!bool_value(*stopped, "stopped"))
                fail(*stopped, "stopped takes true (any stop), \"swi\", \"bgnd\" or a label");
            check.any_stop = true;
        } else {
            check.stopped = stop_value(*stopped);
        }
    } else {
        check.any_stop = true;
    }
    if (const toml::node* registers = find(table, "registers")) {
        const auto* list = registers->as_table();
        if (!list) fail(*registers, "registers takes a table such as { A = 1, X = \"TABLE\" }");
        for (const auto& [key, node] : *list) {
            std::string name(key.str());
            std::ranges::transform(name, name.begin(),
                                   [](unsigned char c) { return char(std::toupper(c)); });
            if (std::ranges::find(kRegisterNames, name) == kRegisterNames.end())
                fail(spot_of(key.source()), "registers: no register " + in_quotes(key.str()) +
                                                " (" + joined(kRegisterNames) + ")");
            check.registers.push_back({name, location_value(node, "registers")});
        }
        // In the order the CPU's registers are usually named, whatever the file's.
        const auto rank = [](const RegisterExpectation& r) {
            return std::ranges::find(kRegisterNames, r.name) - kRegisterNames.begin();
        };
        std::ranges::sort(check.registers, {}, rank);
    }
}

void read_check(const toml::table& table, Lab& lab) {
    check_keys(table, kCheckKeys, "a [[check]]");
    Check check;
    check.spot = spot_of(table);
    const toml::node* name = find(table, "name");
    if (!name) fail(spot_of(table), "a [[check]] needs name = \"what it checks\"");
    check.name = string_value(*name, "name");
    check.spot = spot_of(*name);
    if (check.name.empty()) fail(*name, "name cannot be empty");
    if (const toml::node* points = find(table, "points"))
        check.points = int(integer_value(*points, "points", 0, 1000));

    std::vector<std::string_view> subjects;
    for (const std::string_view subject : kSubjects)
        if (find(table, subject)) subjects.push_back(subject);
    const bool stop_pair =
        subjects.size() == 2 && subjects[0] == "stopped" && subjects[1] == "registers";
    if (subjects.empty()) fail(*name, "a [[check]] needs one of " + joined(kSubjects));
    if (subjects.size() > 1 && !stop_pair)
        fail(*find(table, subjects[1]),
             "a [[check]] checks one thing: " + std::string(subjects[0]) + " and " +
                 std::string(subjects[1]) + " go into two of them");
    const std::string_view subject = subjects[0];
    // Keys that belong to other subjects are refused by the readers below
    // where they would be misread; these are refused for all but theirs.
    const auto refuse = [&](std::span<const std::string_view> keys, std::string_view owner) {
        for (const std::string_view key : keys)
            if (const toml::node* node = find(table, key))
                fail(*node, in_quotes(key) + " goes only with " + std::string(owner));
    };
    constexpr std::array<std::string_view, 3> kMemoryKeys = {"bytes", "words", "text"};
    constexpr std::array<std::string_view, 6> kCompareKeys = {"equals", "follows",  "bit",
                                                              "mask",   "contains", "matches"};
    if (subject != "memory") refuse(kMemoryKeys, "memory");

    if (subject == "output" || subject == "serial") {
        const toml::node& node = *find(table, subject);
        if (subject == "output" && node.is_string() && !find_place(node.as_string()->get())) {
            // A bus address: the byte last written there.
            const auto address = parse_number(node.as_string()->get());
            if (!address || *address < 0x400 || *address > 0xFFF)
                fail(node, no_place("output", node.as_string()->get()) +
                               "; a bus address goes from $400 to $FFF");
            check.bus_address = *address;
        } else {
            check.place = &place_value(node, subject);
        }
        const PlaceValue value = check.place ? check.place->value : PlaceValue::kByte;
        if (subject == "serial" && (value != PlaceValue::kStream || check.place->name == "printer"))
            fail(node, "serial is \"sci0\" or \"sci1\"");
        if (value == PlaceValue::kNone)
            fail(node, "output: " + in_quotes(check.place->name) + " has no value to check");
        check.kind = value == PlaceValue::kStream ? CheckKind::kSerial : CheckKind::kOutput;
        if (value == PlaceValue::kByte)
            read_byte_comparison(table, check);
        else
            read_text_comparison(table, check);
        read_when(table, check, lab, true);
        if (check.kind == CheckKind::kSerial && check.when == When::kAlways)
            fail(*find(table, "always"), "text that grows is checked at a time or eventually, "
                                         "not always");
    } else {
        refuse(kCompareKeys, "output or serial");
        if (subject == "memory") {
            check.kind = CheckKind::kMemory;
            read_memory(table, check);
            read_when(table, check, lab, false);
        } else {
            // These look where the program stops, or over the whole run.
            constexpr std::array<std::string_view, 4> kWhenKeys = {"at", "always", "eventually",
                                                                   "settle"};
            refuse(kWhenKeys, "output, serial or memory");
            const toml::node& node = *find(table, subject);
            if (subject == "stopped" || subject == "registers") {
                check.kind = CheckKind::kStop;
                read_stop(table, check);
                // The run stops where a check expects the stop.
                if (check.stopped && std::ranges::none_of(lab.stops, [&](const StopPoint& point) {
                        return point.text() == check.stopped->text();
                    }))
                    lab.stops.push_back(*check.stopped);
            } else if (subject == "cycles_at_most") {
                check.kind = CheckKind::kCycles;
                check.cycles_at_most = time_value(node, subject, false);
            } else {
                check.kind = CheckKind::kNoUndefined;
                if (!bool_value(node, subject)) fail(node, "no_undefined takes true");
            }
        }
    }
    lab.checks.push_back(std::move(check));
}

// The array of tables under key, each handed to read.
template <typename Read>
void read_tables(const toml::table& top, std::string_view key, Lab& lab, Read read) {
    const toml::node* node = find(top, key);
    if (!node) return;
    const auto* list = node->as_array();
    if (!list || !list->is_array_of_tables())
        fail(*node, std::string(key) + " is written as [[" + std::string(key) +
                        "]] tables, one per " + std::string(key));
    for (const toml::node& item : *list)
        read(*item.as_table(), lab);
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
    toml::parse_result parsed = toml::parse(text, file.string());
    if (!parsed) {
        const toml::parse_error& fault = parsed.error();
        error = located(file, spot_of(fault.source()), std::string(fault.description()));
        return std::nullopt;
    }
    const toml::table& top = parsed.table();
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
