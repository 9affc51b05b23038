// "What chip is this?": reads the signature of the chip in the socket with
// each family's commands and looks it up in the device list. Nothing is
// written to the chip.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app_state.h"

namespace morsk {

struct ChipMatch {
    std::string manufacturer;
    std::string device;
    int manufIndex = 0;
    int deviceIndex = 0;
};

struct IdentifyResult {
    bool programmerStarted = false;  // false: nothing could be asked
    bool signatureRead = false;      // some family's signature came back
    uint8_t signature[3] = {};       // of the family that matched, else the first read
    std::vector<ChipMatch> matches;  // in list order
};

// AVR, then AT89, then NORDIC, each in a programming cycle of its own;
// stops at the first family whose signature names chips of that family.
IdentifyResult IdentifyChipInSocket(AppState& app);

// The status lines of an identification: the failure, or the signature
// read and which chips of the list have it (or that none has).
void ReportIdentified(AppState& app, const IdentifyResult& found);
inline constexpr char kNotInDeviceListLine[] = "这个器件ID不在器件列表中!";

// "ATMEL/ATMEGA8、ATMEL/ATMEGA8L".
std::string ChipNames(const std::vector<ChipMatch>& matches);

// The list's chips of a family with this signature.
std::vector<ChipMatch> ChipsWithSignature(const std::string& deviceList, uint8_t family, const uint8_t signature[3]);

}  // namespace morsk
