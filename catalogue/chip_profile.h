// The current chip: what Device.csv says about the selected device.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "text_util.h"
#include "device_list.h"
#include "ui_sinks.h"

namespace morsk {

// Selects the family request of a programming cycle and the serial
// instruction bytes.
enum ChipFamily : uint8_t { kFamilyAvr = 0, kFamilyAt89 = 1, kFamilyNordic = 2 };

// Capacities of the data buffer areas; a chip must fit them.
inline constexpr uint32_t kFlashCapacity = 262144;
inline constexpr uint32_t kEepromCapacity = 4096;

struct ChipProfile {
    char deviceName[20] = {};
    uint8_t family = kFamilyAvr;
    uint8_t signature[3] = {};
    uint32_t flashSize = 0;
    uint32_t flashPageSize = 0;
    uint32_t eepromSize = 0;
    uint32_t eepromPageSize = 0;
    uint8_t fuseLow = 0, fuseHigh = 0, fuseExt = 0;
    uint8_t fuseLowDefault = 0, fuseHighDefault = 0, fuseExtDefault = 0;
    uint8_t lock = 0;
    uint8_t lockDefault = 0;
    char manufacturer[23] = {};
};

bool IsManufacturer(const ChipProfile& profile, const char* name);

// The manufacturers whose chips this programmer drives, compared exactly
// and case-sensitively: "ATMEL" (AVR and AT89) and "NORDIC".
inline constexpr char kAtmel[] = "ATMEL";
inline constexpr char kNordic[] = "NORDIC";
inline bool IsAtmelChip(const ChipProfile& profile) { return IsManufacturer(profile, kAtmel); }
inline bool IsNordicChip(const ChipProfile& profile) { return IsManufacturer(profile, kNordic); }
inline bool IsDrivenChip(const ChipProfile& profile) { return IsAtmelChip(profile) || IsNordicChip(profile); }

// Fills `profile` with device `deviceIndex` of manufacturer `manufIndex`.
// Returns 1 on success, 0 on failure (with the partial updates that the
// list format implies: see the .cpp).
int LoadChipProfile(ChipProfile& profile, const std::string& path, int manufIndex,
                    int deviceIndex, Notifier& notifier);

}  // namespace morsk
