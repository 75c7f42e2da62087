// A submission made ready to run: the program found in it (a source, a load
// file, or a folder holding one), assembled when it is a source, with the
// labels of its source where they are known.
#pragma once

#include "lab/lab.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace torva::lab {

using Symbols = std::unordered_map<std::string, uint32_t>;

struct Program {
    enum class State {
        kReady,        // load_file holds the program
        kUnreadable,   // no program found or readable; error says why
        kNotAssembled, // the source has errors; messages hold them
    };
    std::string submission; // as the user named it
    std::filesystem::path program;
    State state = State::kUnreadable;
    std::string error;
    std::vector<std::string> messages; // the assembler's lines
    std::filesystem::path load_file;
    // The source's labels (from the listing's symbol table); none for a load
    // file without a listing that holds one.
    std::optional<Symbols> symbols;
};

// The program a submission names: the file itself, or in a folder the file
// the lab names (program = ...), else its one source (.asm, .s12), else its
// one load file (.s19). None, with the reason, when there is no such file
// or more than one candidate.
std::optional<std::filesystem::path>
find_program(const Lab& lab, const std::filesystem::path& submission, std::string& why);

// Finds the submission's program and, for a source, assembles it as the IDE
// does (listing, warnings, the board's include directory) plus the symbol
// table, writing the listing and load file into work_dir. The assembler
// writes into the current directory, which this changes for the time of the
// run: call it from one thread at a time.
Program prepare_program(const Lab& lab, const std::filesystem::path& submission,
                        const std::filesystem::path& work_dir,
                        const std::filesystem::path& program_dir);

// The labels of a listing's symbol table; none when it has no such table.
std::optional<Symbols> listing_symbols(std::string_view listing);

} // namespace torva::lab
