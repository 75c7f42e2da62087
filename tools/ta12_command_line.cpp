// ta12's arguments, read through its table of options and rebuilt into the
// assembler's command line.
#include "tools/ta12_command_line.h"

#include "torva/version.h"

#include <algorithm>

namespace torva {

namespace {

using Kind = Ta12Request::Kind;

std::string in_quotes(std::string_view text) {
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

// The assembler's command line quotes paths and cannot escape a quote, and
// a control character would end the path early: such a path cannot pass.
bool passes_quoted(std::string_view text) {
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return c == '"' || static_cast<unsigned char>(c) < 32; });
}

std::string add_flag(Ta12Request& request, std::string_view flag) {
    request.line += flag;
    request.line += ' ';
    return {};
}

std::string add_include_dir(Ta12Request& request, std::string_view dir) {
    if (dir.empty() || !passes_quoted(dir)) return "unusable directory name after -I";
    request.line += "-I " + in_quotes(dir) + " ";
    request.include_dirs.emplace_back(dir);
    return {};
}

constexpr Ta12Option kOptions[] = {
    {'L', "", "", "write the listing (it is written in any case; the IDE passes it)",
     Kind::kAssemble, [](Ta12Request& r, std::string_view) { return add_flag(r, "-L"); }},
    {'S', "", "", "add the symbol table to the end of the listing", Kind::kAssemble,
     [](Ta12Request& r, std::string_view) { return add_flag(r, "-S"); }},
    {'g', "", "",
     "write the debug map FILE.dbg (source lines and symbols)\nand stamp FILE.s19 with it",
     Kind::kAssemble, [](Ta12Request& r, std::string_view) { return add_flag(r, "-g"); }},
    {'w', "", "", "report warnings as well as errors", Kind::kAssemble,
     [](Ta12Request& r, std::string_view) { return add_flag(r, "-w"); }},
    {'\0', "compat", "",
     "accept other assemblers' syntax (#include, FCC, ABSENTRY,\n"
     "blanks after commas, names in any case, ...); OPTION COMPAT\n"
     "in the source does the same from its line on",
     Kind::kAssemble, [](Ta12Request& r, std::string_view) { return add_flag(r, "-c"); }},
    {'I', "", "DIR",
     "search DIR for include files, after the source's directory and\n"
     "the current one (up to 20 directories); a DIR beginning with\n"
     "'.' is taken from the program's directory, so\n"
     "-I ../include/machine/rt12 finds the board's rt12.inc",
     Kind::kAssemble, add_include_dir},
    {'\0', "help", "", "show this text and exit", Kind::kHelp, nullptr},
    {'\0', "version", "", "show the version and exit", Kind::kVersion, nullptr},
};

const Ta12Option* by_letter(char letter) {
    for (const Ta12Option& option : kOptions)
        if (option.letter != '\0' && option.letter == letter) return &option;
    return nullptr;
}

const Ta12Option* by_name(std::string_view name) {
    for (const Ta12Option& option : kOptions)
        if (!option.name.empty() && option.name == name) return &option;
    return nullptr;
}

// How the help and the messages write an option: "-I" or "--help".
std::string spelling(const Ta12Option& option) {
    std::string text = option.letter != '\0' ? std::string{'-', option.letter} : "--";
    if (option.letter == '\0') text += option.name;
    return text;
}

Ta12Request usage_error(std::string error) {
    return {Kind::kUsageError, {}, std::move(error), {}};
}

// Reads the arguments in order: the options into the request, then the one
// source file; the first fault makes the request a usage error.
class ArgumentReader {
public:
    explicit ArgumentReader(std::span<const std::string_view> args) : args_(args) {}

