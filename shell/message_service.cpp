// Message boxes: the text rule, the application's title and the Qt boxes.
#include "shell/message_service.h"

#include <QMessageBox>

namespace torva {

std::string box_text(const std::optional<std::string>& format,
                     const std::optional<std::string>& argument) {
    if (!format) return argument.value_or("");
    if (!argument) return *format;
    return fill_strings(*format, {*argument});
}

std::string fill_strings(const std::string& format, std::initializer_list<std::string> arguments) {
    std::string text;
    std::size_t from = 0;
    for (const std::string& argument : arguments) {
        const auto at = format.find("%s", from);
        if (at == std::string::npos) break;
        text.append(format, from, at - from).append(argument);
        from = at + 2;
    }
    return text.append(format, from);
}

int MessageBoxes::error(const std::optional<std::string>& format,
                        const std::optional<std::string>& argument) {
    return service_->show_box(BoxKind::error, kAppTitle, box_text(format, argument));
}

int MessageBoxes::warning(const std::optional<std::string>& format,
                          const std::optional<std::string>& argument) {
    return service_->show_box(BoxKind::warning, kAppTitle, box_text(format, argument));
}

int MessageBoxes::question(const std::optional<std::string>& format,
                           const std::optional<std::string>& argument) {
    return service_->show_box(BoxKind::question, kAppTitle, box_text(format, argument));
}

void MessageBoxes::fatal_text(const std::string& text) {
    error(fill_strings("FATAL ERROR: %s, Closing %s", {text, kAppTitle}));
}

int QtMessageService::show_box(BoxKind kind, const std::string& title, const std::string& text) {
    const QString qtitle = QString::fromStdString(title);
    const QString qtext = QString::fromStdString(text);
    switch (kind) {
    case BoxKind::error: QMessageBox::critical(owner_, qtitle, qtext); return kBoxOk;
    case BoxKind::warning: QMessageBox::warning(owner_, qtitle, qtext); return kBoxOk;
    case BoxKind::question:
        return QMessageBox::question(owner_, qtitle, qtext, QMessageBox::Yes | QMessageBox::No) ==
                       QMessageBox::Yes
                   ? kBoxYes
                   : kBoxNo;
    }
    return kBoxOk;
}

} // namespace torva
