// Runs one submission's program through a lab on a board of its own: the
// stimuli at their times, the checks watched while it runs and decided at
// the end.
#pragma once

#include "lab/lab.h"
#include "lab/result.h"
#include "lab/submission.h"

#include <filesystem>

namespace torva::lab {

struct RunOptions {
    // Where the program lives: the board's descriptors and monitor beside it.
    std::filesystem::path program_dir;
    // Keep the board's outputs over the run (for a waveform file).
    bool record_waveform = false;
};

// Runs the program and scores it. A program that is not ready (unreadable,
// not assembled) scores 0 with every check failed and nothing run. Each
// call builds its own board: calls from several threads may run at once.
SubmissionResult run_lab(const Lab& lab, Program program, const RunOptions& options);

} // namespace torva::lab
