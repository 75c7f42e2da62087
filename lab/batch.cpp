// Worker threads over a list of submissions.
#include "lab/batch.h"

#include "lab/lab_runner.h"
#include "lab/submission.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace torva::lab {
namespace {

// A fresh folder for the assembler's output, removed with everything in it.
class WorkFolder {
public:
    WorkFolder() {
        std::string pattern = (fs::temp_directory_path() / "rt12check-XXXXXX").string();
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~WorkFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

} // namespace

SubmissionResult check_submission(const Lab& lab, const fs::path& submission,
                                  const fs::path& program_dir) {
    const WorkFolder work;
    return run_lab(lab, prepare_program(lab, submission, work.path(), program_dir),
                   {program_dir, false});
}

std::vector<SubmissionResult> check_submissions(const Lab& lab,
                                                const std::vector<fs::path>& submissions,
                                                const BatchOptions& options,
                                                const BatchProgress& progress) {
    std::vector<SubmissionResult> results(submissions.size());
    const WorkFolder work;
    std::mutex assembling;
    std::mutex reporting;
    std::atomic<size_t> next{0};
    size_t done = 0;
    const RunOptions run_options{options.program_dir, options.record_waveforms};

    const auto worker = [&] {
        for (size_t i = next++; i < submissions.size(); i = next++) {
            Program program;
            {
                const std::lock_guard lock(assembling);
                program = prepare_program(lab, submissions[i], work.path() / std::to_string(i),
                                          options.program_dir);
            }
            results[i] = run_lab(lab, std::move(program), run_options);
            const std::lock_guard lock(reporting);
            ++done;
            if (progress) progress(done, submissions.size(), results[i]);
        }
    };
    unsigned jobs =
        options.jobs != 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
    jobs = unsigned(std::min<size_t>(jobs, submissions.size()));
    std::vector<std::jthread> threads;
    for (unsigned j = 1; j < jobs; ++j)
        threads.emplace_back(worker);
    worker();
    threads.clear();
    return results;
}

} // namespace torva::lab
