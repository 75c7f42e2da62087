// ta12's arguments, rebuilt into the assembler's command line.
#include "tools/ta12_command_line.h"

#include "torva/version.h"

namespace torva {

namespace {

std::string in_quotes(std::string_view text) {
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

// The assembler's command line quotes paths and cannot escape a quote, and
// a control character would end the path early: such a path cannot pass.
bool passes_quoted(std::string_view text) {
    for (const char c : text)
        if (c == '"' || static_cast<unsigned char>(c) < 32) return false;
    return true;
}

Ta12Request usage_error(std::string error) {
    return {Ta12Request::Kind::kUsageError, {}, std::move(error)};
}

} // namespace

Ta12Request ta12_request(std::span<const std::string_view> args) {
    for (const std::string_view arg : args) {
        if (arg == "--help") return {Ta12Request::Kind::kHelp, {}, {}};
        if (arg == "--version") return {Ta12Request::Kind::kVersion, {}, {}};
    }
    std::string line;
    std::string_view file;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg.starts_with("-I")) {
            std::string_view dir = arg.substr(2);
            if (dir.empty() && i + 1 < args.size()) dir = args[++i];
            if (dir.empty()) return usage_error("-I needs a directory");
            if (!passes_quoted(dir)) return usage_error("unusable directory name after -I");
            line += "-I " + in_quotes(dir) + " ";
        } else if (arg == "--compat") {
            line += "-c ";
        } else if (arg.starts_with("--")) {
            return usage_error("unknown option " + std::string(arg));
        } else if (arg.size() > 1 && arg[0] == '-') {
            // -L, -S, -w and their combinations go as written; the assembler
            // reports a letter it does not know. A blank would end the word
            // early and make the rest the file name.
            if (!passes_quoted(arg) || arg.find(' ') != std::string_view::npos)
                return usage_error("unknown option");
            line += std::string(arg) + " ";
        } else if (file.empty() && !arg.empty()) {
            file = arg;
        } else {
            return usage_error(arg.empty() ? "empty file name" : "only one source file");
        }
    }
    if (file.empty()) return usage_error("");
    if (!passes_quoted(file)) return usage_error("unusable source file name");
    return {Ta12Request::Kind::kAssemble, line + in_quotes(file), {}};
}

std::string ta12_usage() {
    return "usage: ta12 [-L] [-S] [-w] [--compat] [-I DIR]... FILE\n";
}

std::string ta12_help() {
    return ta12_usage() + R"(
Assembles the HC12/HCS12 (HCS12X, XGATE) source FILE into FILE.s19, a
Motorola S-record load file, and the listing FILE.lst, both in the current
directory. Messages and the summary go to standard output; the exit status
is 0 without errors and 1 with errors.

Options:
  -L          write the listing (it is written in any case; the IDE passes it)
  -S          add the symbol table to the end of the listing
  -w          report warnings as well as errors
  --compat    accept other assemblers' syntax (#include, FCC, ABSENTRY,
              blanks after commas, names in any case, ...); OPTION COMPAT
              in the source does the same from its line on
  -I DIR      search DIR for include files, after the source's directory and
              the current one (up to 20 directories); a DIR beginning with
              '.' is taken from the program's directory, so
              -I ../include/machine/rt12 finds the board's rt12.inc
  --help      show this text and exit
  --version   show the version and exit
)";
}

std::string ta12_version() {
    return std::string("ta12 (TORVA 6 for RT12) ") + kProgramVersion + "\n";
}

} // namespace torva
