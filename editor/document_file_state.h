// The file behind an editor document: its path and backup, the times it was
// loaded and written, and the decisions around a save, a silent save, the
// change-on-disk question and "&No" on close. The window supplies the text,
// the boxes and the editor's save point through DocumentFileHost.
#pragma once

#include "editor/document_files.h"

#include <optional>
#include <string>

namespace torva {

// What the file state needs from the window that shows the document.
class DocumentFileHost {
public:
    virtual ~DocumentFileHost() = default;
    // A question box with the document's name in place of "%s"; true on
    // "Yes".
    virtual bool ask_yes(const char* format) = 0;
    virtual void show_error(const std::string& text) = 0;
    // The editor's text, its length and the bytes from start to end.
    virtual long text_length() const = 0;
    virtual void read_text(long start, long end, char* into) const = 0;
    // The editor's text now equals the file's: its save point.
    virtual void mark_saved() = 0;
    // Something that the title shows changed (the " *", the name).
    virtual void file_state_changed() = 0;
};

class DocumentFileState {
public:
    DocumentFileState(DocumentFileHost& host, const std::string& path, bool read_only);

    const std::string& name() const { return name_; }
    const std::string& path() const { return path_; }
    const std::string& backup_path() const { return backup_path_; }
    int file_type() const { return file_type_; }
    bool read_only() const { return read_only_; }
    // The editor's text differs from its save point.
    bool modified() const { return modified_; }
    void set_modified(bool modified) { modified_ = modified; }
    // A question about the file is open.
    bool asking() const { return asking_; }

    // The file's bytes, or none for a file that does not exist yet; the
    // file's time becomes the known one.
    std::optional<std::string> load();
    // A writable document keeps a copy of the file as opened beside it.
    void start_backup();
    // Copies the file to the backup; a failed copy leaves no backup.
    void write_backup();

    // Writes the text to the file (asking first when another program
    // changed it); false when nothing was written, after its box.
    bool write_file();
    // Save: the file and a fresh backup. The document must have a path.
    bool save();
    // Save under another path (the file dialog asked about replacing it);
    // a failed write leaves the document as it was.
    bool save_as(const std::string& chosen);
    // Save without refreshing the backup (before assembling); false when
    // the text did not reach the file.
    bool silent_save();

    // Modified, or saved silently since the backup was taken: closing asks.
    bool counts_as_modified() const;
    bool changed_on_disk() const;
    // Path query: equal to path after both are normalised, byte for byte.
    bool has_path(const std::string& path) const;

    // On activation: true when the file changed on disk and the user wants
    // it reloaded; "No" accepts the file's time, so it is asked once.
    bool reload_wanted();
    // "&No" on close: the backup back over the file; false when that
    // failed.
    bool discard_changes();
    // The document closes: its backup goes.
    void closed();

private:
    bool ask(const char* format);
    void remove_backup();

    DocumentFileHost& host_;
    std::string name_;
    std::string path_;
    std::string backup_path_;
    int file_type_ = 0;
    bool read_only_ = false;
    bool modified_ = false;
    bool asking_ = false;
    bool backup_valid_ = false; // the backup holds the file as it was opened
    FileTime loaded_time_{};
    FileTime backup_time_{};
    FileTime known_disk_time_{};
};

} // namespace torva
