// The driver: options, the two passes, error and warning reporting, output
// files and the summary.
#include "asm/session.h"

#include "asm/conditional.h"
#include "asm/letter_case.h"
#include "asm/listing.h"
#include "asm/messages.h"
#include "asm/source_input.h"
#include "asm/srecord_output.h"
#include "asm/statement.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace torva {

namespace {

// The file name as messages show it: forward slashes, no doubled slashes,
// no "." or ".." components.
std::string canonical_name(const std::string& name) {
    std::string slashed;
    for (char c : name) {
        if (c == '\\') c = '/';
        if (c == '/' && !slashed.empty() && slashed.back() == '/') continue;
        slashed.push_back(c);
    }
    if (slashed.empty()) return slashed;
    return fs::path(slashed).lexically_normal().generic_string();
}

// Erroneous sources give a message on most lines: the name is worked out
// once per file, and the listing's copy is appended in place.
void write_message(AsmSession& s, const char* screen_format, const char* listing_format,
                   std::string_view text) {
    if (s.message_name_of != s.current_file) {
        s.message_name_of = s.current_file;
        s.message_name = canonical_name(s.current_file);
    }
    const std::string& file = s.message_name;
    if (s.write_line) {
        char head[64];
        std::snprintf(head, sizeof head, " (%d): ", s.file_line);
        std::string line;
        line.reserve(file.size() + text.size() + 40);
        line.append(1, '"').append(file).append(1, '"').append(head).append(screen_format);
        line.append(text);
        s.write_line(line);
    }
    if (s.listing_enabled) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, listing_format, s.file_line);
        s.listing_text.append(1, '"').append(file).append(1, '"').append(buffer).append(text);
        s.listing_text += '\n';
    }
}

bool is_space(char c) {
    return static_cast<unsigned char>(c) < 33;
}

const char* skip_word(const char* p) {
    while (*p && !is_space(*p) && *p != '"')
        ++p;
    return p;
}

const char* skip_spaces(const char* p) {
    while (*p && is_space(*p))
        ++p;
    return p;
}

// "[-I "dir"] [-L] [-S] [-w] FILE"; returns the source file name.
std::string parse_command_line(AsmSession& s, const std::string& line) {
    const char* p = skip_spaces(line.c_str());
    while (*p == '-') {
        const char letter = p[1];
        p = skip_word(p + 1);
        switch (letter) {
        case 'I': {
            p = skip_spaces(p);
            std::string dir;
            if (*p == '"') {
                const char* end = p + 1;
                while (*end && *end != '"')
                    ++end;
                dir.assign(p + 1, end);
                p = *end ? end + 1 : end;
            }
            if (dir.empty()) {
                report(s, Msg::PathnameNotQuoted);
            } else if (s.include_dirs.size() >= size_t(kMaxIncludeDirs)) {
                // Messages of the passes are not written yet; a directory
                // the search will not see is told at once.
                if (s.write_line)
                    s.write_line("warning: " +
                                 format_message(Msg::IncludeStackExhausted, dir.c_str()));
            } else {
                s.include_dirs.push_back(dir);
            }
            break;
        }
        case 'L': s.listing_enabled = true; break;
        case 'S': s.symbol_dump = true; break;
        case 'w': s.warnings_enabled = true; break;
        case 'c': s.compat_requested = true; break;
        case 'g': s.debug_map = true; break;
        default: report(s, Msg::UnknownOption);
        }
        p = skip_spaces(p);
    }
    if (*p == '"') {
        const char* end = p + 1;
        while (*end && *end != '"')
            ++end;
        return std::string(p + 1, end);
    }
    const char* end = p;
    while (*end && *end != ' ')
        ++end;
    return std::string(p, end);
}

void reset_counters(AsmSession& s) {
    s.location = 0;
    s.line_start = 0;
    s.file_line = 0;
    s.global_line = 0;
    s.listing_line = 0;
    s.errors = 0;
    s.warnings = 0;
    s.end_seen = false;
    s.listcond = false;
    s.phase_pending = false;
    s.phase_reported = false;
    s.stab_continues = false;
    s.marker_pending = false;
    s.nolist_pending = false;
}

// Writes what the listing and the S-record text hold so far.
void flush_outputs(AsmSession& s) {
    auto put = [](std::FILE* f, std::string& text, bool& failed) {
        if (f && !text.empty() && std::fwrite(text.data(), 1, text.size(), f) != text.size())
            failed = true;
        text.clear();
    };
    put(s.listing_file, s.listing_text, s.listing_failed);
    put(s.srecord_file, s.srecord_text, s.srecord_failed);
}

// Closes the file; a close that fails (the last buffered bytes did not go
// out) marks it failed.
void close_output(std::FILE*& f, bool& failed) {
    if (!f) return;
    if (std::fclose(f) != 0) failed = true;
    f = nullptr;
}

