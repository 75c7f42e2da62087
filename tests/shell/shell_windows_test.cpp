// The smaller windows: splash, about box and help; and the screenshots of
// the frame and the about box saved under build/screenshots/ for people to
// look at.
#include "fakes.h"

#include "shell/about_dialog.h"
#include "shell/command_ids.h"
#include "shell/help_window.h"
#include "shell/splash_window.h"
#include "shell/startup.h"
#include "support/screenshot.h"

#include <QAction>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSettings>
#include <QTextBrowser>
#include <QTimer>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace torva::test {
namespace {

void wait_ms(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(SplashTest, shows_its_picture_and_goes_after_its_time) {
    init_shell_resources();
    const QPixmap picture = splash_picture();
    ASSERT_FALSE(picture.isNull());
    QWidget owner;
    owner.resize(900, 700);
    owner.show();
    QPointer<SplashWindow> splash = show_splash(picture, &owner, 80);
    ASSERT_NE(nullptr, splash.data());
    EXPECT_EQ(picture.size(), splash->size());
    EXPECT_FALSE(splash->isEnabled());
    splash->render().save(QString::fromStdString((screenshot_dir() / "splash.png").string()));
    wait_ms(300); // the owner stays busy; the splash goes anyway
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(nullptr, splash.data());
    EXPECT_EQ(nullptr, show_splash(QPixmap(), &owner, 80)); // no picture: no splash
}

TEST(AboutTest, shows_notices_terms_and_version) {
    AboutDialog about;
    auto text = [&about](const char* id) {
        auto* label = about.findChild<QLabel*>(QString::fromLatin1(id));
        return label != nullptr ? label->text().toStdString() : std::string("(missing)");
    };
    EXPECT_NE("(missing)", text("id2018"));
    EXPECT_NE(std::string::npos, text("id1004").find("\r\n"));
    EXPECT_NE(std::string::npos, text("id1004").find("Scintilla"));
    EXPECT_NE("(missing)", text("id1251"));
    EXPECT_NE(nullptr, about.findChild<QWidget*>(QStringLiteral("id1")));
    about.show();
    about.grab().save(QString::fromStdString((screenshot_dir() / "about.png").string()));
}

TEST(HelpTest, missing_manual_is_silent_and_present_manual_navigates) {
    const TempDir dir;
    Help missing((dir.path() / "doc" / "Torva6_RT12.html").string());
    EXPECT_FALSE(missing.show());
    EXPECT_EQ(nullptr, missing.window());

    const std::string manual =
        dir.write("Torva6_RT12.html",
                  "<html><body><h1>Manual</h1><a href=\"menus.html\">Menus</a></body></html>");
    dir.write("menus.html", "<html><body><h1>Menus</h1></body></html>");
    Help help(manual);
    ASSERT_TRUE(help.show());
    HelpWindow& window = *help.window();
    auto* back = window.findChild<QAction*>(QStringLiteral("back"));
    ASSERT_NE(nullptr, back);
    EXPECT_FALSE(back->isEnabled());
    window.browser().setSource(
        QUrl::fromLocalFile(QString::fromStdString((dir.path() / "menus.html").string())));
    EXPECT_TRUE(back->isEnabled());
    back->trigger();
    EXPECT_TRUE(
        window.browser().source().toLocalFile().endsWith(QStringLiteral("Torva6_RT12.html")));
    window.browser().setSource(
        QUrl::fromLocalFile(QString::fromStdString((dir.path() / "menus.html").string())));
    window.findChild<QAction*>(QStringLiteral("home"))->trigger();
    EXPECT_TRUE(
        window.browser().source().toLocalFile().endsWith(QStringLiteral("Torva6_RT12.html")));
    help.close_all();
    EXPECT_FALSE(window.isVisible());
}

using ScreenshotTest = FrameFixture;

TEST_F(ScreenshotTest, frame_with_the_output_window) {
    init_shell_resources();
    frame->dispatch(cmd::kCreateOutput);
    frame->output_append("TORVA 6 for RT12 assembler\n");
    frame->output_append("\"/home/student/rt12/blink.asm\" (12): error: undefined symbol 'LEDS'\n");
    frame->output_append("\"/home/student/rt12/blink.asm\" (30): warning: branch out of range\n");
    frame->output_append("Errors: 1, Warnings: 1\n");
    frame->update_title();
    const QPixmap shot = frame->grab();
    ASSERT_FALSE(shot.isNull());
    EXPECT_TRUE(
        shot.save(QString::fromStdString((screenshot_dir() / "frame_output.png").string())));
}

TEST(StartupTest, directory_argument_becomes_the_first_open_dialogs_directory) {
    const fs::path saved = fs::current_path();
    const TempDir dir;
    fs::create_directories(dir.path() / "bin");
    fs::create_directories(dir.path() / "project");
    ScriptedMessages messages;
    ScriptedDialogs dialogs;
    FakeWorkbench workbench;
    StartupContext context;
    context.services.messages = &messages;
    context.services.dialogs = &dialogs;
    context.services.assembler = &workbench;
    context.services.simulators = &workbench;
    context.services.terminals = &workbench;
    context.program_file = (dir.path() / "bin" / "torva6").string();
    context.home = dir.path().string();
    context.command_line = (dir.path() / "project").string();
    context.splash = false;
    {
        QSettings(QStringLiteral("Vardel"), QStringLiteral("TORVA6_RT12")).remove("FrameGeometry");
        auto frame = start_up(context);
        EXPECT_TRUE(frame->isVisible());
        EXPECT_TRUE(messages.shown.empty()); // a directory is no file to warn about
        EXPECT_EQ(1, workbench.terminal_defaults);
        EXPECT_EQ(1, workbench.assembler_resets);
        EXPECT_EQ(QGuiApplication::primaryScreen()->availableGeometry(), frame->frameGeometry());
        frame->dispatch(cmd::kOpen);
        ASSERT_EQ(1u, dialogs.requests.size());
        EXPECT_EQ(fs::canonical(dir.path() / "project").generic_string() + "/",
                  dialogs.requests[0].initial_dir);
        EXPECT_EQ((dir.path() / "doc" / "Torva6_RT12.html").lexically_normal().string(),
                  frame->help().manual());
    }
    fs::current_path(saved);
}

} // namespace
} // namespace torva::test
