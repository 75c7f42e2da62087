// The editor document window "TV6RT12##kivDrawClass": one source file in an
// editing component "KivEditorClass", with loading, saving, the backup copy,
// the change-on-disk question, the save question on close and the editor's
// commands.
#pragma once

#include "editor/document_files.h"
#include "editor/scintilla_call.h"
#include "shell/child_window.h"

#include <QWidget>

#include <cstdint>
#include <string>

class QsciScintillaBase;

namespace torva {

class EditorDocuments;
class FrameAccess;

// Commands only documents handle.
namespace doc_cmd {
inline constexpr int kModifiedQuery = 43002;
inline constexpr int kSilentSave = 43061;
} // namespace doc_cmd

class DocumentWindow final : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    // The creation handler: checks the file (unless is_new), sets up the
    // component, loads the file and takes the backup. Shows its own error
    // box and returns null when the document cannot be opened.
    static DocumentWindow* create(FrameAccess& frame, EditorDocuments& list, bool is_new,
                                  const std::string& path);
    ~DocumentWindow() override;

    QWidget& as_widget() override { return *this; }
    bool handle_command(int id, std::intptr_t parameter) override;
    bool close_query() override;
    void menu_popup(MenuItems& items, QMenu* popup) override;

    // The document became the active child: the change-on-disk question.
    void child_activated() override;

    const std::string& name() const { return name_; }
    const std::string& path() const { return path_; }
    const std::string& backup_path() const { return backup_path_; }
    int file_type() const { return file_type_; }
    bool read_only() const { return read_only_; }
    bool modified() const { return modified_; }
    bool counts_as_modified() const;
    bool changed_on_disk() const;
    // Path query: equal to path after both are normalised, byte for byte.
    bool has_path(const std::string& path) const;
    // Saves without refreshing the backup (before assembling); false when
    // the text did not reach the file.
    bool silent_save();
    // Save: writes the file and refreshes the backup; a document without a
    // path asks for a name first.
    void save_command();
    // Marks the zero-based line (beyond the end: the last) and puts the caret
    // on it.
    void go_to_line(int line);

    QsciScintillaBase& component() const { return *component_; }
    const SciCall& sci() const { return sci_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    DocumentWindow(FrameAccess& frame, EditorDocuments& list, const std::string& path,
                   bool read_only);

    void connect_notifications();
    void load_file();
    // Writes the text to the file (asking first when another program
    // changed it); false when nothing was written, after its box.
    bool write_file();
    void write_backup();
    void save_as();
    // A question box with the document's name.
    int ask(const char* format);
    void send_arrow_key(int id);
    void auto_indent(int character);
    void brace_highlight();
    void show_line_column();
    // "&No" on close: the backup back over the file; false when that
    // failed.
    bool discard_changes();
    void after_notification();
    void toggle_breakpoint_at(long position);
    // The title: the name, " (Read Only)", and " *" while there are unsaved
    // changes.
    void update_window_title();

    FrameAccess& frame_;
    EditorDocuments& list_;
    std::string name_;
    std::string path_;
    std::string backup_path_;
    int file_type_ = 0;
    bool read_only_ = false;
    bool modified_ = false;
    bool asking_ = false;       // a question about the file is open
    bool backup_valid_ = false; // the backup holds the file as it was opened
    FileTime loaded_time_{};
    FileTime backup_time_{};
    FileTime known_disk_time_{};
    QsciScintillaBase* component_;
    SciCall sci_;
};

} // namespace torva
