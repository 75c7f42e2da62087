// Where the running program lives: the board's files are found beside its
// directory (<program dir>/../config/kiv12, <program dir>/../include/...).
#pragma once

#include <filesystem>

namespace torva {

// The directory of the running program's file; from argv0 when the system
// cannot tell.
std::filesystem::path program_directory(const char* argv0);

} // namespace torva
