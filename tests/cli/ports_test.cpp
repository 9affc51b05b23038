// Several programmers on one PC: listing, choosing one by its port, and
// one process per programmer.
#include <gtest/gtest.h>

#include "cli_runner.h"
#include "port_lock.h"
#include "programmer_ports.h"
#include "sim_rig.h"

namespace morsk {
namespace {

using test::Cli;
using test::ReadFile;
using test::Result;
using test::Rig;
using test::WriteFile;

TEST(DeviceFilter, PortPathsAndBusAddresses)
{
    struct Case {
        const char* text;
        bool ok;
        const char* described;
    } cases[] = {
        {"1-2.3", true, "port 1-2.3"}, {"3-1", true, "port 3-1"}, {"2:7", true, "bus 002, address 007"},
        {"1-", false, ""},             {"1-2.", false, ""},      {"x-1", false, ""},
        {"1:", false, ""},             {"300:1", false, ""},     {"", false, ""},
    };
    for (const Case& c : cases) {
        DeviceFilter f;
        EXPECT_EQ(DeviceFilter::Parse(c.text, f), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(f.Describe(), c.described);
        }
    }
    DeviceFilter f;
    ASSERT_TRUE(DeviceFilter::Parse("1:5", f));
    EXPECT_TRUE(f.Matches({0x16C0, 0x05DC, 0, 1, 5, "1-2"}));
    EXPECT_FALSE(f.Matches({0x16C0, 0x05DC, 0, 1, 6, "1-2"}));
}

TEST(Ports, ListingAndChoosingTheSecondOfThree)
{
    Rig rig("ATMEGA8");
    rig.sim.programmers = {true, false, true};
    for (size_t i = 1; i < 3; ++i)
        rig.sim.Socket(i) = VirtualChip::FromProfile(rig.app->profile);
    std::vector<ProgrammerPort> ports;
    std::string error;
    ASSERT_TRUE(ListProgrammers(rig.sim, ports, error));
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_EQ(ports[1].device.portPath, "1-2");
    EXPECT_TRUE(ports[0].canOpen);
    EXPECT_FALSE(ports[1].canOpen);
    EXPECT_EQ(ports[1].openError, kUsbErrorAccess);
    EXPECT_EQ(rig.sim.OpenHandles(), 0u);  // each was closed again

    // The third, by port: only its chip is written.
    rig.sim.programmers = {true, true, true};
    ASSERT_TRUE(DeviceFilter::Parse("1-3", rig.app->link.filter));
    rig.FillFlash(100);
    ASSERT_TRUE(rig.ops->ProgramDevice());
    EXPECT_EQ(rig.sim.Socket(2)->flash[1], rig.app->buffer.flash[1]);
    EXPECT_EQ(rig.sim.Socket(0)->flash[1], 0xFF);
    EXPECT_EQ(rig.sim.Socket(1)->flash[1], 0xFF);
    EXPECT_FALSE(rig.sim.Used(1));

    // A port with nothing attached fails as with no programmer, and says which.
    ASSERT_TRUE(DeviceFilter::Parse("1-7", rig.app->link.filter));
    CloseLink(rig.app->link);
    rig.ui.lines.clear();
    EXPECT_FALSE(rig.ops->EraseDevice());
    EXPECT_EQ(rig.ui.lines, std::vector<std::string>{"下载器初始化出错!"});
    EXPECT_NE(rig.ui.diagnostics.find("Warning: no programmer on port 1-7\n"), std::string::npos);
}

TEST_F(Cli, ListsTheAttachedProgrammers)
{
    Result r = Run("programmers");  // the tests' empty bus
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "no programmer attached\n");
    r = Run("--simulate programmers");
    EXPECT_EQ(r.out, "1-1 bus 001 address 004 ok\n");
    r = Run("--simulate --sim-programmers 3 programmers");
    EXPECT_EQ(r.out, "1-1 bus 001 address 004 ok\n1-2 bus 001 address 005 ok\n1-3 bus 001 address 006 ok\n");
    EXPECT_EQ(Run("--port 1-2- erase").status, 2);
}

TEST_F(Cli, OneProcessPerProgrammer)
{
    const std::string sim = "--chip ATMEL/ATMEGA8 --simulate --sim-programmers 2 ";
    PortLock first;
    std::string error;
    ::setenv("MORSK_LOCK_DIR", dir.path().c_str(), 1);
    ASSERT_TRUE(first.Acquire("sim-1-1", error)) << error;
    ::unsetenv("MORSK_LOCK_DIR");

    Result r = Run(sim + "--port 1-1 erase");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "morsk-cli: the programmer on sim-1-1 is in use by another process\n");
    // Without --port the first programmer is the target: taken as well.
    EXPECT_EQ(Run(sim + "erase").status, 1);
    // Another port is free; a command that drives no chip needs no lock.
    EXPECT_EQ(Run(sim + "--port 1-2 erase").status, 0);
    EXPECT_EQ(Run(sim + "--port 1-1 profile").status, 0);
    first.Release();
    EXPECT_EQ(Run(sim + "--port 1-1 erase").status, 0);
}

TEST_F(Cli, ThreeProgrammersInParallel)
{
    std::string commands;
    for (int k = 1; k <= 3; ++k) {
        std::string image(8192, '\xFF');
        for (size_t i = 0; i < 2000; ++i)
            image[i] = static_cast<char>(i * k + k);
        WriteFile(dir.File("fw" + std::to_string(k) + ".bin"), image);
        commands += "(" + Command("--chip ATMEL/ATMEGA8 --simulate --sim-programmers 3 --sim-state chip.state --port 1-" +
                                      std::to_string(k) + " --load fw" + std::to_string(k) + ".bin erase program verify",
                                  "run" + std::to_string(k)) +
                    "; echo $? > run" + std::to_string(k) + ".status) & ";
    }
    ASSERT_EQ(std::system(("(" + commands + "wait)").c_str()), 0);
    for (int k = 1; k <= 3; ++k) {
        const std::string tag = "run" + std::to_string(k);
        EXPECT_EQ(ReadFile(dir.File(tag + ".status")), "0\n") << ReadFile(dir.File(tag + ".err"));
        EXPECT_NE(ReadFile(dir.File(tag + ".out")).find("效验器件完成!"), std::string::npos);
        // Each chip holds its own image: verify it again, and another's fails.
        const std::string port = " --port 1-" + std::to_string(k);
        const std::string base = "--chip ATMEL/ATMEGA8 --simulate --sim-programmers 3 --sim-state chip.state" + port;
        EXPECT_EQ(Run(base + " --load fw" + std::to_string(k) + ".bin verify").status, 0) << k;
        EXPECT_EQ(Run(base + " --load fw" + std::to_string(k % 3 + 1) + ".bin verify").status, 1) << k;
    }
}

}  // namespace
}  // namespace morsk