    Ta12Request read() {
        request_.kind = Kind::kAssemble;
        bool options_end = false;
        for (at_ = 0; at_ < args_.size() && error_.empty(); ++at_) {
            const std::string_view arg = args_[at_];
            if (!options_end && arg == "--")
                options_end = true;
            else if (!options_end && arg.starts_with("--"))
                long_option(arg.substr(2));
            else if (!options_end && arg.size() > 1 && arg[0] == '-')
                letters(arg.substr(1));
            else
                source(arg);
        }
        if (!error_.empty()) return usage_error(error_);
        if (file_.empty()) return usage_error("");
        if (!passes_quoted(file_)) return usage_error("unusable source file name");
        request_.line += in_quotes(file_);
        return std::move(request_);
    }

private:
    void long_option(std::string_view text) {
        const auto equals = text.find('=');
        const Ta12Option* option = by_name(text.substr(0, equals));
        if (option == nullptr) {
            error_ = "unknown option --" + std::string(text.substr(0, equals));
            return;
        }
        // --help and --version were answered before; here they carry a value.
        if (option->value.empty() || option->answer != Kind::kAssemble) {
            if (equals != std::string_view::npos)
                error_ = spelling(*option) + " takes no value";
            else
                apply(*option, {});
            return;
        }
        if (equals != std::string_view::npos)
            apply(*option, text.substr(equals + 1));
        else
            apply(*option, next_value(*option));
    }

    // "-wS": each letter an option; the first that takes a value takes the
    // rest of the word, or the next argument.
    void letters(std::string_view word) {
        for (size_t i = 0; i < word.size() && error_.empty(); ++i) {
            const Ta12Option* option = by_letter(word[i]);
            if (option == nullptr) {
                error_ = std::string("unknown option -") + word[i];
                return;
            }
            if (option->value.empty()) {
                apply(*option, {});
                continue;
            }
            const std::string_view rest = word.substr(i + 1);
            apply(*option, rest.empty() ? next_value(*option) : rest);
            return;
        }
    }

    std::string_view next_value(const Ta12Option& option) {
        if (at_ + 1 < args_.size()) return args_[++at_];
        error_ = spelling(option) + " needs " + std::string(option.value);
        return {};
    }

    void apply(const Ta12Option& option, std::string_view value) {
        if (error_.empty()) error_ = option.apply(request_, value);
    }

    void source(std::string_view arg) {
        if (arg.empty())
            error_ = "empty file name";
        else if (!file_.empty())
            error_ = "only one source file";
        else
            file_ = arg;
    }

    std::span<const std::string_view> args_;
    size_t at_ = 0;
    Ta12Request request_;
    std::string_view file_;
    std::string error_;
};

} // namespace

std::span<const Ta12Option> ta12_options() {
    return kOptions;
}

Ta12Request ta12_request(std::span<const std::string_view> args) {
    for (const std::string_view arg : args) {
        if (arg == "--") break;
        if (!arg.starts_with("--")) continue;
        if (const Ta12Option* option = by_name(arg.substr(2));
            option != nullptr && option->answer != Kind::kAssemble)
            return {option->answer, {}, {}, {}};
    }
    return ArgumentReader(args).read();
}

std::string ta12_usage() {
    std::string usage = "usage: ta12";
    for (const Ta12Option& option : kOptions) {
        if (option.answer != Kind::kAssemble) continue;
        usage += " [";
        usage += spelling(option);
        if (!option.value.empty()) {
            usage += option.letter != '\0' ? ' ' : '=';
            usage += option.value;
            usage += "]...";
        } else {
            usage += ']';
        }
    }
    return usage + " [--] FILE\n";
}

std::string ta12_help() {
    std::string help = ta12_usage() + R"(
Assembles the HC12/HCS12 (HCS12X, XGATE) source FILE into FILE.s19, a
Motorola S-record load file, and the listing FILE.lst, both in the current
directory. Messages and the summary go to standard output; the exit status
is 0 without errors and 1 with errors. A FILE named like one of these
outputs (.lst, .s19, .dbg) is refused.

Options (letters may be combined, as in -wS; -- ends the options):
)";
    constexpr size_t kHelpColumn = 14;
    for (const Ta12Option& option : kOptions) {
        std::string head = "  ";
        head += spelling(option);
        if (!option.value.empty()) {
            head += ' ';
            head += option.value;
        }
        head.resize(std::max(kHelpColumn, head.size() + 1), ' ');
        std::string_view text = option.help;
        for (bool first = true; !text.empty(); first = false) {
            const auto end = text.find('\n');
            help += (first ? head : std::string(kHelpColumn, ' '));
            help += text.substr(0, end);
            help += '\n';
            text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        }
    }
    return help;
}

std::string ta12_version() {
    return std::string("ta12 (TORVA 6 for RT12) ") + kProgramVersion + "\n";
}

} // namespace torva
