// Finding the GNU oracles (m68hc11-as, -ld, -objcopy, -objdump): a test whose
// oracle is missing is skipped, or fails where TORVA_REQUIRE_ORACLES=1 asks
// for them (CI must not pass with the comparisons silently left out).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>

namespace torva::test {

// The first of the tools that does not answer --version, or "" when all do.
inline std::string missing_oracle(std::initializer_list<std::string_view> tools) {
    for (std::string_view tool : tools) {
        const std::string command = std::string(tool) + " --version > /dev/null 2>&1";
        if (std::system(command.c_str()) != 0) return std::string(tool);
    }
    return {};
}

inline bool oracles_required() {
    const char* value = std::getenv("TORVA_REQUIRE_ORACLES");
    return value != nullptr && std::string_view(value) == "1";
}

} // namespace torva::test

// Leaves the test (skipped or failed, see above) unless every tool is present.
#define TORVA_REQUIRE_ORACLE(...)                                                                  \
    do {                                                                                           \
        if (const std::string missing = ::torva::test::missing_oracle({__VA_ARGS__});              \
            !missing.empty()) {                                                                    \
            if (::torva::test::oracles_required())                                                 \
                FAIL() << missing << " is not installed (TORVA_REQUIRE_ORACLES=1)";                \
            GTEST_SKIP() << missing << " is not installed";                                        \
        }                                                                                          \
    } while (false)
