// Finds the section of the window in use and opens the help there on F1.
#include "shell/help_topics.h"

#include "shell/help_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace torva {

namespace {

// The window area of a frame or the area itself, or none.
const QMdiArea* window_area(const QWidget* widget) {
    if (const auto* frame = qobject_cast<const QMainWindow*>(widget))
        return qobject_cast<const QMdiArea*>(frame->centralWidget());
    return qobject_cast<const QMdiArea*>(widget);
}

// A window's own topic: its property, else its kind's.
QString own_topic(const QWidget& widget) {
    if (const QVariant topic = widget.property(kHelpTopicProperty); topic.isValid())
        return topic.toString();
    for (const HelpTopic& topic : kHelpTopics)
        if (widget.objectName() == QLatin1String(topic.object_name))
            return QString::fromLatin1(topic.anchor);
    return {};
}

} // namespace

QString help_topic(const QWidget* widget) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (const QMdiArea* area = window_area(w)) {
            const QMdiSubWindow* active = area->activeSubWindow();
            if (active != nullptr && active->widget() != nullptr)
                if (QString topic = own_topic(*active->widget()); !topic.isEmpty()) return topic;
        }
        if (QString topic = own_topic(*w); !topic.isEmpty()) return topic;
    }
    return {};
}

bool ContextHelp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) return false;
    // The key goes to the widget with the keyboard focus.
    QWidget* in_use = qobject_cast<QWidget*>(watched);
    if (in_use == nullptr) in_use = QApplication::focusWidget();
    // F1 in the help window itself stays there.
    if (in_use != nullptr && in_use->window()->objectName() == QLatin1String("HelpWindow"))
        return true;
    help_.show_topic(help_topic(in_use));
    return true;
}

} // namespace torva
