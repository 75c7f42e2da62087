// Start-up: the frame, fonts, menus, directories, splash, the command-line
// file and the first enabling pass, in the program's fixed order.
#include "shell/startup.h"

#include "shell/frame_settings.h"
#include "shell/splash_window.h"
#include "shell/window_placement.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

static void init_resources_outside_namespace() {
    Q_INIT_RESOURCE(torva);
}

namespace torva {

void init_shell_resources() {
    init_resources_outside_namespace();
}

std::string command_line_from(const QStringList& arguments, const QString& launch_dir) {
    QStringList parts;
    for (const QString& argument : arguments) {
        QString text = argument;
        if (!text.isEmpty() && QFileInfo(text).isRelative() &&
            QFileInfo::exists(QDir(launch_dir).filePath(text)))
            text = QDir::cleanPath(QDir(launch_dir).absoluteFilePath(text));
        if (text.contains(QLatin1Char(' '))) text = QLatin1Char('"') + text + QLatin1Char('"');
        parts << text;
    }
    return parts.join(QLatin1Char(' ')).toStdString();
}

QPixmap splash_picture() {
    return QPixmap(QStringLiteral(":/torva/splash.png"));
}

// Fits the frame, window decoration included, to the desktop's work area
// (the decoration is known only once the window is shown).
void cover_work_area(QWidget& frame) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->availableGeometry();
    const QRect outer = frame.frameGeometry();
    const QRect inner = frame.geometry();
    frame.setGeometry(area.adjusted(inner.left() - outer.left(), inner.top() - outer.top(),
                                    inner.right() - outer.right(),
                                    inner.bottom() - outer.bottom()));
}

std::unique_ptr<KivFrame> start_up(StartupContext& context) {
    init_shell_resources();
    if (context.services.assembler != nullptr)
        context.services.assembler->reset_assembler_options();
    // The frame is created over the desktop's work area with the client
    // area, the status bar and the recent files (its creation handler).
    auto frame = std::make_unique<KivFrame>(context.services, context.dirs);
    if (context.attach) context.attach(*frame);
    frame->create_fonts();
    frame->build_menus();

    const bool found =
        settle_directories(context.dirs, context.program_file, context.home, context.command_line);
    frame->help().set_manual(context.dirs.help_file);
    if (!found) frame->messages().error("Can't retrieve start directory");
    if (context.services.terminals != nullptr) context.services.terminals->set_terminal_defaults();

    SplashWindow* splash =
        context.splash ? show_splash(splash_picture(), frame.get(), kSplashDisplayMs) : nullptr;
    frame->show();
    if (!restore_frame_geometry(*frame)) cover_work_area(*frame);
    if (splash != nullptr) {
        splash->raise();
        centre_over(*splash, frame.get());
    }
    frame->open_by_type(context.command_line);
    frame->update_menus(nullptr);
    return frame;
}

} // namespace torva
