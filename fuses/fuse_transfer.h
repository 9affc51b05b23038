// Reading and writing the three fuse bytes of the chip in one programming
// cycle each. The lock byte has no command: it never reaches the chip.
#pragma once

#include <cstdint>

#include "chip_profile.h"
#include "programmer_link.h"

namespace morsk {

enum class FuseTransfer {
    Done,          // all three went through
    NoProgrammer,  // the programmer could not be reached or started
    NoAnswer,      // a fuse command failed or the chip did not echo it
    WrongChip,     // another chip answered: nothing was read or written
};

// The status lines of a fuse read or write that did not go through.
inline constexpr char kFuseReadFailedLine[] = "读熔丝位错误...!";
inline constexpr char kFuseWriteFailedLine[] = "写熔丝位错误...!";

// The signature the last transfer read, for the message of a wrong chip.
struct FuseChipId {
    uint8_t bytes[3] = {};
};

// Reads low, high and extended fuse into the profile. A byte whose read
// fails keeps its value. When the programmer cannot be reached or started,
// adds one to failureCount (8 bits, wrapping).
// Both transfers first check the chip's signature against the profile, so
// that no fuse byte of one chip is ever written into another.
FuseTransfer ReadFuseBytes(ChipProfile& profile, uint8_t& failureCount, ProgrammerLink& link,
                           FuseChipId* id = nullptr);

// Writes low, high and extended fuse from the profile; the profile's
// values are not touched.
FuseTransfer WriteFuseBytes(const ChipProfile& profile, ProgrammerLink& link, FuseChipId* id = nullptr);

}  // namespace morsk
