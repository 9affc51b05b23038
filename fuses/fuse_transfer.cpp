#include "fuse_transfer.h"

#include <algorithm>

namespace morsk {
namespace {

// In programming mode: the chip must be the profile's. Leaves programming
// mode when it is not.
FuseTransfer CheckChip(const ChipProfile& profile, ProgrammerLink& link, FuseChipId* id)
{
    uint8_t read[3] = {};
    if (link.ReadSignature(read) != 1) {
        link.LeaveProgramming();
        return FuseTransfer::NoAnswer;
    }
    if (id)
        std::copy_n(read, 3, id->bytes);
    if (!std::equal(read, read + 3, profile.signature)) {
        link.LeaveProgramming();
        return FuseTransfer::WrongChip;
    }
    return FuseTransfer::Done;
}

}  // namespace

FuseTransfer ReadFuseBytes(ChipProfile& profile, uint8_t& failureCount, ProgrammerLink& link, FuseChipId* id)
{
    if (!link.IsLinkAvailable() || !link.EnterProgramming()) {
        ++failureCount;
        return FuseTransfer::NoProgrammer;
    }
    if (const FuseTransfer chip = CheckChip(profile, link, id); chip != FuseTransfer::Done)
        return chip;
    bool ok = link.ReadFuse(kFuseLow, profile.fuseLow) == 1;
    ok &= link.ReadFuse(kFuseHigh, profile.fuseHigh) == 1;
    ok &= link.ReadFuse(kFuseExt, profile.fuseExt) == 1;
    link.LeaveProgramming();
    return ok ? FuseTransfer::Done : FuseTransfer::NoAnswer;
}

FuseTransfer WriteFuseBytes(const ChipProfile& profile, ProgrammerLink& link, FuseChipId* id)
{
    if (!link.IsLinkAvailable() || !link.EnterProgramming())
        return FuseTransfer::NoProgrammer;
    if (const FuseTransfer chip = CheckChip(profile, link, id); chip != FuseTransfer::Done)
        return chip;
    uint8_t low = profile.fuseLow, high = profile.fuseHigh, ext = profile.fuseExt;
    bool ok = link.WriteFuse(kFuseLow, low) == 1;
    ok &= link.WriteFuse(kFuseHigh, high) == 1;
    ok &= link.WriteFuse(kFuseExt, ext) == 1;
    link.LeaveProgramming();
    return ok ? FuseTransfer::Done : FuseTransfer::NoAnswer;
}

}  // namespace morsk
