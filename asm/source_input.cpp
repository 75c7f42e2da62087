// The file stack and the line reader.
#include "asm/source_input.h"

#include "asm/letter_case.h"
#include "asm/messages.h"
#include "asm/session.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace torva {

namespace {

constexpr size_t kMaxFileName = 256;
// Bytes a line may have with its line end before it is split.
constexpr size_t kMaxLineBytes = kLineBufferSize - 1;

// Backslashes become slashes and doubled slashes collapse, so names written
// for another platform still compare equal.
std::string normalise(std::string name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (c == '\\') c = '/';
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out.push_back(c);
    }
    return out;
}

bool read_file(const std::string& path, std::string& text) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    text.clear();
    // One read into a buffer of the file's size; a file that grows
    // meanwhile is read on in pieces.
    long size = 0;
    if (std::fseek(f, 0, SEEK_END) == 0 && (size = std::ftell(f)) > 0) text.resize(size_t(size));
    std::rewind(f);
    const size_t got = text.empty() ? 0 : std::fread(text.data(), 1, text.size(), f);
    text.resize(got);
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        text.append(chunk, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    if (!ok) return false;
    // Line ends as the platforms write them: CR LF, LF, and a lone CR (older
    // Macintosh editors), all read as one LF.
    if (text.find('\r') != std::string::npos) {
        std::string out;
        out.reserve(text.size());
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\r')
                out.push_back(text[i]);
            else if (i + 1 == text.size() || text[i + 1] != '\n')
                out.push_back('\n');
        }
        text.swap(out);
    }
    return true;
}

std::string identity_of(const std::string& path) {
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return ec ? normalise(path) : canonical.generic_string();
}

std::string join(const std::string& dir, const std::string& name) {
    return dir.empty() ? name : dir + "/" + name;
}

// A file in the directory of `path` whose name equals path's last component
// without regard to case; "" when there is none.
std::string case_blind_match(const std::string& path) {
    const fs::path wanted(path);
    const std::string name = wanted.filename().string();
    const std::string dir = wanted.parent_path().string();
    std::error_code ec;
    for (fs::directory_iterator it(dir.empty() ? "." : dir, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string candidate = it->path().filename().string();
        if (equal_nocase(candidate, name)) return join(dir, candidate);
    }
    return {};
}

// The last component of a name written for any platform: "C:\dir\x.inc"
// gives "x.inc".
std::string base_name(const std::string& name) {
    const std::string slashed = normalise(name);
    const size_t cut = slashed.find_last_of("/:");
    return cut == std::string::npos ? slashed : slashed.substr(cut + 1);
}

} // namespace

namespace {
// Tries the places a name is searched in; with `case_blind` a file whose
// name differs only in case is taken where the exact name is missing.
OpenResult search_and_open(AsmSession& s, const std::string& name, bool case_blind) {
    const std::string wanted = normalise(name);
    for (const FileFrame& f : s.files) {
        if (equal_nocase(normalise(f.path), wanted)) {
            report(s, Msg::FileRecursion);
            return OpenResult::Recursion;
        }
    }
    std::vector<std::string> candidates;
    if (name.size() > 1 && name[1] == ':') {
        candidates.push_back(name);
    } else {
        candidates.push_back(name);
        if (!s.current_file.empty())
            candidates.push_back(join(fs::path(s.current_file).parent_path().string(), name));
        candidates.push_back(join(s.start_dir, name));
        for (const std::string& dir : s.include_dirs) {
            if (!dir.empty() && dir[0] == '.')
                candidates.push_back(join(join(s.program_dir, dir), name));
            else
                candidates.push_back(join(dir, name));
        }
    }
    for (std::string path : candidates) {
        if (case_blind) {
            path = case_blind_match(path);
            if (path.empty()) continue;
        }
        FileFrame frame;
        // Pass 2 reads the same files again: take them from memory.
        const auto cached = std::find_if(s.file_cache.begin(), s.file_cache.end(),
                                         [&path](const CachedFile& f) { return f.path == path; });
        if (cached != s.file_cache.end()) {
            frame.text = cached->text;
            frame.identity = cached->identity;
        } else {
            auto text = std::make_shared<std::string>();
            if (!read_file(path, *text)) continue;
            frame.text = text;
            frame.identity = identity_of(path);
            if (s.pass == 0) s.file_cache.push_back({path, frame.identity, frame.text});
        }
        // A file reached again under another name would include itself for ever.
        for (const FileFrame& f : s.files) {
            if (f.identity == frame.identity) {
                report(s, Msg::FileRecursion);
                return OpenResult::Recursion;
            }
        }
        frame.path = path;
        if (!s.files.empty()) s.files.back().saved_line = s.file_line;
        s.file_line = 0;
        s.files.push_back(std::move(frame));
        s.current_file = path;
        return OpenResult::Opened;
    }
    return OpenResult::NotFound;
}
} // namespace

OpenResult open_source(AsmSession& s, const std::string& name) {
    if (name.size() > kMaxFileName) {
        report(s, Msg::FileNameTooLong, name.c_str());
        return OpenResult::NameTooLong;
    }
    OpenResult result = search_and_open(s, name, false);
    // Sources written where the directory separator is the backslash name
    // their includes "sub\x.inc"; such a name is tried once more with
    // slashes when it is not found as written.
    if (result == OpenResult::NotFound && name.find('\\') != std::string::npos)
        result = search_and_open(s, normalise(name), false);
    if (result != OpenResult::NotFound || !s.compat) return result;
    // Sources written for other assemblers name their includes with another
    // machine's directories ("C:\68HCS12\registers.inc") and in any case:
    // the name without regard to case, then its last component alone.
    result = search_and_open(s, normalise(name), true);
    const std::string base = base_name(name);
    if (result != OpenResult::NotFound || base == normalise(name) || base.empty()) return result;
    result = search_and_open(s, base, false);
    if (result != OpenResult::NotFound) return result;
    return search_and_open(s, base, true);
}

namespace {
// Pops the newest file; the older one's line counter and name come back.
void pop_file(AsmSession& s) {
    s.files.pop_back();
    if (s.files.empty()) return;
    s.file_line = s.files.back().saved_line;
    s.current_file = s.files.back().path;
    s.marker_pending = true;
}
} // namespace

bool read_line(AsmSession& s) {
    while (!s.files.empty()) {
        FileFrame& f = s.files.back();
        const std::string& text = *f.text;
        if (s.end_seen || f.pos >= text.size()) {
            pop_file(s);
            continue;
        }
        const size_t newline = text.find('\n', f.pos);
        const size_t end = newline == std::string::npos ? text.size() : newline + 1;
        const size_t length = end - f.pos;
        const bool too_long = length >= kMaxLineBytes;
        // A longer line is cut at the buffer's size and stays one line, so
        // line numbers remain those of the file. Its excess is never
        // assembled: the error below fails the run rather than let it pass
        // without those bytes.
        s.line.assign(text, f.pos, length > kMaxLineBytes ? kMaxLineBytes : length);
        f.pos = end;
        ++s.file_line;
        ++s.global_line;
        ++s.listing_line;
        if (too_long) report(s, Msg::LineTooLong);
        return true;
    }
    return false;
}

void close_all_sources(AsmSession& s) {
    s.files.clear();
}

} // namespace torva
