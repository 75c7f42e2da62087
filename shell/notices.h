// The version text, the ownership notices and the usage terms that the splash
// and the about box show.
#pragma once

#include "torva/version.h"

#include <array>
#include <string>

namespace torva {

inline constexpr const char* kVersionFormat = "VERSION %s, RELEASE DATE %s";
inline constexpr const char* kVersion = kProgramVersion;
inline constexpr const char* kReleaseDate = "1 November, 2017";

inline std::string version_text() {
    return std::string("VERSION ") + kVersion + ", RELEASE DATE " + kReleaseDate;
}

inline constexpr std::array<const char*, 5> kFeatureLines = {
    "TORVA 6 for RT12",
    " * Integrated Development Environment",
    " * Assembler",
    " * Single board computer Simulator",
    " * Peripheral device Input-/Output simulator",
};

inline constexpr std::array<const char*, 4> kNoticeLines = {
    "TORVA 6 for RT12 Copyright (C) Vardel",
    "Scintilla Copyright (C) Neil Hodgson",
    "QScintilla Copyright (C) Riverbank Computing Ltd",
    "Qt Copyright (C) The Qt Company Ltd",
};

inline constexpr std::array<const char*, 2> kUsageTermsLines = {
    "Free for teaching, learning and hobby use with the RT12 board.",
    "Provided as is, without warranty of any kind.",
};

} // namespace torva
