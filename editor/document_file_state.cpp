// Path, backup and disk times of an editor document, and its save rules.
#include "editor/document_file_state.h"

#include "editor/safe_write.h"

namespace torva {

DocumentFileState::DocumentFileState(DocumentFileHost& host, const std::string& path,
                                     bool read_only)
    : host_(host), name_(file_name_of(path)), path_(normalise_path(path)),
      file_type_(file_type_of(path)), read_only_(read_only) {}

std::optional<std::string> DocumentFileState::load() {
    std::optional<std::string> bytes = read_raw(path_);
    if (bytes) {
        loaded_time_ = last_write_time(path_).value_or(FileTime{});
        known_disk_time_ = loaded_time_;
    }
    return bytes;
}

void DocumentFileState::start_backup() {
    if (read_only_) return;
    backup_path_ = backup_path_for(path_);
    write_backup();
}

void DocumentFileState::write_backup() {
    if (backup_path_.empty()) return;
    const std::optional<std::string> bytes = read_raw(path_);
    backup_valid_ = bytes && write_whole(backup_path_, *bytes).ok();
    if (backup_valid_) {
        backup_time_ = last_write_time(backup_path_).value_or(FileTime{});
    } else {
        // An older backup must not stand in for this one: "&No" would
        // bring back a version the user never had open.
        remove_backup();
    }
    host_.file_state_changed();
}

void DocumentFileState::remove_backup() {
    std::error_code ec;
    std::filesystem::remove(backup_path_, ec);
}

bool DocumentFileState::ask(const char* format) {
    // The box takes the activation away and gives it back; that return must
    // not ask the change-on-disk question in the middle of this one.
    asking_ = true;
    const bool yes = host_.ask_yes(format);
    asking_ = false;
    return yes;
}

bool DocumentFileState::write_file() {
    if (changed_since(path_, known_disk_time_) &&
        !ask("File '%s' has been changed by another program. Overwrite it?"))
        return false;
    const WriteOutcome outcome = read_only_
                                     ? WriteOutcome{WriteOutcome::Failure::write_protected, {}}
                                     : write_whole(path_, host_.text_length(), kSavePieceBytes,
                                                   [this](long start, long end, char* into) {
                                                       host_.read_text(start, end, into);
                                                   });
    if (!outcome.ok()) {
        host_.show_error(write_failure_text(path_, outcome));
        return false;
    }
    host_.mark_saved();
    loaded_time_ = last_write_time(path_).value_or(FileTime{});
    backup_time_ = loaded_time_;
    known_disk_time_ = loaded_time_;
    host_.file_state_changed();
    return true;
}

bool DocumentFileState::save() {
    if (!write_file()) return false;
    write_backup();
    modified_ = false;
    host_.file_state_changed();
    return true;
}

bool DocumentFileState::save_as(const std::string& chosen) {
    struct Kept {
        std::string name, path;
        bool read_only;
        FileTime known_disk_time;
    };
    const Kept kept{name_, path_, read_only_, known_disk_time_};
    name_ = file_name_of(chosen);
    path_ = normalise_path(chosen);
    // The dialog asked before replacing a file of that name; and a copy of
    // a read-only file is the user's own.
    known_disk_time_ = last_write_time(path_).value_or(FileTime{});
    read_only_ = false;
    if (!write_file()) {
        name_ = kept.name;
        path_ = kept.path;
        read_only_ = kept.read_only;
        known_disk_time_ = kept.known_disk_time;
        host_.file_state_changed();
        return false;
    }
    // The backup follows the file's new name, so that it never shares one
    // with another document of the old name.
    if (!backup_path_.empty()) remove_backup();
    backup_path_ = backup_path_for(path_);
    write_backup();
    modified_ = false;
    host_.file_state_changed();
    return true;
}

bool DocumentFileState::silent_save() {
    if (!write_file()) return false;
    known_disk_time_ = loaded_time_;
    return true;
}

bool DocumentFileState::counts_as_modified() const {
    if (backup_path_.empty()) return false;
    if (modified_) return true;
    if (!backup_valid_) return false;
    const auto backup = last_write_time(backup_path_);
    return backup && *backup < loaded_time_;
}

bool DocumentFileState::changed_on_disk() const {
    return !backup_path_.empty() && changed_since(path_, known_disk_time_);
}

bool DocumentFileState::has_path(const std::string& path) const {
    return normalise_path(path) == path_;
}

bool DocumentFileState::reload_wanted() {
    if (asking_ || !changed_on_disk()) return false;
    if (ask("File '%s' has been changed outside the editor, reload it?")) return true;
    known_disk_time_ = last_write_time(path_).value_or(known_disk_time_);
    return false;
}

bool DocumentFileState::discard_changes() {
    // The backup holds the file as it was before this session's saves;
    // without one there is nothing to bring back.
    if (!backup_valid_) return true;
    // A version another program wrote since is not replaced unasked.
    if (changed_since(path_, known_disk_time_) &&
        !ask("File '%s' has been changed by another program. Restore the version from before?"))
        return true;
    const std::optional<std::string> before = read_raw(backup_path_);
    if (!before) return true;
    if (const WriteOutcome outcome = write_whole(path_, *before); !outcome.ok()) {
        host_.show_error(write_failure_text(path_, outcome));
        return false;
    }
    loaded_time_ = backup_time_;
    host_.mark_saved();
    return true;
}

void DocumentFileState::closed() {
    if (!backup_path_.empty()) remove_backup();
}

} // namespace torva
