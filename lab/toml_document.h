// A TOML file as plain data: its tables, arrays and values, each with the
// line and column where it is written. Only toml_document.cpp sees the TOML
// library; the lab readers work on this.
#pragma once

#include "lab/lab.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace torva::lab {

struct TomlKey {
    std::string name;
    SourceSpot spot;
};

struct TomlNode {
    // kOther: a kind a lab file never uses (floats, dates).
    enum class Kind { kTable, kArray, kString, kInteger, kBoolean, kOther };
    Kind kind = Kind::kOther;
    SourceSpot spot;
    std::string string;
    int64_t integer = 0;
    bool boolean = false;
    // A table's keys, in the order the library keeps them, and its values
    // beside them; an array's items in values alone.
    std::vector<TomlKey> keys;
    std::vector<TomlNode> values;

    const std::string* as_string() const { return kind == Kind::kString ? &string : nullptr; }
    const int64_t* as_integer() const { return kind == Kind::kInteger ? &integer : nullptr; }
    const bool* as_boolean() const { return kind == Kind::kBoolean ? &boolean : nullptr; }
    const std::vector<TomlNode>* as_array() const {
        return kind == Kind::kArray ? &values : nullptr;
    }
    bool is_string() const { return kind == Kind::kString; }
    bool is_boolean() const { return kind == Kind::kBoolean; }
    bool is_integer() const { return kind == Kind::kInteger; }
    bool is_array_of_tables() const;
    // A table's value under key, or null.
    const TomlNode* find(std::string_view key) const;
    // A table's keys with their values.
    std::vector<std::pair<const TomlKey*, const TomlNode*>> entries() const;
};

// The document's top table, or none with the library's message and where it
// found the fault.
std::optional<TomlNode> parse_toml(std::string_view text, const std::string& file,
                                   std::string& fault, SourceSpot& fault_spot);

} // namespace torva::lab
