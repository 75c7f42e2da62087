// Help where you are: the manual's section for the window in use, and the F1
// key that opens it from any window of the program.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace torva {

class Help;

// A window whose section depends on what it shows (a device window at its
// device) names the anchor in this dynamic property.
inline constexpr const char* kHelpTopicProperty = "helpTopic";

// Window kinds, by object name, and the anchor of their section.
struct HelpTopic {
    const char* object_name;
    const char* anchor;
};
inline constexpr HelpTopic kHelpTopics[] = {
    {"KivFrame", "getting-started"},
    {"TV6RT12##kivDrawClass", "editor"},
    {"EDITORFIND", "editor-searching-and-replacing"},
    {"GOTOLINE", "editor-go-to-line"},
    {"KivOutputChild", "output"},
    {"KivSimulatorChild", "simulator"},
    {"NEWBPDIALOG", "simulator-breakpoints"},
    {"RT12TARGETSETUP", "devices-connecting-devices-simulator-setup"},
    {"IOSETUPDIALOG", "devices-connecting-devices-simulator-setup"},
    {"TV6RT12##TerminalChild", "terminal"},
    {"SETUPSERIAL", "terminal-settings"},
    {"BOOTSTRAPPER", "terminal-bootstrapping-a-board-without-its-monitor"},
};

// The anchor for a widget: the nearest of it and its parents that has one
// (the active window of a window area stands for the area); empty for none.
QString help_topic(const QWidget* widget);

// Catches F1 anywhere in the program, modal dialogs included, and shows the
// manual at the section of the window that has the keyboard focus.
class ContextHelp final : public QObject {
public:
    explicit ContextHelp(Help& help) : help_(help) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Help& help_;
};

} // namespace torva
