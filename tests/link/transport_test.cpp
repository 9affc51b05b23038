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
    // (Outside programming mode the chip does not echo: the read fails.)
    uint8_t value = 0;
    ASSERT_EQ(rig.link->ReadFuse(kFuseLow, value), 0);
    ASSERT_EQ(rig.sim.packets.size(), 2u);
    EXPECT_EQ(rig.sim.packets[0].request, 1);
    EXPECT_EQ(rig.sim.packets[1].request, 3);
    // The next command re-scans and reopens, but sends no connect.
    rig.sim.packets.clear();
    ASSERT_EQ(rig.link->ReadFuse(kFuseLow, value), 0);
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
        {{}, 1, 0},             // nothing plugged in: said, without a box
        {{false}, 2, 1},        // found, cannot be opened
        {{false, true}, 0, 1},  // the second one in the same scan opens
        {{false, false}, 2, 2}, // one warning and box per device
        {{true, true}, 0, 0},   // the first matching device is taken
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.sim.programmers = c.programmers;
        EXPECT_EQ(rig.link->transport().OpenLink(), c.result);
        // Two other devices and a foreign product sit before the
        // programmers on bus 1, which therefore start at address 4.
        std::string expected =
            c.programmers.empty() ? "Warning: no programmer (USB 16c0:05dc) found: is it plugged in?\n" : "";
        for (int i = 0; i < c.warnings; ++i)
            expected += "Warning: cannot open USB device: Access denied (insufficient permissions)\n" +
                        AccessDeniedHint({kProgrammerVendorId, kProgrammerProductId, 0, 1,
                                          static_cast<uint8_t>(4 + i), VirtualProgrammer::PortPath(0)});
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
    EXPECT_LT(rig.link->transport().ControlTransfer(TransferDirection::In, 2, setup, data, 4), 0);
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
        // Found but silent is told apart from not found and from no access.
        EXPECT_EQ(rig.ui.diagnostics.find("was found but does not answer") != std::string::npos, c.result == 0);
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

TEST(UsbTransport, DiagnosticsSayWhatFailed)
{
    // Each failure keeps the link's results and messages and adds its
    // reason, in the library's own words, to the diagnostics.
    {
        Rig rig;
        rig.sim.initError = kUsbErrorNoMemory;
        EXPECT_EQ(rig.link->transport().OpenLink(), kOpenNoDevice);
        EXPECT_EQ(rig.ui.diagnostics, "Warning: cannot initialise the USB library: Insufficient memory\n");
        EXPECT_TRUE(rig.ui.messages.empty());
        // Not marked as initialised: the next open tries again and works.
        rig.sim.initError = 0;
        rig.ui.diagnostics.clear();
        EXPECT_EQ(rig.link->transport().OpenLink(), kOpenHeld);
        EXPECT_EQ(rig.sim.initCalls, 2);
        EXPECT_EQ(rig.link->transport().OpenLink(), kOpenHeld);
        EXPECT_EQ(rig.sim.initCalls, 2);
        EXPECT_EQ(rig.ui.diagnostics, "");
    }
    {
        Rig rig;
        rig.sim.listError = kUsbErrorIo;
        EXPECT_EQ(rig.link->transport().OpenLink(), kOpenNoDevice);
        EXPECT_EQ(rig.ui.diagnostics, "Warning: cannot list USB devices: Input/Output Error\n");
    }
    {
        // Permission denied names the device, the rule and the README section.
        Rig rig;
        rig.sim.programmers = {false};
        EXPECT_EQ(rig.link->transport().OpenLink(), kOpenFailed);
        EXPECT_EQ(rig.ui.diagnostics,
                  "Warning: cannot open USB device: Access denied (insufficient permissions)\n"
                  "Permission denied: this user may not open the programmer 16c0:05dc on bus 001, "
                  "address 004. Install the udev rule data/60-morsk-programmer.rules as the README "
                  "section \"Access to the programmer without root\" shows, then plug the programmer "
                  "in again.\n");
        EXPECT_EQ(rig.ui.MessageTexts(), std::vector<std::string>{"Could not open USB device"});
    }
    {
        // Framing requests ignore their result but say when one failed.
        Rig rig;
        rig.OpenEarlier();
        rig.sim.fault = TransferFault::Timeout;
        rig.sim.faultAt = rig.sim.transfers + 1;  // connect
        EXPECT_EQ(rig.link->EnterProgramming(), 1);
        rig.sim.fault = TransferFault::Error;
        rig.sim.faultAt = rig.sim.transfers + 1;  // disconnect
        EXPECT_EQ(rig.link->LeaveProgramming(), 1);
        EXPECT_EQ(rig.ui.diagnostics,
                  "Warning: USB request 1 failed: Operation timed out\n"
                  "Warning: USB request 2 failed: Input/Output Error\n");
    }
}

TEST(UsbTransport, CloseLinkLeavesNoHandleOpen)
{
    Rig rig;
    ASSERT_EQ(rig.link->EnterProgramming(), 1);
    ASSERT_EQ(rig.sim.OpenHandles(), 1u);
    CloseLink(rig.app->link);
    EXPECT_EQ(rig.sim.OpenHandles(), 0u);
    EXPECT_FALSE(rig.app->link.handleHeld);
    CloseLink(rig.app->link);  // twice is harmless
    EXPECT_EQ(rig.sim.closes, 1);
}

}  // namespace
}  // namespace morsk
