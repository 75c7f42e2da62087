// A child window that downloads a load file to the board (the terminal):
// the frame's Load and Reload hand it the path.
#pragma once

#include <string>

namespace torva {

class DownloadTarget {
public:
    virtual ~DownloadTarget() = default;
    virtual void download(const std::string& path) = 0;
};

} // namespace torva
