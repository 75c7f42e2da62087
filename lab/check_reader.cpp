// Reading a lab file's checks: what each looks at, when, and what it
// compares, with the keys that go together and those that do not.
#include "lab/check_reader.h"

#include "lab/lab_values.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace torva::lab {
namespace {

constexpr std::array<std::string_view, 22> kCheckKeys = {
    "name",      "points",         "output",       "serial", "memory", "stopped",
    "registers", "cycles_at_most", "no_undefined", "at",     "always", "eventually",
    "settle",    "equals",         "follows",      "bit",    "mask",   "contains",
    "matches",   "bytes",          "words",        "text"};
// What a check looks at: exactly one of these (stopped and registers may go together).
constexpr std::array<std::string_view, 7> kSubjects = {
    "output", "serial", "memory", "stopped", "registers", "cycles_at_most", "no_undefined"};
constexpr std::array<std::string_view, 8> kRegisterNames = {"A", "B",  "D",  "X",
                                                            "Y", "SP", "PC", "CCR"};

// at, always or eventually; def is the check's time when none is given.
void read_when(const TomlNode& table, Check& check, const Lab& lab, bool windows) {
    const TomlNode* at = find(table, "at");
    const TomlNode* always = find(table, "always");
    const TomlNode* eventually = find(table, "eventually");
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
    if (const TomlNode* settle = find(table, "settle")) {
        if (!always) fail(*settle, "settle goes only with always");
        check.settle = time_value(*settle, "settle", false);
    }
}

// The comparison of a byte: equals a number or follows a place's switches,
// through a mask or one bit.
void read_byte_comparison(const TomlNode& table, Check& check) {
    const TomlNode* equals = find(table, "equals");
    const TomlNode* follows = find(table, "follows");
    if (!equals == !follows)
        fail(table.spot, "a check of a byte needs equals = NUMBER or follows = \"PLACE\"");
    if (equals) check.equals = byte_value(*equals, "equals");
    if (follows) {
        check.follows = &place_value(*follows, "follows");
        if (!check.follows->inputs)
            fail(*follows, "follows: " + in_quotes(check.follows->name) + " has no switches");
    }
    const TomlNode* bit = find(table, "bit");
    const TomlNode* mask = find(table, "mask");
    if (bit && mask) fail(*mask, "bit and mask do not go together");
    if (bit) check.mask = uint8_t(1u << integer_value(*bit, "bit", 0, 7));
    if (mask) check.mask = byte_value(*mask, "mask");
    if (check.equals && bit && *check.equals > 1) fail(*equals, "with bit, equals is 0 or 1");
    if (check.equals && bit) check.equals = uint8_t(*check.equals ? check.mask : 0);
    for (const char* text_key : {"contains", "matches"})
        if (const TomlNode* node = find(table, text_key))
            fail(*node, std::string(text_key) + " goes with text (display, serial, printer), "
                                                "not with a byte");
}

void read_text_comparison(const TomlNode& table, Check& check) {
    const TomlNode* equals = find(table, "equals");
    const TomlNode* contains = find(table, "contains");
    const TomlNode* matches = find(table, "matches");
    if (int(equals != nullptr) + int(contains != nullptr) + int(matches != nullptr) != 1)
        fail(table.spot, "a check of text needs one of equals, contains or matches");
    if (equals) check.text_equals = string_value(*equals, "equals");
    if (contains) check.contains = string_value(*contains, "contains");
    if (matches) {
        check.pattern = string_value(*matches, "matches");
        std::string error;
        check.matches = compile_pattern(check.pattern, error);
        if (!check.matches) fail(*matches, "matches: not a regular expression (" + error + ")");
    }
    for (const char* byte_key : {"follows", "bit", "mask"})
        if (const TomlNode* node = find(table, byte_key))
            fail(*node, std::string(byte_key) + " goes with a byte, not with text");
}

void read_memory(const TomlNode& table, Check& check) {
    check.location = location_value(*find(table, "memory"), "memory");
    const TomlNode* bytes = find(table, "bytes");
    const TomlNode* words = find(table, "words");
    const TomlNode* text = find(table, "text");
    if (int(bytes != nullptr) + int(words != nullptr) + int(text != nullptr) != 1)
        fail(table.spot, "a check of memory needs one of bytes, words or text");
    if (text) {
        for (const char c : string_value(*text, "text"))
            check.bytes.push_back(uint8_t(c));
        return;
    }
    const TomlNode& list_node = bytes ? *bytes : *words;
    const char* key = bytes ? "bytes" : "words";
    const auto* list = list_node.as_array();
    if (!list || list->empty()) fail(list_node, std::string(key) + " takes a list of numbers");
    check.unit = bytes ? 1 : 2;
    for (const TomlNode& item : *list) {
        const int64_t value = integer_value(item, key, 0, bytes ? 0xFF : 0xFFFF);
        if (words) check.bytes.push_back(uint8_t(value >> 8));
        check.bytes.push_back(uint8_t(value));
    }
}

void read_stop(const TomlNode& table, Check& check) {
    if (const TomlNode* stopped = find(table, "stopped")) {
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
    if (const TomlNode* registers = find(table, "registers")) {
        if (registers->kind != TomlNode::Kind::kTable)
            fail(*registers, "registers takes a table such as { A = 1, X = \"TABLE\" }");
        for (const auto& [key, node] : registers->entries()) {
            std::string name(key->name);
            std::ranges::transform(name, name.begin(),
                                   [](unsigned char c) { return char(std::toupper(c)); });
            if (std::ranges::find(kRegisterNames, name) == kRegisterNames.end())
                fail(key->spot, "registers: no register " + in_quotes(key->name) + " (" +
                                    joined(kRegisterNames) + ")");
            check.registers.push_back({name, location_value(*node, "registers")});
        }
        // In the order the CPU's registers are usually named, whatever the file's.
        const auto rank = [](const RegisterExpectation& r) {
            return std::ranges::find(kRegisterNames, r.name) - kRegisterNames.begin();
        };
        std::ranges::sort(check.registers, {}, rank);
    }
}

} // namespace

void read_check(const TomlNode& table, Lab& lab) {
    check_keys(table, kCheckKeys, "a [[check]]");
    Check check;
    check.spot = table.spot;
    const TomlNode* name = find(table, "name");
    if (!name) fail(table.spot, "a [[check]] needs name = \"what it checks\"");
    check.name = string_value(*name, "name");
    check.spot = (*name).spot;
    if (check.name.empty()) fail(*name, "name cannot be empty");
    if (const TomlNode* points = find(table, "points"))
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
            if (const TomlNode* node = find(table, key))
                fail(*node, in_quotes(key) + " goes only with " + std::string(owner));
    };
    constexpr std::array<std::string_view, 3> kMemoryKeys = {"bytes", "words", "text"};
    constexpr std::array<std::string_view, 6> kCompareKeys = {"equals", "follows",  "bit",
                                                              "mask",   "contains", "matches"};
    if (subject != "memory") refuse(kMemoryKeys, "memory");

    if (subject == "output" || subject == "serial") {
        const TomlNode& node = *find(table, subject);
        if (subject == "output" && node.is_string() && !find_place((*node.as_string()))) {
            // A bus address: the byte last written there.
            const auto address = parse_number((*node.as_string()));
            if (!address || *address < 0x400 || *address > 0xFFF)
                fail(node, no_place("output", (*node.as_string())) +
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
            const TomlNode& node = *find(table, subject);
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

} // namespace torva::lab
