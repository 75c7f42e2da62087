// The drawing objects the windows share: fixed-pitch fonts, the character
// cell measured from the screen font, and four brushes.
#pragma once

#include <QBrush>
#include <QFont>

class QPaintDevice;

namespace torva {

struct SharedFonts {
    QFont screen; // "Courier" 10 pt: terminals; its cell is the shell's cell
    QFont cell;   // "Courier" at the line height: the Output window
    QFont large;  // "Courier New" 12 pt
    QFont small;  // "Courier New" 9 pt
    int char_width = 8;
    int line_height = 16;
};

// The four brushes every window may share: red, green, blue, light grey.
struct SharedBrushes {
    QBrush red{QColor(255, 0, 0)};
    QBrush green{QColor(0, 255, 0)};
    QBrush blue{QColor(0, 0, 255)};
    QBrush light_grey{QColor(224, 224, 224)};
};

// Creates the fonts for a device (its vertical dots per inch convert points),
// falling back to the platform's fixed-pitch family where a face is missing.
SharedFonts create_shared_fonts(const QPaintDevice& device);

} // namespace torva
