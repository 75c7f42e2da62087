// The whole program's wiring as a student meets it, for end-to-end tests: a
// workbench and its frame over scripted message boxes and dialogs, in a
// scratch directory, with an example program copied there, assembled by
// Debug > Assemble and loaded by Debug > Simulator.
#pragma once

#include "app/workbench.h"
#include "shell/command_ids.h"
#include "shell/fakes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace torva::test {

class StudentSession {
public:
    StudentSession() {
        dirs_.start_dir = temp.path().generic_string() + "/";
        // As an installed program: the board's include files beside bin/.
        if (const char* build = std::getenv("TORVA_BUILD_DIR"))
            dirs_.program_dir = std::string(build) + "/bin";
        frame = std::make_unique<KivFrame>(workbench.services(messages, dialogs), dirs_);
        workbench.attach(*frame);
        frame->create_fonts();
        frame->build_menus();
        frame->resize(1100, 760);
        frame->show();
    }
    ~StudentSession() {
        frame.reset();
        settle_events();
    }
    StudentSession(const StudentSession&) = delete;
    StudentSession& operator=(const StudentSession&) = delete;

    // Copies examples/<name>.asm into the scratch directory, opens it and
    // assembles it; gives the load file, empty (with a test failure) when
    // Assemble wrote none.
    std::filesystem::path assemble_example(const std::string& name) {
        return assemble_source("examples/" + name + ".asm");
    }
    // The same for any source of the source tree (a path below its root).
    std::filesystem::path assemble_source(const std::string& in_tree) {
        const std::filesystem::path from =
            std::filesystem::path(std::getenv("TORVA_SOURCE_DIR")) / in_tree;
        const std::string name = from.stem().string();
        const std::filesystem::path source = temp.path() / from.filename();
        std::filesystem::copy_file(from, source);
        frame->open_document(false, source.string(), -1);
        frame->dispatch(cmd::kAssemble); // Debug > Assemble
        const std::filesystem::path load_file = temp.path() / (name + ".s19");
        EXPECT_TRUE(std::filesystem::exists(load_file)) << "Assemble wrote no " << load_file;
        return std::filesystem::exists(load_file) ? load_file : std::filesystem::path();
    }

    // Debug > Simulator with the load file picked in its file dialog; false
    // when no simulator window came up.
    bool open_simulator(const std::filesystem::path& load_file) {
        dialogs.answers.push_back(load_file.string());
        frame->dispatch(cmd::kSimulator); // Debug > Simulator
        return workbench.simulator_windows().window() != nullptr;
    }

    TempDir temp;
    ScriptedMessages messages;
    ScriptedDialogs dialogs;
    Workbench workbench;
    std::unique_ptr<KivFrame> frame;

private:
    Directories dirs_;
};

} // namespace torva::test
