// A programmer bench for the tests: the core object the programs use, with
// the virtual programmer (the selected chip in its socket) on its link, and
// recorders.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_state.h"
#include "chip_operations.h"
#include "programmer_link.h"
#include "station.h"
#include "test_support.h"
#include "virtual_programmer.h"

namespace morsk::test {

// Loads a device of the shipped list by name into `profile`.
inline bool LoadShippedChip(const std::string& name, ChipProfile& profile)
{
    std::vector<ManufacturerEntry> list;
    int m = 0, d = 0;
    return ReadDeviceNames(MORSK_DEVICE_LIST, list) && FindDevice(list, "", name, m, d) &&
           LoadChipProfile(profile, MORSK_DEVICE_LIST, m, d, DefaultUi()) == 1;
}

// "C0 03 AC 80 4F 00 04 00": the 8-byte USB setup packet.
inline std::string Wire(const SetupPacket& p)
{
    return Format("%02X %02X %02X %02X %02X %02X %02X %02X", p.requestType, p.request, p.value & 0xFF,
                  p.value >> 8, p.index & 0xFF, p.index >> 8, p.length & 0xFF, p.length >> 8);
}

// "6 out 00 00 40 01 200": request, direction, setup block, length.
inline std::string Block(const SetupPacket& p)
{
    return Format("%u %s %02X %02X %02X %02X %u", p.request, (p.requestType & 0x80) ? "in" : "out",
                  p.Setup(0), p.Setup(1), p.Setup(2), p.Setup(3), p.length);
}

inline std::vector<std::string> Blocks(const std::vector<SetupPacket>& packets, size_t from = 0)
{
    std::vector<std::string> out;
    for (size_t i = from; i < packets.size(); ++i)
        out.push_back(Block(packets[i]));
    return out;
}

struct Rig {
    explicit Rig(const std::string& device = "ATMEGA8")
    {
        station = std::make_unique<Station>();
        app = &station->app();
        link = &station->link();
        ops = &station->ops();
        EXPECT_TRUE(LoadShippedChip(device, app->profile)) << device;
        app->profileLoaded = true;
        app->AttachUi(&ui, &ui, &ui, &ui);
        app->link.backend = &sim;
        sim.record = true;
        app->link.sleep = [this](unsigned ms) { sleeps.push_back(ms); };
        sim.chip = VirtualChip::FromProfile(app->profile);
        ClearImages(app->buffer, app->profile, ClearSelector::All);
    }

    // Puts another chip of the list into the socket (or none).
    void Socket(const std::string& device)
    {
        if (device.empty()) {
            sim.chip.reset();
            return;
        }
        ChipProfile other;
        EXPECT_TRUE(LoadShippedChip(device, other)) << device;
        sim.chip = VirtualChip::FromProfile(other);
    }

    // Opens the link once, as an earlier operation would have.
    void OpenEarlier()
    {
        ASSERT_EQ(link->transport().OpenLink(), 0);
        sim.packets.clear();
    }

    // Enters programming mode and forgets the packets so far.
    void Enter()
    {
        ASSERT_EQ(link->EnterProgramming(), 1);
        sim.packets.clear();
    }

    // Packets of one request number.
    std::vector<SetupPacket> Requests(uint8_t request) const
    {
        std::vector<SetupPacket> out;
        for (const SetupPacket& p : sim.packets)
            if (p.request == request)
                out.push_back(p);
        return out;
    }

    void FillFlash(uint32_t length, uint32_t seed = 1)
    {
        for (uint32_t i = 0; i < length; ++i)
            app->buffer.flash[i] = static_cast<uint8_t>((i * 7 + seed + (i >> 8)) & 0xFF);
    }

    VirtualProgrammer sim;
    RecordingUi ui;
    std::unique_ptr<Station> station;
    AppState* app = nullptr;
    ProgrammerLink* link = nullptr;
    ChipOperations* ops = nullptr;
    std::vector<unsigned> sleeps;
};

}  // namespace morsk::test