// The source is the very file one of the outputs would be written to (a
// link, or another spelling of the name).
bool is_an_output(const std::string& source, const AsmSession& s) {
    std::error_code ec;
    for (const std::string& output : {s.listing_path, s.srecord_path, s.debug_map_path})
        if (std::filesystem::equivalent(source, output, ec)) return true;
    return false;
}

void run_pass(AsmSession& s) {
    constexpr size_t kFlushSize = 1 << 16;
    // A trial only asks whether the source assembles without errors, so
    // its first counted error answers it.
    const auto answered = [&s] { return s.trial && s.errors != 0; };
    const bool mapping = s.debug_map && s.pass == 1;
    while (!s.aborted && !answered() && read_line(s)) {
        const SourcePlace place = mapping ? debug_map_place(s) : SourcePlace{};
        const bool skipped = process_statement(s);
        if (mapping) debug_map_note(s, place);
        if (s.pass == 1) {
            list_line(s, skipped);
            if (s.listing_text.size() > kFlushSize || s.srecord_text.size() > kFlushSize)
                flush_outputs(s);
        }
    }
    if (s.stab_continues) report(s, Msg::LastLineContinuation);
}

// Creates (empties) an output file so that a failure shows before pass 1.
bool create_file(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

void write_summary(AsmSession& s) {
    if (!s.write_line) return;
    if (s.errors == 0 && s.warnings_enabled && s.warnings == 0) {
        s.write_line("No Errors.");
        return;
    }
    std::string line = "-- ";
    char buffer[64];
    if (s.errors == 0) {
        line += "No Errors.";
    } else {
        std::snprintf(buffer, sizeof buffer, "%d error(s).", s.errors);
        line += buffer;
    }
    if (s.warnings_enabled && s.warnings != 0) {
        std::snprintf(buffer, sizeof buffer, "%d warning(s).", s.warnings);
        line += buffer;
    }
    s.write_line(line);
}

} // namespace

void asm_error(AsmSession& s, std::string_view text) {
    if (s.pass == 0) {
        s.line_done = true;
        return;
    }
    if (s.phase_pending) {
        // After the second phase error every error of the run is dropped.
        if (s.phase_reported) return;
        s.phase_reported = true;
        s.phase_pending = false;
    }
    ++s.errors;
    write_message(s, "error: ", " line %d, ERROR: ", text);
    s.line_done = true;
}

void asm_fatal(AsmSession& s, std::string_view text) {
    if (s.aborted) return; // the run already ended with the first
    s.aborted = true;
    // Written whatever the pass: the run ends here, so pass 2 will not
    // meet the line again. The run's end counts it as its one error.
    write_message(s, "error: ", " line %d, ERROR: ", text);
    if (s.fatal) s.fatal(text);
}

bool asm_names_an_output(std::string_view source) {
    const std::string name = fs::path(source).filename().string();
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) return false;
    const std::string_view ext = std::string_view(name).substr(dot + 1);
    return equal_nocase(ext, "lst") || equal_nocase(ext, "s19") || equal_nocase(ext, "dbg");
}

void asm_warning(AsmSession& s, std::string_view text) {
    if (!s.warnings_enabled || s.pass == 0) return;
    ++s.warnings;
    write_message(s, "warning: ", " LINE: %d,WARNING: ", text);
}

namespace {

// Sets the dialect in force for the lines that follow.
void set_compat(AsmSession& s, bool on) {
    s.compat = on;
    s.compat_used = s.compat_used || on;
    s.symbols.set_case_blind(on);
}

// Whether the source of a failed run assembles without errors when other
// assemblers' syntax is accepted: a run of its own that writes nothing.
bool compat_would_mend(const AsmSession& failed, std::string_view command_line) {
    AsmSession trial;
    trial.program_dir = failed.program_dir;
    trial.trial = true;
    // The trial reads the very texts the failed run read, from memory.
    trial.file_cache = failed.file_cache;
    return asm_assemble(trial, command_line) == 1;
}

void write_compat_hint(AsmSession& s) {
    const std::string with =
        s.compat_switch.empty() ? "OPTION COMPAT" : s.compat_switch + " (or OPTION COMPAT)";
    s.write_line("Hint: with " + with + " this source assembles.");
}

} // namespace

void asm_option_compat(AsmSession& s) {
    set_compat(s, true);
}

