// The assembler's whole run state: one AsmSession per assembler, no globals,
// so two sessions can assemble side by side.
#pragma once

#include "asm/debug_map_output.h"
#include "asm/expression.h"
#include "asm/symbols.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace torva {

// Receives one output line (messages, summary) without its line end.
using AsmLineWriter = std::function<void(std::string_view line)>;
// Receives the text of a fatal error; the host decides whether to end the
// program. When it returns, the run stops and reports failure.
using AsmFatalHandler = std::function<void(std::string_view text)>;

enum CpuModel : int { kModelHC12 = 0, kModelHCS12 = 1, kModelHCS12X = 2, kModelXGATE = 3 };

// One open source file. The whole file is read at open; lines are served
// from memory.
struct FileFrame {
    std::string path;     // the path under which the file was opened
    std::string identity; // canonical path, for recursion detection
    std::shared_ptr<const std::string> text;
    size_t pos = 0;
    int saved_line = 0; // file line of this file while a nested file is read
};

// A source file as read once in a run, kept under the path it was found at.
struct CachedFile {
    std::string path;
    std::string identity;
    std::shared_ptr<const std::string> text;
};

constexpr int kCodeBufferSize = 120;
constexpr int kMaxIncludeDirs = 20;
constexpr int kMaxCondDepth = 20;
constexpr size_t kLineBufferSize = 4095;

struct AsmSession {
    // Host connections; kept across runs.
    AsmLineWriter write_line;
    AsmFatalHandler fatal;
    std::string program_dir; // directory of the running program
    // Where the host lets the user switch other assemblers' syntax on
    // ("--compat", a menu item), for the hint after a failed run; "" for
    // none (the hint then names OPTION COMPAT only).
    std::string compat_switch;

    // Options.
    bool warnings_enabled = false;
    bool listing_enabled = true;
    bool symbol_dump = false;
    bool debug_map = false; // -g: write name.dbg and stamp the load file
    std::vector<std::string> include_dirs;
    std::string start_dir;
    // Other assemblers' syntax: asked for on the command line (-c), in force
    // on the current line (OPTION COMPAT switches it on from its line on),
    // and whether any line of the run had it (the listing banner says so).
    bool compat_requested = false;
    bool compat = false;
    bool compat_used = false;
    // A trial run, to learn whether the dialect would mend a failed source:
    // no files, no messages, no hint.
    bool trial = false;

    // Pass state.
    int pass = 0;
    uint32_t location = 0;
    uint32_t line_start = 0;
    int file_line = 0;
    int global_line = 0;
    int listing_line = 0;
    int errors = 0;
    int warnings = 0;
    int cpu_model = kModelHCS12;
    bool first_org_seen = false;
    uint32_t first_org = 0;
    bool entry_defined = false;
    uint32_t entry = 0;
    bool end_seen = false;
    bool line_done = false;
    bool phase_pending = false;
    bool phase_reported = false;
    bool aborted = false; // a fatal error stopped the run

    // Code of the current line, for the listing.
    std::array<uint8_t, kCodeBufferSize> code{};
    int code_count = 0;
    bool byte_mode = false;

    // Source input.
    std::vector<FileFrame> files;
    std::string current_file;
    // The current file's name as messages show it, and the name it was
    // worked out from.
    std::string message_name;
    std::string message_name_of;
    std::string line; // the current line, with its line end
    // A line of the dialect is rewritten into `line` before it is parsed;
    // the listing shows the line as read, and message columns point into it.
    bool line_rewritten = false;
    std::string source_line;
    std::vector<uint32_t> source_columns; // per byte of `line`, its column as read
    const char* scan = nullptr;           // parsers advance this through `line`
    bool stab_continues = false;

    // Conditional assembly.
    int cond_depth = 0;
    int skip_level = 0;
    std::array<uint8_t, kMaxCondDepth + 1> cond_state{};

    // Listing. The text is written out in pieces during pass 2.
    std::string listing_path;
    std::string listing_text;
    std::FILE* listing_file = nullptr;
    bool listing_on = false;
    bool nolist_pending = false;
    bool listcond = false;
    bool marker_pending = false;
    bool show_address = true;
    bool force_list = false; // list this line even though skipping began on it

    // S-record output.
    std::string srecord_path;
    std::string srecord_text;
    std::FILE* srecord_file = nullptr;
    // The debug map, collected in pass 2.
    std::string debug_map_path;
    DebugMapNotes debug_notes;
    bool debug_map_failed = false;
    // A write to the file did not go through.
    bool listing_failed = false;
    bool srecord_failed = false;

    // Source files read in pass 1, served again in pass 2 (and to the trial
    // run after a failure), with the identity that detects recursion.
    std::vector<CachedFile> file_cache;
    uint32_t record_address = 0;
    std::vector<uint8_t> record_data;

    SymbolTable symbols;
    std::vector<Token> tokens; // scratch of the expression evaluator (never nested)

    bool is_assembling() const { return skip_level == 0; }
    // The current line as the source has it.
    const std::string& line_as_read() const { return line_rewritten ? source_line : line; }
    const char* line_begin() const { return line.c_str(); }
};

// Runs one assembly from its command line ("[-L] [-S] [-w] [-c] [-g]
// [-I "dir"] FILE"; -c accepts other assemblers' syntax, -g writes the
// debug map). Returns 1 when pass 2 ended
// without errors, else 0. After a failure that other assemblers' syntax
// would mend, a hint follows the summary.
int asm_assemble(AsmSession& s, std::string_view command_line);

// OPTION COMPAT: other assemblers' syntax from the next line on.
void asm_option_compat(AsmSession& s);

// Reports an error or a warning on the current line (pass 2 only).
void asm_error(AsmSession& s, std::string_view text);
void asm_warning(AsmSession& s, std::string_view text);
// Reports a fatal error on the current line, in either pass, ends the run
// and hands the text to the host's fatal handler (once per run).
void asm_fatal(AsmSession& s, std::string_view text);

// True when a source of this name would be overwritten by the listing or
// the S-record file or the debug map the assembler writes (extension "lst",
// "s19" or "dbg", letter case aside).
bool asm_names_an_output(std::string_view source);

} // namespace torva
