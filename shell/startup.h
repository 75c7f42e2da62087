// The start-up order of the program: everything from the shared brushes to
// the first menu enabling pass, ready for the message loop.
#pragma once

#include "shell/directories.h"
#include "shell/frame.h"

#include <QPixmap>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

namespace torva {

inline constexpr int kSplashDisplayMs = 6000;

struct StartupContext {
    FrameServices services;
    Directories dirs;
    std::string program_file; // "" when it cannot be read
    std::string home;
    std::string command_line;
    bool splash = true;
    // Called with the frame as soon as it exists, before anything opens in
    // it (the program's pieces connect to it here).
    std::function<void(KivFrame&)> attach;
};

// Registers the pictures compiled into the program and makes the icon every
// window's.
void init_shell_resources();

// The command-line text from the program's arguments: relative paths made
// absolute against the directory the program was started from, arguments
// with blanks in double quotes, all joined by one blank.
std::string command_line_from(const QStringList& arguments, const QString& launch_dir);

// The splash picture compiled into the program.
QPixmap splash_picture();

// Runs the start-up steps and returns the shown frame. The context must
// outlive the frame (the frame keeps its directories).
std::unique_ptr<KivFrame> start_up(StartupContext& context);

} // namespace torva