int asm_assemble(AsmSession& s, std::string_view command_line) {
    {
        // Everything but the host connections starts afresh.
        AsmLineWriter writer = std::move(s.write_line);
        AsmFatalHandler fatal = std::move(s.fatal);
        std::string program_dir = std::move(s.program_dir);
        std::string compat_switch = std::move(s.compat_switch);
        const bool trial = s.trial;
        // A trial keeps the sources its failed run read; any other run
        // reads them afresh.
        std::vector<CachedFile> file_cache;
        if (trial) file_cache = std::move(s.file_cache);
        s = AsmSession{};
        s.file_cache = std::move(file_cache);
        s.write_line = std::move(writer);
        s.fatal = std::move(fatal);
        s.program_dir = std::move(program_dir);
        s.compat_switch = std::move(compat_switch);
        s.trial = trial;
    }
    std::error_code ec;
    s.start_dir = fs::current_path(ec).string();
    s.pass = 0;
    const std::string source = parse_command_line(s, std::string(command_line));
    if (s.trial) {
        // Only the number of errors counts: no listing, no symbol dump.
        s.compat_requested = true;
        s.listing_enabled = false;
        s.symbol_dump = false;
        s.debug_map = false;
    }
    set_compat(s, s.compat_requested);
    reset_counters(s);

    const std::string base = fs::path(source).filename().replace_extension().string();
    s.listing_path = base + ".lst";
    s.srecord_path = base + ".s19";
    s.debug_map_path = base + ".dbg";
    // Refused before anything is opened or created: the outputs would
    // overwrite the source, or delete it after an error.
    if (asm_names_an_output(source) || is_an_output(source, s)) {
        report(s, Msg::OutputNameConflict, source.c_str());
        return 0;
    }
    if (source.empty() || open_source(s, source) != OpenResult::Opened) {
        s.files.clear();
        report(s, Msg::CantOpenSource, source.c_str());
        return 0;
    }
    if (!s.trial) fs::remove(s.listing_path, ec);
    for (const std::string& path : {s.listing_path, s.srecord_path}) {
        if (s.trial) break;
        if (!create_file(path)) {
            report(s, Msg::CantCreateFile, path.c_str());
            s.errors = 1;
            write_summary(s);
            return 0;
        }
    }

    run_pass(s);

    s.symbols.reset_conditional_names();
    reset_conditionals(s);
    reset_counters(s);
    s.pass = 1;
    if (s.listing_enabled) {
        // Pass 1 lists nothing; only a fatal error's message can be here,
        // and it follows the banner.
        std::string early = std::move(s.listing_text);
        s.listing_text.clear();
        listing_banner(s);
        s.listing_text += early;
        s.listing_on = true;
    }
    // Pass 2 writes its outputs as it goes.
    s.listing_file = s.listing_enabled ? std::fopen(s.listing_path.c_str(), "wb") : nullptr;
    s.srecord_file = s.trial ? nullptr : std::fopen(s.srecord_path.c_str(), "wb");
    if (s.listing_enabled && !s.listing_file) s.listing_failed = true;
    if (!s.trial && !s.srecord_file) s.srecord_failed = true;
    // The text is handed over in large pieces; stdio need not copy it again.
    if (s.listing_file) std::setvbuf(s.listing_file, nullptr, _IONBF, 0);
    if (s.srecord_file) std::setvbuf(s.srecord_file, nullptr, _IONBF, 0);
    if (s.debug_map) debug_map_begin_load_file(s);
    srecord_start(s, 0);
    close_all_sources(s);
    s.current_file.clear();
    if (!s.aborted && open_source(s, source) == OpenResult::Opened) {
        // OPTION lines take effect again at the same place in pass 2.
        s.cpu_model = kModelHCS12;
        set_compat(s, s.compat_requested);
        run_pass(s);
    }
    close_all_sources(s);
    // A fatal error fails the run: it counts as one of its errors, so the
    // listing's total and the summary say so.
    if (s.aborted) ++s.errors;

    if (s.symbol_dump) dump_symbols(s);
    srecord_finish(s);
    if (s.errors != 0) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "\n\n****** Total Errors: %d\n", s.errors);
        if (s.listing_enabled) s.listing_text += buffer;
    }
    flush_outputs(s);
    // A map only for a run without errors; an earlier run's map goes with
    // its load file.
    if (s.debug_map && s.errors == 0 && !s.srecord_failed && !debug_map_finish(s))
        s.debug_map_failed = !s.srecord_failed;
    close_output(s.listing_file, s.listing_failed);
    close_output(s.srecord_file, s.srecord_failed);
    // Each file that did not come out whole is named; either fails the run.
    if (s.listing_failed) report(s, Msg::CantCreateFile, s.listing_path.c_str());
    if (s.srecord_failed) report(s, Msg::CantCreateFile, s.srecord_path.c_str());
    if (s.debug_map_failed) report(s, Msg::CantCreateFile, s.debug_map_path.c_str());
    if (s.listing_failed || s.srecord_failed || s.debug_map_failed) ++s.errors;
    if (s.errors != 0 && !s.trial) {
        fs::remove(s.srecord_path, ec);
        if (s.debug_map) fs::remove(s.debug_map_path, ec);
    }
    s.symbols.clear();
    write_summary(s);
    // A failure that other assemblers' syntax would mend says so after the
    // summary; an output that could not be written is no matter of syntax.
    if (s.errors != 0 && !s.compat_requested && !s.aborted && !s.listing_failed &&
        !s.srecord_failed && !s.debug_map_failed && s.write_line &&
        compat_would_mend(s, command_line))
        write_compat_hint(s);
    return s.errors == 0 ? 1 : 0;
}

} // namespace torva
