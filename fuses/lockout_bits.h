// Where each AVR chip of the device list keeps the fuse bits that can cut
// serial programming off: RSTDISBL and DWEN (programmed, the reset pin no
// longer enters programming mode), SPIEN (unprogrammed, serial
// programming is switched off) and CKSEL3..0 (0000, the chip waits for an
// external clock). Taken from the datasheets, kept apart from what the
// fuse dialog draws: a bit the dialog shows as "----" is still there.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morsk {

// A bit of the fuse bytes: byte 0 low, 1 high, 2 extended; bit 0 is the
// least significant.
struct FuseBitPosition {
    int byte;
    int bit;
};

struct LockoutBits {
    std::optional<FuseBitPosition> rstdisbl;
    std::optional<FuseBitPosition> dwen;
    std::optional<FuseBitPosition> spien;
    // CKSEL3..0 in bits 3..0 of the low byte, where 0000 is an external clock.
    bool ckselExternalClock = false;
};

// By exact device name; nothing known (no guard) for other names.
const LockoutBits& LockoutBitsFor(const std::string& deviceName);

// A change that can make a chip unreachable for this programmer.
struct FuseRisk {
    std::string bit;   // "RSTDISBL", "DWEN", "SPIEN" or "CKSEL3..0"
    bool programs;     // true: the bit gets programmed; false: unprogrammed
};

// The changes from `before` to `after` (low, high, extended) that cut
// serial programming off, in the order low, high, extended.
std::vector<FuseRisk> RiskyFuseChanges(const std::string& deviceName, const uint8_t before[3],
                                       const uint8_t after[3]);

// Whether fuses of these values leave the chip unreachable by serial
// programming: RSTDISBL or DWEN programmed, SPIEN unprogrammed, or an
// external clock selected.
bool FusesLockOut(const std::string& deviceName, const uint8_t fuses[3]);

// "编程 RSTDISBL、取消编程 SPIEN": what the changes do, for a question or a
// statement.
std::string DescribeRisks(const std::vector<FuseRisk>& risks);

}  // namespace morsk
