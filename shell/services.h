// The seams through which the subsystems that live outside the shell (editor
// documents, simulator, terminals, assembler) plug into the frame.
#pragma once

#include <string>

class QWidget;

namespace torva {

// Editor documents. The frame works without one (nothing opens).
class DocumentService {
public:
    virtual ~DocumentService() = default;
    // Opens (or activates) the document for path inside the frame's area and
    // moves to line (-1: no particular line). is_new marks a file that is
    // created by saving at once. Returns the document widget, or null.
    virtual QWidget* open_document(bool is_new, const std::string& path, int line) = 0;
    // The document's full path when the widget is an editor document, else "".
    virtual std::string document_path(const QWidget* widget) const = 0;
    // The open document whose path equals path (letter case ignored), or null.
    virtual QWidget* find_document(const std::string& path) const = 0;
    virtual bool any_document_open() const = 0;
    virtual void save_all_modified() = 0;
    // Saves, without asking and without refreshing their backups, the
    // modified documents of the file types the editor knows (the Assemble
    // command does this first).
    virtual void save_modified_sources() {}
    // Removes the line mark (marker 3) from every document.
    virtual void clear_line_marks() = 0;
};

// Creates the windows of the other subsystems and runs their pieces of the
// frame's commands. Every member has a harmless default so the frame runs
// before those subsystems exist.
class WorkbenchFactory {
public:
    virtual ~WorkbenchFactory() = default;
    // The Simulator child (objectName "KivSimulatorChild") for load_path
    // ("" for none); null when there is no simulator.
    virtual QWidget* create_simulator(const std::string& /*load_path*/) { return nullptr; }
    // The start request handed to the simulator workbench before the window.
    virtual void simulator_start_request() {}
    // The Terminal child (objectName "TV6RT12##TerminalChild") for the
    // zero-based port number, or null.
    virtual QWidget* create_terminal(int /*port*/) { return nullptr; }
    // The "GOTOLINE" dialog: the line number typed (1 and up), 0 for none.
    virtual int run_goto_line(QWidget* /*owner*/) { return 0; }
    // Assembles the source at path (the document on top of the area); an
    // empty path when no document is on top (the user picks the file).
    virtual void assemble(const std::string& /*path*/) {}
    // Resets the assembler's options to their defaults (start-up).
    virtual void reset_assembler_options() {}
    // Sets the terminal settings to this board's defaults (start-up).
    virtual void set_terminal_defaults() {}
};

// Opens a source file at a one-based line number and marks that line; the
// Output window calls it on a double click.
class SourceOpener {
public:
    virtual ~SourceOpener() = default;
    virtual void open_source_at(const std::string& path, int line_number) = 0;
};

} // namespace torva
