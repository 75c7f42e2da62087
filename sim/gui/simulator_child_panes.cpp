// The simulator window's panes: painting the picture, lamps, counters,
// disassembly and stack, and the memory and register fields.
#include "sim/gui/simulator_child.h"

#include "sim/debug_map.h"
#include "sim/gui/arrow_moves.h"
#include "sim/gui/simulator_layout.h"
#include "sim/simulator_ui.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

namespace torva {

namespace {

using namespace sim_layout;

QColor colour_of(Rgb rgb) {
    return QColor(rgb.r, rgb.g, rgb.b);
}

QLineEdit* make_field(QWidget* parent, const QFont& font, QRect where, int max_length) {
    auto* field = new QLineEdit(parent);
    field->setFont(font);
    field->setGeometry(where);
    field->setMaxLength(max_length);
    field->setFrame(false);
    field->setTextMargins(kFieldMargin - 2, 0, 0, 0);
    field->setStyleSheet(QStringLiteral("QLineEdit { background: white; border: 1px solid "
                                        "#707a8e; padding: 0px; }"
                                        "QLineEdit[readOnly=\"true\"] { background: #e8eaee; }"));
    return field;
}

} // namespace

void KivSimulatorChild::build_memory_pane() {
    mem_ = new QPushButton(QString::fromLatin1(MemoryPane::kMemLabel), this);
    mem_->setFont(button_font_);
    mem_->setGeometry(kMemButton);
    mem_->setFocusPolicy(Qt::NoFocus);
    connect(mem_, &QPushButton::clicked, this, [this] { address_button(); });
    for (int row = 0; row < MemoryPane::kRows; ++row) {
        rows_[size_t(row)] = make_field(
            this, text_font_,
            QRect(kMemButton.left(), kRowsY + row * kRowHeight, kMemButton.width(), kRowHeight),
            row == 0 ? 64 : 8); // the entry takes a label as well as an address
        rows_[size_t(row)]->setReadOnly(true);
        rows_[size_t(row)]->setFocusPolicy(row == 0 ? Qt::StrongFocus : Qt::NoFocus);
        for (int column = 0; column < MemoryPane::kColumns; ++column) {
            const int index = row * MemoryPane::kColumns + column;
            QLineEdit* cell =
                make_field(this, text_font_,
                           QRect(kCellsX + column * kCellWidth, kRowsY + row * kRowHeight,
                                 kCellWidth - 2, kRowHeight),
                           2);
            cell->setAlignment(Qt::AlignCenter);
            cell->setTextMargins(0, 0, 0, 0);
            cell->setObjectName(QStringLiteral("cell%1").arg(256 + index));
            cell->installEventFilter(this);
            connect(cell, &QLineEdit::textEdited, this,
                    [this, index](const QString& text) { cell_edited(index, text); });
            cells_[size_t(index)] = cell;
        }
    }
    connect(rows_[0], &QLineEdit::returnPressed, this, [this] {
        if (memory_.entering_address()) address_button();
    });
    scroll_ = new QScrollBar(Qt::Vertical, this);
    scroll_->setGeometry(kMemoryScroll);
    scroll_->setRange(0, MemoryPane::kLastRow);
    scroll_->setPageStep(MemoryPane::kPageRows);
    scroll_->setSingleStep(1);
    connect(scroll_, &QScrollBar::valueChanged, this, [this](int row) {
        if (refreshing_) return;
        memory_.scroll_to_row(row);
        refresh_memory();
    });
}

void KivSimulatorChild::build_register_fields() {
    for (size_t i = 0; i < kRegisterFields.size(); ++i) {
        const int number = kRegisterFields[i];
        const int digits = int(register_text(sim_.cpu(), number).size());
        QRect where;
        if (number == kRegCcr)
            where = QRect(kRegisterFieldX, kCcrFieldY, digits * char_width_ + 2 * kFieldMargin,
                          kRowHeight + 2);
        else if (number == kRegB)
            where = QRect(kRegisterFieldX + 2 * char_width_ + 2 * kFieldMargin + 4, kFirstRegisterY,
                          digits * char_width_ + 2 * kFieldMargin, kRowHeight + 2);
        else
            where =
                QRect(kRegisterFieldX, kFirstRegisterY + int(i == 0 ? 0 : i - 1) * kRegisterRowStep,
                      digits * char_width_ + 2 * kFieldMargin, kRowHeight + 2);
        QLineEdit* field = make_field(this, text_font_, where, digits);
        field->setObjectName(QStringLiteral("register%1").arg(number));
        connect(field, &QLineEdit::textEdited, this, [this] {
            if (!sim_.running()) set_apply_enabled(true);
        });
        connect(field, &QLineEdit::returnPressed, this, [this] { apply_registers(); });
        registers_[i] = field;
    }
}

void KivSimulatorChild::refresh_registers() {
    if (refreshing_) return;
    // With symbols to name, a field takes a label longer than its digits.
    const DebugMap* map = sim_.load_file().debug_map.get();
    const bool symbols = map != nullptr && !map->symbols.empty();
    for (size_t i = 0; i < kRegisterFields.size(); ++i) {
        const std::string text = register_text(sim_.cpu(), kRegisterFields[i]);
        registers_[i]->setMaxLength(symbols ? 64 : int(text.size()));
        registers_[i]->setText(QString::fromStdString(text));
    }
    stack_.refresh(sim_.cpu().regs.sp);
    update();
}

void KivSimulatorChild::refresh_memory() {
    if (refreshing_ || cells_[0] == nullptr) return;
    refreshing_ = true;
    const bool halted = !sim_.running();
    for (int row = 0; row < MemoryPane::kRows; ++row)
        if (row > 0 || !memory_.entering_address())
            rows_[size_t(row)]->setText(QString::fromStdString(memory_.row_address_text(row)));
    for (int index = 0; index < MemoryPane::kCells; ++index) {
        QLineEdit* cell = cells_[size_t(index)];
        const QString text = QString::fromStdString(memory_.cell_text(index));
        if (cell->text() != text) cell->setText(text);
        cell->setReadOnly(!halted || memory_.cell_read_only(index));
    }
    scroll_->setValue(memory_.row());
    stack_.refresh(sim_.cpu().regs.sp);
    refreshing_ = false;
    update();
}

void KivSimulatorChild::cell_edited(int index, const QString& text) {
    if (refreshing_ || sim_.running()) return;
    if (const auto shown = memory_.edit_cell(index, text.toStdString()))
        cells_[size_t(index)]->setText(QString::fromStdString(*shown));
    // The byte may be code or stack.
    disassembly_.refresh(sim_.cpu().current_execution_address());
    stack_.refresh(sim_.cpu().regs.sp);
    update();
}

void KivSimulatorChild::address_button() {
    const auto error = memory_.press_address_button(rows_[0]->text().trimmed().toStdString(),
                                                    sim_.load_file().debug_map.get());
    mem_->setText(
        QString::fromLatin1(memory_.button_text().data(), qsizetype(memory_.button_text().size())));
    rows_[0]->setReadOnly(!memory_.entering_address());
    if (memory_.entering_address()) {
        rows_[0]->setFocus();
        rows_[0]->selectAll();
        return;
    }
    if (error) show_message(kFrameCaption, *error);
    refresh_memory();
}

void KivSimulatorChild::apply_registers() {
    if (sim_.running()) return;
    std::array<std::string, kRegisterFields.size()> texts;
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i] = registers_[i]->text().trimmed().toStdString();
    apply_register_fields(sim_.cpu(), texts, sim_.load_file().debug_map.get());
    refresh_registers();
    refresh_disassembly();
    refresh_memory();
    set_apply_enabled(false);
}

