// The Watch window's widgets over its rows.
#include "sim/gui/watch_window.h"

#include "sim/simulator.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace torva {

namespace {

enum Column { kExpression, kFormat, kValue, kColumns };

// A changed value shows as the simulator's changed registers do: red text
// on a pale ground.
const QColor kChangedText(200, 0, 0);
const QColor kChangedGround(255, 245, 200);

QString format_text(const WatchRow& row) {
    for (const WatchFormatName& f : watch_formats())
        if (f.format == row.format)
            return f.counted ? QStringLiteral("%1 of %2")
                                   .arg(QString::fromLatin1(f.name.data(), int(f.name.size())))
                                   .arg(row.count)
                             : QString::fromLatin1(f.name.data(), int(f.name.size()));
    return {};
}

} // namespace

WatchWindow::WatchWindow(Simulator& sim, QWidget* parent)
    : QWidget(parent), sim_(sim), list_(sim.board().memory(), sim.cpu()) {
    setObjectName(QStringLiteral("TV6RT12##WatchChild"));
    setWindowTitle(QString::fromLatin1(kTitle));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);

    auto* line = new QHBoxLayout;
    expression_ = new QLineEdit(this);
    expression_->setPlaceholderText(QStringLiteral("symbol, symbol+n, $address or register"));
    format_ = new QComboBox(this);
    for (const WatchFormatName& f : watch_formats())
        format_->addItem(QString::fromLatin1(f.name.data(), int(f.name.size())));
    count_ = new QSpinBox(this);
    count_->setRange(1, WatchList::kMaxCount);
    count_->setToolTip(QStringLiteral("Characters, bytes or words"));
    count_->setEnabled(false);
    add_ = new QPushButton(QStringLiteral("&Add"), this);
    remove_ = new QPushButton(QStringLiteral("&Remove"), this);
    line->addWidget(expression_, 3);
    line->addWidget(format_, 2);
    line->addWidget(count_);
    line->addWidget(add_);
    line->addWidget(remove_);
    layout->addLayout(line);

    table_ = new QTableWidget(0, kColumns, this);
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("Expression"), QStringLiteral("Format"), QStringLiteral("Value")});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setVisible(false);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    table_->setColumnWidth(kExpression, 150);
    table_->setColumnWidth(kFormat, 110);
    layout->addWidget(table_);

    connect(format_, &QComboBox::currentIndexChanged, this,
            [this](int index) { count_->setEnabled(watch_formats()[size_t(index)].counted); });
    connect(add_, &QPushButton::clicked, this, [this] { add_from_line(); });
    connect(expression_, &QLineEdit::returnPressed, this, [this] { add_from_line(); });
    connect(remove_, &QPushButton::clicked, this, [this] {
        const int row = table_->currentRow();
        if (row < 0) return;
        list_.remove(size_t(row));
        show_rows();
        emit rows_changed();
    });
    connect(table_, &QTableWidget::cellChanged, this,
            [this](int row, int column) { value_edited(row, column); });
    resize(460, 260);
}

void WatchWindow::add_from_line() {
    const std::string text = expression_->text().trimmed().toStdString();
    if (text.empty()) return;
    const WatchFormatName& f = watch_formats()[size_t(std::max(0, format_->currentIndex()))];
    list_.add(text, f.format, f.counted ? count_->value() : 1);
    expression_->clear();
    refresh();
    emit rows_changed();
}

void WatchWindow::replace_rows(std::vector<WatchRow> rows) {
    list_.rows() = std::move(rows);
    refresh();
}

void WatchWindow::refresh() {
    list_.refresh(sim_.load_file().debug_map.get());
    show_rows();
}

void WatchWindow::show_rows() {
    showing_ = true;
    const auto& rows = list_.rows();
    table_->setRowCount(int(rows.size()));
    for (int i = 0; i < int(rows.size()); ++i) {
        const WatchRow& row = rows[size_t(i)];
        auto cell = [&](int column, const QString& text, bool editable) {
            QTableWidgetItem* item = table_->item(i, column);
            if (item == nullptr) {
                item = new QTableWidgetItem;
                table_->setItem(i, column, item);
            }
            item->setText(text);
            item->setFlags(editable ? item->flags() | Qt::ItemIsEditable
                                    : item->flags() & ~Qt::ItemIsEditable);
            return item;
        };
        cell(kExpression, QString::fromStdString(row.expression), false);
        cell(kFormat, format_text(row), false);
        QTableWidgetItem* value =
            cell(kValue, QString::fromStdString(row.error.empty() ? row.value : row.error),
                 row.error.empty());
        value->setForeground(row.changed         ? kChangedText
                             : row.error.empty() ? palette().color(QPalette::Text)
                                                 : QColor(128, 128, 128));
        value->setBackground(row.changed ? kChangedGround : palette().color(QPalette::Base));
    }
    showing_ = false;
}

void WatchWindow::value_edited(int row, int column) {
    if (showing_ || column != kValue) return;
    const std::string text = table_->item(row, column)->text().toStdString();
    const std::string why = list_.edit(size_t(row), text, sim_.load_file().debug_map.get());
    table_->setToolTip(QString::fromStdString(why));
    // The value the memory took, whatever was typed.
    refresh();
}

} // namespace torva
