// A device library and helpers to make a device's window, render it, read
// the colour at a point, send it mouse and key events and count its paints.
#pragma once

#include "iosim/gui/device_windows.h"
#include "iosim/io_simulator.h"
#include "support/screenshot.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <memory>

namespace torva::test {

// Counts the paint events a widget gets.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

class DeviceWindowFixture : public ::testing::Test {
public:
    static bool lit_red(const QColor& c) { return c.red() > 200 && c.green() < 110; }
    static bool lit_amber(const QColor& c) {
        return c.red() > 200 && c.green() > 150 && c.blue() < 120;
    }

protected:
    // Opens a device of the type and makes its window (not through the
    // window manager, which the library does not have here).
    template <typename Model>
    Model& open(DeviceType type, const char* address = "$400") {
        handle = library.OpenSim(int32_t(type), address, 0);
        Model* model = library.device_as<Model>(handle);
        EXPECT_NE(nullptr, model);
        window = make_device_window(*model, nullptr);
        EXPECT_NE(nullptr, window);
        return *model;
    }

    // The window as it paints now.
    QImage image() {
        window->refresh();
        return window->grab().toImage();
    }
    QColor colour_at(QPointF at) { return image().pixelColor(at.toPoint()); }

    void mouse(QEvent::Type type, QPointF at) {
        const bool press = type == QEvent::MouseButtonPress;
        QMouseEvent event(type, at, window->mapToGlobal(at), Qt::LeftButton,
                          press ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &event);
    }
    void click(QPointF at) {
        mouse(QEvent::MouseButtonPress, at);
        mouse(QEvent::MouseButtonRelease, at);
    }
    void key(QEvent::Type type, int key, const QString& text) {
        QKeyEvent event(type, key, Qt::NoModifier, text);
        QApplication::sendEvent(window.get(), &event);
    }
    void type_key(int key, const QString& text) {
        this->key(QEvent::KeyPress, key, text);
        this->key(QEvent::KeyRelease, key, text);
    }

    void screenshot(const std::string& type_name) {
        window->show();
        window->refresh();
        EXPECT_TRUE(save_screenshot(*window, "device_" + type_name + ".png"));
    }

    IoSimulator library;
    int32_t handle = -1;
    std::unique_ptr<DeviceWindow> window;
};

} // namespace torva::test
