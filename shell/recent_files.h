// The six most recently opened files, slot 0 the newest, kept in the per-user
// settings store as the values MRU0 to MRU5.
#pragma once

#include <array>
#include <optional>
#include <string>

namespace torva {

class RecentFiles {
public:
    static constexpr int kSlots = 6;

    // Puts path (normalised) into slot 0; an entry for the same file moves
    // up instead of appearing twice, and the oldest entry drops out.
    void add(const std::string& path);
    // Reads the six values; a missing or empty value gives an empty slot.
    void load();
    // Writes every filled slot; empty slots leave older values in place.
    void store() const;
    // The path in slot i, or none for an empty or invalid slot.
    std::optional<std::string> at(int slot) const;
    int filled() const;

    // The stored form of a path: "." and ".." resolved, "\" turned into "/".
    static std::string normalise(const std::string& path);
    // Whether two normalised paths name the same file on this platform.
    static bool same_file(const std::string& a, const std::string& b);

    // How a stored path shows in the menu: whole up to kMenuWidth
    // characters; a longer one keeps its first directory, "...", and as many
    // of its last directories as fit, and always the whole file name.
    static constexpr size_t kMenuWidth = 64;
    static std::string menu_text(const std::string& path);

private:
    std::array<std::string, kSlots> slots_;
};

} // namespace torva
