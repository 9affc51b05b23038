// Writes images back to files that the loader reads to the same bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace morsk {

// Intel HEX, 16 data bytes a record, extended linear address records above
// 64 KiB, an end-of-file record. Records that are all 0xFF are left out:
// the loader clears the image to 0xFF before reading.
std::string FormatIntelHex(const uint8_t* data, uint32_t length);

// Several areas in one file, each at its own base address (the AVR
// toolchain's whole-program layout, for example). `keepErased` keeps the
// all-0xFF records of an area whose 0xFF bytes mean something, such as
// fuse values.
struct HexSection {
    uint32_t base;
    std::span<const uint8_t> bytes;
    bool keepErased;
};
std::string FormatIntelHex(std::span<const HexSection> sections);

}  // namespace morsk
