// What a window needs to ask the user: the owner of its dialogs, the message
// boxes, the file dialogs and a modal run of its own dialogs.
#pragma once

class QDialog;
class QWidget;

namespace torva {

class FileDialogs;
class MessageBoxes;

class DialogHost {
public:
    virtual ~DialogHost() = default;
    // The frame window itself: the owner of dialogs and tool windows.
    virtual QWidget* frame_widget() = 0;
    virtual MessageBoxes& messages() = 0;
    virtual FileDialogs& file_dialogs() = 0;
    // Runs a modal dialog through the dialog service; returns its result.
    virtual int run_modal(QDialog& dialog) = 0;
};

} // namespace torva
