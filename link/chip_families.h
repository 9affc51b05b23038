// What differs between the chip families on the wire: the mode request of
// a programming cycle, the signature and erase instructions, whether the
// chip echoes instructions, and the erase waits. One row per family.
#pragma once

#include <array>
#include <cstdint>

#include "chip_profile.h"

namespace morsk {

struct FamilyCommands {
    uint8_t modeRequest;
    // The instruction that reads signature byte i (0..2).
    std::array<uint8_t, 4> (*signature)(uint8_t i);
    const uint8_t* erase;  // 4 bytes
    // An AVR in programming mode clocks the instruction back one byte
    // late: reply byte 2 is instruction byte 1. Without that echo nothing
    // answered (no chip, a wrong one, or a bad contact).
    bool echoes;
};

// The row of profile.family; null for a family the list does not know.
const FamilyCommands* CommandsFor(uint8_t family);

// The programmer needs a moment between enabling programming and the erase
// instruction, and the chip needs its erase time (about 10 ms on an AVR,
// longer on the older parts) before the next instruction; 200 ms covers
// every chip of the list without polling.
inline constexpr unsigned kEraseWaitMs = 200;

}  // namespace morsk
