// Scripted stand-ins for the shell's message-box and dialog services: they
// record what would have been shown and answer from a script.
#pragma once

#include "shell/file_dialogs.h"
#include "shell/message_service.h"

#include <QDialog>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace torva::test {

class ScriptedMessages final : public MessageService {
public:
    struct Box {
        BoxKind kind;
        std::string title;
        std::string text;
    };
    std::vector<Box> shown;
    std::deque<int> answers; // for questions; kBoxNo when the script runs out

    int show_box(BoxKind kind, const std::string& title, const std::string& text) override {
        shown.push_back({kind, title, text});
        if (kind != BoxKind::question) return kBoxOk;
        if (answers.empty()) return kBoxNo;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

class ScriptedDialogs final : public DialogService {
public:
    std::vector<FileDialogRequest> requests;
    std::deque<std::optional<std::string>> answers; // none = cancelled
    std::vector<std::string> modal_dialogs;         // objectNames, in order
    // Results of modal dialogs in order (the save question: 1 "&Yes", 0 "&No",
    // -1 Escape); QDialog::Accepted when the script runs out.
    std::deque<int> modal_answers;
    // Works a modal dialog's controls before it is answered, as a user
    // would while it is open (the dialog's objectName tells which it is).
    std::function<void(QDialog&)> while_open;

    std::optional<std::string> run_file_dialog(QWidget*,
                                               const FileDialogRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    int run_modal(QDialog& dialog) override {
        modal_dialogs.push_back(dialog.objectName().toStdString());
        if (while_open) while_open(dialog);
        if (modal_answers.empty()) return QDialog::Accepted;
        const int answer = modal_answers.front();
        modal_answers.pop_front();
        return answer;
    }
};

} // namespace torva::test
