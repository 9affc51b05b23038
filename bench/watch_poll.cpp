// What the watch costs the programmer while it waits for a chip: the
// transfers of one poll of an empty socket and of a socket holding a chip
// already done with, at three polls a second, and their wire time at the
// real programmer's pace. Run: build/.../bench/watch_poll
#include <cstdio>

#include "chip_watch.h"
#include "station.h"
#include "virtual_programmer.h"

using namespace morsk;

int main()
{
    Station station;
    AppState& app = station.app();
    std::vector<ManufacturerEntry> list;
    int m = 0, d = 0;
    if (!ReadDeviceNames(MORSK_DEVICE_LIST, list) || !FindDevice(list, "", "ATMEGA8", m, d) ||
        LoadChipProfile(app.profile, MORSK_DEVICE_LIST, m, d, DefaultUi()) != 1)
        return 1;
    app.profileLoaded = true;
    app.paths.deviceList = MORSK_DEVICE_LIST;
    SetAutoSequence(app.settings, "15");  // erase only: the run itself is not what is measured
    VirtualProgrammer sim;
    sim.record = true;
    app.link.backend = &sim;
    ProductionOptions options;
    ChipWatch watch(station, options);

    const auto measure = [&](const char* what) {
        sim.packets.clear();
        const uint64_t before = sim.transfers;
        constexpr int kPolls = 30;
        for (int i = 0; i < kPolls; ++i)
            watch.Poll();
        const double perPoll = static_cast<double>(sim.transfers - before) / kPolls;
        double wire = 0;
        for (const SetupPacket& p : sim.packets)
            wire += static_cast<double>(VirtualProgrammer::RealTransferTime(p.request, p.length).count());
        std::printf("%-28s %.1f transfers a poll, %.1f a second at %u ms, %.1f ms of wire time a poll\n", what,
                    perPoll, perPoll * 1000.0 / kWatchPollMs, kWatchPollMs, wire / kPolls / 1000.0);
    };
    sim.chip.reset();
    measure("empty socket:");
    sim.chip = VirtualChip::FromProfile(app.profile);
    watch.Poll();  // runs the chip once
    measure("chip in, already done:");
    return 0;
}
