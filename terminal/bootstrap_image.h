// The bootstrap's byte image: the data bytes of the bootstrapper's S-record
// file placed by their address less the offset, and the counts of the
// bytes that did not fit.
#pragma once

#include <cstdint>
#include <istream>
#include <vector>

namespace torva {

// The image has room for this many bytes; a byte whose place lies at or
// beyond it is neither kept nor sent, whatever size was asked for.
inline constexpr uint32_t kBootstrapImageSize = 4192;

struct BootstrapImage {
    // The bytes to send, from place 0 on: size bytes when a size was given,
    // else as many as the file has data bytes; at most the image's room.
    // Places no data byte reached hold 0.
    std::vector<uint8_t> bytes;
    long total = 0; // data bytes read
    long omitted_by_offset = 0;
    // Places at or beyond the size asked for or the image's room.
    long omitted_by_size = 0;
    // A line that is no record, a record of a type other than 0 to 3, 7 to
    // 9 and "X", or a data record without a hexadecimal address.
    bool corrupt = false;
};

// Reads the bootstrapper file until an end record (S7, S8, S9) or an "SX"
// line. A byte at address a goes to place a - offset; size 0 means the
// file's own size. Data bytes are every pair but the checksum, also on a
// last line without a line end.
BootstrapImage build_bootstrap_image(std::istream& file, uint32_t size, int32_t offset);

} // namespace torva
