// Program and verify a full 256 KiB flash against the virtual programmer
// with no latency: what the host side costs per 200-byte block.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "app_state.h"
#include "programmer_link.h"
#include "virtual_programmer.h"

namespace {

using namespace morsk;

void BM_ProgramAndVerify256K(benchmark::State& state)
{
    auto app = std::make_unique<AppState>();
    app->profile.family = kFamilyAvr;
    app->profile.flashSize = kFlashCapacity;
    app->profile.flashPageSize = 256;
    std::strcpy(app->profile.manufacturer, "ATMEL");
    for (uint32_t i = 0; i < kFlashCapacity; ++i)
        app->buffer.flash[i] = static_cast<uint8_t>(i * 31 + (i >> 9));
    VirtualProgrammer sim;
    sim.recordData = false;
    sim.chip = VirtualChip::FromProfile(app->profile);
    app->link.backend = &sim;
    ProgrammerLink link(app->link, app->profile);

    uint64_t blocks = 0;
    for (auto _ : state) {
        std::fill(sim.chip->flash.begin(), sim.chip->flash.end(), 0xFF);
        sim.packets.clear();
        const uint64_t before = sim.transfers;
        link.EnterProgramming();
        if (!link.WriteMemory(MemoryKind::Flash, {app->buffer.flash.data(), kFlashCapacity}, 256) ||
            link.CompareMemory(MemoryKind::Flash, {app->buffer.flash.data(), kFlashCapacity}, 256, true) != 0)
            state.SkipWithError("program or verify failed");
        link.LeaveProgramming();
        blocks += sim.transfers - before;
    }
    state.counters["transfers"] = benchmark::Counter(static_cast<double>(blocks) / state.iterations());
    // Seconds of host time per transfer (shown in ns or us).
    state.counters["time_per_transfer"] =
        benchmark::Counter(static_cast<double>(blocks), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ProgramAndVerify256K)->Unit(benchmark::kMillisecond);

}  // namespace
