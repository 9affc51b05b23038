#include "data_buffer.h"
#include "byte_util.h"
#include "text_util.h"

#include <algorithm>

namespace morsk {

uint32_t UsedFlash(const ChipProfile& profile)
{
    return std::min(profile.flashSize, kFlashCapacity);
}

uint32_t UsedEeprom(const ChipProfile& profile)
{
    return std::min(profile.eepromSize, kEepromCapacity);
}

void ClearImages(DataBuffer& buffer, const ChipProfile& /*profile*/, ClearSelector selector)
{
    // The whole areas, not only the chip's part: what lies beyond comes
    // into use after a change to a larger chip.
    switch (selector) {
    case ClearSelector::All:
        std::fill(buffer.view.begin(), buffer.view.end(), kErasedByte);
        std::fill(buffer.flash.begin(), buffer.flash.end(), kErasedByte);
        std::fill(buffer.eeprom.begin(), buffer.eeprom.end(), kErasedByte);
        break;
    case ClearSelector::Flash:
        std::fill(buffer.flash.begin(), buffer.flash.end(), kErasedByte);
        break;
    case ClearSelector::Eeprom:
        std::fill(buffer.eeprom.begin(), buffer.eeprom.end(), kErasedByte);
        break;
    default:
        break;
    }
}

void ComposeView(DataBuffer& buffer, const ChipProfile& profile)
{
    const uint32_t flash = UsedFlash(profile);
    std::copy_n(buffer.flash.begin(), flash, buffer.view.begin());
    std::copy_n(buffer.eeprom.begin(), UsedEeprom(profile), buffer.view.begin() + flash);
}

void ApplyEditedView(DataBuffer& buffer, const ChipProfile& profile, std::span<const uint8_t> edited)
{
    const uint32_t flash = UsedFlash(profile);
    const uint32_t used = std::min<uint32_t>(flash + UsedEeprom(profile), static_cast<uint32_t>(edited.size()));
    std::copy_n(edited.begin(), used, buffer.view.begin());
    std::copy_n(edited.begin(), std::min(used, flash), buffer.flash.begin());
    if (used > flash)
        std::copy_n(edited.begin() + flash, used - flash, buffer.eeprom.begin());
}

uint32_t ComputeChecksum(const DataBuffer& buffer, const ChipProfile& profile)
{
    uint32_t sum = 0;
    const auto end = buffer.view.begin() + UsedFlash(profile) + UsedEeprom(profile);
    for (auto it = buffer.view.begin(); it != end; ++it)
        sum += *it;
    return sum;
}

std::string ChecksumText(uint32_t checksum)
{
    return "效验和: " + Format("%08XH", checksum);
}

std::string ChecksumLine(uint32_t checksum, const std::string& shownPath)
{
    return ChecksumText(checksum) + "   文件 = " + shownPath;
}

void UpdateChecksum(DataBuffer& buffer, const ChipProfile& profile, const std::string& shownPath,
                    StatusSink& status)
{
    buffer.checksum = ComputeChecksum(buffer, profile);
    status.SetFileLine(ChecksumLine(buffer.checksum, shownPath));
}

}  // namespace morsk
