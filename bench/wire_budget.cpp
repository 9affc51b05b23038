// Counts what erase + program + verify put on the wire for a program that
// fills only part of the chip, with and without programming only the used
// part, and what that costs at the real programmer's speed (3.9 KiB/s
// writing, 8.6 KiB/s reading). Run: build/.../bench/wire_budget
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app_state.h"
#include "chip_operations.h"
#include "programmer_link.h"
#include "virtual_programmer.h"

using namespace morsk;

namespace {

constexpr char kDeviceList[] = MORSK_DEVICE_LIST;

struct Budget {
    size_t transfers = 0;
    uint64_t bytesOut = 0;
    uint64_t bytesIn = 0;
};

Budget Run(const std::string& device, uint32_t programBytes, bool skipBlank)
{
    auto app = std::make_unique<AppState>();
    std::vector<ManufacturerEntry> list;
    int m = 0, d = 0;
    if (!ReadDeviceNames(kDeviceList, list) || !FindDevice(list, "", device, m, d) ||
        !LoadChipProfile(app->profile, kDeviceList, m, d, DefaultUi())) {
        std::fprintf(stderr, "no %s in %s\n", device.c_str(), kDeviceList);
        std::exit(1);
    }
    app->profileLoaded = true;
    app->settings.skipBlank = skipBlank;
    app->link.sleep = [](unsigned) {};
    ClearImages(app->buffer, app->profile, ClearSelector::All);
    for (uint32_t i = 0; i < programBytes; ++i)
        app->buffer.flash[i] = static_cast<uint8_t>(i * 7 + 1);
    VirtualProgrammer sim;
    sim.record = true;
    sim.recordData = false;
    sim.chip = VirtualChip::FromProfile(app->profile);
    app->link.backend = &sim;
    ProgrammerLink link(app->link, app->profile);
    ChipOperations ops(*app, link);
    if (!ops.EraseDevice() || !ops.ProgramDevice() || !ops.VerifyDevice()) {
        std::fprintf(stderr, "the cycle failed on %s\n", device.c_str());
        std::exit(1);
    }
    Budget b;
    b.transfers = sim.packets.size();
    for (const SetupPacket& p : sim.packets)
        ((p.requestType & 0x80) ? b.bytesIn : b.bytesOut) += p.length;
    CloseLink(app->link);
    return b;
}

}  // namespace

int main()
{
    std::printf("%-12s %7s %-4s %9s %9s %9s %8s\n", "chip", "program", "skip", "transfers", "bytes out",
                "bytes in", "wire s");
    for (const auto& [device, bytes] : {std::pair<std::string, uint32_t>{"ATMEGA2560", 20480}, {"ATMEGA8", 6000}}) {
        for (bool skip : {false, true}) {
            const Budget b = Run(device, bytes, skip);
            const double seconds = b.bytesOut / (3.9 * 1024) + b.bytesIn / (8.6 * 1024);
            std::printf("%-12s %7u %-4s %9zu %9llu %9llu %8.1f\n", device.c_str(), bytes, skip ? "on" : "off",
                        b.transfers, static_cast<unsigned long long>(b.bytesOut),
                        static_cast<unsigned long long>(b.bytesIn), seconds);
        }
    }
    return 0;
}
