// The frame beyond its menus: the toolbar, the remembered geometry and
// toolbar choice, cascading to usable sizes, and files dropped on it.
#include "fakes.h"
#include "support/screenshot.h"

#include "shell/command_ids.h"
#include "shell/frame_settings.h"

#include <QAction>
#include <QDropEvent>
#include <QMimeData>
#include <QSettings>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <set>

namespace torva::test {
namespace {

using FrameLayoutTest = FrameFixture;

QAction* tool(KivFrame& frame, const char* name) {
    return frame.toolbar()->findChild<QAction*>(QString::fromLatin1(name));
}

// A button of a command is named after its id.
QAction* tool(KivFrame& frame, int command) {
    return frame.toolbar()->findChild<QAction*>(QStringLiteral("tool%1").arg(command));
}

TEST_F(FrameLayoutTest, toolbar_sends_the_everyday_commands) {
    ASSERT_NE(nullptr, frame->toolbar());
    EXPECT_TRUE(frame->toolbar()->isVisible());
    // Every button has its picture (a resource that went missing shows none).
    for (QAction* action : frame->toolbar()->actions()) {
        if (!action->isSeparator()) {
            EXPECT_FALSE(action->icon().isNull()) << action->toolTip().toStdString();
        }
    }
    EXPECT_TRUE(save_screenshot(*frame, "frame_toolbar.png"));

    // Each button is its command: New asks for a file, Simulator for a load
    // file, Assemble assembles, Print reaches the active child.
    tool(*frame, cmd::kNew)->trigger();
    EXPECT_EQ(FileDialogRequest::Mode::save, dialogs.requests.back().mode);
    tool(*frame, cmd::kSimulator)->trigger();
    EXPECT_EQ("Load File", dialogs.requests.back().title);
    tool(*frame, cmd::kAssemble)->trigger();
    EXPECT_EQ(1u, workbench.assembled.size());
    FakeChild* child = add(new FakeChild(kDocumentClass, "/w/p.asm"));
    tool(*frame, cmd::kPrint)->trigger();
    EXPECT_TRUE(child->got(cmd::kPrint));
    EXPECT_EQ(frame->menus()->popup(Popup::terminal), tool(*frame, "toolTerminal")->menu());
}

TEST_F(FrameLayoutTest, hidden_toolbar_and_geometry_are_remembered) {
    QSettings(QStringLiteral("Vardel"), QStringLiteral("TORVA6_RT12")).clear();
    EXPECT_FALSE(restore_frame_geometry(*frame));    // nothing stored yet
    frame->toolbar()->toggleViewAction()->trigger(); // the context menu's entry
    EXPECT_FALSE(frame->toolbar()->isVisible());
    const QRect placed(40, 50, 900, 600);
    frame->setGeometry(placed);
    frame->dispatch(cmd::kExit);

    frame = make_frame();
    EXPECT_FALSE(frame->toolbar()->isVisible());
    ASSERT_TRUE(restore_frame_geometry(*frame));
    EXPECT_EQ(placed.size(), frame->geometry().size());
    EXPECT_EQ(placed.topLeft(), frame->geometry().topLeft());

    frame->toolbar()->toggleViewAction()->trigger();
    frame->showMaximized();
    frame->dispatch(cmd::kExit);
    frame = make_frame();
    EXPECT_TRUE(frame->toolbar()->isVisible());
    ASSERT_TRUE(restore_frame_geometry(*frame));
    EXPECT_TRUE(frame->isMaximized());
}

TEST_F(FrameLayoutTest, cascade_gives_every_window_a_usable_size) {
    std::vector<FakeChild*> children;
    for (int i = 0; i < 12; ++i)
        children.push_back(add(new FakeChild(kDocumentClass, "/w/" + std::to_string(i) + ".asm")));
    children[3]->parentWidget()->showMaximized();
    frame->dispatch(cmd::kCascade);
    const QSize area = frame->client_size();
    std::set<int> tops;
    for (FakeChild* child : children) {
        const QRect placed = child->parentWidget()->geometry();
        EXPECT_GE(placed.width(), area.width() * 2 / 3);
        EXPECT_GE(placed.height(), area.height() * 2 / 3);
        EXPECT_TRUE(QRect(QPoint(0, 0), area).contains(placed)) << placed.x() << "," << placed.y();
        tops.insert(placed.top());
    }
    EXPECT_GT(tops.size(), 1u); // offset from one another
    EXPECT_FALSE(children[3]->parentWidget()->isMaximized());
}

// Each dropped file goes the command line's way (the frame test has its
// rules): the source opens, the other file gets the warning.
TEST_F(FrameLayoutTest, dropped_files_open_as_the_command_line_does) {
    const std::filesystem::path before = std::filesystem::current_path(); // the drop moves it
    const std::string source = temp.write("drop.asm", "nop\n");
    const std::string other = temp.write("notes.txt", "x\n");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(source)),
                  QUrl::fromLocalFile(QString::fromStdString(other))});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame.get(), &drop);
    std::filesystem::current_path(before);
    ASSERT_EQ(1u, documents.opened.size());
    EXPECT_EQ(source, documents.opened[0].path);
    ASSERT_EQ(1u, messages.shown.size());
    EXPECT_EQ("File '" + other + "', Don't recognise the file type...", messages.shown[0].text);

    QMimeData text;
    text.setText(QStringLiteral("just text"));
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QCoreApplication::sendEvent(frame.get(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

} // namespace
} // namespace torva::test
