// Reading S-record files into simulated memory.
#include "sim/srecord_loader.h"

#include "io/memory_map.h"
#include "io/text_lines.h"
#include "sim/srecord_writer.h"

#include <cstdio>
#include <fstream>
#include <optional>

namespace torva {

namespace {

// The longest record (count 255: 4 + 510 digits) with room for trailing
// blanks; a longer line cannot be a record.
constexpr size_t kMaxRecordLine = 1024;

int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The value of `digits` hexadecimal digits at `pos`, or none when the line
// is too short or a character is not a digit.
std::optional<uint32_t> parse_hex(std::string_view line, size_t pos, size_t digits) {
    if (pos + digits > line.size()) return std::nullopt;
    uint32_t value = 0;
    for (size_t i = 0; i < digits; ++i) {
        const int d = hex_digit(line[pos + i]);
        if (d < 0) return std::nullopt;
        value = value << 4 | uint32_t(d);
    }
    return value;
}

// Restores ROM write enable on every way out of the loader.
class RomWriteEnableGuard {
public:
    explicit RomWriteEnableGuard(MemoryMap& memory)
        : memory_(memory), saved_(memory.rom_write_enable()) {
        memory_.set_rom_write_enable(true);
    }
    ~RomWriteEnableGuard() { memory_.set_rom_write_enable(saved_); }
    RomWriteEnableGuard(const RomWriteEnableGuard&) = delete;
    RomWriteEnableGuard& operator=(const RomWriteEnableGuard&) = delete;

private:
    MemoryMap& memory_;
    bool saved_;
};

std::string_view trim_line_end(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n' || line.back() == ' ' ||
                             line.back() == '\t'))
        line.remove_suffix(1);
    return line;
}

bool is_blank(std::string_view line) {
    return trim_line_end(line).empty();
}

} // namespace

std::string load_file_base_name(std::string_view path) {
    const size_t cut = path.find_last_of("/\\");
    return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

int load_srecord_file(const std::string& path, MemoryMap& memory, LoadFileState& state,
                      const TextSink& out) {
    std::ifstream file;
    if (!open_regular_file(path, file)) return kLoadCannotOpen;

    RomWriteEnableGuard rom_guard(memory);
    bool first_record = true;
    bool error = false;
    uint32_t address = 0;

    std::string raw;
    LineReader reader(file, kMaxRecordLine);
    while (reader.next(raw)) {
        const std::string_view line = trim_line_end(raw);
        // Blank lines carry nothing; any other line must be a record.
        if (is_blank(line)) continue;
        if (line[0] != 'S' || line.size() < 4 || reader.cut()) {
            error = true;
            break;
        }
        const char type = line[1];
        bool end = false;
        size_t data_start = 0;
        switch (type) {
        case '0': continue;
        case '1':
        case '2':
        case '3': {
            const size_t digits = srecord_address_digits(type);
            const auto parsed = parse_hex(line, 4, digits);
            if (parsed)
                address = *parsed;
            else
                error = true;
            data_start = 4 + digits;
            break;
        }
        case '7':
        case '8':
        case '9':
            if (const auto parsed = parse_hex(line, 4, srecord_address_digits(type)))
                state.load_start_address = *parsed;
            end = true;
            break;
        default: error = true; break;
        }
        // The first data record gives the start address; an end record seen
        // before any data record leaves it at 0.
        if (first_record) {
            state.load_start_address = address;
            first_record = false;
        }
        if (end || error) break;

        // Every pair but the last (the checksum) is a data byte; a pair that
        // is not hexadecimal ends the data of the line.
        for (size_t pos = data_start; pos + 4 <= line.size(); pos += 2) {
            const auto byte = parse_hex(line, pos, 2);
            if (!byte) break;
            if (address >= 0x8000 && address <= 0xBFFF) memory.set_ppage(0);
            if (!memory.writable(address) || memory.mem_write_byte(address, uint8_t(*byte)) != 0) {
                char text[64];
                std::snprintf(text, sizeof text, "VM: Can't write to simulator memory at 0x%08lX\n",
                              static_cast<unsigned long>(address));
                if (out) out(text);
                return kLoadError;
            }
            ++address;
        }
    }
    if (error) return kLoadError;

    std::error_code ec;
    const auto time = std::filesystem::last_write_time(state.load_file_path, ec);
    state.load_file_time = ec ? std::filesystem::file_time_type{} : time;
    state.load_file_base_name = load_file_base_name(state.load_file_path);
    return kLoadOk;
}

} // namespace torva
