#include "fuse_transfer.h"

namespace morsk {

FuseTransfer ReadFuseBytes(ChipProfile& profile, uint8_t& failureCount, ProgrammerLink& link)
{
    if (!link.IsLinkAvailable() || !link.EnterProgramming()) {
        ++failureCount;
        return FuseTransfer::NoProgrammer;
    }
    bool ok = link.ReadFuse(kFuseLow, profile.fuseLow) == 1;
    ok &= link.ReadFuse(kFuseHigh, profile.fuseHigh) == 1;
    ok &= link.ReadFuse(kFuseExt, profile.fuseExt) == 1;
    link.LeaveProgramming();
    return ok ? FuseTransfer::Done : FuseTransfer::NoAnswer;
}

FuseTransfer WriteFuseBytes(const ChipProfile& profile, ProgrammerLink& link)
{
    if (!link.IsLinkAvailable() || !link.EnterProgramming())
        return FuseTransfer::NoProgrammer;
    uint8_t low = profile.fuseLow, high = profile.fuseHigh, ext = profile.fuseExt;
    bool ok = link.WriteFuse(kFuseLow, low) == 1;
    ok &= link.WriteFuse(kFuseHigh, high) == 1;
    ok &= link.WriteFuse(kFuseExt, ext) == 1;
    link.LeaveProgramming();
    return ok ? FuseTransfer::Done : FuseTransfer::NoAnswer;
}

}  // namespace morsk
