// The combined view as a text hex dump that diff and a reader can use.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace morsk {

// One line per 16 bytes: "00000010  0C 94 34 00 ...  |..4.|", the address
// in eight hexadecimal digits, the bytes, the printable characters.
std::string FormatHexDump(std::span<const uint8_t> bytes);

}  // namespace morsk
