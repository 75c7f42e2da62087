// Where everything sits on the simulator window's 500 x 466 picture: the
// labelled boxes, the lamps' centres, the text positions, the fields and
// buttons. Panes whose size follows the text font scale with its cell.
#pragma once

#include <QPoint>
#include <QRect>

#include <array>

namespace torva::sim_layout {

inline constexpr int kWidth = 500;
inline constexpr int kHeight = 466;
inline constexpr int kToolbarHeight = 28;

struct Box {
    QRect rect;
    const char* title;
};
inline constexpr Box kTargetBox{{2, 31, 126, 38}, "Target setup"};
inline constexpr Box kInterruptBox{{2, 72, 126, 64}, "Interrupts"};
inline constexpr Box kStatusBox{{2, 140, 112, 68}, "Status"};
inline constexpr Box kControlBox{{132, 31, 244, 105}, "Control"};
inline constexpr Box kStackBox{{2, 212, 112, 164}, "Stack"};
inline constexpr Box kProgramBox{{118, 140, 258, 236}, "Program"};
inline constexpr Box kRegisterBox{{380, 31, 118, 345}, "Registers"};
inline constexpr Box kMemoryBox{{2, 379, 496, 86}, nullptr};
inline constexpr std::array<Box, 8> kBoxes = {kTargetBox, kInterruptBox, kStatusBox,   kControlBox,
                                              kStackBox,  kProgramBox,   kRegisterBox, kMemoryBox};

// Lamps: filled circles of 14 pixels.
inline constexpr int kLampDiameter = 14;
inline constexpr QPoint kIoBreakLamp{17, 161};
inline constexpr QPoint kIrqBreakLamp{17, 178};
inline constexpr QPoint kRunningLamp{17, 195};
inline constexpr QPoint kExceptionLamp{188, 63};
inline constexpr QPoint kRomWriteLamp{188, 80};
inline constexpr QPoint kServiceILamp{89, 118};
inline constexpr QPoint kServiceXLamp{109, 118};

// Texts (top-left corners).
inline constexpr QPoint kTargetName{7, 51};
inline constexpr int kCyclesY = 97;
inline constexpr int kBytesY = 114;
inline constexpr int kCounterX = 176; // plus four character widths
inline constexpr QPoint kDisassemblyOrigin{123, 174};
inline constexpr int kStackLinesY = 244;
inline constexpr int kStackTextX = 30;
inline constexpr int kStackArrowX = 8;

// Buttons and fields.
inline constexpr QRect kActivateI{82, 97, 15, 12};
inline constexpr QRect kActivateX{102, 97, 15, 12};
inline constexpr QRect kExceptionButton{200, 56, 168, 15};
inline constexpr QRect kRomWriteButton{200, 73, 168, 15};
inline constexpr QRect kStepButton{318, 156, 52, 16};
inline constexpr QRect kApplyButton{398, 330, 84, 22};
inline constexpr QRect kMemButton{6, 382, 40, 16};
inline constexpr int kRegisterLabelX = 386;
inline constexpr int kRegisterFieldX = 420;
inline constexpr int kFirstRegisterY = 52;
inline constexpr int kCcrBitsY = 206;
inline constexpr int kCcrFieldY = 222;
inline constexpr int kCounterLabelX = 148;
// The counters' dark strip holds the widest count (ten digits of a 32-bit
// count, "%7.7d" for those that fit in seven); the "C" buttons follow it.
inline constexpr int kCounterDigits = 10;
constexpr QRect counter_strip(int char_width) {
    return {204, 95, 4 * char_width + kCounterX + kCounterDigits * char_width + 4 - 204, 36};
}
constexpr QRect clear_button(int counter_y, int char_width) {
    return {counter_strip(char_width).right() + 5, counter_y, 16, 15};
}
inline constexpr int kTitleBand = 14;
// The register fields' inner left margin, so labels line up with digits.
inline constexpr int kFieldMargin = 3;
inline constexpr int kRegisterRowStep = 30;
inline constexpr int kCellsX = 52;
inline constexpr int kCellWidth = 26;
inline constexpr int kHeadingsY = 383;
inline constexpr int kRowsY = 400;
inline constexpr int kRowHeight = 16;
inline constexpr QRect kMemoryScroll{474, 399, 16, 64};

} // namespace torva::sim_layout
