// Reading S-record files into simulated memory.
#include "sim/srecord_loader.h"

#include "io/memory_map.h"
#include "records/srecord_fields.h"
#include "records/text_lines.h"

#include <cstdio>
#include <fstream>

namespace torva {

namespace {

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
        const SrecordFields fields = srecord_fields(raw);
        // Blank lines carry nothing; any other line must be a record.
        if (fields.kind == SrecordFields::Kind::kBlank) continue;
        if (fields.kind == SrecordFields::Kind::kMalformed || reader.cut()) {
            error = true;
            break;
        }
        bool end = false;
        switch (fields.type) {
        case '0': continue;
        case '1':
        case '2':
        case '3':
            if (fields.address)
                address = *fields.address;
            else
                error = true;
            break;
        case '7':
        case '8':
        case '9':
            if (fields.address) state.load_start_address = *fields.address;
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

        for (const uint8_t byte : fields.data) {
            if (address >= 0x8000 && address <= 0xBFFF) memory.set_ppage(0);
            if (!memory.writable(address) || memory.mem_write_byte(address, byte) != 0) {
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
