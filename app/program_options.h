// The IDE's own command-line options, --help and --version: answered from
// the arguments alone, before Qt looks for a display.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace torva {

// The text to print for --help or --version anywhere among the arguments
// (the program name left out); none when neither is there and the program
// starts as usual.
std::optional<std::string> program_option_answer(std::span<const std::string_view> args);

} // namespace torva
