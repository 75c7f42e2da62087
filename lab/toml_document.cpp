// Reading TOML with toml++ (header-only, kept to this file) into plain data.
#include "lab/toml_document.h"

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

std::optional<TomlNode> parse_toml(std::string_view text, const std::string& file,
                                   std::string& fault, SourceSpot& fault_spot) {
    toml::parse_result parsed = toml::parse(text, file);
    if (!parsed) {
        fault = std::string(parsed.error().description());
        fault_spot = spot_of(parsed.error().source());
        return std::nullopt;
    }
    return converted(parsed.table());
}

} // namespace torva::lab
