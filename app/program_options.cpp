// --help and --version of torva6.
#include "app/program_options.h"

#include "torva/version.h"

namespace torva {

namespace {

constexpr std::string_view kHelp = R"(usage: torva6 [DIRECTORY | FILE.asm]

TORVA 6 for RT12, the development environment for the RT12 board: edit
assembly sources, assemble them, run them on the simulated board, and talk
to the real board over a serial line.

A DIRECTORY becomes the start directory (the current directory and the
folder the first Open and New dialogs show); an assembly source (.asm,
.s12) opens in an editor window. Without an argument the start directory
is the home directory. The user manual is Help > Help on TORVA 6 (F1
opens it at the window in use); new users start with its chapter
Getting started.

Options:
  --help      show this text and exit
  --version   show the version and exit
)";

} // namespace

std::optional<std::string> program_option_answer(std::span<const std::string_view> args) {
    for (const std::string_view arg : args) {
        if (arg == "--help") return std::string(kHelp);
        if (arg == "--version")
            return std::string("torva6 (TORVA 6 for RT12) ") + kProgramVersion + "\n";
    }
    return std::nullopt;
}

} // namespace torva
