// Formatting of S-record lines.
#include "records/srecord_writer.h"

#include <algorithm>

namespace torva {

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";

// Writes the byte's two digits at `at` and moves past them.
void put_hex_byte(char*& at, uint8_t byte) {
    *at++ = kHexDigits[byte >> 4];
    *at++ = kHexDigits[byte & 0x0F];
}

// The record type whose address field holds the address: the first of the
// three types (16, 24, 32 bits) wide enough.
char type_for_width(uint32_t address, char type16, char type24, char type32) {
    if (address <= 0xFFFF) return type16;
    if (address <= 0xFFFFFF) return type24;
    return type32;
}
} // namespace

int srecord_address_digits(char type) {
    switch (type) {
    case '0':
    case '1':
    case '5':
    case '9': return 4;
    case '2':
    case '8': return 6;
    case '3':
    case '7': return 8;
    default: return 0;
    }
}

namespace {

// Appends one record to `out` in place; `put_data` writes the digits of the
// data bytes at the pointer it is given and returns their sum.
template <typename PutData>
void append_srecord_line(std::string& out, char type, uint32_t address, size_t data_size,
                         PutData put_data) {
    const int address_bytes = std::max(srecord_address_digits(type), 4) / 2;
    // The count field is one byte: a longer record cannot be expressed.
    const size_t count = address_bytes + data_size + 1;
    const size_t start = out.size();
    out.resize(start + 4 + 2 * count);
    char* at = out.data() + start;
    *at++ = 'S';
    *at++ = type;
    put_hex_byte(at, uint8_t(count));
    unsigned sum = unsigned(count);
    for (int i = address_bytes - 1; i >= 0; --i) {
        const uint8_t byte = uint8_t(address >> (8 * i));
        put_hex_byte(at, byte);
        sum += byte;
    }
    sum += put_data(at);
    put_hex_byte(at, uint8_t(~sum));
}

void append_srecord_line(std::string& out, char type, uint32_t address,
                         std::span<const uint8_t> data) {
    append_srecord_line(out, type, address, data.size(), [data](char*& at) {
        unsigned sum = 0;
        for (uint8_t byte : data) {
            put_hex_byte(at, byte);
            sum += byte;
        }
        return sum;
    });
}

} // namespace

std::string srecord_line(char type, uint32_t address, std::span<const uint8_t> data) {
    std::string line;
    append_srecord_line(line, type, address, data);
    return line;
}

std::string srecord_data(uint32_t address, std::span<const uint8_t> data) {
    return srecord_line(type_for_width(address, '1', '2', '3'), address, data);
}

void append_srecord_data(std::string& out, uint32_t address, std::span<const uint8_t> data) {
    append_srecord_line(out, type_for_width(address, '1', '2', '3'), address, data);
    out += '\n';
}

void append_srecord_zeros(std::string& out, uint32_t address, size_t count, size_t records) {
    // Records of one width differ only in their address and checksum: the
    // first is formatted in full, the rest are copies with those patched.
    std::string line;
    for (size_t r = 0; r < records; ++r, address += uint32_t(count)) {
        const char type = type_for_width(address, '1', '2', '3');
        if (line.empty() || line[1] != type) {
            line.clear();
            append_srecord_line(line, type, address, count, [count](char*& at) {
                at = std::fill_n(at, 2 * count, '0');
                return 0u;
            });
            line += '\n';
        } else {
            const int address_bytes = srecord_address_digits(type) / 2;
            char* at = line.data() + 4;
            unsigned sum = unsigned(address_bytes + count + 1);
            for (int i = address_bytes - 1; i >= 0; --i) {
                const uint8_t byte = uint8_t(address >> (8 * i));
                put_hex_byte(at, byte);
                sum += byte;
            }
            at = line.data() + line.size() - 3;
            put_hex_byte(at, uint8_t(~sum));
        }
        out += line;
    }
}

std::string srecord_end(uint32_t start_address) {
    return srecord_line(type_for_width(start_address, '9', '8', '7'), start_address, {});
}

} // namespace torva
