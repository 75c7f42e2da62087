// Help window over QTextBrowser; the manual's links navigate inside it.
#include "shell/help_window.h"

#include "shell/message_service.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace torva {

HelpWindow::HelpWindow(const QString& manual, QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("%1 Help").arg(QString::fromLatin1(kAppTitle)));
    auto* tools = new QToolBar(this);
    QAction* back = tools->addAction(QStringLiteral("Back"), browser_, &QTextBrowser::backward);
    QAction* forward =
        tools->addAction(QStringLiteral("Forward"), browser_, &QTextBrowser::forward);
    QAction* home = tools->addAction(QStringLiteral("Home"), browser_, &QTextBrowser::home);
    back->setObjectName(QStringLiteral("back"));
    forward->setObjectName(QStringLiteral("forward"));
    home->setObjectName(QStringLiteral("home"));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    browser_->setOpenExternalLinks(true);
    browser_->setSource(QUrl::fromLocalFile(manual));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(browser_);
    resize(800, 700);
}

Help::~Help() {
    delete window_;
}

bool Help::show() {
    const QString manual = QString::fromStdString(manual_);
    if (!QFileInfo(manual).isFile()) return false;
    if (window_ == nullptr) {
        window_ = new HelpWindow(manual);
    } else {
        window_->browser().home();
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
    return true;
}

void Help::close_all() {
    if (window_ != nullptr) window_->close();
}

} // namespace torva
