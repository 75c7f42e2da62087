// The built manual holds together (links, the sections F1 opens, the menu
// items and keys it names), and the help window finds its way through it:
// contents, search, F1 where you are, its size remembered. Screenshots
// help.png, help_search.png and keyboard_shortcuts.png.
#include "fakes.h"

#include "iosim/gui/device_window.h"
#include "shell/command_ids.h"
#include "shell/help_topics.h"
#include "shell/help_window.h"
#include "shell/keyboard_shortcuts_dialog.h"
#include "support/screenshot.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSet>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace torva::test {
namespace {

fs::path built_manual() {
    const char* build = std::getenv("TORVA_BUILD_DIR");
    return fs::path(build != nullptr ? build : ".") / "doc" / "Torva6_RT12.html";
}

QString manual_html() {
    QFile file(QString::fromStdString(built_manual().string()));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QSet<QString> captures(const QString& text, const QString& pattern) {
    QSet<QString> found;
    for (const auto& match : QRegularExpression(pattern).globalMatch(text))
        found << match.captured(1);
    return found;
}

class ManualTest : public ::testing::Test {
protected:
    void SetUp() override {
        html = manual_html();
        if (html.isEmpty()) GTEST_SKIP() << "the manual is not built";
        anchors = captures(html, QStringLiteral("<a name=\"([^\"]+)\""));
        QTextDocument document;
        document.setHtml(html);
        text = document.toPlainText();
    }
    QString html;
    QString text;
    QSet<QString> anchors;
};

TEST_F(ManualTest, every_link_and_every_help_topic_names_a_section) {
    for (const QString& link : captures(html, QStringLiteral("href=\"#([^\"]+)\"")))
        EXPECT_TRUE(anchors.contains(link)) << "link to #" << link.toStdString();
    for (const HelpTopic& topic : kHelpTopics)
        EXPECT_TRUE(anchors.contains(QString::fromLatin1(topic.anchor)))
            << topic.object_name << " opens #" << topic.anchor;
    for (int type = 1; type <= 12; ++type) {
        const QString anchor = DeviceWindow::help_topic(static_cast<DeviceType>(type));
        EXPECT_TRUE(anchors.contains(anchor)) << "device type " << type;
    }
}

// "Debug ▸ Assemble (F7)": the item exists, and where the manual gives its
// key, it is the key the menus show.
TEST_F(ManualTest, menu_items_and_their_keys_exist) {
    // Every item and pop-up, as "Debug ▸ Check Lab" (without its dots).
    QStringList paths;
    QStringList open;
    for (const MenuRow& row : kMenuTree) {
        const QString name = QString::fromLatin1(row.text).remove(QLatin1Char('&'));
        if (row.row == Row::popup_end) open.pop_back();
        if (row.row == Row::popup_begin) open << name;
        if (row.row == Row::popup_begin || row.row == Row::item)
            paths << (row.row == Row::item ? open + QStringList{name} : open)
                         .join(QStringLiteral(" ▸ "))
                         .remove(QStringLiteral("..."));
    }
    const QRegularExpression named(
        QStringLiteral("\\b(?:File|Edit|Debug|Windows|Help) ▸ [A-Z](?:[^\\n,.;:() ]| (?!\\())*"
                       "(?: \\(([^)]*)\\))?"));
    int checked = 0;
    int keys_checked = 0;
    for (const auto& match : named.globalMatch(text)) {
        const QString mention = match.captured(0);
        QString item;
        for (const QString& path : paths)
            if (mention.startsWith(path) && path.size() > item.size()) item = path;
        EXPECT_FALSE(item.isEmpty()) << "no menu item: " << mention.toStdString();
        const QString keys = match.captured(1);
        const int id = [&] {
            for (const MenuRow& row : kMenuTree)
                if (row.row == Row::item && menu_path(row.id).remove(QStringLiteral("...")) == item)
                    return row.id;
            return 0;
        }();
        if (!item.isEmpty() && mention == item + QStringLiteral(" (") + keys + QLatin1Char(')') &&
            QRegularExpression(QStringLiteral("^(Ctrl|Shift|Alt|F\\d)")).match(keys).hasMatch()) {
            ++keys_checked;
            EXPECT_EQ(menu_shortcut_text(id).toStdString(), keys.toStdString())
                << "for " << item.toStdString();
        }
        ++checked;
    }
    EXPECT_GT(checked, 20);
    EXPECT_GT(keys_checked, 3);
    for (const KeyBinding& binding : kKeyTable) {
        if (binding.menu_item == 0) continue;
        EXPECT_FALSE(menu_path(binding.menu_item).isEmpty())
            << "a key for no item: " << binding.menu_item;
    }
}

class HelpWindowTest : public FrameFixture {
protected:
    void SetUp() override {
        if (!fs::exists(built_manual())) GTEST_SKIP() << "the manual is not built";
        FrameFixture::SetUp();
        frame->help().set_manual(built_manual().string());
    }
    HelpWindow* help_window() { return frame->help().window(); }
};

TEST_F(HelpWindowTest, contents_beside_the_text_and_a_search_that_finds_every_chapter) {
    frame->dispatch(cmd::kHelp);
    HelpWindow* window = help_window();
    ASSERT_NE(nullptr, window);
    const auto& sections = window->index().sections();
    int chapters = 0;
    for (const ManualSection& section : sections)
        chapters += section.level == 1 ? 1 : 0;
    EXPECT_EQ(chapters, window->contents().topLevelItemCount());
    EXPECT_TRUE(window->contents().isVisible());
    window->resize(900, 620);
    save_screenshot(*window, "help.png");

    // A chapter's row leads to the chapter.
    QTreeWidgetItem* simulator =
        window->contents().findItems(QStringLiteral("The simulator window"), Qt::MatchExactly)[0];
    emit window->contents().itemClicked(simulator, 0);
    EXPECT_EQ("simulator", window->browser().source().fragment().toStdString());

    window->search_box().setText(QStringLiteral("Breakpoint"));
    EXPECT_FALSE(window->contents().isVisible());
    QSet<int> listed;
    for (int row = 0; row < window->results().count(); ++row) {
        const int section = window->results().item(row)->data(Qt::UserRole).toInt();
        listed << sections[static_cast<std::size_t>(section)].chapter;
    }
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const ManualSection& s = sections[i];
        if (s.anchor == QLatin1String(kContentsAnchor)) continue;
        if (s.text.contains(QStringLiteral("breakpoint"), Qt::CaseInsensitive)) {
            EXPECT_TRUE(listed.contains(s.chapter)) << s.title.toStdString();
        }
    }
    QListWidgetItem* in_simulator = window->results().findItems(
        QStringLiteral("The simulator window ▸ Breakpoints"), Qt::MatchExactly)[0];
    emit window->results().itemClicked(in_simulator);
    save_screenshot(*window, "help_search.png");
    EXPECT_EQ("simulator-breakpoints", window->browser().source().fragment().toStdString());
    EXPECT_TRUE(window->browser().textCursor().selectedText().compare(QStringLiteral("breakpoint"),
                                                                      Qt::CaseInsensitive) == 0);

    window->search_box().setText(QStringLiteral("xyzzy"));
    ASSERT_EQ(1, window->results().count());
    EXPECT_EQ("Not found", window->results().item(0)->text().toStdString());
}

TEST_F(HelpWindowTest, f1_opens_the_section_of_the_window_in_use) {
    FakeChild* simulator = add(new FakeChild("KivSimulatorChild"));
    simulator->setFocusPolicy(Qt::StrongFocus);
    simulator->setFocus();
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(simulator, &f1);
    ASSERT_NE(nullptr, help_window());
    EXPECT_TRUE(help_window()->isVisible());
    EXPECT_EQ("simulator", help_window()->browser().source().fragment().toStdString());

    // Over a modal dialog the help belongs to the dialog, so it can be read.
    QDialog setup(frame.get());
    setup.setObjectName(QStringLiteral("SETUPSERIAL"));
    setup.setWindowModality(Qt::ApplicationModal);
    setup.show();
    QApplication::sendEvent(&setup, &f1);
    ASSERT_NE(nullptr, help_window());
    EXPECT_EQ(&setup, help_window()->parentWidget());
    EXPECT_EQ("terminal-settings", help_window()->browser().source().fragment().toStdString());
}

TEST_F(HelpWindowTest, remembers_its_size_and_place) {
    frame->dispatch(cmd::kHelp);
    help_window()->setGeometry(120, 90, 720, 480);
    frame->help().close_all();
    Help again(built_manual().string());
    ASSERT_TRUE(again.show());
    EXPECT_EQ(QSize(720, 480), again.window()->size());
}

TEST_F(HelpWindowTest, keyboard_shortcuts_lists_each_key_with_its_menu_item) {
    int rows = 0;
    dialogs.while_open = [&rows](QDialog& dialog) {
        auto* keys = dialog.findChild<QTableWidget*>(QStringLiteral("keys"));
        ASSERT_NE(nullptr, keys);
        rows = keys->rowCount();
        const auto assemble = keys->findItems(QStringLiteral("Debug ▸ Assemble"), Qt::MatchExactly);
        ASSERT_EQ(1, assemble.size());
        EXPECT_EQ("F7", keys->item(assemble[0]->row(), 1)->text().toStdString());
        dialog.show();
        save_screenshot(dialog, "keyboard_shortcuts.png");
    };
    frame->dispatch(cmd::kKeyboardShortcuts);
    EXPECT_EQ(std::count_if(std::begin(kKeyTable), std::end(kKeyTable),
                            [](const KeyBinding& binding) { return binding.menu_item != 0; }),
              rows);
}

} // namespace
} // namespace torva::test
