// The controls of the serial settings dialog "SETUPSERIAL" as data: each
// group's control ids with the value each stands for and its text, and the
// rules by which the settings become checked controls and back.
#pragma once

#include "terminal/terminal_settings.h"

#include <cstdint>
#include <span>
#include <string>

namespace torva::serial_dialog {

struct Choice {
    int id;
    uint32_t value;
    const char* text;
};

// Radio groups, in the order the dialog shows their buttons.
inline constexpr Choice kBaud[] = {
    {2000, 110, "110"},       {2001, 300, "300"},       {2002, 600, "600"},
    {2003, 1200, "1200"},     {2004, 2400, "2400"},     {2005, 4800, "4800"},
    {2006, 9600, "9600"},     {2007, 14400, "14400"},   {2008, 19200, "19200"},
    {2009, 38400, "38400"},   {2010, 56000, "56000"},   {2011, 57600, "57600"},
    {2012, 115200, "115200"}, {2013, 128000, "128000"}, {2014, 256000, "256000"},
};
inline constexpr Choice kByteSize[] = {
    {2037, 4, "4"}, {2038, 5, "5"}, {2039, 6, "6"}, {2040, 7, "7"}, {2041, 8, "8"},
};
inline constexpr Choice kParity[] = {
    {2042, 0, "None"}, {2043, 1, "Odd"}, {2044, 2, "Even"}, {2045, 3, "Mark"}, {2046, 4, "Space"},
};
inline constexpr Choice kStopBits[] = {
    {2047, 0, "1"},
    {2048, 1, "1.5"},
    {2049, 2, "2"},
};
inline constexpr Choice kDtr[] = {
    {2030, 1, "Enable"},
    {2031, 0, "Disable"},
    {2032, 2, "Handshake"},
};
inline constexpr Choice kRts[] = {
    {2033, 1, "Enable"},
    {2034, 0, "Disable"},
    {2035, 2, "Handshake"},
    {2036, 3, "Toggle"},
};
inline constexpr Choice kKeyboard[] = {
    {2019, 0, "<Enter> -> NL/CR"},
    {2020, 1, "<Enter> -> NL"},
    {2021, 2, "<Enter> -> CR"},
};
inline constexpr Choice kReceive[] = {
    {2022, 0, "NL/CR -> Linefeed"},
    {2023, 1, "NL -> Linefeed"},
    {2024, 2, "CR -> Linefeed"},
};
// Check boxes: the flow-control bit each sets.
inline constexpr Choice kFlowChecks[] = {
    {2028, 1u << 2, "Transmit"},
    {2050, 1u << 3, "Receive"},
    {2029, 1u << 0, "Enable CTS"},
    {2051, 1u << 1, "Enable DSR"},
};

inline constexpr int kLoadCommand = 2016;
inline constexpr int kTextColour = 2017;
inline constexpr int kBackgroundColour = 2018;
inline constexpr int kDefaults = 2052;
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;

// The colour chooser starts from this grey.
inline constexpr RgbColour kChooserStart = rgb(128, 128, 128);

// What the controls show: one checked id per radio group, the flow bits and
// the load command.
struct Values {
    int baud = 0;
    int byte_size = 0;
    int parity = 0;
    int stop_bits = 0;
    int dtr = 0;
    int rts = 0;
    int keyboard = 0;
    int receive = 0;
    uint32_t flow = 0;
    std::string load_command;

    bool operator==(const Values&) const = default;
};

// The controls for a serial record and a terminal's other settings. A baud
// rate not in the list shows 9600, a byte size outside 4 to 8 shows 8,
// stop bits above 2 show one, a parity above 4 shows none, DTR value 3
// shows Disable.
Values values_for(const SerialSettings& serial, const TerminalSettings& terminal);
// Stores the controls into the records: the serial part into serial, the
// translations and the load command (cut to 31 characters) into terminal.
void store_values(const Values& values, SerialSettings& serial, TerminalSettings& terminal);

// The value a group's checked id stands for (the first choice's for an id
// not in the group).
uint32_t value_of(std::span<const Choice> group, int id);

} // namespace torva::serial_dialog
