// Finding a submission's program, assembling it, and reading its labels.
#include "lab/submission.h"

#include "asm/session.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace torva::lab {
namespace {

std::string lower(std::string text) {
    std::ranges::transform(text, text.begin(),
                           [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

bool is_source(const fs::path& path) {
    const std::string ext = lower(path.extension().string());
    return ext == ".asm" || ext == ".s12";
}
bool is_load_file(const fs::path& path) {
    return lower(path.extension().string()) == ".s19";
}

std::string names_of(const std::vector<fs::path>& files) {
    std::string text;
    for (const fs::path& file : files)
        text += (text.empty() ? "" : ", ") + file.filename().string();
    return text;
}

std::string read_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Restores the current directory when it goes.
class DirectoryChange {
public:
    explicit DirectoryChange(const fs::path& to) {
        std::error_code ec;
        before_ = fs::current_path(ec);
        fs::current_path(to, ec);
    }
    ~DirectoryChange() {
        std::error_code ec;
        if (!before_.empty()) fs::current_path(before_, ec);
    }
    DirectoryChange(const DirectoryChange&) = delete;
    DirectoryChange& operator=(const DirectoryChange&) = delete;

private:
    fs::path before_;
};

} // namespace

std::optional<fs::path> find_program(const Lab& lab, const fs::path& submission, std::string& why) {
    std::error_code ec;
    if (fs::is_regular_file(submission, ec)) {
        if (is_source(submission) || is_load_file(submission)) return submission;
        why = "not a source (.asm, .s12) or load file (.s19)";
        return std::nullopt;
    }
    if (!fs::is_directory(submission, ec)) {
        why = "no such file or folder";
        return std::nullopt;
    }
    std::vector<fs::path> sources, load_files;
    for (const auto& entry : fs::directory_iterator(submission, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        const fs::path& path = entry.path();
        // The lab's program name wins, in any letter case (a student's
        // editor may have changed it).
        if (!lab.program.empty() && lower(path.filename().string()) == lower(lab.program))
            return path;
        if (is_source(path)) sources.push_back(path);
        if (is_load_file(path)) load_files.push_back(path);
    }
    std::ranges::sort(sources);
    std::ranges::sort(load_files);
    if (sources.size() == 1) return sources[0];
    if (sources.empty() && load_files.size() == 1) return load_files[0];
    const std::string wanted = lab.program.empty() ? "" : " (the lab asks for " + lab.program + ")";
    if (sources.size() > 1)
        why = "holds " + std::to_string(sources.size()) + " sources (" + names_of(sources) +
              "): which one is the program?" + wanted;
    else if (load_files.size() > 1)
        why = "holds " + std::to_string(load_files.size()) + " load files (" +
              names_of(load_files) + ") and no source" + wanted;
    else
        why = "holds no source (.asm, .s12) or load file (.s19)" + wanted;
    return std::nullopt;
}

std::optional<Symbols> listing_symbols(std::string_view listing) {
    constexpr std::string_view kHeading = "--\tSYMBOL TABLE:\n--\tVALUE\tSYMBOL ";
    const size_t heading = listing.rfind(kHeading);
    if (heading == std::string_view::npos) return std::nullopt;
    Symbols symbols;
    std::istringstream lines(std::string(listing.substr(heading + kHeading.size())));
    std::string line;
    while (std::getline(lines, line)) {
        // "\tHHHH\tNAME"
        if (line.size() < 3 || line[0] != '\t') continue;
        const size_t tab = line.find('\t', 1);
        if (tab == std::string::npos) continue;
        uint32_t value = 0;
        bool hex = tab > 1;
        for (size_t i = 1; i < tab && hex; ++i) {
            const char c = line[i];
            hex = std::isxdigit(static_cast<unsigned char>(c)) != 0;
            value =
                value * 16 + uint32_t(std::isdigit(static_cast<unsigned char>(c))
                                          ? c - '0'
                                          : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10);
        }
        std::string name = line.substr(tab + 1);
        while (!name.empty() && (name.back() == '\r' || name.back() == ' '))
            name.pop_back();
        if (hex && !name.empty()) symbols.emplace(std::move(name), value);
    }
    return symbols;
}

Program prepare_program(const Lab& lab, const fs::path& submission, const fs::path& work_dir,
                        const fs::path& program_dir) {
    Program program;
    program.submission = submission.string();
    const auto found = find_program(lab, submission, program.error);
    if (!found) return program;
    std::error_code ec;
    program.program = fs::absolute(*found, ec);
    if (is_load_file(program.program)) {
        if (!std::ifstream(program.program)) {
            program.error = "can't read " + program.program.string();
            return program;
        }
        program.load_file = program.program;
        // The labels come from the listing beside it, when it has a symbol table.
        fs::path listing = program.program;
        listing.replace_extension(".lst");
        program.symbols = listing_symbols(read_text(listing));
        program.state = Program::State::kReady;
        return program;
    }
    if (!std::ifstream(program.program)) {
        program.error = "can't read " + program.program.string();
        return program;
    }
    fs::create_directories(work_dir, ec);
    // The assembler runs in the work folder: every path it gets is absolute.
    const fs::path work = fs::absolute(work_dir, ec);
    const fs::path include = fs::absolute(program_dir, ec) / "../include/machine/rt12";
    AsmSession session;
    session.write_line = [&](std::string_view line) { program.messages.emplace_back(line); };
    session.fatal = [&](std::string_view text) {
        program.messages.push_back("FATAL ERROR: " + std::string(text));
    };
    session.program_dir = program_dir.string();
    const std::string line = " -L -w -S -I \"" + include.lexically_normal().string() + "\" \"" +
                             program.program.string() + "\"";
    int assembled;
    {
        const DirectoryChange into(work);
        assembled = asm_assemble(session, line);
    }
    if (assembled != 1) {
        program.state = Program::State::kNotAssembled;
        return program;
    }
    const std::string stem = program.program.stem().string();
    program.load_file = work / (stem + ".s19");
    program.symbols = listing_symbols(read_text(work / (stem + ".lst")));
    program.state = Program::State::kReady;
    return program;
}

} // namespace torva::lab
