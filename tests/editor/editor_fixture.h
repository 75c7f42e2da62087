// A shown frame with the real editor documents and the real Assemble and
// Check Lab commands behind scripted boxes and dialogs, and helpers to drive
// the documents.
#pragma once

#include "editor/document_list.h"
#include "editor/document_window.h"
#include "editor/styling.h"
#include "shell/assemble_command.h"
#include "shell/check_lab_command.h"
#include "shell/command_ids.h"
#include "shell/frame.h"
#include "shell/output_window.h"

#include "support/scripted_services.h"
#include "support/temp_dir.h"
#include "support/tool_process.h"

#include <Qsci/qsciscintillabase.h>

#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace torva::test {

inline void settle_events() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// File times move in steps of the kernel's clock tick; a pause makes the
// next write visibly later than the last.
inline void let_clock_tick() {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
}

class EditorFixture : public ::testing::Test {
protected:
    void SetUp() override {
        dirs.program_dir = std::filesystem::path(tool_path("ta12")).parent_path().string();
        dirs.start_dir = dirs.source_dialog_dir = dir() + "/";
        FrameServices services;
        services.messages = &messages;
        services.dialogs = &dialogs;
        services.documents = &documents;
        services.assembler = &assembler;
        services.lab_checker = &lab_checker;
        frame = std::make_unique<KivFrame>(services, dirs);
        documents.attach(*frame, {*frame, *frame, *frame, *frame, *frame, frame->recent_files()});
        assembler.attach(*frame);
        lab_checker.attach(*frame);
        frame->create_fonts();
        frame->build_menus();
        frame->resize(1200, 900);
        frame->show();
        frame->update_menus(nullptr);
    }
    void TearDown() override {
        frame.reset();
        settle_events();
    }

    std::string dir() const { return temp.path().generic_string(); }
    std::string write(const std::string& name, std::string_view text) const {
        return std::filesystem::path(temp.write(name, text)).generic_string();
    }

    DocumentWindow* open(const std::string& path, int line = -1, bool is_new = false) {
        return dynamic_cast<DocumentWindow*>(frame->open_document(is_new, path, line));
    }

    // Closes the document as the "&Close" command does.
    void close(DocumentWindow* document) {
        activate(document);
        frame->dispatch(cmd::kClose);
        settle_events();
    }

    void activate(QWidget* window) {
        frame->client().setActiveSubWindow(qobject_cast<QMdiSubWindow*>(window->parentWidget()));
    }

    // Types a key into the document's component as the user would.
    static void press(DocumentWindow* document, int key, const QString& text = {}) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(&document->component(), &event);
    }

    static bool has_line_mark(DocumentWindow* document, int line) {
        return (document->sci().send(sci::SCI_MARKERGET, line) & (1 << marker::kGoToLine)) != 0;
    }
    static int caret_line(DocumentWindow* document) {
        return document->sci().line_from_position(document->sci().current_pos());
    }
    static void type_text(DocumentWindow* document, const std::string& text) {
        document->component().SendScintilla(sci::SCI_ADDTEXT, static_cast<uintptr_t>(text.size()),
                                            text.data());
    }

    // The Output window's lines; none without the window.
    std::vector<std::string> output_lines() const {
        OutputWindow* output = frame->output_window();
        return output != nullptr ? output->store().lines() : std::vector<std::string>{};
    }

    int boxes_containing(const std::string& part) const {
        int count = 0;
        for (const auto& box : messages.shown)
            if (box.text.find(part) != std::string::npos) ++count;
        return count;
    }

    TempDir temp;
    Directories dirs;
    ScriptedMessages messages;
    ScriptedDialogs dialogs;
    EditorDocuments documents;
    AssembleCommand assembler{&documents};
    CheckLabCommand lab_checker{&documents};
    std::unique_ptr<KivFrame> frame;
};

} // namespace torva::test
