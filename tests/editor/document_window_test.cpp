// Editor documents in the frame: opening, read-only files, saving in
// pieces, the backup and the save question, the change-on-disk question,
// go to line, the editor's commands and menu enabling, typing aids.
#include "editor_fixture.h"

#include "editor/document_files.h"
#include "shell/menu_tree.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>

namespace torva::test {
namespace {

namespace fs = std::filesystem;

using DocumentWindowTest = EditorFixture;

TEST_F(DocumentWindowTest, opening_the_same_file_twice_reuses_its_window) {
    const std::string path = write("main.asm", "a\nb\nc\nd\n");
    write("other.asm", "x\n");
    DocumentWindow* first = open(path);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ("TV6RT12##kivDrawClass", first->objectName().toStdString());
    EXPECT_EQ("KivEditorClass", first->component().objectName().toStdString());
    EXPECT_EQ("main.asm", first->windowTitle().toStdString());
    EXPECT_EQ("a\nb\nc\nd\n", first->sci().text());
    EXPECT_EQ(0, caret_line(first));
    EXPECT_FALSE(has_line_mark(first, 0));

    open(dir() + "/other.asm");
    // Another spelling of the same path finds the open window and moves it
    // to the line asked for, with the mark.
    DocumentWindow* again = open(dir() + "/./sub/../main.asm", 2);
    EXPECT_EQ(first, again);
    EXPECT_EQ(2, frame->child_count());
    EXPECT_EQ(first, frame->top_child());
    EXPECT_EQ(2, caret_line(first));
    EXPECT_TRUE(has_line_mark(first, 2));
    EXPECT_EQ(path, documents.document_path(first));
    EXPECT_EQ(first, documents.find_document(dir() + "/MAIN.asm")); // letter case aside
}

TEST_F(DocumentWindowTest, missing_file_gives_its_box_and_no_window) {
    EXPECT_EQ(nullptr, open(dir() + "/none.asm"));
    ASSERT_EQ(1u, messages.shown.size());
    EXPECT_EQ(BoxKind::error, messages.shown[0].kind);
    EXPECT_EQ("File '" + dir() + "/none.asm' can't be accessed", messages.shown[0].text);
    EXPECT_EQ(0, frame->child_count());
    EXPECT_FALSE(documents.any_document_open());

    fs::create_directory(dir() + "/folder.asm"); // not a file either
    EXPECT_EQ(nullptr, open(dir() + "/folder.asm"));
    EXPECT_EQ(2u, messages.shown.size());
}

TEST_F(DocumentWindowTest, read_only_file_opens_read_only) {
    const std::string path = write("rom.asm", "ldaa #1\n");
    fs::permissions(path, fs::perms::owner_read);
    DocumentWindow* document = open(path);
    ASSERT_NE(nullptr, document);
    EXPECT_EQ("rom.asm (Read Only)", document->windowTitle().toStdString());
    EXPECT_EQ(1, document->sci().send(sci::SCI_GETREADONLY));
    EXPECT_TRUE(document->backup_path().empty());
    EXPECT_FALSE(fs::exists(dir() + "/~rom.asm~"));

    type_text(document, "more"); // refused by the component
    EXPECT_FALSE(document->counts_as_modified());
    frame->update_menus(frame->menus()->popup(Popup::file));
    EXPECT_FALSE(frame->menus()->action(cmd::kSave)->isEnabled());
    EXPECT_TRUE(frame->menus()->action(cmd::kSaveAs)->isEnabled());

    frame->dispatch(cmd::kAccelSave); // Ctrl+S does not write it either
    EXPECT_EQ("ldaa #1\n", read_raw(path).value_or("?"));
    close(document);
    EXPECT_TRUE(dialogs.modal_dialogs.empty()); // no save question
    EXPECT_EQ(0, frame->child_count());
}

// Where the pieces of a save fall is the whole-write test's table; here the
// component's text is read piece by piece, zero bytes and line ends included.
TEST_F(DocumentWindowTest, save_writes_every_byte_in_pieces) {
    DocumentWindow* document = open(dir() + "/big.asm", -1, true);
    ASSERT_NE(nullptr, document);
    std::string bytes;
    for (long i = 0; i < 3 * kSavePieceBytes + 5; ++i)
        bytes.push_back(static_cast<char>("ab\r\n\0xyz\t"[i % 9] + (i / 9) % 3));
    type_text(document, bytes);
    frame->dispatch(cmd::kSave);
    EXPECT_FALSE(document->modified());
    EXPECT_EQ(bytes, read_raw(document->path()).value_or("?"));
    EXPECT_EQ(bytes, read_raw(document->backup_path()).value_or("?"));
}

TEST_F(DocumentWindowTest, zero_bytes_survive_load_and_save) {
    const std::string bytes("ab\0cd\r\nef\0", 10);
    const std::string path = write("zeros.asm", bytes);
    DocumentWindow* document = open(path);
    EXPECT_EQ(bytes, document->sci().text());
    document->sci().send(sci::SCI_DOCUMENTEND);
    type_text(document, "!");
    frame->dispatch(cmd::kSave);
    EXPECT_EQ(bytes + "!", read_raw(path).value_or("?"));
}

TEST_F(DocumentWindowTest, reload_after_a_change_on_disk_replaces_text_history_and_backup) {
    const std::string path = write("watched.asm", "one\n");
    DocumentWindow* watched = open(path);
    DocumentWindow* other = open(write("other.asm", "x\n"));
    type_text(watched, ";");
    std::ofstream(path, std::ios::binary) << "three\n";
    fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(4));
    activate(other);
    messages.answers = {kBoxYes};
    activate(watched);
    EXPECT_EQ(
        1, boxes_containing("File 'watched.asm' has been changed outside the editor, reload it?"));
    EXPECT_EQ("three\n", watched->sci().text());
    EXPECT_EQ(0, watched->sci().send(sci::SCI_CANUNDO)); // a fresh history
    EXPECT_EQ("three\n", read_raw(dir() + "/~watched.asm~").value_or("?"));
}

TEST_F(DocumentWindowTest, documents_cascade_and_the_sixth_starts_again) {
    std::vector<QPoint> corners;
    for (int i = 0; i < 6; ++i) {
        const std::string name = std::string("f") + char('0' + i) + ".asm";
        DocumentWindow* document = open(write(name, ""));
        corners.push_back(document->parentWidget()->pos());
    }
    const std::vector<QPoint> expected = {{200, 200}, {220, 220}, {240, 240},
                                          {260, 260}, {280, 280}, {200, 200}};
    EXPECT_EQ(expected, corners);
}

TEST_F(DocumentWindowTest, go_to_line_moves_the_caret_and_the_mark) {
    DocumentWindow* document = open(write("lines.asm", "0\n1\n2\n3\n4\n5\n"));
    frame->dispatch(cmd::kGoToLineToChild, 4);
    EXPECT_EQ(4, caret_line(document));
    EXPECT_TRUE(has_line_mark(document, 4));
    frame->dispatch(cmd::kGoToLineToChild, 1);
    EXPECT_TRUE(has_line_mark(document, 1));
    EXPECT_FALSE(has_line_mark(document, 4)); // one mark only
    documents.clear_line_marks();
    EXPECT_FALSE(has_line_mark(document, 1));
    settle_events(); // the component reports its caret when it updates
    EXPECT_EQ("Ln 2 Col 1", frame->line_column_text().toStdString());
}

TEST_F(DocumentWindowTest, edit_commands_and_menu_enabling) {
    DocumentWindow* document = open(write("edit.asm", "alpha beta\n"));
    auto enabled = [this](int id) { return frame->menus()->action(id)->isEnabled(); };
    QApplication::clipboard()->clear();
    frame->update_menus(frame->menus()->popup(Popup::edit));
    EXPECT_FALSE(enabled(cmd::kCut));
    EXPECT_FALSE(enabled(cmd::kCopy));
    EXPECT_FALSE(enabled(cmd::kDelete));
    EXPECT_FALSE(enabled(cmd::kSave));
    EXPECT_TRUE(enabled(cmd::kSelectAll));
    EXPECT_TRUE(enabled(cmd::kFindReplace));
    EXPECT_TRUE(enabled(cmd::kSaveAs));

    document->sci().send(sci::SCI_SETSEL, 0, 5);
    frame->update_menus(frame->menus()->popup(Popup::edit));
    EXPECT_TRUE(enabled(cmd::kCut));
    frame->dispatch(cmd::kCut);
    EXPECT_EQ(" beta\n", document->sci().text());
    frame->update_menus(frame->menus()->popup(Popup::file));
    EXPECT_TRUE(enabled(cmd::kSave));
    EXPECT_TRUE(enabled(cmd::kPaste)); // the clipboard holds "alpha"
    frame->dispatch(cmd::kPaste);
    EXPECT_EQ("alpha beta\n", document->sci().text());
    frame->dispatch(cmd::kUndo);
    EXPECT_EQ(" beta\n", document->sci().text());
    frame->dispatch(cmd::kRedo);
    EXPECT_EQ("alpha beta\n", document->sci().text());
    frame->dispatch(cmd::kSelectAll);
    frame->dispatch(cmd::kDelete);
    EXPECT_EQ("", document->sci().text());

    // Ctrl+S reaches Save; the modified query answers as the menu does.
    EXPECT_TRUE(document->handle_command(doc_cmd::kModifiedQuery, 0));
    frame->dispatch(cmd::kAccelSave);
    EXPECT_EQ("", read_raw(document->path()).value_or("?"));
    EXPECT_FALSE(document->handle_command(doc_cmd::kModifiedQuery, 0));
}

TEST_F(DocumentWindowTest, new_line_takes_the_indentation_of_the_line_above) {
    DocumentWindow* document = open(write("indent.asm", ""));
    document->sci().send(sci::SCI_SETEOLMODE, sci::SC_EOL_LF);
    type_text(document, "        ldaa #1");
    press(document, Qt::Key_Return, QStringLiteral("\r"));
    press(document, Qt::Key_Return, QStringLiteral("\r")); // an empty line is skipped
    EXPECT_EQ(8, document->sci().send(sci::SCI_GETLINEINDENTATION, 2));
    settle_events();
    EXPECT_EQ("Ln 3 Col 2", frame->line_column_text().toStdString()); // after one tab
    type_text(document, "x"); // the caret stayed after the indentation
    EXPECT_EQ("        ldaa #1\n\t\n\tx", document->sci().text());
}

TEST_F(DocumentWindowTest, brace_highlight_guides_to_the_opening_column) {
    DocumentWindow* document = open(write("braces.c", "  {\n    (x)\n  }\n"));
    struct Case {
        int line;
        long caret;
        long guide;
    };
    constexpr Case kCases[] = {
        {__LINE__, 3, 2}, // after "{": matched with "}" in column 2
        {__LINE__, 8, 4}, // before "(" of "(x)"
        {__LINE__, 1, 0}, // no brace next to the caret
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        document->sci().send(sci::SCI_GOTOPOS, c.caret);
        QCoreApplication::processEvents(); // the update notification
        EXPECT_EQ(c.guide, document->sci().send(sci::SCI_GETHIGHLIGHTGUIDE));
    }
}

TEST_F(DocumentWindowTest, save_as_moves_the_backup_with_the_name) {
    DocumentWindow* document = open(write("old.asm", "text\n"));
    dialogs.answers = {dir() + "/new.asm"};
    frame->dispatch(cmd::kSaveAs);
    EXPECT_EQ("new.asm", document->windowTitle().toStdString());
    EXPECT_EQ("new.asm", document->parentWidget()->windowTitle().toStdString());
    EXPECT_EQ(dir() + "/new.asm", document->path());
    EXPECT_EQ("text\n", read_raw(dir() + "/new.asm").value_or("?"));
    EXPECT_EQ("text\n", read_raw(dir() + "/~new.asm~").value_or("?"));
    EXPECT_FALSE(fs::exists(dir() + "/~old.asm~"));
    EXPECT_EQ(dir() + "/new.asm", frame->recent_files().at(0).value_or(""));
    ASSERT_EQ(1u, dialogs.requests.size());
    EXPECT_TRUE(dialogs.requests[0].overwrite_prompt);
    EXPECT_EQ(dir() + "/old.asm", dialogs.requests[0].seed);
}

} // namespace
} // namespace torva::test

#include "editor/ask_about_save.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace torva::test {
namespace {

TEST(AskAboutSaveTest, buttons_and_escape_give_their_results) {
    struct Case {
        int line;
        const char* button; // objectName, or "" for Escape
        int result;
    };
    constexpr Case kCases[] = {
        {__LINE__, "id1", AskAboutSaveDialog::kYes},
        {__LINE__, "id7", AskAboutSaveDialog::kNo},
        {__LINE__, "", AskAboutSaveDialog::kCancel},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        AskAboutSaveDialog dialog(QStringLiteral("main.asm"), nullptr);
        EXPECT_EQ("Save this file?", dialog.windowTitle().toStdString());
        auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("id1191"));
        ASSERT_NE(nullptr, field);
        EXPECT_EQ("'main.asm'", field->text().toStdString());
        EXPECT_TRUE(field->isReadOnly());
        QTimer::singleShot(0, &dialog, [&dialog, &c] {
            if (*c.button == '\0')
                dialog.reject();
            else
                dialog.findChild<QPushButton*>(QString::fromLatin1(c.button))->click();
        });
        EXPECT_EQ(c.result, dialog.exec());
    }
}

} // namespace
} // namespace torva::test
