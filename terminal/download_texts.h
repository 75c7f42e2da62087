// The texts of the download and the bootstrap: message boxes, status bar
// texts, the bootstrap dialog's progress field and its result texts.
#pragma once

#include <string>

namespace torva {

namespace download_message {
inline constexpr char kCantOpen[] = "Can't open (load): %s";
inline constexpr char kIllegalEscape[] = "Illegal escape character '%c' in load command, ignored";
inline constexpr char kCantCreateThread[] = "Can't create thread.Operation aborted";
inline constexpr char kFileHasErrors[] = "The load file has errors in line %d. Download anyway?";
inline constexpr char kLoading[] = "Loading to target";
inline constexpr char kLoadingLine[] = "Loading to target: line %d of %d";
inline constexpr char kStoppedAfter[] = "The download stopped after %d of %d lines.";
} // namespace download_message

namespace bootstrap_message {
inline constexpr char kOmittedByOffset[] =
    "WARNING: %d bytes are omitted due to offset setting\rContinue?";
inline constexpr char kOmittedBySize[] =
    "WARNING: %d bytes are omitted due to size setting\rContinue?";
inline constexpr char kPrepareTarget[] = "Prepare target for binary download\rthen press OK";
inline constexpr char kPrepareTitle[] = "Bootstrapper";
inline constexpr char kIllegalOffset[] = "Illegal offset, ignored";
inline constexpr char kBinaryDownload[] = "Binary download, please wait";
inline constexpr char kBytesTransferred[] = "Bytes transferred:";
inline constexpr char kOptionalDelay[] = "Optional delay...";
inline constexpr char kApplicationDownload[] = "Downloading 'Application', please wait";
} // namespace bootstrap_message

// Fills the one %s, %c or %d of a message.
std::string message_with_text(const char* format, const std::string& text);
std::string message_with_char(const char* format, char character);
std::string message_with_count(const char* format, long number);
// "Loading to target: line n of m".
std::string loading_line_text(int line, int lines);
// "The download stopped after n of m lines."
std::string stopped_after_text(int lines_sent, int lines);

} // namespace torva
