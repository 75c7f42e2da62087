// Repaint timing, title and user close of every device window.
#include "iosim/gui/device_window.h"

#include "iosim/device_types.h"
#include "iosim/gui/device_painting.h"

#include <QCloseEvent>
#include <QPainter>

namespace torva {
namespace {

// The manual's section on each device type, opened by F1 in its window.
struct DeviceTopic {
    DeviceType type;
    const char* anchor;
};
constexpr const char* kPortsTopic = "devices-outport-type-1-hexdisplay-type-3-sevensegment-type-12";
constexpr DeviceTopic kDeviceTopics[] = {
    {DeviceType::kOutport, kPortsTopic},
    {DeviceType::kInport, "devices-inport-type-2"},
    {DeviceType::kHexDisplay, kPortsTopic},
    {DeviceType::kFlipFlop, "devices-flipflop-type-4"},
    {DeviceType::kPrinter, "devices-printer-type-5"},
    {DeviceType::kKeyboard, "devices-keyboard-type-6"},
    {DeviceType::kDisplay, "devices-display-type-7"},
    {DeviceType::kDoor, "devices-door-type-8"},
    {DeviceType::kDrill, "devices-drill-type-9"},
    {DeviceType::kSerial, "devices-serial-type-10"},
    {DeviceType::kInOutPort, "devices-inoutport-type-11"},
    {DeviceType::kSegmentDigit, kPortsTopic},
};

} // namespace

QString DeviceWindow::help_topic(DeviceType type) {
    for (const DeviceTopic& topic : kDeviceTopics)
        if (topic.type == type) return QString::fromLatin1(topic.anchor);
    return QStringLiteral("devices-device-windows");
}

DeviceWindow::DeviceWindow(Device& device, QWidget* owner)
    : QWidget(owner, Qt::Tool), device_(&device) {
    setWindowTitle(title_for(device));
    // F1 in this window opens the manual at this device's section.
    setProperty("helpTopic", help_topic(device.type()));
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
