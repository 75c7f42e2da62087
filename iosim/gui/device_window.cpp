// Repaint timing, title and user close of every device window.
#include "iosim/gui/device_window.h"

#include "iosim/device_types.h"
#include "iosim/gui/device_painting.h"

#include <QCloseEvent>
#include <QPainter>

namespace torva {

DeviceWindow::DeviceWindow(Device& device, QWidget* owner)
    : QWidget(owner, Qt::Tool), device_(&device) {
    setWindowTitle(title_for(device));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    timer_.setInterval(kRepaintInterval);
    connect(&timer_, &QTimer::timeout, this, &DeviceWindow::refresh);
}

QString DeviceWindow::title_for(const Device& device) {
    const DeviceTypeInfo* info = find_device_type(int32_t(device.type()));
    const QString name = info != nullptr
                             ? QString::fromLatin1(info->name.data(), qsizetype(info->name.size()))
                             : QStringLiteral("Device");
    return name + QLatin1Char(' ') + QString::fromStdString(device.address_text());
}

void DeviceWindow::detach() {
    device_ = nullptr;
    timer_.stop();
}

void DeviceWindow::refresh() {
    if (device_ == nullptr) return;
    if (device_->change_count() == painted_changes_ && !animating()) return;
    model_changed();
    update();
}

void DeviceWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette_colour::kPanel);
    if (device_ == nullptr) return;
    painted_changes_ = device_->change_count();
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
}

void DeviceWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    timer_.stop();
    if (device_ != nullptr && on_close_) on_close_();
}

void DeviceWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (device_ != nullptr) timer_.start();
}

void DeviceWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    timer_.stop();
}

} // namespace torva