bool KivSimulatorChild::eventFilter(QObject* watched, QEvent* event) {
    // Arrow keys move among the memory cells, wrapping around the 64.
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto move = arrow_move_for_key(key->key());
    if (!move) return QWidget::eventFilter(watched, event);
    if (key->modifiers() != Qt::NoModifier && key->modifiers() != Qt::KeypadModifier)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept(); // the cell takes the key before the frame's accelerators
        return true;
    }
    for (int index = 0; index < MemoryPane::kCells; ++index)
        if (cells_[size_t(index)] == watched) {
            QLineEdit* next = cells_[size_t(MemoryPane::move_focus(index, *move))];
            next->setFocus();
            next->selectAll();
            return true;
        }
    return QWidget::eventFilter(watched, event);
}

// ---- painting -------------------------------------------------------------

QRect KivSimulatorChild::line_rect(int line) const {
    return QRect(kDisassemblyOrigin.x(), kDisassemblyOrigin.y() + line * line_height_,
                 DisassemblyPane::kColumns * char_width_, line_height_);
}

int KivSimulatorChild::line_at(QPoint local) const {
    for (int line = 0; line < DisassemblyPane::kLines; ++line)
        if (line_rect(line).contains(local)) return line;
    return -1;
}

void KivSimulatorChild::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
    painter.setFont(text_font_);
    const int ascent = painter.fontMetrics().ascent();
    // Target setup name, kept inside its box.
    painter.setPen(QColor(20, 30, 60));
    const std::string name = sim_.board().setup().descriptor_display_name();
    painter.drawText(
        QRect(kTargetName.x(), kTargetName.y(), kTargetBox.rect.right() - 10, line_height_),
        Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(name));
    // Counters: white on the dark strip.
    painter.setPen(Qt::white);
    const int counter_x = 4 * char_width_ + kCounterX;
    painter.drawText(counter_x, kCyclesY + ascent,
                     QString::fromStdString(counter_text(sim_.cycle_counter())));
    painter.drawText(counter_x, kBytesY + ascent,
                     QString::fromStdString(counter_text(sim_.byte_counter())));
    paint_lamps(painter);
    paint_disassembly(painter);
    paint_stack(painter);
}

