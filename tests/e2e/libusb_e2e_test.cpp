// The real libusb-1.0 backend, unchanged, against a programmer emulated at
// the level of the kernel's usbdevfs.
#include <gtest/gtest.h>

#include <dirent.h>

#include "chip_operations.h"
#include "libusb_backend.h"
#include "station.h"
#include "programmer_link.h"
#include "sim_rig.h"
#include "usb_emulation.h"

namespace morsk {
namespace {

using test::EmulatedProgrammer;
using test::UrbFault;
using Lines = std::vector<std::string>;

int OpenDescriptors()
{
    int n = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (::readdir(dir))
            ++n;
        ::closedir(dir);
    }
    return n;
}

// The programs' core object on the real backend, with the chip the
// emulated programmer holds.
struct Bench {
    explicit Bench(EmulatedProgrammer& usb, const std::string& device = "ATMEGA8")
    {
        station = std::make_unique<Station>();
        app = &station->app();
        link = &station->link();
        ops = &station->ops();
        EXPECT_TRUE(test::LoadShippedChip(device, app->profile));
        app->profileLoaded = true;
        app->AttachUi(&ui, &ui, &ui, &ui);
        app->link.sleep = [](unsigned) {};
        app->link.backend = &backend;
        {
            std::lock_guard<std::mutex> lock(usb.mutex());
            usb.sim().chip = VirtualChip::FromProfile(app->profile);
        }
        ClearImages(app->buffer, app->profile, ClearSelector::All);
    }
    ~Bench() { CloseLink(app->link); }

    LibusbBackend backend;
    test::RecordingUi ui;
    std::unique_ptr<Station> station;
    AppState* app = nullptr;
    ProgrammerLink* link = nullptr;
    ChipOperations* ops = nullptr;
};

TEST(LibusbEndToEnd, OpenRules)
{
    {
        EmulatedProgrammer nothing(false);
        LibusbBackend backend;
        AppState app;
        app.link.backend = &backend;
        ProgrammerLink link(app.link, app.profile);
        EXPECT_EQ(link.transport().OpenLink(), kOpenNoDevice);
    }
    EmulatedProgrammer usb;
    Bench bench(usb);
    ASSERT_EQ(bench.link->transport().OpenLink(), kOpenHeld);
    std::vector<UsbBus> buses;
    ASSERT_EQ(bench.backend.ScanBuses(buses), 0);
    ASSERT_EQ(buses.size(), 1u);
    EXPECT_EQ(buses[0][0].portPath, "1-1");
    EXPECT_EQ(buses[0][0].address, 2);

    // The handle is kept between commands and none is leaked.
    uint8_t fuse = 0;
    ASSERT_TRUE(bench.link->EnterProgramming());
    ASSERT_EQ(bench.link->ReadFuse(kFuseLow, fuse), 1);
    const int before = OpenDescriptors();
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(bench.link->ReadFuse(kFuseLow, fuse), 1) << i;
    EXPECT_EQ(OpenDescriptors(), before);
    EXPECT_EQ(fuse, 0xE1);
}

TEST(LibusbEndToEnd, TheWireIsTheVirtualProgrammersWire)
{
    EmulatedProgrammer usb;
    Bench bench(usb);
    bench.app->buffer.flash[0] = 0x12;
    for (uint32_t i = 100; i < 3000; ++i)
        bench.app->buffer.flash[i] = static_cast<uint8_t>(i * 3);
    bench.app->buffer.eeprom[7] = 0x77;
    ASSERT_TRUE(bench.ops->EraseDevice());
    ASSERT_TRUE(bench.ops->ProgramDevice());
    ASSERT_TRUE(bench.ops->VerifyDevice());
    ASSERT_TRUE(bench.ops->ReadDevice());

    // The same operations straight on the virtual programmer.
    test::Rig rig("ATMEGA8");
    rig.app->buffer.flash = bench.app->buffer.flash;
    rig.app->buffer.eeprom = bench.app->buffer.eeprom;
    rig.OpenEarlier();  // the real path opens before its first command too
    rig.sim.packets.clear();
    ASSERT_TRUE(rig.ops->EraseDevice());
    ASSERT_TRUE(rig.ops->ProgramDevice());
    ASSERT_TRUE(rig.ops->VerifyDevice());
    ASSERT_TRUE(rig.ops->ReadDevice());

    std::lock_guard<std::mutex> lock(usb.mutex());
    const auto& wire = usb.sim().packets;
    ASSERT_EQ(wire.size(), rig.sim.packets.size());
    for (size_t i = 0; i < wire.size(); ++i) {
        EXPECT_EQ(test::Wire(wire[i]), test::Wire(rig.sim.packets[i])) << i;
        EXPECT_EQ(wire[i].data, rig.sim.packets[i].data) << i;
    }
    EXPECT_EQ(bench.ui.lines, rig.ui.lines);
    EXPECT_EQ(usb.sim().chip->flash, rig.sim.chip->flash);
}

TEST(LibusbEndToEnd, StallTimeoutAndUnplug)
{
    struct Case {
        const char* name;
        std::function<void(EmulatedProgrammer&)> arrange;
        Lines lines;
    } cases[] = {
        // URBs 1 to 6: connect, mode, enable, the three signature bytes.
        {"a stalled block", [](EmulatedProgrammer& u) { u.FailUrb(9, UrbFault::Stall); },
         {"器件ID:1E 93 07", "编程FLASH...", "编程FLASH错误...!"}},
        {"a block that never completes", [](EmulatedProgrammer& u) { u.FailUrb(9, UrbFault::Hang); },
         {"器件ID:1E 93 07", "编程FLASH...", "编程FLASH错误...!"}},
        {"unplugged in the middle of the write", [](EmulatedProgrammer& u) { u.UnplugAfterUrbs(13); },
         {"器件ID:1E 93 07", "编程FLASH...", "编程FLASH错误...!"}},
        // No chip, or another one, on the real path too: no block is written.
        {"an empty socket", [](EmulatedProgrammer& u) { std::lock_guard<std::mutex> l(u.mutex()); u.sim().chip.reset(); },
         {"找不到器件!"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EmulatedProgrammer usb;
        Bench bench(usb);
        bench.app->link.transferTimeoutMs = 200;
        bench.app->buffer.flash[5] = 0x42;
        const std::vector<uint8_t> flash = bench.app->buffer.flash;
        c.arrange(usb);
        EXPECT_FALSE(bench.ops->ProgramDevice());
        EXPECT_EQ(bench.ui.lines, c.lines);
        EXPECT_EQ(bench.app->buffer.flash, flash);  // nothing lost
        if (c.lines.size() == 1) {
            std::lock_guard<std::mutex> lock(usb.mutex());
            for (const SetupPacket& p : usb.sim().packets)
                EXPECT_NE(p.request, kRequestWriteFlash);
        }
    }
}

}  // namespace
}  // namespace morsk
