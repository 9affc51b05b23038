// Writes images back to files that the loader reads to the same bytes.
#pragma once

#include <cstdint>
#include <string>

namespace morsk {

// Intel HEX, 16 data bytes a record, extended linear address records above
// 64 KiB, an end-of-file record. Records that are all 0xFF are left out:
// the loader clears the image to 0xFF before reading.
std::string FormatIntelHex(const uint8_t* data, uint32_t length);

}  // namespace morsk
