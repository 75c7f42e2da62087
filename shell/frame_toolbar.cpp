// The toolbar's buttons as data: command, tip, theme icon and fallback.
#include "shell/frame_toolbar.h"

#include "shell/command_ids.h"
#include "shell/frame_settings.h"
#include "shell/menu_tree.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace torva {
namespace {

struct ToolButton {
    int id; // 0: the Terminal pop-up
    const char* tip;
    const char* theme_icon; // freedesktop icon name
    QStyle::StandardPixmap fallback;
    bool group_ends; // a separator follows
};

constexpr ToolButton kButtons[] = {
    {cmd::kNew, "New", "document-new", QStyle::SP_FileIcon, false},
    {cmd::kOpen, "Open", "document-open", QStyle::SP_DialogOpenButton, false},
    {cmd::kSave, "Save", "document-save", QStyle::SP_DialogSaveButton, false},
    {cmd::kSaveAll, "Save All", "document-save-all", QStyle::SP_DriveFDIcon, true},
    {cmd::kPrint, "Print", "document-print", QStyle::SP_FileDialogDetailedView, false},
    {cmd::kFindReplace, "Find/Replace", "edit-find", QStyle::SP_FileDialogContentsView, true},
    {cmd::kAssemble, "Assemble", "run-build", QStyle::SP_ArrowRight, false},
    {cmd::kSimulator, "Simulator", "media-playback-start", QStyle::SP_MediaPlay, false},
    {0, "Terminal", "utilities-terminal", QStyle::SP_ComputerIcon, false},
};

QString tip_of(const ToolButton& button) {
    const QString keys = menu_shortcut_text(button.id);
    const QString tip = QString::fromLatin1(button.tip);
    return keys.isEmpty() ? tip : QStringLiteral("%1 (%2)").arg(tip, keys);
}

} // namespace

QToolBar* build_toolbar(QMainWindow& frame, QMenu* terminal_menu,
                        const std::function<void(int id)>& dispatch) {
    auto* bar = new QToolBar(QStringLiteral("Toolbar"), &frame);
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    bar->setIconSize(QSize(20, 20));
    const QStyle* style = frame.style();
    for (const ToolButton& button : kButtons) {
        const QIcon icon = QIcon::fromTheme(QString::fromLatin1(button.theme_icon),
                                            style->standardIcon(button.fallback));
        auto* action = new QAction(icon, QString::fromLatin1(button.tip), bar);
        action->setToolTip(tip_of(button));
        if (button.id != 0) {
            action->setObjectName(QStringLiteral("tool%1").arg(button.id));
            QObject::connect(action, &QAction::triggered, bar,
                             [dispatch, id = button.id] { dispatch(id); });
            bar->addAction(action);
        } else {
            action->setObjectName(QStringLiteral("toolTerminal"));
            action->setMenu(terminal_menu);
            bar->addAction(action);
            if (auto* tool = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
                tool->setPopupMode(QToolButton::InstantPopup);
        }
        if (button.group_ends) bar->addSeparator();
    }
    frame.addToolBar(Qt::TopToolBarArea, bar);
    bar->setVisible(toolbar_visible());
    // Only the user's choice in the context menu is remembered, not the
    // hiding that comes with the frame's own closing.
    QObject::connect(bar->toggleViewAction(), &QAction::triggered, bar,
                     [](bool visible) { store_toolbar_visible(visible); });
    return bar;
}

} // namespace torva
