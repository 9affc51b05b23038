// Reads Intel HEX text: records of up to 255 data bytes, base addresses
// from extended segment (2) and extended linear (4) records, and the
// end-of-file record, after which nothing more is read.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace morsk {

enum class HexFault {
    None,
    NoColon,    // a line without a record (an empty line too)
    Malformed,  // a field that is not hexadecimal, or a record cut short
    Checksum,   // the record's checksum does not match its bytes
    NoEnd,      // the text ended before an end-of-file record
};

struct HexReport {
    HexFault fault = HexFault::None;
    int line = 0;        // 1-based line of the fault (0 for NoEnd)
    std::string detail;  // what is wrong, for the message
    bool sawData = false;
};

// Hands every data record's bytes to `onData` with its full address (base
// plus record address; up to 32 bits). Stops at the first fault; records
// before it have been handed over, so a caller that must be all or nothing
// collects them aside.
using HexDataHandler = std::function<void(uint64_t address, std::span<const uint8_t> data)>;
HexReport ReadIntelHex(std::string_view text, const HexDataHandler& onData);

}  // namespace morsk
