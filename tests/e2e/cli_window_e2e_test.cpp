// The command line and the window, each once, against the emulated
// programmer through the real libusb path. Qt lives in this file only:
// umockdev's glib headers stay in usb_emulation.cpp.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "chip_backup.h"
#include "gui_support.h"
#include "libusb_backend.h"
#include "sim_rig.h"
#include "usb_emulation.h"

namespace morsk {
namespace {

using test::EmulatedProgrammer;

TEST(EndToEnd, CommandLineWithoutTheSimulator)
{
    EmulatedProgrammer usb;
    test::TempDir dir;
    test::WriteFile(dir.File("Device.csv"), test::ReadFile(MORSK_DEVICE_LIST));
    std::string image(8192, '\xFF');
    for (size_t i = 0; i < 1500; ++i)
        image[i] = static_cast<char>(i * 5 + 1);
    test::WriteFile(dir.File("fw.bin"), image);
    {
        std::lock_guard<std::mutex> lock(usb.mutex());
        ChipProfile p;
        ASSERT_TRUE(test::LoadShippedChip("ATMEGA8", p));
        usb.sim().chip = VirtualChip::FromProfile(p);
    }
    // A child of its own, with the preload library and the leak checker;
    // its exit status.
    const auto runCli = [&dir](const std::string& args) {
        const std::string command = "cd '" + dir.path().string() +
                                    "' && LD_PRELOAD=libumockdev-preload.so.0 "
                                    "ASAN_OPTIONS=verify_asan_link_order=0:detect_leaks=1 '" MORSK_CLI "' " +
                                    args + " > out 2> err";
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    EXPECT_EQ(runCli("--chip ATMEL/ATMEGA8 --load fw.bin erase program verify"), 0) << test::ReadFile(dir.File("err"));
    EXPECT_EQ(test::ReadFile(dir.File("out")),
              "器件ID:1E 93 07\n擦除芯片...\n擦除芯片成功!\n器件ID:1E 93 07\n编程FLASH...\n编程FLASH成功!\n编程EEPROM...\n"
              "编程EEPROM成功!\n编程器件完成!\n器件ID:1E 93 07\n效验器件完成!\n");
    EXPECT_EQ(test::ReadFile(dir.File("err")), "");  // no leak report, no warning
    {
        std::lock_guard<std::mutex> lock(usb.mutex());
        EXPECT_EQ(std::string(usb.sim().chip->flash.begin(), usb.sim().chip->flash.end()), image);
    }

    // The chip identified and backed up over the same path.
    EXPECT_EQ(runCli("--chip auto identify backup whole.hex"), 0) << test::ReadFile(dir.File("err"));
    const std::string out = test::ReadFile(dir.File("out"));
    EXPECT_EQ(out.substr(0, out.find("器件ID")), "chip: ATMEL/ATMEGA8\nATMEL/ATMEGA8\n");
    ChipBackup backup;
    std::string reason;
    ASSERT_TRUE(ParseBackup(test::ReadFile(dir.File("whole.hex")), backup, reason)) << reason;
    backup.flash.resize(image.size(), 0xFF);  // the file leaves the erased tail out
    EXPECT_EQ(std::string(backup.flash.begin(), backup.flash.end()), image);
}

TEST(EndToEnd, WindowProgramRun)
{
    EmulatedProgrammer usb;
    {
        std::lock_guard<std::mutex> lock(usb.mutex());
        ChipProfile p;
        ASSERT_TRUE(test::LoadShippedChip("ATMEGA8", p));
        usb.sim().chip = VirtualChip::FromProfile(p);
    }
    ProgrammerOptions real;
    real.realBackend = MakeLibusbBackend;
    test::WindowRig rig("", real);  // real USB: here, the emulated bus
    EXPECT_EQ(rig.window->session().simulator(), nullptr);
    rig.app->buffer.flash[3] = 0x33;
    test::Click(rig.window.get(), 1025);
    EXPECT_EQ(rig.StatusLines(), (std::vector<std::string>{kReadyLine, "器件ID:1E 93 07", "编程FLASH...", "编程FLASH成功!", "编程EEPROM...",
                                                           "编程EEPROM成功!", "编程器件完成!"}));
    std::lock_guard<std::mutex> lock(usb.mutex());
    EXPECT_EQ(usb.sim().chip->flash[3], 0x33);
}

}  // namespace
}  // namespace morsk