void KivSimulatorChild::paint_lamps(QPainter& painter) {
    const Lamps lamps = lamps_of(sim_);
    const std::pair<QPoint, bool> all[] = {
        {kIoBreakLamp, lamps.io_break},     {kIrqBreakLamp, lamps.irq_break},
        {kRunningLamp, lamps.running},      {kExceptionLamp, lamps.exception_handling},
        {kRomWriteLamp, lamps.rom_write},   {kServiceILamp, lamps.service_irq},
        {kServiceXLamp, lamps.service_xirq}};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (const auto& [centre, on] : all) {
        const qreal r = kLampDiameter / 2.0;
        const QRectF disc(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
        painter.setBrush(on ? QColor(255, 0, 0) : QColor(150, 150, 150));
        painter.drawEllipse(disc);
        // A little shine on top, so the lamps read as lamps.
        painter.setBrush(QColor(255, 255, 255, on ? 110 : 70));
        painter.drawEllipse(QRectF(centre.x() - r / 2, centre.y() - r + 2, r, r / 1.6));
    }
    painter.restore();
}

void KivSimulatorChild::paint_disassembly(QPainter& painter) {
    const int ascent = painter.fontMetrics().ascent();
    for (int line = 0; line < DisassemblyPane::kLines; ++line) {
        const LineColours colours = disassembly_.colours(line);
        const QRect rect = line_rect(line);
        painter.fillRect(rect, colour_of(colours.background));
        painter.setPen(colour_of(colours.text));
        painter.drawText(rect.left(), rect.top() + ascent,
                         QString::fromStdString(disassembly_.text(line)));
    }
}

void KivSimulatorChild::paint_stack(QPainter& painter) {
    const int ascent = painter.fontMetrics().ascent();
    painter.setPen(QColor(20, 30, 60));
    for (int line = 0; line < StackPane::kLines; ++line)
        painter.drawText(kStackTextX, kStackLinesY + line * line_height_ + ascent,
                         QString::fromStdString(stack_.line_text(line)));
    // The arrow: a 10-pixel shaft with two 6-pixel barbs, red when SP moved.
    const int y = kStackLinesY + stack_.arrow_line() * line_height_ + line_height_ / 2;
    const int tip = kStackArrowX + 14;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(stack_.arrow_changed() ? QColor(255, 0, 0) : QColor(255, 255, 255), 2.5,
                        Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(tip - 10, y, tip, y);
    painter.drawLine(QPointF(tip, y), QPointF(tip - 4.2, y - 4.2));
    painter.drawLine(QPointF(tip, y), QPointF(tip - 4.2, y + 4.2));
    painter.restore();
    stack_.painted();
}

} // namespace torva
