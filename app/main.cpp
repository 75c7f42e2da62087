// Program entry of the IDE: start-up, the message loop, and the end of the
// run when the frame closes or the session ends.
#include "app/program_options.h"
#include "app/workbench.h"
#include "shell/command_ids.h"
#include "shell/startup.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <string_view>
#include <vector>

namespace {

// Test hook: with TORVA_EXIT_AFTER_SHOW set, the program reports its frame
// on standard output once the frame is on screen (and saves a picture of the
// screen to the file TORVA_SCREENSHOT names, when set), then sends itself Exit.
void exit_after_show(torva::KivFrame& frame) {
    auto* poll = new QTimer(&frame);
    QObject::connect(poll, &QTimer::timeout, &frame, [&frame, poll] {
        if (frame.windowHandle() == nullptr || !frame.windowHandle()->isExposed()) return;
        poll->stop();
        std::printf("%s shown: \"%s\"\n", qPrintable(frame.objectName()),
                    qPrintable(frame.windowTitle()));
        std::fflush(stdout);
        if (const QString shot = qEnvironmentVariable("TORVA_SCREENSHOT"); !shot.isEmpty()) {
            if (QScreen* screen = frame.screen()) screen->grabWindow(0).save(shot);
        }
        frame.dispatch(torva::cmd::kExit);
    });
    poll->start(50);
}

} // namespace

int main(int argc, char** argv) {
    // --help and --version need no display: answered before Qt starts.
    const std::vector<std::string_view> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (const auto answer = torva::program_option_answer(args)) {
        std::fputs(answer->c_str(), stdout);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    torva::QtMessageService messages;
    torva::QtDialogService dialogs;
    torva::Workbench workbench;
    torva::StartupContext context;
    context.services = workbench.services(messages, dialogs);
    context.attach = [&workbench](torva::KivFrame& frame) { workbench.attach(frame); };
    context.program_file = QCoreApplication::applicationFilePath().toStdString();
    context.home = QDir::homePath().toStdString();
    context.command_line =
        torva::command_line_from(QCoreApplication::arguments().mid(1), QDir::currentPath());
    context.splash = !qEnvironmentVariableIsSet("TORVA_NO_SPLASH");

    std::unique_ptr<torva::KivFrame> frame = torva::start_up(context);
    messages.set_owner(frame.get());
    QObject::connect(frame.get(), &torva::KivFrame::closed, &app,
                     [] { QCoreApplication::exit(0); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, frame.get(),
                     [&frame](QSessionManager& session) {
                         if (!frame->query_end_session()) session.cancel();
                     });
    if (qEnvironmentVariableIsSet("TORVA_EXIT_AFTER_SHOW")) exit_after_show(*frame);
    const int code = QApplication::exec();
    frame.reset();
    return code;
}
