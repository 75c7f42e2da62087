// Per-source-file settings in QSettings("Vardel", "TORVA6_RT12"), one group
// a file, named by its percent-encoded path (a path's slashes would make
// groups of their own).
#include "app/source_settings.h"

#include <QSettings>
#include <QUrl>

namespace torva {
namespace {

QString key(const std::string& path, SourceSetting which) {
    const QByteArray name = QUrl::toPercentEncoding(QString::fromStdString(path));
    return QStringLiteral("Sources/") + QString::fromLatin1(name) +
           (which == SourceSetting::kBreakpoints ? QStringLiteral("/Breakpoints")
                                                 : QStringLiteral("/WatchRows"));
}

QSettings store() {
    return QSettings(QStringLiteral("Vardel"), QStringLiteral("TORVA6_RT12"));
}

} // namespace

std::optional<std::string> stored_source_setting(const std::string& path, SourceSetting which) {
    const QVariant value = store().value(key(path, which));
    // Only text is ours; anything else in the store is left unread.
    if (!value.isValid() || value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString().toStdString();
}

void store_source_setting(const std::string& path, SourceSetting which, const std::string& text) {
    QSettings settings = store();
    if (text.empty())
        settings.remove(key(path, which));
    else
        settings.setValue(key(path, which), QString::fromStdString(text));
}

} // namespace torva
