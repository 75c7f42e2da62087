// The editor document window "TV6RT12##kivDrawClass": one source file in an
// editing component "KivEditorClass", with loading, saving, the backup copy,
// the change-on-disk question, the save question on close and the editor's
// commands.
#pragma once

#include "editor/document_file_state.h"
#include "editor/document_roles.h"
#include "editor/scintilla_call.h"
#include "shell/child_window.h"

#include <QWidget>

#include <cstdint>
#include <string>

class QsciScintillaBase;

namespace torva {

class EditorDocuments;

// Commands only documents handle.
namespace doc_cmd {
inline constexpr int kModifiedQuery = 43002;
inline constexpr int kSilentSave = 43061;
} // namespace doc_cmd

class DocumentWindow final : public QWidget, public ChildWindow, private DocumentFileHost {
    Q_OBJECT
public:
    // The creation handler: checks the file (unless is_new), sets up the
    // component, loads the file and takes the backup. Shows its own error
    // box and returns null when the document cannot be opened.
    static DocumentWindow* create(DocumentRoles frame, EditorDocuments& list, bool is_new,
                                  const std::string& path);
    ~DocumentWindow() override;

    QWidget& as_widget() override { return *this; }
    bool handle_command(int id, std::intptr_t parameter) override;
    bool close_query() override;
    void menu_popup(MenuItems& items, QMenu* popup) override;

    // The document became the active child: the change-on-disk question.
    void child_activated() override;

    const std::string& name() const { return file_.name(); }
    const std::string& path() const { return file_.path(); }
    const std::string& backup_path() const { return file_.backup_path(); }
    int file_type() const { return file_.file_type(); }
    bool read_only() const { return file_.read_only(); }
    bool modified() const { return file_.modified(); }
    bool counts_as_modified() const { return file_.counts_as_modified(); }
    bool changed_on_disk() const { return file_.changed_on_disk(); }
    bool has_path(const std::string& path) const { return file_.has_path(path); }
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
    DocumentWindow(DocumentRoles frame, EditorDocuments& list, const std::string& path,
                   bool read_only);

    // DocumentFileHost
    bool ask_yes(const char* format) override;
    void show_error(const std::string& text) override;
    long text_length() const override;
    void read_text(long start, long end, char* into) const override;
    void mark_saved() override;
    void file_state_changed() override { update_window_title(); }

    void connect_notifications();
    void load_file();
    void save_as();
    void send_arrow_key(int id);
    void auto_indent(int character);
    void brace_highlight();
    void show_line_column();
    void after_notification();
    void toggle_breakpoint_at(long position);
    // The title: the name, " (Read Only)", and " *" while there are unsaved
    // changes.
    void update_window_title();

    DocumentRoles frame_;
    EditorDocuments& list_;
    DocumentFileState file_;
    QsciScintillaBase* component_;
    SciCall sci_;
};

} // namespace torva
