// Recent-files list: the move-to-front rule and its settings values.
#include "shell/recent_files.h"

#include <QSettings>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace torva {
namespace {

QSettings settings_store() {
    return QSettings(QStringLiteral("Vardel"), QStringLiteral("TORVA6_RT12"));
}

QString value_name(int slot) {
    return QStringLiteral("MRU%1").arg(slot);
}

} // namespace

std::string RecentFiles::normalise(const std::string& path) {
    std::string slashed = path;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    if (slashed.empty()) return slashed;
    return std::filesystem::path(slashed).lexically_normal().generic_string();
}

bool RecentFiles::same_file(const std::string& a, const std::string& b) {
#if defined(_WIN32) || defined(__APPLE__)
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
#else
    // Letter case tells files apart here: "Main.asm" and "main.asm" are two.
    return a == b;
#endif
}

std::string RecentFiles::menu_text(const std::string& path) {
    if (path.size() <= kMenuWidth) return path;
    const size_t name_cut = path.rfind('/');
    if (name_cut == std::string::npos || name_cut == 0) return path; // no directory to leave out
    const std::string name = path.substr(name_cut);                  // "/name"
    // The head: the root and the first directory ("/home/", "C:/"), unless
    // that alone leaves no room.
    const size_t head_end = path.find('/', path.front() == '/' ? 1 : 0);
    std::string head = head_end < name_cut ? path.substr(0, head_end + 1) : "";
    if (head.size() + 3 + name.size() > kMenuWidth) head.clear();
    // Then whole directories from the end, while they fit.
    std::string tail = name;
    size_t cut = name_cut;
    while (true) {
        const size_t before = path.rfind('/', cut - 1);
        if (before == std::string::npos || before <= head_end) break;
        std::string longer = path.substr(before, cut - before) + tail;
        if (head.size() + 3 + longer.size() > kMenuWidth) break;
        tail = std::move(longer);
        cut = before;
    }
    return head + "..." + tail;
}

void RecentFiles::add(const std::string& path) {
    const std::string entry = normalise(path);
    if (entry.empty()) return;
    int found = kSlots - 1; // none equal: the last slot drops out
    for (int i = 0; i < kSlots; ++i) {
        if (!slots_[i].empty() && same_file(slots_[i], entry)) {
            if (i == 0) return;
            found = i;
            break;
        }
    }
    std::move_backward(slots_.begin(), slots_.begin() + found, slots_.begin() + found + 1);
    slots_[0] = entry;
}

void RecentFiles::load() {
    const QSettings settings = settings_store();
    for (int i = 0; i < kSlots; ++i)
        slots_[i] = settings.value(value_name(i)).toString().toStdString();
}

void RecentFiles::store() const {
    QSettings settings = settings_store();
    for (int i = 0; i < kSlots; ++i)
        if (!slots_[i].empty()) settings.setValue(value_name(i), QString::fromStdString(slots_[i]));
    settings.sync();
}

std::optional<std::string> RecentFiles::at(int slot) const {
    if (slot < 0 || slot >= kSlots || slots_[slot].empty()) return std::nullopt;
    return slots_[slot];
}

int RecentFiles::filled() const {
    return static_cast<int>(std::count_if(slots_.begin(), slots_.end(),
                                          [](const std::string& s) { return !s.empty(); }));
}

} // namespace torva
