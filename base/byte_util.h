// Byte helpers for the images and the memories of a chip.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

namespace morsk {

// What erased flash and EEPROM read, and what a cleared image holds.
inline constexpr uint8_t kErasedByte = 0xFF;

inline bool AllErased(std::span<const uint8_t> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == kErasedByte; });
}

}  // namespace morsk
