// Loading a 256 KiB image from Intel HEX with 16 data bytes a record.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "hex_writer.h"
#include "program_file.h"

namespace {

using namespace morsk;

void BM_LoadHex256K(benchmark::State& state)
{
    std::vector<uint8_t> image(kFlashCapacity);
    for (uint32_t i = 0; i < kFlashCapacity; ++i)
        image[i] = static_cast<uint8_t>(i * 7 + 1);
    const std::string path = (std::filesystem::temp_directory_path() / "morsk-bench-256k.hex").string();
    const std::string text = FormatIntelHex(image.data(), kFlashCapacity);
    WriteFileAtomically(path, text.data(), text.size());

    ChipProfile profile;
    profile.flashSize = kFlashCapacity;
    auto buffer = std::make_unique<DataBuffer>();
    ProgramFileState file;
    NullUi ui;
    for (auto _ : state) {
        if (LoadProgramFile(path, file, *buffer, profile, ui, ui) != LoadResult::Loaded)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(buffer->checksum);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kFlashCapacity);
    state.counters["file_bytes"] = static_cast<double>(text.size());
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadHex256K)->Unit(benchmark::kMillisecond);

}  // namespace
