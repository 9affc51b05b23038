// Device.csv as lines and fields, and the names it lists: the parsing
// that the chip profile loader and the device dialog share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morsk {

// Device lines are read in pieces of at most 199 characters.
inline constexpr size_t kDeviceLineChars = 199;

// strtoul with base 0 on a platform whose unsigned long has 32 bits:
// leading blanks, sign, 0x / 0 prefixes, stops at the first misfit,
// saturates on overflow, a minus sign wraps.
uint32_t ParseCNumber(const std::string& text);

// The pieces of one Device.csv line as the loader sees them.
bool IsEnabledLine(const std::string& piece);
bool IsHeaderLine(const std::string& piece);
// The first `count` fields of a line; each holds at most 19 characters.
std::vector<std::string> SplitFields(const std::string& piece, int count = 20);

// Names only, for choosing a chip: the enabled manufacturers in file order
// with their enabled devices, indexed as LoadChipProfile counts them.
struct ManufacturerEntry {
    std::string name;
    std::vector<std::string> devices;
};
bool ReadDeviceNames(const std::string& path, std::vector<ManufacturerEntry>& out);

// The indexes of the first device named `device` under the first
// manufacturer named `manufacturer` (under any manufacturer when empty).
bool FindDevice(const std::vector<ManufacturerEntry>& list, const std::string& manufacturer,
                const std::string& device, int& manufIndex, int& deviceIndex);

}  // namespace morsk
