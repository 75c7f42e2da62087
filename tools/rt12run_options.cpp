// Parsing rt12run's arguments into its options.
#include "tools/rt12run_options.h"

#include "torva/version.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace torva {

std::optional<uint64_t> parse_number(std::string_view text, uint64_t limit) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.starts_with("$")) {
        base = 16;
        text.remove_prefix(1);
    }
    uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || stop != end || value > limit) return std::nullopt;
    return value;
}

namespace {

// Parses one option or the load file; false with error set when it is wrong.
class ArgumentParser {
public:
    ArgumentParser(std::span<const std::string_view> args, Rt12runOptions& options)
        : args_(args), options_(options) {}

    bool parse(std::string& error) {
        bool ok = true;
        for (i_ = 0; ok && i_ < args_.size(); ++i_)
            ok = parse_one(args_[i_]);
        if (ok && options_.file.empty() && !options_.monitor) ok = fail("no load file");
        // The monitor alone runs programs that return to it with SWI.
        if (ok && options_.file.empty() && !stop_on_given_) options_.stop_opcodes.clear();
        if (!ok) error = error_;
        return ok;
    }

private:
    bool fail(std::string text) {
        error_ = std::move(text);
        return false;
    }

    // The value of an option that takes one: the next argument.
    std::optional<std::string_view> value() {
        if (i_ + 1 >= args_.size()) return std::nullopt;
        return args_[++i_];
    }

    bool parse_one(std::string_view arg) {
        if (arg == "--max-steps") {
            const auto text = value();
            const auto n = text ? parse_number(*text, UINT64_MAX) : std::nullopt;
            if (!n) return fail("--max-steps needs a number");
            options_.max_steps = *n == 0 ? kNoStepLimit : *n;
        } else if (arg == "--stop-on") {
            const auto text = value();
            if (text == "swi")
                options_.stop_opcodes = {kOpcodeSwi};
            else if (text == "bgnd")
                options_.stop_opcodes = {kOpcodeBgnd};
            else if (text == "none")
                options_.stop_opcodes.clear();
            else
                return fail("--stop-on takes swi, bgnd or none");
            stop_on_given_ = true;
        } else if (arg == "--break") {
            const auto text = value();
            if (text && names_a_label(*text)) {
                options_.break_labels.emplace_back(*text);
                return true;
            }
            const auto address = text ? parse_number(*text, 0xFFFFFFFE) : std::nullopt;
            if (!address) return fail("--break needs an address or a label");
            options_.breaks.push_back(uint32_t(*address));
        } else if (arg == "--vector") {
            options_.vector = true;
        } else if (arg == "--target") {
            const auto text = value();
            if (!text || text->empty()) return fail("--target needs a descriptor file");
            options_.target = *text;
        } else if (arg == "--monitor") {
            options_.monitor = true;
        } else if (arg == "--sci0") {
            const auto text = value();
            if (text == "stdio")
                options_.sci0 = Rt12runOptions::Sci0::kStdio;
            else if (text == "pty")
                options_.sci0 = Rt12runOptions::Sci0::kPty;
            else
                return fail("--sci0 takes stdio or pty");
        } else if (arg == "--realtime") {
            options_.realtime_hz = kDefaultRealTimeHz;
        } else if (arg.starts_with("--realtime=")) {
            const auto hz = parse_number(arg.substr(arg.find('=') + 1), UINT32_MAX);
            if (!hz || *hz == 0) return fail("--realtime= needs a clock rate in Hz above 0");
            options_.realtime_hz = uint32_t(*hz);
        } else if (arg == "--cycles") {
            const auto text = value();
            const auto model = text ? parse_cycle_model(*text) : std::nullopt;
            if (!model) return fail("--cycles takes classic or cpu12");
            options_.cycles = *model;
        } else if (arg == "--io-log") {
            options_.io_log = true;
        } else if (arg == "--switches") {
            const auto text = value();
            const size_t equals = text ? text->find('=') : std::string_view::npos;
            const auto address = equals != std::string_view::npos
                                     ? parse_number(text->substr(0, equals), 0xFFFFFFFF)
                                     : std::nullopt;
            const auto byte = equals != std::string_view::npos
                                  ? parse_number(text->substr(equals + 1), 0xFF)
                                  : std::nullopt;
            if (!address || !byte) return fail("--switches takes ADDR=VALUE (VALUE up to $FF)");
            options_.switches.push_back({uint32_t(*address), uint8_t(*byte)});
        } else if (arg == "--dump-regs") {
            options_.dump_regs = true;
        } else if (arg == "--dump-mem") {
            const auto text = value();
            const size_t colon = text ? text->find(':') : std::string_view::npos;
            const std::string_view start_text =
                colon != std::string_view::npos ? text->substr(0, colon) : std::string_view();
            const bool labelled = names_a_label(start_text);
            const auto start = labelled ? std::optional<uint64_t>(0)
                               : colon != std::string_view::npos
                                   ? parse_number(start_text, 0xFFFFFFFF)
                                   : std::nullopt;
            const auto length = colon != std::string_view::npos
                                    ? parse_number(text->substr(colon + 1), 0x100000)
                                    : std::nullopt;
            if (!start || !length) return fail("--dump-mem takes START:LENGTH");
            // Addresses are 32 bits: a range past the last one would wrap to 0.
            if (*start + *length > kAddressSpaceEnd)
                return fail("--dump-mem range runs past the end of the address space");
            options_.dumps.push_back({uint32_t(*start), uint32_t(*length),
                                      labelled ? std::string(start_text) : std::string()});
        } else if (arg == "--trace") {
            options_.trace = true;
        } else if (arg == "--vcd") {
            const auto text = value();
            if (!text || text->empty()) return fail("--vcd needs a file");
            options_.vcd = *text;
        } else if (arg.starts_with("-") && arg.size() > 1) {
            return fail("unknown option " + std::string(arg));
        } else if (arg.empty()) {
            return fail("empty load file name");
        } else if (options_.file.empty()) {
            options_.file = arg;
        } else {
            return fail("only one load file");
        }
        return true;
    }

