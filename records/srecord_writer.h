// Motorola S-record lines: data records and end records with the type chosen
// by the width of the address, upper-case digits and a correct checksum.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace torva {

// Number of address digits of a record type ('0'..'9'): 4, 6 or 8; 0 for a
// type without an address field of its own (S4, S6 or a non-digit).
int srecord_address_digits(char type);

// One record "S<type><count><address><data><checksum>" without a line end.
// The address is cut to the type's width.
std::string srecord_line(char type, uint32_t address, std::span<const uint8_t> data);

// A data record: S1 for addresses up to $FFFF, S2 up to $FFFFFF, S3 above.
std::string srecord_data(uint32_t address, std::span<const uint8_t> data);
// The same record appended to `out`, with its line end: a large reservation
// writes hundreds of thousands of records, each without a string of its own.
void append_srecord_data(std::string& out, uint32_t address, std::span<const uint8_t> data);
// `records` data records of `count` zero bytes each, the first at
// `address` and each next one where the last ends, appended as
// append_srecord_data would, without a buffer of zeros: reservations of
// megabytes are written this way.
void append_srecord_zeros(std::string& out, uint32_t address, size_t count, size_t records);

// An end record carrying the start address: S9, S8 or S7 by its width.
std::string srecord_end(uint32_t start_address);

} // namespace torva
