// The seams through which the subsystems that live outside the shell (editor
// documents, the assembler, the simulator and terminal windows) plug into
// the frame. The program's composition root implements them; the frame works
// without any of them (the command then does nothing).
#pragma once

#include <string>

class QWidget;

namespace torva {

class ChildWindow;

// Editor documents.
class DocumentService {
public:
    virtual ~DocumentService() = default;
    // Opens (or activates) the document for path inside the frame's area and
    // moves to line (-1: no particular line). is_new marks a file that is
    // created by saving at once. Returns the document widget, or null.
    virtual QWidget* open_document(bool is_new, const std::string& path, int line) = 0;
    // The document's full path when the widget is an editor document, else "".
    virtual std::string document_path(const QWidget* widget) const = 0;
    // The open document whose path equals path, or null.
    virtual QWidget* find_document(const std::string& path) const = 0;
    virtual bool any_document_open() const = 0;
    virtual void save_all_modified() = 0;
    // Saves, without asking and without refreshing their backups, the
    // modified documents of the file types the editor knows (the Assemble
    // command does this first). False when one of them could not be saved
    // (its own box has said why).
    virtual bool save_modified_sources() { return true; }
    // Removes the line mark (marker 3) from every document.
    virtual void clear_line_marks() = 0;
    // The "GOTOLINE" dialog: the line number typed (1 and up), 0 for none.
    virtual int run_goto_line(QWidget* /*owner*/) { return 0; }
    // The path of the assembler source that was the active document last,
    // or "" when none is open (Assemble takes it while another kind of
    // window is on top).
    virtual std::string most_recent_source() const { return {}; }
};

// The Assemble command.
class AssemblerService {
public:
    virtual ~AssemblerService() = default;
    // Assembles the source at path (the document on top of the area); an
    // empty path when no document is on top (the user picks the file).
    virtual void assemble(const std::string& path) = 0;
    // Resets the assembler's options to their defaults (start-up).
    virtual void reset_assembler_options() {}
    // Whether sources are assembled with other assemblers' syntax accepted
    // (a remembered setting).
    virtual bool accepts_other_syntax() const { return false; }
    virtual void set_accepts_other_syntax(bool) {}
    // The file a message names, as a path that still finds it after the
    // assembler's current directory is gone (messages name included files
    // relative to the source's directory).
    virtual std::string message_file_path(const std::string& named) const { return named; }
};

// Debug > Check Lab...: a lab file run against a source.
class LabCheckService {
public:
    virtual ~LabCheckService() = default;
    // Checks the source at path (the document on top, or the source active
    // last); an empty path when there is none (the user picks the file).
    virtual void check_lab(const std::string& path) = 0;
};

// Makes the one simulator window.
class SimulatorWindowFactory {
public:
    virtual ~SimulatorWindowFactory() = default;
    // The start request of the "&Simulator" command, before the window.
    virtual void simulator_start_request() {}
    // A new simulator child (objectName "KivSimulatorChild") for load_path
    // ("" for none), or null when it cannot be made.
    virtual ChildWindow* create_simulator(const std::string& load_path) = 0;
};

// Makes terminal windows, one per serial port.
class TerminalWindowFactory {
public:
    virtual ~TerminalWindowFactory() = default;
    // Sets the terminal settings to this board's defaults (start-up).
    virtual void set_terminal_defaults() {}
    // A new terminal child (objectName "TV6RT12##TerminalChild") for the
    // zero-based port number, or null.
    virtual ChildWindow* create_terminal(int port) = 0;
};

} // namespace torva
