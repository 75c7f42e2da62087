// rt12check: checks lab programs. Reads a lab file, runs every submission on
// a simulated RT12 board of its own (spread over the processors), prints the
// table of points and failed checks, and writes JUnit XML, JSON and
// waveforms when asked. Exit status 0 when every check passed, 1 when some
// failed, 2 when the lab file or a submission cannot be read.
#include "lab/batch.h"
#include "lab/lab_reader.h"
#include "lab/report.h"
#include "lab/waveform.h"
#include "tools/program_directory.h"
#include "tools/rt12check_options.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace torva;

constexpr int kAllPassed = 0;
constexpr int kSomeFailed = 1;
constexpr int kUnreadable = 2;

void fail(const std::string& text) {
    std::fprintf(stderr, "rt12check: %s\n", text.c_str());
}

// A file name for a submission's waveform: its path with every character
// that is not a letter or digit as '_', unique within the run.
std::string waveform_name(const std::string& submission, std::set<std::string>& taken) {
    std::string name;
    for (const char c : submission)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    while (name.starts_with('_'))
        name.erase(0, 1);
    if (name.empty()) name = "submission";
    std::string unique = name;
    for (int n = 2; taken.contains(unique); ++n)
        unique = name + "_" + std::to_string(n);
    taken.insert(unique);
    return unique + ".vcd";
}

template <typename Write>
bool write_file(const std::string& path, Write write) {
    std::ofstream out(path, std::ios::binary);
    if (out) write(out);
    out.close();
    if (!out) {
        fail("can't write '" + path + "'");
        return false;
    }
    return true;
}

// A report named like an input file (a slip on the command line, as
// "--junit lab.toml sub.asm") would overwrite that file; true, with the
// message, when it does.
bool overwrites_input(const std::string& option, const std::string& report,
                      const std::vector<fs::path>& inputs) {
    std::error_code ec;
    if (report.empty() || !fs::exists(report, ec)) return false;
    for (const fs::path& input : inputs) {
        if (!fs::equivalent(report, input, ec)) continue;
        fail(option + ": '" + report + "' is an input of the run; it is left as it is");
        return true;
    }
    return false;
}

// The progress line on a terminal, rewritten in place.
class Progress {
public:
    explicit Progress(bool shown) : shown_(shown) {}
    void show(size_t done, size_t total, const std::string& last) {
        if (!shown_) return;
        std::fprintf(stderr, "\r\033[K[%zu/%zu] %s", done, total, last.c_str());
        std::fflush(stderr);
    }
    ~Progress() {
        if (shown_) std::fputs("\r\033[K", stderr);
    }

private:
    bool shown_;
};

} // namespace

int main(int argc, char** argv) {
    Rt12checkOptions options;
    std::string text;
    switch (parse_rt12check_arguments(argc, argv, options, text)) {
    case Rt12checkRequest::kHelp: std::fputs(rt12check_help().c_str(), stdout); return kAllPassed;
    case Rt12checkRequest::kVersion:
        std::fputs(rt12check_version().c_str(), stdout);
        return kAllPassed;
    case Rt12checkRequest::kUsageError:
        fail(text);
        std::fputs(rt12check_usage().c_str(), stderr);
        return kUnreadable;
    case Rt12checkRequest::kRun: break;
    }
    const fs::path program_dir = program_directory(argc > 0 ? argv[0] : "rt12check");
    std::string error;
    const auto lab = lab::read_lab_file(options.lab, program_dir, error);
    if (!lab) {
        fail(error);
        return kUnreadable;
    }
    std::vector<fs::path> submissions(options.submissions.begin(), options.submissions.end());
    if (submissions.empty()) {
        if (lab->program.empty()) {
            fail("name a submission (the lab names no program of its own)");
            return kUnreadable;
        }
        submissions.push_back(fs::path(options.lab).parent_path() / lab->program);
    }
    std::vector<fs::path> inputs = submissions;
    inputs.emplace_back(options.lab);
    if (overwrites_input("--junit", options.junit, inputs) ||
        overwrites_input("--json", options.json, inputs))
        return kUnreadable;

    lab::BatchOptions batch{program_dir, options.jobs, !options.vcd_dir.empty()};
    std::vector<lab::SubmissionResult> results;
    {
        Progress progress(!options.quiet && isatty(STDERR_FILENO) && submissions.size() > 1);
        results = lab::check_submissions(
            *lab, submissions, batch,
            [&](size_t done, size_t total, const lab::SubmissionResult& result) {
                progress.show(done, total, result.program.submission);
            });
    }
    std::fputs(lab::result_table(*lab, results).c_str(), stdout);
    std::fflush(stdout);

    bool written = true;
    if (!options.junit.empty())
        written &= write_file(options.junit,
                              [&](std::ostream& out) { lab::write_junit(out, *lab, results); });
    if (!options.json.empty())
        written &= write_file(options.json,
                              [&](std::ostream& out) { lab::write_json(out, *lab, results); });
    if (!options.vcd_dir.empty()) {
        std::error_code ec;
        fs::create_directories(options.vcd_dir, ec);
        std::set<std::string> taken;
        for (const lab::SubmissionResult& result : results) {
            if (result.passed() || !result.waveform) continue;
            const std::string path =
                (fs::path(options.vcd_dir) / waveform_name(result.program.submission, taken))
                    .string();
            const std::string comment =
                "lab " + options.lab + ", submission " + result.program.submission;
            written &= write_file(
                path, [&](std::ostream& out) { result.waveform->write_vcd(out, comment); });
        }
    }

    bool unreadable = !written, all_passed = true;
    for (const lab::SubmissionResult& result : results) {
        unreadable |= result.unreadable();
        all_passed &= result.passed();
    }
    if (unreadable) return kUnreadable;
    return all_passed ? kAllPassed : kSomeFailed;
}
