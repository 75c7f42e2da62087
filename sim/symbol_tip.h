// The editor's tooltip over a symbol while the simulator is halted: its
// value in hex and decimal and, for a label of data, the bytes there as the
// memory pane reads them (no device register is read).
#pragma once

#include <cstdint>
#include <string>

namespace torva {

class MemoryMap;
struct DebugMap;
struct DebugMapSymbol;

// Bytes shown for a label of data.
inline constexpr int kSymbolTipBytes = 8;

// A label of data: reserved storage, whose address the map gives no bytes,
// or a label on a line of data directives (data_line: FCB, FCC, DC.B, ...,
// as the defining line's text tells).
bool is_data_label(const DebugMap& map, const DebugMapSymbol& symbol, bool data_line);

// "NAME = $HHHH (D)"; for data a second line "$HHHH: bytes  characters",
// "??" for a byte that cannot be read without disturbing a device.
std::string symbol_tip(const DebugMapSymbol& symbol, bool data, const MemoryMap& memory);

} // namespace torva
