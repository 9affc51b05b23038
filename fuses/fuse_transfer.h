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
};

// Reads low, high and extended fuse into the profile. A byte whose read
// fails keeps its value. When the programmer cannot be reached or started,
// adds one to failureCount (8 bits, wrapping).
FuseTransfer ReadFuseBytes(ChipProfile& profile, uint8_t& failureCount, ProgrammerLink& link);

// Writes low, high and extended fuse from the profile; the profile's
// values are not touched.
FuseTransfer WriteFuseBytes(const ChipProfile& profile, ProgrammerLink& link);

}  // namespace morsk
