// The program, user and start directories, the help file, and the directories
// the file dialogs remember, settled once at start-up.
#pragma once

#include <string>

namespace torva {

struct Directories {
    std::string program_dir;       // directory of the program file
    std::string user_dir;          // the home directory, else the program directory
    std::string start_dir;         // normalised, "/" separators, trailing "/"
    std::string help_file;         // <program dir>/../doc/Torva6_RT12.html
    std::string source_dialog_dir; // initial directory of the source-file dialogs
    std::string load_dialog_dir;   // initial directory of "Load File"; "" = current
    std::string load_file_path;    // the load file chosen last
    // The load file the last Assemble wrote, until a load file is chosen:
    // the "Load File" dialog starts on it.
    std::string assembled_load_file;
};

// The first token of a command line: a double-quoted text without its
// quotes, or the text up to the first blank or control character.
std::string first_token(const std::string& command_line);

// The command line without one pair of double quotes around all of it.
std::string unquoted(const std::string& command_line);

// A directory in the form the dialogs and the title use: canonical where it
// exists, "/" separators, one trailing "/".
std::string normalised_directory(const std::string& directory);

// Settles the directories from the program file's path, the user's home and
// the command line, and makes the start directory current. Returns false
// when the program path is empty ("Can't retrieve start directory"); the
// rest is settled anyway.
bool settle_directories(Directories& dirs, const std::string& program_file, const std::string& home,
                        const std::string& command_line);

} // namespace torva
