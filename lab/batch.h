// Checking many submissions against one lab: each on a board of its own,
// spread over worker threads.
#pragma once

#include "lab/lab.h"
#include "lab/result.h"

#include <filesystem>
#include <functional>
#include <vector>

namespace torva::lab {

struct BatchOptions {
    std::filesystem::path program_dir;
    // Worker threads; 0 for one per processor.
    unsigned jobs = 0;
    bool record_waveforms = false;
};

// Told after each submission is done: how many are done, of how many, and
// the one just done. Called from one thread at a time.
using BatchProgress =
    std::function<void(size_t done, size_t total, const SubmissionResult& result)>;

// One submission prepared and run, as check_submissions does for each (the
// IDE's Check Lab). The same rule about the current directory holds.
SubmissionResult check_submission(const Lab& lab, const std::filesystem::path& submission,
                                  const std::filesystem::path& program_dir);

// Prepares (assembles) and runs every submission; the results come in the
// order of the submissions. Sources are assembled one at a time (the
// assembler writes into the current directory) in a temporary folder that
// is removed afterwards; the runs go on side by side.
std::vector<SubmissionResult>
check_submissions(const Lab& lab, const std::vector<std::filesystem::path>& submissions,
                  const BatchOptions& options, const BatchProgress& progress = {});

} // namespace torva::lab
