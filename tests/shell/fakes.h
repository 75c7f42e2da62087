// Stand-ins for the subsystems that plug into the frame (documents, the
// simulator and terminal windows, the serial ports), recording what the frame
// asks of them, and a fixture that builds a frame over them.
#pragma once

#include "shell/child_window.h"
#include "shell/command_ids.h"
#include "shell/download_target.h"
#include "shell/frame.h"
#include "shell/output_window.h"
#include "shell/port_lister.h"
#include "shell/services.h"
#include "terminal/terminal_commands.h"

#include "support/scripted_services.h"
#include "support/temp_dir.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace torva::test {

inline constexpr const char* kDocumentClass = "TV6RT12##kivDrawClass";

class FakeChild final : public QWidget, public ChildWindow, public DownloadTarget {
public:
    FakeChild(const char* class_name, std::string path = {}) : path(std::move(path)) {
        setObjectName(QString::fromLatin1(class_name));
        setWindowTitle(QString::fromStdString(this->path.empty() ? class_name : this->path));
        resize(200, 150);
    }
    QWidget& as_widget() override { return *this; }
    bool handle_command(int id, std::intptr_t parameter) override {
        if (id == cmd::kTitleModifiedQuery) return modified;
        commands.emplace_back(id, parameter);
        return true;
    }
    // A download shows as the terminal's Load command.
    void download(const std::string& load_path) override {
        commands.emplace_back(terminal_cmd::kDownload, 0);
        downloads.push_back(load_path);
    }
    bool close_query() override {
        ++queries;
        return may_close;
    }
    void menu_popup(MenuItems& items, QMenu*) override {
        for (int id : enables)
            items.set_enabled(id, true);
    }
    bool got(int id) const {
        return std::any_of(commands.begin(), commands.end(),
                           [id](const auto& c) { return c.first == id; });
    }

    std::string path;
    bool modified = false;
    bool may_close = true;
    int queries = 0;
    std::vector<int> enables;
    std::vector<std::pair<int, std::intptr_t>> commands;
    std::vector<std::string> downloads;
};

class FakeDocuments final : public DocumentService {
public:
    struct Open {
        bool is_new;
        std::string path;
        int line;
    };
    KivFrame* frame = nullptr;
    std::vector<Open> opened;
    int saves = 0;
    int line_mark_clears = 0;

    QWidget* open_document(bool is_new, const std::string& path, int line) override {
        opened.push_back({is_new, path, line});
        if (QWidget* existing = find_document(path)) return existing;
        auto* document = new FakeChild(kDocumentClass, path);
        document->enables = {cmd::kSave, cmd::kSaveAs, cmd::kClose};
        frame->add_child(*document);
        return document;
    }
    std::string document_path(const QWidget* widget) const override {
        const auto* child = dynamic_cast<const FakeChild*>(widget);
        return child != nullptr && child->objectName() == kDocumentClass ? child->path : "";
    }
    QWidget* find_document(const std::string& path) const override {
        for (QWidget* document : documents())
            if (same_text(document_path(document), path)) return document;
        return nullptr;
    }
    bool any_document_open() const override { return !documents().empty(); }
    void save_all_modified() override { ++saves; }
    void clear_line_marks() override { ++line_mark_clears; }
    int run_goto_line(QWidget*) override { return goto_answer; }
    int goto_answer = 0;

    std::vector<QWidget*> documents() const {
        std::vector<QWidget*> list;
        for (QMdiSubWindow* sub : frame->client().subWindowList())
            if (!document_path(sub->widget()).empty()) list.push_back(sub->widget());
        return list;
    }

private:
    static bool same_text(const std::string& a, const std::string& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) ==
                   std::tolower(static_cast<unsigned char>(y));
        });
    }
};

// The assembler and the simulator and terminal window factories.
class FakeWorkbench final : public AssemblerService,
                            public SimulatorWindowFactory,
                            public TerminalWindowFactory {
public:
    std::vector<std::string> simulators; // load path of each simulator created
    int start_requests = 0;
    std::vector<int> terminals;
    std::vector<std::string> assembled;
    int terminal_defaults = 0;
    FakeChild* last_simulator = nullptr;

    ChildWindow* create_simulator(const std::string& load_path) override {
        simulators.push_back(load_path);
        last_simulator = new FakeChild("KivSimulatorChild");
        last_simulator->setWindowTitle(QString());
        return last_simulator;
    }
    void simulator_start_request() override { ++start_requests; }
    ChildWindow* create_terminal(int port) override {
        terminals.push_back(port);
        auto* terminal = new FakeChild("TV6RT12##TerminalChild");
        terminal->setWindowTitle(QString());
        return terminal;
    }
    void assemble(const std::string& path) override { assembled.push_back(path); }
    void set_terminal_defaults() override { ++terminal_defaults; }
    void reset_assembler_options() override { ++assembler_resets; }
    int assembler_resets = 0;
};

class FakePorts final : public PortLister {
public:
    std::vector<MenuBar::PortItem> ports;
    std::vector<MenuBar::PortItem> present_ports() override { return ports; }
};

// Lets posted deletions and timers run.
inline void settle_events() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Double-clicks the row of the Output window that shows stored line n.
inline void double_click_output_line(OutputWindow& output, int n) {
    const int row = n - output.store().first_visible();
    const QPointF at(5, row * output.line_height() + output.line_height() / 2);
    QMouseEvent event(QEvent::MouseButtonDblClick, at, output.viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(output.viewport(), &event);
}

// A shown frame over the fakes, as start-up leaves it (menus built, first
// enabling pass done).
class FrameFixture : public ::testing::Test {
protected:
    void SetUp() override { frame = make_frame(); }
    void TearDown() override {
        frame.reset();
        settle_events();
    }

    // The fakes as the frame's services; a test may swap one for the real one.
    FrameServices fake_services() {
        FrameServices services;
        services.messages = &messages;
        services.dialogs = &dialogs;
        services.documents = &documents;
        services.assembler = &workbench;
        services.simulators = &workbench;
        services.terminals = &workbench;
        services.ports = &ports;
        return services;
    }

    std::unique_ptr<KivFrame> make_frame() {
        dirs.start_dir = dirs.source_dialog_dir = temp.path().generic_string() + "/";
        auto made = std::make_unique<KivFrame>(fake_services(), dirs);
        documents.frame = made.get();
        made->create_fonts();
        made->build_menus();
        made->resize(1000, 700);
        made->show();
        made->update_menus(nullptr);
        return made;
    }

    // Opens the menu as the user would: its pop-up notification runs.
    void open_menu(Popup which) { emit frame->menus()->popup(which)->aboutToShow(); }
    bool enabled(int id) const { return frame->menus()->action(id)->isEnabled(); }

    FakeChild* add(FakeChild* child) {
        frame->add_child(*child);
        return child;
    }

    TempDir temp;
    Directories dirs;
    ScriptedMessages messages;
    ScriptedDialogs dialogs;
    FakeDocuments documents;
    FakeWorkbench workbench;
    FakePorts ports;
    std::unique_ptr<KivFrame> frame;
};

} // namespace torva::test
