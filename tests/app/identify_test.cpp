#include <gtest/gtest.h>

#include "identify.h"
#include "sim_rig.h"

namespace morsk {
namespace {

TEST(Identify, SignatureNotInTheListAndNothingWritten)
{
    test::Rig rig("ATMEGA8");
    rig.app->paths.deviceList = MORSK_DEVICE_LIST;
    const uint8_t unknown[3] = {0x1E, 0x99, 0x99};
    std::copy_n(unknown, 3, rig.sim.chip->signature);
    const IdentifyResult found = IdentifyChipInSocket(*rig.app);
    EXPECT_TRUE(found.programmerStarted);
    EXPECT_TRUE(found.signatureRead);
    EXPECT_TRUE(std::equal(unknown, unknown + 3, found.signature));
    EXPECT_TRUE(found.matches.empty());
    // Only framing requests and signature reads: no write, no erase.
    for (const SetupPacket& p : rig.sim.packets) {
        EXPECT_NE(p.request, kRequestWriteFlash);
        EXPECT_NE(p.request, kRequestWriteEeprom);
        if (p.request == kRequestSpi) {
            EXPECT_TRUE(p.Setup(0) == kSpiAvrSignature || p.Setup(0) == kSpiAt89Signature || p.Setup(0) == 0x00);
        }
    }
    EXPECT_FALSE(rig.sim.enabled());  // every cycle left

    // The programmer pulled out.
    rig.sim.Unplug();
    EXPECT_FALSE(IdentifyChipInSocket(*rig.app).programmerStarted);
}

}  // namespace
}  // namespace morsk
