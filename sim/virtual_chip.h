// A chip in the virtual programmer's socket: signature, flash, EEPROM,
// fuses, and the serial instructions the program sends to it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "chip_profile.h"

namespace morsk {

struct VirtualChip {
    std::string name;
    uint8_t family = kFamilyAvr;
    uint8_t signature[3] = {};
    // Erased flash reads 0xFF; a write can only clear bits (NOR memory).
    std::vector<uint8_t> flash;
    // EEPROM erases each byte before writing it, so a write replaces it.
    std::vector<uint8_t> eeprom;
    uint8_t fuses[3] = {};  // low, high, extended
    uint8_t lock = 0xFF;
    unsigned eraseCount = 0;

    static VirtualChip FromProfile(const ChipProfile& profile);

    // Fuses that cut serial programming off (RSTDISBL or DWEN programmed,
    // SPIEN unprogrammed, an external clock that nobody feeds): from the
    // next programming cycle on the chip no longer answers, as a real one.
    bool LockedOut() const;

    // One 4-byte serial instruction in programming mode. Bytes come back
    // shifted by one as on the AVR's serial interface: reply byte k is
    // instruction byte k-1, except where the chip drives an answer.
    void Serial(const uint8_t in[4], uint8_t out[4]);

    // An AVR's lock bits: with LB1 programmed writes to flash and EEPROM
    // change nothing; with LB2 programmed they read back as 0xFF.
    bool WriteLocked() const;
    bool ReadLocked() const;

    void WriteFlash(uint32_t address, const uint8_t* data, uint32_t length);
    void ReadFlash(uint32_t address, uint8_t* data, uint32_t length) const;
    void WriteEeprom(uint32_t address, const uint8_t* data, uint32_t length);
    void ReadEeprom(uint32_t address, uint8_t* data, uint32_t length) const;

    // A small text file with the memories and fuses, so that one run of
    // the command line can program a chip and a later one verify it.
    bool Save(const std::string& path) const;
    // False when the file is unreadable or describes another chip.
    bool Load(const std::string& path);
};

}  // namespace morsk
