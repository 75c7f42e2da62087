// Saves a picture of a window under <build dir>/screenshots/ for people to
// look at, and tells whether it holds more than a blank area.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace torva::test {

inline std::filesystem::path screenshot_dir() {
    const char* build = std::getenv("TORVA_BUILD_DIR");
    const std::filesystem::path dir =
        std::filesystem::path(build != nullptr ? build : ".") / "screenshots";
    std::filesystem::create_directories(dir);
    return dir;
}

// Grabs widget (children included) into screenshots/name; true when saved.
inline bool save_screenshot(QWidget& widget, const std::string& name) {
    const QString file = QString::fromStdString((screenshot_dir() / name).string());
    return widget.grab().save(file);
}

} // namespace torva::test