    std::span<const std::string_view> args_;
    Rt12runOptions& options_;
    size_t i_ = 0;
    bool stop_on_given_ = false;
    std::string error_;
};

} // namespace

bool names_a_label(std::string_view text) {
    auto letter = [](char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; };
    if (text.empty() || !letter(text.front())) return false;
    return std::all_of(text.begin(), text.end(), [&](char c) {
        return letter(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '$';
    });
}

Rt12runRequest parse_rt12run_arguments(std::span<const std::string_view> args,
                                       Rt12runOptions& options, std::string& error) {
    for (const std::string_view arg : args) {
        if (arg == "--help") return Rt12runRequest::kHelp;
        if (arg == "--version") return Rt12runRequest::kVersion;
    }
    ArgumentParser parser(args, options);
    return parser.parse(error) ? Rt12runRequest::kRun : Rt12runRequest::kUsageError;
}

std::string rt12run_usage() {
    return "usage: rt12run [--max-steps N] [--stop-on swi|bgnd|none] [--break ADDR]... "
           "[--vector] [--target FILE.hc12sim] [--monitor] [--sci0 stdio|pty] "
           "[--realtime[=HZ]] [--cycles classic|cpu12] [--io-log] "
           "[--switches ADDR=VALUE]... [--dump-regs] [--dump-mem START:LENGTH]... "
           "[--trace] [--vcd FILE] [FILE.s19]\n";
}

std::string rt12run_help() {
    return rt12run_usage() + R"(
Loads the S-record file FILE.s19 onto the simulated RT12 board, resets it and
runs the program until a stop condition or the step limit, then prints what
was asked for. With --monitor and no FILE.s19 it starts the board's monitor
from the reset vector instead and does not stop on SWI (programs return to
the monitor with it); a monitor session on standard input ends when the
monitor waits for input after the input has ended; a session through a
pseudo-terminal goes on until the step limit or until rt12run is stopped
(give --max-steps 0 and --realtime for a board that waits for its user).
Exit status 0 when a stop condition was met, 2 when the step limit ran out,
1 on a load error or bad arguments; SIGINT and SIGTERM end the run after
printing what was asked for, with status 130 and 143. Addresses, lengths
and numbers take 0x1F, $1F or decimal.

Options:
  --max-steps N          stop after N instructions (default 10000000; 0 for
                         no limit)
  --stop-on swi|bgnd|none
                         stop before the next SWI (the default) or BGND
                         instruction, or at neither
  --break ADDR           stop before the instruction at ADDR (may be repeated);
                         ADDR may be a label when FILE.dbg (ta12 -g) is
                         beside FILE.s19, as START may below
  --vector               start from the reset vector, not the file's first
                         address
  --target FILE.hc12sim  read the board and its devices from a descriptor,
                         e.g. config/kiv12/rt12.hc12sim beside the program
  --monitor              load the board's monitor image first; without
                         FILE.s19 run the monitor
  --sci0 stdio           join serial interface 0 to standard input and output
  --sci0 pty             make a pseudo-terminal, print "SCI0: <device path>"
                         on standard error and join serial interface 0 to it:
                         open that path with any terminal program
  --realtime             hold the run to the board's bus clock (8000000 Hz),
                         sleeping between slices instead of spinning
  --realtime=HZ          the same at a bus clock of HZ
  --cycles classic|cpu12 count bus cycles as the classic simulator does (the
                         default) or as the HCS12 takes them, by the CPU12
                         reference manual: the board's own timing
  --io-log               print IO <cycles> <address> <byte> for every byte the
                         program writes to the board's bus or an output port
  --switches ADDR=VALUE  set the switches of the input port at ADDR (may be
                         repeated)
  --dump-regs            print the registers, cycles and steps at the end, and
                         with FILE.dbg the source line PC stands on
  --dump-mem START:LENGTH
                         print LENGTH bytes from START at the end (may be
                         repeated; XX where nothing answers)
  --trace                print each instruction before it runs
  --vcd FILE             write the board's outputs over the run to FILE as a
                         Value Change Dump (open it in GTKWave)
  --help                 show this text and exit
  --version              show the version and exit
)";
}

std::string rt12run_version() {
    return std::string("rt12run (TORVA 6 for RT12) ") + kProgramVersion + "\n";
}

} // namespace torva
