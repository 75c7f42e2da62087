// A fuzz input as a program's arguments: the bytes split at zero bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace torva::test {

inline std::vector<std::string_view> fuzz_arguments(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> args;
    if (text.empty()) return args;
    size_t start = 0;
    for (size_t zero; (zero = text.find('\0', start)) != std::string_view::npos; start = zero + 1)
        args.push_back(text.substr(start, zero - start));
    args.push_back(text.substr(start));
    return args;
}

} // namespace torva::test
