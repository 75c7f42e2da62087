// The frame: creation, status bar, title, children, the menu enabling pass
// and the close rule.
#include "shell/frame.h"

#include "shell/child_sub_window.h"
#include "shell/command_ids.h"
#include "shell/control_ids.h"
#include "shell/frame_settings.h"
#include "shell/frame_toolbar.h"
#include "shell/menu_tree.h"
#include "shell/output_window.h"
#include "shell/port_lister.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace torva {
namespace {

constexpr int kTitleNameLimit = 120;

// The extension of a command-line file: after the last ".", cut at a quote.
std::string extension_of(const std::string& name) {
    const auto dot = name.rfind('.');
    if (dot == std::string::npos) return {};
    std::string ext = name.substr(dot + 1);
    if (const auto quote = ext.find('"'); quote != std::string::npos) ext.resize(quote);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

} // namespace

KivFrame::KivFrame(const FrameServices& services, Directories& dirs)
    : services_(services), messages_(*services.messages), dirs_(dirs),
      dialogs_(*services.dialogs, dirs), help_(dirs.help_file), mdi_(new QMdiArea(this)),
      status_part0_(new QLabel(QStringLiteral("Ready"))), status_part1_(new QLabel) {
    setObjectName(QStringLiteral("KivFrame"));
    setWindowTitle(QString::fromLatin1(kAppTitle));
    setWindowIcon(QIcon(QStringLiteral(":/torva/icon.png")));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());

    // Creation: the client area, the status bar (id 88), the recent files.
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    mdi_->setBackground(palette().brush(QPalette::Dark));
    setCentralWidget(mdi_);
    statusBar()->setObjectName(control_name(88));
    statusBar()->setSizeGripEnabled(true);
    status_part0_->setObjectName(QStringLiteral("part0"));
    status_part1_->setObjectName(QStringLiteral("part1"));
    status_part1_->setFixedWidth(160);
    statusBar()->addWidget(status_part0_, 1);
    statusBar()->addPermanentWidget(status_part1_);
    recent_.load();
    setAcceptDrops(true);
    connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        update_title();
        if (auto* sub = qobject_cast<ChildSubWindow*>(window)) sub->child()->child_activated();
    });
    install_accelerators();
    qApp->installEventFilter(&context_help_);
}

KivFrame::~KivFrame() {
    // The area announces its last activation while the base class deletes it,
    // when this object is already gone.
    mdi_->disconnect(this);
}

void KivFrame::set_services(const FrameServices& services) {
    services_ = services;
    messages_.set_service(*services.messages);
    dialogs_.set_service(*services.dialogs);
}

void KivFrame::install_accelerators() {
    for (const KeyBinding& binding : kKeyTable) {
        if (binding.scope != KeyScope::frame) continue;
        auto* action = new QAction(this);
        action->setShortcut(key_sequence(binding));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setObjectName(QStringLiteral("accel%1").arg(binding.command));
        connect(action, &QAction::triggered, this, [this, id = binding.command] { dispatch(id); });
        addAction(action);
    }
}

void KivFrame::create_fonts() {
    fonts_ = create_shared_fonts(*this);
}

void KivFrame::build_menus() {
    menus_ = std::make_unique<MenuBar>(*menuBar(), [this](int id) { dispatch(id); });
    for (Popup which : {Popup::file, Popup::edit, Popup::debug, Popup::windows, Popup::help,
                        Popup::recent, Popup::terminal}) {
        QMenu* menu = menus_->popup(which);
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { update_menus(menu); });
    }
    toolbar_ =
        build_toolbar(*this, menus_->popup(Popup::terminal), [this](int id) { dispatch(id); });
}

// ---- status bar and title ----

void KivFrame::set_status_text(const QString& text) {
    status_part0_->setText(text);
}
void KivFrame::set_status_ready() {
    status_part0_->setText(QStringLiteral("Ready"));
}
void KivFrame::set_line_column_text(const QString& text) {
    status_part1_->setText(text);
}
QString KivFrame::status_text() const {
    return status_part0_->text();
}
QString KivFrame::line_column_text() const {
    return status_part1_->text();
}

void KivFrame::update_title() {
    const std::string path = services_.documents != nullptr && top_child() != nullptr
                                 ? services_.documents->document_path(top_child())
                                 : std::string();
    QString title = QStringLiteral("Vardel %1").arg(QString::fromLatin1(kAppTitle));
    if (!path.empty()) {
        QString name =
            QString::fromStdString(fs::path(path).filename().string()).left(kTitleNameLimit);
        // The document answers whether it holds unsaved changes.
        if (ChildSubWindow* sub = top_sub();
            sub != nullptr && sub->child()->handle_command(cmd::kTitleModifiedQuery, 0))
            name += QStringLiteral(" *");
        title += QStringLiteral(" - [%1]").arg(name);
    }
    setWindowTitle(title);
}

