// Frame geometry, toolbar visibility and the assembler's dialect in
// QSettings("Vardel", "TORVA6_RT12").
#include "shell/frame_settings.h"

#include <QMainWindow>
#include <QSettings>

namespace torva {
namespace {

constexpr const char* kGeometryKey = "FrameGeometry";
constexpr const char* kToolbarKey = "ToolBar";
constexpr const char* kOtherSyntaxKey = "AcceptOtherSyntax";

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

} // namespace torva
