// Test entry for window tests: one QApplication for the whole run, and a
// settings store in a fresh temporary directory so no test touches the
// user's own recent files.
#include "shell/startup.h"

#include "support/temp_dir.h"

#include <QApplication>
#include <QSettings>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    torva::init_shell_resources();
    const torva::test::TempDir settings_dir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString(settings_dir.path().string()));
    return RUN_ALL_TESTS();
}
