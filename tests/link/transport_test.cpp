#include <gtest/gtest.h>

#include "sim_rig.h"

namespace morsk {
namespace {

using test::Rig;
using test::Wire;

TEST(UsbTransport, EraseInstructionOnTheWire)
{
    Rig rig;
    ASSERT_TRUE(rig.link->EnterProgramming());
    rig.sim.packets.clear();
    ASSERT_EQ(rig.link->EraseChip(), 1);
    ASSERT_EQ(rig.sim.packets.size(), 1u);
    EXPECT_EQ(Wire(rig.sim.packets[0]), "C0 03 AC 80 4F 00 04 00");
    EXPECT_EQ(rig.sleeps, (std::vector<unsigned>{200, 200}));
}

TEST(UsbTransport, FamilyBytePlacementInConnectAndEnable)
{
    struct Case {
        const char* device;
        const char* connect;
        const char* mode;
        const char* enable;
    } cases[] = {
        {"AT89S52", "C0 01 02 00 00 01 04 00", "C0 0D 00 00 00 00 04 00", "C0 05 02 01 00 00 04 00"},
        {"ATMEGA8", "C0 01 02 00 00 00 04 00", "C0 0C 00 00 00 00 04 00", "C0 05 02 00 00 00 04 00"},
        {"NRF24LE1", "C0 01 02 00 00 02 04 00", "C0 0E 00 00 00 00 04 00", "C0 05 02 02 00 00 04 00"},
    };
    for (const auto& c : cases) {
        Rig rig(c.device);
        rig.OpenEarlier();
        ASSERT_EQ(rig.link->EnterProgramming(), 1) << c.device;
        ASSERT_EQ(rig.sim.packets.size(), 3u);
        EXPECT_EQ(Wire(rig.sim.packets[0]), c.connect);
        EXPECT_EQ(Wire(rig.sim.packets[1]), c.mode);
        EXPECT_EQ(Wire(rig.sim.packets[2]), c.enable);
    }
}

TEST(UsbTransport, FirstOpenConnectsOnceAndAHeldHandleDoesNot)
{
    Rig rig;
    // A command that opens the link first sends connect before itself.
    uint8_t value = 0;
    ASSERT_EQ(rig.link->ReadFuse(kFuseLow, value), 1);
    ASSERT_EQ(rig.sim.packets.size(), 2u);
    EXPECT_EQ(rig.sim.packets[0].request, 1);
    EXPECT_EQ(rig.sim.packets[1].request, 3);
    // The next command re-scans and reopens, but sends no connect.
    rig.sim.packets.clear();
    ASSERT_EQ(rig.link->ReadFuse(kFuseLow, value), 1);
    ASSERT_EQ(rig.sim.packets.size(), 1u);
    EXPECT_EQ(rig.sim.packets[0].request, 3);
    EXPECT_EQ(rig.sim.initCalls, 1);
    EXPECT_EQ(rig.sim.opens, 2);
}

TEST(UsbTransport, OpenRules)
{
    struct Case {
        std::vector<bool> programmers;
        int result;
        int warnings;
    } cases[] = {
        {{}, 1, 0},             // nothing plugged in: silent
        {{false}, 2, 1},        // found, cannot be opened
        {{false, true}, 0, 1},  // the second one in the same scan opens
        {{false, false}, 2, 2}, // one warning and box per device
        {{true, true}, 0, 0},   // the first matching device is taken
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.sim.programmers = c.programmers;
        EXPECT_EQ(rig.link->transport().OpenLink(), c.result);
        const std::string warning =
            "Warning: cannot open USB device: Access denied (insufficient permissions)\n" +
            std::string(kUdevHint);
        std::string expected;
        for (int i = 0; i < c.warnings; ++i)
            expected += warning;
        EXPECT_EQ(rig.ui.diagnostics, expected);
        EXPECT_EQ(rig.ui.messages.size(), static_cast<size_t>(c.warnings));
        if (c.warnings) {
            EXPECT_EQ(rig.ui.messages[0].text, "Could not open USB device");
        }
        EXPECT_EQ(rig.app->link.handleHeld, c.result == 0);
        EXPECT_EQ(rig.sim.OpenHandles(), c.result == 0 ? 1u : 0u);
    }
}

TEST(UsbTransport, FailedReopenDropsTheHandle)
{
    Rig rig;
    ASSERT_EQ(rig.link->transport().OpenLink(), 0);
    rig.sim.programmers = {false};
    EXPECT_EQ(rig.link->transport().OpenLink(), 2);
    EXPECT_FALSE(rig.app->link.handleHeld);
    EXPECT_EQ(rig.sim.OpenHandles(), 0u);
}

TEST(UsbTransport, UnpluggedAfterOpenKeepsTheStaleHandle)
{
    Rig rig;
    ASSERT_EQ(rig.link->EnterProgramming(), 1);
    rig.sim.Unplug();
    rig.sim.packets.clear();
    EXPECT_EQ(rig.link->transport().OpenLink(), 0);
    const uint8_t setup[4] = {};
    uint8_t data[4];
    EXPECT_LT(rig.link->transport().ControlTransfer(1, 2, setup, data, 4), 0);
    uint8_t fuse = 0x42;
    EXPECT_EQ(rig.link->ReadFuse(kFuseLow, fuse), 0);
    EXPECT_EQ(fuse, 0x42);
    EXPECT_TRUE(rig.sim.packets.empty());
}

TEST(UsbTransport, EnableCountsOnlyBytesThatArrived)
{
    struct Case {
        bool refused;
        TransferFault fault;
        int result;
    } cases[] = {
        {false, TransferFault::None, 1},
        {true, TransferFault::None, 0},    // zero bytes
        {false, TransferFault::Error, 0},  // a library error is no success
        {false, TransferFault::Timeout, 0},
        {false, TransferFault::Short, 1},  // some bytes came back
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.OpenEarlier();
        rig.sim.enableRefused = c.refused;
        rig.sim.fault = c.fault;
        rig.sim.faultAt = rig.sim.transfers + 3;  // connect, mode, enable
        EXPECT_EQ(rig.link->EnterProgramming(), c.result);
    }
}

TEST(UsbTransport, SpiTransferDemandsFourBytes)
{
    for (TransferFault fault : {TransferFault::Short, TransferFault::Error, TransferFault::Timeout}) {
        Rig rig;
        ASSERT_EQ(rig.link->EnterProgramming(), 1);
        rig.sim.fault = fault;
        rig.sim.faultAt = rig.sim.transfers + 1;
        uint8_t bytes[4] = {0x30, 0x00, 0x01, 0x00};
        EXPECT_EQ(rig.link->transport().SpiTransfer(bytes, bytes), -1);
    }
}

TEST(UsbTransport, OpenHandlesStayConstantOverTenThousandCommands)
{
    Rig rig;
    rig.sim.recordData = false;
    ASSERT_EQ(rig.link->EnterProgramming(), 1);
    uint8_t fuse = 0;
    for (int i = 0; i < 10000; ++i)
        ASSERT_EQ(rig.link->ReadFuse(kFuseLow, fuse), 1);
    EXPECT_EQ(rig.sim.OpenHandles(), 1u);
    EXPECT_EQ(rig.sim.opens, 10001);
    EXPECT_EQ(rig.sim.closes, 10000);
}

}  // namespace
}  // namespace morsk
