// Lab tests: a lab read from text, a program assembled from source and run
// through it, on the board files of the build tree.
#pragma once

#include "lab/lab_reader.h"
#include "lab/lab_runner.h"
#include "lab/report.h"
#include "lab/submission.h"
#include "support/temp_dir.h"
#include "support/tool_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace torva::lab::test {

// The build's bin/: the board's descriptors and include files lie beside it.
inline std::filesystem::path program_dir() {
    return std::filesystem::path(torva::test::tool_path("rt12check")).parent_path();
}

class LabTest : public ::testing::Test {
protected:
    // The lab in text; a fault fails the test.
    Lab lab(const std::string& text) {
        std::string error;
        auto read = read_lab_text(text, dir_.path() / "lab.toml", program_dir(), error);
        EXPECT_TRUE(read) << error;
        return read ? std::move(*read) : Lab{};
    }
    // The message a faulty lab gives.
    std::string lab_error(const std::string& text) {
        std::string error;
        EXPECT_FALSE(read_lab_text(text, "lab.toml", program_dir(), error));
        return error;
    }
    // The source assembled and run through the lab.
    SubmissionResult run(const Lab& lab, const std::string& source, bool waveform = false) {
        const std::string path = dir_.write("prog" + std::to_string(++programs_) + ".asm", source);
        Program program = prepare_program(lab, path, dir_.path() / "work", program_dir());
        EXPECT_EQ(Program::State::kReady, program.state)
            << program.error << (program.messages.empty() ? "" : program.messages.front());
        return run_lab(lab, std::move(program), {program_dir(), waveform});
    }
    // The result of the check of that name.
    static const CheckResult& check(const SubmissionResult& result, const std::string& name) {
        for (const CheckResult& check : result.checks)
            if (check.check->name == name) return check;
        ADD_FAILURE() << "no check " << name;
        static const CheckResult none;
        return none;
    }

    torva::test::TempDir dir_;
    int programs_ = 0;
};

} // namespace torva::lab::test
