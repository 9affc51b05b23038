#include "fuse_transfer.h"

namespace morsk {

bool ReadFuseBytes(ChipProfile& profile, uint8_t& failureCount, ProgrammerLink& link)
{
    if (!link.IsLinkAvailable() || !link.EnterProgramming()) {
        ++failureCount;
        return false;
    }
    bool ok = link.ReadFuse(kFuseLow, profile.fuseLow) == 1;
    ok &= link.ReadFuse(kFuseHigh, profile.fuseHigh) == 1;
    ok &= link.ReadFuse(kFuseExt, profile.fuseExt) == 1;
    link.LeaveProgramming();
    return ok;
}

bool WriteFuseBytes(const ChipProfile& profile, ProgrammerLink& link)
{
    if (!link.IsLinkAvailable() || !link.EnterProgramming())
        return false;
    uint8_t low = profile.fuseLow, high = profile.fuseHigh, ext = profile.fuseExt;
    bool ok = link.WriteFuse(kFuseLow, low) == 1;
    ok &= link.WriteFuse(kFuseHigh, high) == 1;
    ok &= link.WriteFuse(kFuseExt, ext) == 1;
    link.LeaveProgramming();
    return ok;
}

}  // namespace morsk