// ---- children ----

QMdiSubWindow* KivFrame::add_child(ChildWindow& window, const QRect* geometry) {
    QWidget* child = &window.as_widget();
    auto* sub = new ChildSubWindow(window);
    // A child without an icon of its own shows the program's.
    sub->setWindowIcon(child->testAttribute(Qt::WA_SetWindowIcon) ? child->windowIcon()
                                                                  : windowIcon());
    sub->set_on_retire([this](ChildSubWindow& closing) { on_retire(closing); });
    // A child that cannot grow (the simulator's picture) gets no maximise
    // button, and its sub-window no more room than the child plus its frame.
    const bool fixed = child->maximumSize() != QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (fixed) sub->setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    mdi_->addSubWindow(sub);
    if (geometry != nullptr) sub->setGeometry(*geometry);
    sub->show();
    if (fixed) sub->setMaximumSize(child->maximumSize() + (sub->size() - child->size()));
    mdi_->setActiveSubWindow(sub);
    update_title();
    return sub;
}

void KivFrame::on_retire(ChildSubWindow& sub) {
    // An editor document that closes writes the recent-files list.
    if (services_.documents != nullptr && !services_.documents->document_path(sub.widget()).empty())
        recent_.store();
    if (simulator_ == &sub) {
        simulator_ = nullptr;
        follow_simulator();
    }
    if (output_ != nullptr && sub.widget() == output_) output_ = nullptr;
}

ChildSubWindow* KivFrame::top_sub() const {
    QMdiSubWindow* sub = mdi_->currentSubWindow();
    if (sub == nullptr) sub = mdi_->activeSubWindow();
    return qobject_cast<ChildSubWindow*>(sub);
}

ChildSubWindow* KivFrame::sub_of(QWidget* child) const {
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (sub->widget() == child) return qobject_cast<ChildSubWindow*>(sub);
    return nullptr;
}

QWidget* KivFrame::top_child() const {
    ChildSubWindow* sub = top_sub();
    return sub != nullptr ? sub->widget() : nullptr;
}

void KivFrame::activate_child(QWidget* child) {
    if (ChildSubWindow* sub = sub_of(child)) mdi_->setActiveSubWindow(sub);
}

QSize KivFrame::client_size() const {
    return mdi_->viewport()->size();
}

int KivFrame::child_count() const {
    return static_cast<int>(mdi_->subWindowList().size());
}

QWidget* KivFrame::simulator_window() const {
    return simulator_ != nullptr && mdi_->subWindowList().contains(simulator_.data())
               ? simulator_->widget()
               : nullptr;
}

// ---- documents and the Output window ----

QWidget* KivFrame::open_document(bool is_new, const std::string& path, int line) {
    if (services_.documents == nullptr) return nullptr;
    QWidget* document = services_.documents->open_document(is_new, path, line);
    if (document != nullptr) {
        recent_.add(path);
        update_title();
    }
    return document;
}

void KivFrame::open_source_at(const std::string& named, int line_number) {
    if (services_.documents == nullptr) return;
    const std::string path =
        services_.assembler != nullptr ? services_.assembler->message_file_path(named) : named;
    QWidget* document = services_.documents->find_document(path);
    if (document == nullptr) document = open_document(false, path, line_number - 1);
    if (document == nullptr) return;
    ChildSubWindow* sub = sub_of(document);
    if (sub == nullptr) return;
    mdi_->setActiveSubWindow(sub);
    sub->child()->handle_command(cmd::kGoToLineToChild, line_number - 1);
}

void KivFrame::output_append(std::string_view text) {
    if (output_ != nullptr) output_->append(text);
}

void KivFrame::output_show_and_clear() {
    if (output_ == nullptr) dispatch(cmd::kCreateOutput);
    if (output_ != nullptr) output_->clear();
    if (services_.documents != nullptr) services_.documents->clear_line_marks();
    bring_output_to_front();
}

void KivFrame::bring_output_to_front() {
    ChildSubWindow* sub = output_ != nullptr ? sub_of(output_) : nullptr;
    if (sub == nullptr) return;
    // A maximised window would hide the messages, and the area would
    // maximise the Output window in its place.
    for (QMdiSubWindow* window : mdi_->subWindowList())
        if (window->isMaximized()) window->showNormal();
    if (sub->isMinimized()) sub->showNormal();
    mdi_->setActiveSubWindow(sub);
    sub->raise();
}

