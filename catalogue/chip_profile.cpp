#include "chip_profile.h"

#include <cctype>
#include <cerrno>
#include <cstring>

namespace morsk {
namespace {

void CopyName(char* dest, size_t destSize, const std::string& src)
{
    const size_t n = std::min(src.size(), destSize - 1);
    std::memcpy(dest, src.data(), n);
    dest[n] = '\0';
}

}  // namespace

bool IsManufacturer(const ChipProfile& profile, const char* name)
{
    return std::strcmp(profile.manufacturer, name) == 0;
}

int LoadChipProfile(ChipProfile& profile, const std::string& path, int manufIndex,
                    int deviceIndex, Notifier& notifier)
{
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        // The specified text, then which file and why.
        notifier.ShowMessage(std::string("打开CSV文件错误!\n") + path + ": " + std::strerror(errno), "ERROR",
                             MessageIcon::Information);
        return 0;
    }
    LineReader reader(file.get(), kDeviceLineChars);
    std::string line;

    // Manufacturer search: the name of every enabled header passed lands in
    // the profile, so an index past the end leaves the last one there.
    int counter = -1;
    bool found = false;
    while (reader.Next(line)) {
        if (IsHeaderLine(line) && IsEnabledLine(line)) {
            CopyName(profile.manufacturer, sizeof profile.manufacturer, SplitFields(line, 1)[0]);
            ++counter;
        }
        if (counter >= manufIndex) {
            found = true;
            break;
        }
    }
    if (!found)
        return 0;

    // Device search within that manufacturer.
    counter = -1;
    for (;;) {
        if (!reader.Next(line) || IsHeaderLine(line))
            return 0;
        if (IsEnabledLine(line))
            ++counter;
        if (counter >= deviceIndex)
            break;
    }

    const std::vector<std::string> fields = SplitFields(line);
    ChipProfile chosen = profile;
    CopyName(chosen.deviceName, sizeof chosen.deviceName, fields[0]);
    chosen.flashSize = ParseCNumber(fields[3]);
    chosen.eepromSize = ParseCNumber(fields[4]);
    chosen.flashPageSize = ParseCNumber(fields[5]);
    chosen.eepromPageSize = ParseCNumber(fields[6]);
    for (int i = 0; i < 3; ++i)
        chosen.signature[i] = static_cast<uint8_t>(ParseCNumber(fields[7 + static_cast<size_t>(i)]));
    chosen.fuseLow = chosen.fuseLowDefault = static_cast<uint8_t>(ParseCNumber(fields[10]));
    chosen.fuseHigh = chosen.fuseHighDefault = static_cast<uint8_t>(ParseCNumber(fields[11]));
    chosen.fuseExt = chosen.fuseExtDefault = static_cast<uint8_t>(ParseCNumber(fields[12]));

    // A chip larger than the data buffer would have every operation run past
    // an area. It is refused: the device part of the profile stays as it
    // was, exactly like an index past the end of the list.
    if (chosen.flashSize > kFlashCapacity || chosen.eepromSize > kEepromCapacity) {
        notifier.ShowMessage(
            Format("器件 %s 的容量超出数据缓冲区 (FLASH 最大 %u, EEPROM 最大 %u 字节)!",
                   chosen.deviceName, kFlashCapacity, kEepromCapacity),
            "ERROR", MessageIcon::Information);
        return 0;
    }

    if (IsNordicChip(chosen))
        chosen.family = kFamilyNordic;
    else if (IsAtmelChip(chosen))
        chosen.family = std::strncmp(chosen.deviceName, "AT89", 4) == 0 ? kFamilyAt89 : kFamilyAvr;
    chosen.lockDefault = 0xFF;
    profile = chosen;
    return 1;
}

}  // namespace morsk
