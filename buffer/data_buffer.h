// The flash image, the EEPROM image and their combined view.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "chip_profile.h"
#include "ui_sinks.h"

namespace morsk {

inline constexpr uint32_t kViewCapacity = kFlashCapacity + kEepromCapacity;

struct DataBuffer {
    // Allocated once with their full capacity and never resized. Every byte
    // starts erased, so a chip change to a larger chip never finds bytes
    // that nobody put there.
    std::vector<uint8_t> flash = std::vector<uint8_t>(kFlashCapacity, 0xFF);
    std::vector<uint8_t> eeprom = std::vector<uint8_t>(kEepromCapacity, 0xFF);
    std::vector<uint8_t> view = std::vector<uint8_t>(kViewCapacity, 0xFF);
    uint32_t checksum = 0;
};

// The sizes in use, never beyond the capacities (the loader refuses larger
// chips; this keeps every area operation bounded regardless).
uint32_t UsedFlash(const ChipProfile& profile);
uint32_t UsedEeprom(const ChipProfile& profile);

// Which areas ClearImages sets to 0xFF, each whole; other values clear
// nothing.
enum class ClearSelector : uint8_t { All = 0, Flash = 1, Eeprom = 2 };
void ClearImages(DataBuffer& buffer, const ChipProfile& profile, ClearSelector selector);
void ComposeView(DataBuffer& buffer, const ChipProfile& profile);
// Takes an edited copy of the view back: its first flash-size bytes into
// the flash image, the rest into the EEPROM image, and the view itself.
// Bytes beyond the view's length in use are ignored.
void ApplyEditedView(DataBuffer& buffer, const ChipProfile& profile, std::span<const uint8_t> edited);
uint32_t ComputeChecksum(const DataBuffer& buffer, const ChipProfile& profile);
// "效验和: 0021DE00H", as the main window and the buffer editor show it.
std::string ChecksumText(uint32_t checksum);
// The main window's line: the checksum text, then "   文件 = " and the path.
std::string ChecksumLine(uint32_t checksum, const std::string& shownPath);
// Stores the checksum and shows the checksum line.
void UpdateChecksum(DataBuffer& buffer, const ChipProfile& profile, const std::string& shownPath,
                    StatusSink& status);

}  // namespace morsk
