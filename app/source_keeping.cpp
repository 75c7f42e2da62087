// Breakpoints by source line between the editor, the breakpoint table and
// the settings store.
#include "app/source_keeping.h"

#include "app/source_marks.h"
#include "app/source_settings.h"
#include "sim/simulator.h"

namespace torva {

void SourceKeeping::program_loaded() {
    // The margins drawn from the last build have moved with the edits
    // since: their lines are the breakpoints' lines now.
    std::vector<std::string> changed;
    for (auto& [path, lines] : marks_.margin_breakpoints())
        if (breakpoints_.set_lines(path, std::move(lines))) changed.push_back(path);
    store(changed);
    const auto map = sim_.load_file().debug_map;
    if (!map) return;
    const std::string& load_file = sim_.load_file().load_file_path;
    // A file met for the first time in this run brings what an earlier run
    // stored for it.
    for (size_t file = 0; file < map->files.size(); ++file) {
        const std::string path = debug_map_source_path(*map, int(file), load_file);
        if (breakpoints_.knows(path)) continue;
        if (const auto text = stored_source_setting(path, SourceSetting::kBreakpoints))
            breakpoints_.set_lines(path, parse_line_breakpoints(*text));
    }
    breakpoints_.place(*map, load_file, sim_.breakpoints());
    // Lines that landed on a later line with code are kept where they landed.
    breakpoints_changed();
}

void SourceKeeping::breakpoints_changed() {
    if (const auto map = sim_.load_file().debug_map)
        store(breakpoints_.take_from_table(*map, sim_.load_file().load_file_path,
                                           sim_.breakpoints()));
    marks_.show_breakpoints();
}

void SourceKeeping::store(const std::vector<std::string>& paths) const {
    for (const std::string& path : paths)
        store_source_setting(path, SourceSetting::kBreakpoints,
                             format_line_breakpoints(breakpoints_.lines(path)));
}

} // namespace torva
