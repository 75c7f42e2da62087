// Breakpoints by source line between the editor, the breakpoint table and
// the settings store, and the Watch rows of the loaded program's source.
#include "app/source_keeping.h"

#include "app/source_marks.h"
#include "app/source_settings.h"
#include "sim/gui/watch_window.h"
#include "sim/simulator.h"
#include "sim/watch_rows_text.h"

namespace torva {

void SourceKeeping::program_loaded() {
    // The margins drawn from the last build have moved with the edits
    // since: their lines are the breakpoints' lines now.
    std::vector<std::string> changed;
    for (auto& [path, lines] : marks_.margin_breakpoints())
        if (breakpoints_.set_lines(path, std::move(lines))) changed.push_back(path);
    store(changed);
    switch_watch_file();
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

void SourceKeeping::keep_watch_rows(WatchWindow& window) {
    watch_window_ = &window;
    QObject::connect(&window, &WatchWindow::rows_changed, &window, [this] { store_watch_rows(); });
    if (watch_file_.empty()) return;
    rows_owned_ = true;
    const auto text = stored_source_setting(watch_file_, SourceSetting::kWatchRows);
    window.replace_rows(parse_watch_rows(text.value_or("")));
}

void SourceKeeping::switch_watch_file() {
    const auto map = sim_.load_file().debug_map;
    const std::string file = map && !map->files.empty()
                                 ? debug_map_source_path(*map, 0, sim_.load_file().load_file_path)
                                 : std::string();
    if (file == watch_file_) return;
    watch_file_ = file;
    if (watch_file_.empty() || watch_window_ == nullptr) return;
    const auto text = stored_source_setting(watch_file_, SourceSetting::kWatchRows);
    const bool first_owner = !rows_owned_;
    rows_owned_ = true;
    // Rows typed before any program with a map was loaded go with the first.
    if (!text && first_owner) {
        store_watch_rows();
        return;
    }
    watch_window_->replace_rows(parse_watch_rows(text.value_or("")));
}

void SourceKeeping::store_watch_rows() const {
    if (watch_file_.empty() || watch_window_ == nullptr) return;
    store_source_setting(watch_file_, SourceSetting::kWatchRows,
                         format_watch_rows(watch_window_->rows().rows()));
}

void SourceKeeping::store(const std::vector<std::string>& paths) const {
    for (const std::string& path : paths)
        store_source_setting(path, SourceSetting::kBreakpoints,
                             format_line_breakpoints(breakpoints_.lines(path)));
}

} // namespace torva
