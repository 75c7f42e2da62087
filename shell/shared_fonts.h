// The fixed-pitch fonts the windows share, and the character cell measured
// from the screen font.
#pragma once

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

// Creates the fonts for a device (its vertical dots per inch convert points),
// falling back to the platform's fixed-pitch family where a face is missing.
SharedFonts create_shared_fonts(const QPaintDevice& device);

} // namespace torva
