// Shared fonts: fixed pitch, light weight, with fallbacks for missing faces.
#include "shell/shared_fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPaintDevice>

#include <algorithm>

namespace torva {
namespace {

QFont fixed_font(const QString& face, int pixel_height) {
    QFont font(face);
    font.setStyleHint(QFont::TypeWriter, QFont::PreferDefault);
    font.setFixedPitch(true);
    font.setWeight(QFont::Light); // weight 300
    font.setPixelSize(std::max(1, pixel_height));
    // A face that resolves to a proportional font is missing here: take the
    // platform's fixed-pitch family instead.
    if (!QFontInfo(font).fixedPitch()) {
        font.setFamily(QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    }
    return font;
}

int points_to_pixels(int points, int dpi) {
    return (points * dpi + 36) / 72;
}

} // namespace

SharedFonts create_shared_fonts(const QPaintDevice& device) {
    const int dpi = device.logicalDpiY() > 0 ? device.logicalDpiY() : 96;
    SharedFonts fonts;
    fonts.screen = fixed_font(QStringLiteral("Courier"), points_to_pixels(10, dpi));
    const QFontMetrics metrics(fonts.screen);
    fonts.char_width = std::max(1, metrics.averageCharWidth());
    fonts.line_height = std::max(1, metrics.height() + metrics.leading());
    // The cell font is asked for by cell height (character plus internal
    // leading) where Qt asks for character height: scale by the screen
    // font's own ratio.
    const int screen_pixels = fonts.screen.pixelSize();
    fonts.cell = fixed_font(QStringLiteral("Courier"),
                            fonts.line_height * screen_pixels / std::max(1, metrics.height()));
    fonts.large = fixed_font(QStringLiteral("Courier New"), points_to_pixels(12, dpi));
    fonts.small = fixed_font(QStringLiteral("Courier New"), points_to_pixels(9, dpi));
    return fonts;
}

} // namespace torva
