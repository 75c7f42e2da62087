// The command numbers a terminal window handles, and those it sends.
#pragma once

namespace torva::terminal_cmd {

inline constexpr int kReload = 43009;   // to the frame: download the load file again
inline constexpr int kDownload = 43016; // asks for the load file, then download(path)
inline constexpr int kSettings = 43017;
inline constexpr int kClose = 43018;
inline constexpr int kBackground = 43101; // parameter: the colour as 0x00RRGGBB
inline constexpr int kRepaint = 43102;
inline constexpr int kStartLogging = 43126;
inline constexpr int kStopLogging = 43127;
inline constexpr int kStopDownload = 43128;
inline constexpr int kBootstrap = 43130;

// The range of ids a terminal window takes; it ignores the others.
inline constexpr int kFirst = 43016;
inline constexpr int kLast = 43130;

// The byte "Stop load" sends to the board.
inline constexpr unsigned char kStopByte = 0x04;

} // namespace torva::terminal_cmd
