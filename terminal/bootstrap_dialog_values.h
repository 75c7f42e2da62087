// The controls of the bootstrap dialog "BOOTSTRAPPER" as data, and how
// its fields are read and shown.
#pragma once

#include "terminal/bootstrap.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace torva::bootstrap_dialog {

inline constexpr int kStart = 1;  // "OK": start the download(s)
inline constexpr int kReturn = 2; // "&Return": close the dialog
inline constexpr int kBrowseBootstrapper = 2010;
inline constexpr int kBrowseApplication = 2011;
inline constexpr int kBootstrapperOptions = 2012;
inline constexpr int kApplicationOptions = 2013;
inline constexpr int kSize192 = 2014;
inline constexpr int kSize256 = 2015;
inline constexpr int kSizeFile = 2016;
inline constexpr int kSizeOther = 2017;
inline constexpr int kOtherSize = 2018; // decimal
inline constexpr int kOffset = 2019;    // hexadecimal
inline constexpr int kBootstrapperPath = 2020;
inline constexpr int kApplicationPath = 2021;
inline constexpr int kProgressStage = 2022;
inline constexpr int kProgressCount = 2023;
inline constexpr int kProgressLabel = 2024;
inline constexpr int kLoadApplication = 2025;
inline constexpr int kLeadingFf = 2026;
inline constexpr int kApplicationDelay = 2027; // decimal

// The paths fields show are shortened to this many characters.
inline constexpr size_t kPathShown = 38;

// The titles of the serial settings dialog for the two stages.
inline constexpr char kBootstrapperOptionsTitle[] = "Binary download Preferences";
inline constexpr char kApplicationOptionsTitle[] = "Application download Preferences";

// The size button a size checks: 0 "File size", 192 and 256 their own,
// anything else "Other".
int size_button(uint32_t size);
// The size the checked button and the "Other" field give (an unreadable
// number gives 0).
uint32_t size_from(int button, std::string_view other);

// The offset as the field shows it: hexadecimal with at least two digits.
std::string offset_text(int32_t offset);
// An optional minus sign, an optional "0x" or "0X" and hexadecimal digits,
// ended by the end, a space, a control character or ":". None for any
// other character, or a value beyond 32 bits.
std::optional<int32_t> parse_offset(std::string_view text);
// A decimal number; whatever cannot be read gives 0.
int32_t parse_decimal(std::string_view text);

} // namespace torva::bootstrap_dialog
