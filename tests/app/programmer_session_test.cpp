#include <gtest/gtest.h>

#include "chip_operations.h"
#include "programmer_session.h"
#include "sim_rig.h"
#include "virtual_programmer.h"

namespace morsk {
namespace {

using Lines = std::vector<std::string>;

struct Bench {
    Bench()
    {
        test::WriteFile(dir.File("Device.csv"), test::ReadFile(MORSK_DEVICE_LIST));
        app.AttachUi(&ui, &ui, &ui, &ui);
        StartUp(app, dir.path().string());  // ATMEL ATMEGA8
        ui.lines.clear();
    }
    test::TempDir dir;
    test::RecordingUi ui;
    AppState app;
};

TEST(ProgrammerSession, WithoutSimulationTheTestsSeeAnEmptyBus)
{
    Bench b;
    ProgrammerSession session(b.app);
    std::string error;
    ASSERT_TRUE(session.Start({}, error));
    EXPECT_EQ(session.simulator(), nullptr);
    ProgrammerLink link(b.app.link, b.app.profile);
    ChipOperations ops(b.app, link);
    EXPECT_FALSE(ops.EraseDevice());
    EXPECT_EQ(b.ui.lines, Lines{"下载器初始化出错!"});
}

TEST(ProgrammerSession, ShutdownClosesTheHandleAndKeepsTheChip)
{
    Bench b;
    const std::string state = b.dir.File("chip.state");
    {
        ProgrammerSession session(b.app);
        std::string error;
        ProgrammerOptions options;
        options.simulate = true;
        options.simState = state;
        ASSERT_TRUE(session.Start(options, error)) << error;
        VirtualProgrammer* sim = session.simulator();
        ASSERT_NE(sim, nullptr);
        ProgrammerLink link(b.app.link, b.app.profile);
        ChipOperations ops(b.app, link);
        b.app.buffer.flash[0] = 0x12;
        ASSERT_TRUE(ops.ProgramDevice());
        EXPECT_EQ(sim->OpenHandles(), 1u);
        ASSERT_TRUE(session.Shutdown(error));
        EXPECT_EQ(sim->OpenHandles(), 0u);
        EXPECT_EQ(b.app.link.backend, nullptr);
    }
    // A later run finds the programmed chip in the socket.
    ProgrammerSession again(b.app);
    std::string error;
    ProgrammerOptions options;
    options.simulate = true;
    options.simState = state;
    ASSERT_TRUE(again.Start(options, error));
    EXPECT_EQ(again.simulator()->chip->flash[0], 0x12);

    // A chip the list lacks, and a state file of another chip.
    ProgrammerSession wrong(b.app);
    options.simChip = "NOSUCHCHIP";
    EXPECT_FALSE(wrong.Start(options, error));
    EXPECT_EQ(error, "no enabled device NOSUCHCHIP in " + b.app.paths.deviceList);
    ProgrammerSession other(b.app);
    options.simChip = "ATTINY13";
    EXPECT_FALSE(other.Start(options, error));
    EXPECT_EQ(error, state + " does not hold a ATTINY13 chip");
}

TEST(ProgrammerSession, LongDemonstrationsRecordNothing)
{
    Bench b;
    ProgrammerSession session(b.app);
    std::string error;
    ProgrammerOptions options;
    options.simulate = true;
    ASSERT_TRUE(session.Start(options, error));
    ProgrammerLink link(b.app.link, b.app.profile);
    ChipOperations ops(b.app, link);
    ASSERT_TRUE(ops.ProgramDevice());
    EXPECT_GT(session.simulator()->transfers, 40u);
    EXPECT_TRUE(session.simulator()->packets.empty());
}

}  // namespace
}  // namespace morsk
