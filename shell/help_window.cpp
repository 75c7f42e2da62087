// Help window over QTextBrowser; the manual's links navigate inside it, the
// contents tree and the search results lead to its sections.
#include "shell/help_window.h"

#include "shell/frame_settings.h"
#include "shell/message_service.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <stack>

namespace torva {

HelpWindow::HelpWindow(const QString& manual, QWidget* parent)
    : QWidget(parent, Qt::Window), manual_(manual), browser_(new QTextBrowser),
      splitter_(new QSplitter(this)), search_(new QLineEdit), contents_(new QTreeWidget),
      results_(new QListWidget) {
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
    browser_->setObjectName(QStringLiteral("text"));
    browser_->setOpenExternalLinks(true);
    browser_->setSource(QUrl::fromLocalFile(manual));
    index_ = std::make_unique<ManualIndex>(*browser_->document());

    search_->setObjectName(QStringLiteral("search"));
    search_->setPlaceholderText(QStringLiteral("Search the manual"));
    search_->setClearButtonEnabled(true);
    contents_->setObjectName(QStringLiteral("contents"));
    contents_->setHeaderHidden(true);
    results_->setObjectName(QStringLiteral("results"));
    results_->setWordWrap(true);
    results_->setResizeMode(QListView::Adjust);
    results_->setSpacing(2);
    results_->hide();
    build_contents();

    auto* side = new QWidget;
    auto* side_layout = new QVBoxLayout(side);
    side_layout->setContentsMargins(4, 4, 0, 4);
    side_layout->setSpacing(4);
    side_layout->addWidget(search_);
    side_layout->addWidget(contents_);
    side_layout->addWidget(results_);
    splitter_->addWidget(side);
    splitter_->addWidget(browser_);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({280, 620});

    connect(search_, &QLineEdit::textChanged, this, &HelpWindow::search);
    connect(contents_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { show_topic(item->data(0, Qt::UserRole).toString()); });
    connect(contents_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { show_topic(item->data(0, Qt::UserRole).toString()); });
    connect(results_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const ManualSection& section =
            index_->sections().at(static_cast<std::size_t>(item->data(Qt::UserRole).toInt()));
        show_topic(section.anchor);
        // Marks the first word searched for within the section.
        QTextCursor at(browser_->document());
        at.setPosition(section.position);
        browser_->setTextCursor(at);
        const QString word = search_->text().split(QLatin1Char(' '), Qt::SkipEmptyParts).value(0);
        if (!word.isEmpty()) browser_->find(word);
    });
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpWindow::follow_source);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(splitter_);
    resize(900, 700);
    restoreGeometry(help_window_geometry());
    splitter_->restoreState(help_splitter_state());
}

HelpWindow::~HelpWindow() {
    store_help_window_layout(saveGeometry(), splitter_->saveState());
}

void HelpWindow::hideEvent(QHideEvent* event) {
    store_help_window_layout(saveGeometry(), splitter_->saveState());
    QWidget::hideEvent(event);
}

void HelpWindow::build_contents() {
    std::stack<std::pair<int, QTreeWidgetItem*>> open; // level, item
    const auto& sections = index_->sections();
    for (const ManualSection& section : sections) {
        if (section.anchor.isEmpty() || section.anchor == QLatin1String(kContentsAnchor)) continue;
        while (!open.empty() && open.top().first >= section.level)
            open.pop();
        auto* item =
            open.empty() ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(open.top().second);
        item->setText(0, section.title);
        item->setToolTip(0, section.title);
        item->setData(0, Qt::UserRole, section.anchor);
        open.push({section.level, item});
    }
}

void HelpWindow::show_topic(const QString& anchor) {
    QUrl url = QUrl::fromLocalFile(manual_);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    if (browser_->source() == url) {
        // The same place again (the page was scrolled since): go there anew.
        if (anchor.isEmpty())
            browser_->verticalScrollBar()->setValue(0);
        else
            browser_->scrollToAnchor(anchor);
        return;
    }
    browser_->setSource(url);
}

void HelpWindow::search(const QString& text) {
    results_->clear();
    const bool searching = !text.trimmed().isEmpty();
    contents_->setVisible(!searching);
    results_->setVisible(searching);
    if (!searching) return;
    const std::vector<int> found = index_->search(text);
    for (int section : found) {
        auto* item = new QListWidgetItem(index_->place(section), results_);
        item->setData(Qt::UserRole, section);
    }
    if (found.empty()) {
        auto* none = new QListWidgetItem(QStringLiteral("Not found"), results_);
        none->setFlags(Qt::NoItemFlags);
    }
}

// Selects the tree's row of the section the text now shows.
void HelpWindow::follow_source() {
    const QString anchor = browser_->source().fragment();
    for (QTreeWidgetItemIterator it(contents_); *it != nullptr; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == anchor) {
            contents_->setCurrentItem(*it);
            contents_->scrollToItem(*it);
            return;
        }
    }
}

Help::~Help() {
    delete window_.data();
}

bool Help::show_topic(const QString& anchor) {
    const QString manual = QString::fromStdString(manual_);
    if (!QFileInfo(manual).isFile()) return false;
    QWidget* modal = QApplication::activeModalWidget();
    if (window_ != nullptr && window_->parentWidget() != modal) delete window_.data();
    if (window_ == nullptr) window_ = new HelpWindow(manual, modal);
    window_->show_topic(anchor);
    window_->show();
    window_->raise();
    window_->activateWindow();
    return true;
}

void Help::close_all() {
    if (window_ != nullptr) window_->close();
}

} // namespace torva
