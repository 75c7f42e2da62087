// The running program's directory, through the link the system keeps to it.
#include "tools/program_directory.h"

namespace torva {

std::filesystem::path program_directory(const char* argv0) {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) return self.parent_path();
    return std::filesystem::absolute(argv0 != nullptr ? argv0 : "", ec).parent_path();
}

} // namespace torva
