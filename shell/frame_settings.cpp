// Frame and help window geometry, toolbar visibility and the assembler's
// dialect in QSettings("Vardel", "TORVA6_RT12").
#include "shell/frame_settings.h"

#include <QMainWindow>
#include <QSettings>

namespace torva {
namespace {

constexpr const char* kGeometryKey = "FrameGeometry";
constexpr const char* kToolbarKey = "ToolBar";
constexpr const char* kOtherSyntaxKey = "AcceptOtherSyntax";
constexpr const char* kHelpGeometryKey = "HelpGeometry";
constexpr const char* kHelpSplitterKey = "HelpSplitter";

QSettings store() {
    return QSettings(QStringLiteral("Vardel"), QStringLiteral("TORVA6_RT12"));
}

} // namespace

void store_frame_geometry(const QMainWindow& frame) {
    store().setValue(QLatin1String(kGeometryKey), frame.saveGeometry());
}

bool restore_frame_geometry(QMainWindow& frame) {
    const QByteArray geometry = store().value(QLatin1String(kGeometryKey)).toByteArray();
    return !geometry.isEmpty() && frame.restoreGeometry(geometry);
}

void store_toolbar_visible(bool visible) {
    store().setValue(QLatin1String(kToolbarKey), visible);
}

bool toolbar_visible() {
    return store().value(QLatin1String(kToolbarKey), true).toBool();
}

void store_accept_other_syntax(bool on) {
    store().setValue(QLatin1String(kOtherSyntaxKey), on);
}

bool accept_other_syntax() {
    return store().value(QLatin1String(kOtherSyntaxKey), false).toBool();
}

void store_help_window_layout(const QByteArray& geometry, const QByteArray& splitter) {
    QSettings settings = store();
    settings.setValue(QLatin1String(kHelpGeometryKey), geometry);
    settings.setValue(QLatin1String(kHelpSplitterKey), splitter);
}

QByteArray help_window_geometry() {
    return store().value(QLatin1String(kHelpGeometryKey)).toByteArray();
}

QByteArray help_splitter_state() {
    return store().value(QLatin1String(kHelpSplitterKey)).toByteArray();
}

} // namespace torva
