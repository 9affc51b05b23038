#include <gtest/gtest.h>

#include "sim_rig.h"
#include "station.h"
#include "virtual_programmer.h"

namespace morsk {
namespace {

using Lines = std::vector<std::string>;

// A working directory with the shipped list, and stations started in it
// exactly as the two programs start theirs.
struct Bench {
    Bench() { test::WriteFile(dir.File("Device.csv"), test::ReadFile(MORSK_DEVICE_LIST)); }

    std::unique_ptr<Station> Start(const ProgrammerOptions& options, std::string& error, bool& started)
    {
        auto station = std::make_unique<Station>();
        station->app().AttachUi(&ui, &ui, &ui, &ui);
        station->StartUp(dir.path().string());  // ATMEL ATMEGA8
        ui.lines.clear();
        started = station->StartProgrammer(options, error);
        return station;
    }

    static ProgrammerOptions Simulated(const std::string& state = "")
    {
        ProgrammerOptions options;
        options.simulate = true;
        if (!state.empty())
            options.simState = state;
        return options;
    }

    test::TempDir dir;
    test::RecordingUi ui;
};

TEST(ProgrammerSession, WithoutARealBackendThereIsNoProgrammer)
{
    Bench b;
    std::string error;
    bool started = false;
    auto station = b.Start({}, error, started);
    ASSERT_TRUE(started);
    EXPECT_EQ(station->session().simulator(), nullptr);
    EXPECT_EQ(station->session().backend(), nullptr);
    EXPECT_FALSE(station->ops().EraseDevice());
    EXPECT_EQ(b.ui.lines, Lines{"下载器初始化出错!"});
}

TEST(ProgrammerSession, ShutdownClosesTheHandleAndKeepsTheChip)
{
    Bench b;
    const std::string state = b.dir.File("chip.state");
    std::string error;
    bool started = false;
    {
        auto station = b.Start(Bench::Simulated(state), error, started);
        ASSERT_TRUE(started) << error;
        VirtualProgrammer* sim = station->session().simulator();
        ASSERT_NE(sim, nullptr);
        station->app().buffer.flash[0] = 0x12;
        ASSERT_TRUE(station->ops().ProgramDevice());
        EXPECT_EQ(sim->OpenHandles(), 1u);
        ASSERT_TRUE(station->Shutdown(error));
        EXPECT_EQ(sim->OpenHandles(), 0u);
        EXPECT_EQ(station->app().link.backend, nullptr);
    }
    // A later run finds the programmed chip in the socket.
    auto again = b.Start(Bench::Simulated(state), error, started);
    ASSERT_TRUE(started);
    EXPECT_EQ(again->session().simulator()->chip->flash[0], 0x12);

    // A chip the list lacks, and a state file of another chip.
    ProgrammerOptions options = Bench::Simulated(state);
    options.simChip = "NOSUCHCHIP";
    auto wrong = b.Start(options, error, started);
    EXPECT_FALSE(started);
    EXPECT_EQ(error, "no enabled device NOSUCHCHIP in " + wrong->app().paths.deviceList);
    options.simChip = "ATTINY13";
    auto other = b.Start(options, error, started);
    EXPECT_FALSE(started);
    EXPECT_EQ(error, state + " does not hold a ATTINY13 chip");
}

TEST(ProgrammerSession, LongDemonstrationsRecordNothing)
{
    Bench b;
    std::string error;
    bool started = false;
    auto station = b.Start(Bench::Simulated(), error, started);
    ASSERT_TRUE(started);
    ASSERT_TRUE(station->ops().ProgramDevice());
    EXPECT_GT(station->session().simulator()->transfers, 40u);
    EXPECT_TRUE(station->session().simulator()->packets.empty());
}

TEST(Station, TheLockKeepsASecondStationOffTheProgrammer)
{
    Bench b;
    std::string error;
    bool started = false;
    auto first = b.Start(Bench::Simulated(), error, started);
    auto second = b.Start(Bench::Simulated(), error, started);
    ASSERT_TRUE(first->Claim(error)) << error;
    const uint64_t before = second->session().simulator()->transfers;
    EXPECT_FALSE(second->RunClaimed([&] { return second->ops().EraseDevice(); }));
    EXPECT_EQ(b.ui.lines, Lines{kProgrammerInUseLine});
    EXPECT_EQ(second->session().simulator()->transfers, before);
    first->Release();
    EXPECT_TRUE(second->RunClaimed([&] { return second->ops().EraseDevice(); }));
}

}  // namespace
}  // namespace morsk
