// Reading TOML with toml++ (header-only, kept to this file) into plain data.
#include "lab/toml_document.h"

#include <algorithm>

#define TOML_EXCEPTIONS 0
#include <toml++/toml.h>

namespace torva::lab {
namespace {

SourceSpot spot_of(const toml::source_region& region) {
    return {int(region.begin.line), int(region.begin.column)};
}

TomlNode converted(const toml::node& node) {
    TomlNode plain;
    plain.spot = spot_of(node.source());
    if (const auto* table = node.as_table()) {
        plain.kind = TomlNode::Kind::kTable;
        for (const auto& [key, value] : *table) {
            plain.keys.push_back({std::string(key.str()), spot_of(key.source())});
            plain.values.push_back(converted(value));
        }
    } else if (const auto* array = node.as_array()) {
        plain.kind = TomlNode::Kind::kArray;
        for (const toml::node& item : *array)
            plain.values.push_back(converted(item));
    } else if (const auto* text = node.as_string()) {
        plain.kind = TomlNode::Kind::kString;
        plain.string = text->get();
    } else if (const auto* number = node.as_integer()) {
        plain.kind = TomlNode::Kind::kInteger;
        plain.integer = number->get();
    } else if (const auto* flag = node.as_boolean()) {
        plain.kind = TomlNode::Kind::kBoolean;
        plain.boolean = flag->get();
    }
    return plain;
}

} // namespace

bool TomlNode::is_array_of_tables() const {
    if (kind != Kind::kArray || values.empty()) return false;
    for (const TomlNode& item : values)
        if (item.kind != Kind::kTable) return false;
    return true;
}

const TomlNode* TomlNode::find(std::string_view key) const {
    for (size_t i = 0; i < keys.size(); ++i)
        if (keys[i].name == key) return &values[i];
    return nullptr;
}

std::vector<std::pair<const TomlKey*, const TomlNode*>> TomlNode::entries() const {
    std::vector<std::pair<const TomlKey*, const TomlNode*>> all;
    for (size_t i = 0; i < keys.size(); ++i)
        all.emplace_back(&keys[i], &values[i]);
    return all;
}

namespace {

// Where the text has a character beyond ASCII outside a string or a comment,
// the only places TOML allows one; nothing when there is none. toml++ 3.3
// asks its whitespace table about such a character and, for many of them,
// runs into a branch it marks unreachable: they are refused before it reads
// the text. A byte-order mark at the start is the file's own.
std::optional<SourceSpot> stray_non_ascii(std::string_view text) {
    size_t i = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    int line = 1;
    size_t line_start = 0;
    const auto at = [&](std::string_view s) { return text.substr(i, s.size()) == s; };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\n') {
            ++line;
            line_start = ++i;
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            return SourceSpot{line, int(i - line_start) + 1};
        } else if (c == '#') {
            i = std::min(text.find('\n', i), text.size());
        } else if (c == '"' || c == '\'') {
            // A string: """ and ''' run over lines; a basic one has escapes.
            const std::string_view close =
                at(c == '"' ? "\"\"\"" : "'''") ? text.substr(i, 3) : text.substr(i, 1);
            const bool multi_line = close.size() == 3;
            for (i += close.size(); i < text.size() && !at(close); ++i) {
                if (text[i] == '\n') {
                    if (!multi_line) break;
                    ++line;
                    line_start = i + 1;
                } else if (c == '"' && text[i] == '\\') {
                    ++i;
                    if (i < text.size() && text[i] == '\n') {
                        ++line;
                        line_start = i + 1;
                    }
                }
            }
            if (i < text.size() && at(close)) i += close.size();
        } else {
            ++i;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<TomlNode> parse_toml(std::string_view text, const std::string& file,
                                   std::string& fault, SourceSpot& fault_spot) {
    if (const std::optional<SourceSpot> spot = stray_non_ascii(text)) {
        fault = "a character beyond ASCII outside a string or a comment";
        fault_spot = *spot;
        return std::nullopt;
    }
    toml::parse_result parsed = toml::parse(text, file);
    if (!parsed) {
        fault = std::string(parsed.error().description());
        fault_spot = spot_of(parsed.error().source());
        return std::nullopt;
    }
    return converted(parsed.table());
}

} // namespace torva::lab