// ---- command-line file ----

void KivFrame::open_by_type(const std::string& command_line) {
    const std::string name = unquoted(command_line);
    if (name.empty()) return;
    const std::string ext = extension_of(name);
    if (ext == "s12" || ext == "asm") {
        std::error_code ec;
        fs::current_path(fs::absolute(name, ec).parent_path(), ec);
        open_document(false, name, -1);
        return;
    }
    // A start directory is no file to open: it was settled already.
    std::error_code ec;
    if (fs::is_directory(name, ec)) return;
    messages_.warning("File '%s', Don't recognise the file type...", name);
}

// ---- menus ----

void KivFrame::update_menus(QMenu* popup) {
    if (!menus_) return;
    for (int id : kDocumentItems)
        menus_->set_enabled(id, false);
    for (int id : kSimulatorRunItems)
        menus_->set_enabled(id, false);
    menus_->set_enabled(cmd::kSaveAll,
                        services_.documents != nullptr && services_.documents->any_document_open());
    std::vector<std::pair<QString, bool>> windows;
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        windows.emplace_back(sub->windowTitle(), sub == top_sub());
    menus_->rebuild_window_list(windows, [this](int index) {
        const auto list = mdi_->subWindowList();
        if (index < list.size()) mdi_->setActiveSubWindow(list[index]);
    });
    follow_simulator();
    menus_->set_enabled(cmd::kAcceptOtherSyntax, services_.assembler != nullptr);
    menus_->set_checked(cmd::kAcceptOtherSyntax, services_.assembler != nullptr &&
                                                     services_.assembler->accepts_other_syntax());
    if (popup != nullptr && menus_->which(popup) == Popup::terminal) {
        const std::vector<MenuBar::PortItem> ports = services_.ports != nullptr
                                                         ? services_.ports->present_ports()
                                                         : std::vector<MenuBar::PortItem>{};
        menus_->rebuild_terminal(ports);
    }
    std::vector<std::string> paths;
    for (int i = 0; i < RecentFiles::kSlots; ++i)
        paths.push_back(recent_.at(i).value_or(""));
    menus_->rebuild_recent(paths);
    update_title();
    ChildSubWindow* top = top_sub();
    if (top != nullptr) top->child()->menu_popup(*menus_, popup);
    // The simulator's run items follow the simulator window while it exists.
    if (ChildSubWindow* simulator = simulator_sub(); simulator != nullptr && simulator != top)
        simulator->child()->menu_popup(*menus_, popup);
}

ChildSubWindow* KivFrame::simulator_sub() const {
    return simulator_window() != nullptr ? qobject_cast<ChildSubWindow*>(simulator_.data())
                                         : nullptr;
}

void KivFrame::follow_simulator() {
    // There is one simulator window: while it exists, neither the menu item
    // nor the toolbar's button can ask for another load file.
    const bool allowed = simulator_window() == nullptr;
    if (menus_) menus_->set_enabled(cmd::kSimulator, allowed);
    if (toolbar_ != nullptr)
        if (auto* button =
                toolbar_->findChild<QAction*>(QStringLiteral("tool%1").arg(cmd::kSimulator)))
            button->setEnabled(allowed);
}

// ---- closing ----

bool KivFrame::query_end_session() {
    help_.close_all();
    dispatch(cmd::kCloseAll);
    return child_count() == 0;
}

void KivFrame::closeEvent(QCloseEvent* event) {
    if (!query_end_session()) {
        event->ignore();
        return;
    }
    store_frame_geometry(*this);
    event->accept();
    emit closed();
}

// ---- dropped files ----

namespace {

std::vector<std::string> local_files(const QMimeData* data) {
    std::vector<std::string> files;
    if (data == nullptr || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
    return files;
}

} // namespace

void KivFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!local_files(event->mimeData()).empty()) event->acceptProposedAction();
}

void KivFrame::dropEvent(QDropEvent* event) {
    const std::vector<std::string> files = local_files(event->mimeData());
    if (files.empty()) return;
    event->acceptProposedAction();
    for (const std::string& file : files)
        open_by_type(file);
}

int KivFrame::run_modal(QDialog& dialog) {
    return services_.dialogs->run_modal(dialog);
}

void KivFrame::fatal_error(const std::string& text) {
    messages_.fatal_text(text);
    dispatch(cmd::kExit);
}

} // namespace torva
