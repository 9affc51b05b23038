// The hex editor with the largest combined view (256 KiB flash + 4 KiB
// EEPROM): a full repaint of a 1920x1080 control at the top, the middle
// and the end, and SetData. Runs on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <vector>

#include "hex_edit_base.h"

namespace {

constexpr uint32_t kViewBytes = 262144 + 4096;

std::vector<uint8_t> Bytes()
{
    std::vector<uint8_t> bytes(kViewBytes);
    for (uint32_t i = 0; i < kViewBytes; ++i)
        bytes[i] = static_cast<uint8_t>(i * 31 + (i >> 9));
    return bytes;
}

void Repaint(benchmark::State& state)
{
    morsk::CHexEditBase editor;
    editor.resize(1920, 1080);
    editor.SetAddressDigits(8);
    editor.SetShowAddress(true);
    editor.SetShowAscii(true);
    editor.SetBytesPerRow(16, true);
    const std::vector<uint8_t> bytes = Bytes();
    editor.SetData(bytes);
    editor.show();
    QCoreApplication::processEvents();
    const uint32_t target = static_cast<uint32_t>(state.range(0) * (kViewBytes - 1) / 2);
    editor.SetSelection(target, target, true);
    editor.SetSelection(morsk::hexedit::kNone, morsk::hexedit::kNone, false);
    QImage image(editor.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        editor.viewport()->render(&image);
        benchmark::DoNotOptimize(image.bits());
    }
    state.counters["rows"] = editor.model().PaintedRows();
    state.counters["top_row"] = editor.model().topRow();
}
// 0 top, 1 middle, 2 end
BENCHMARK(Repaint)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void SetData(benchmark::State& state)
{
    morsk::CHexEditBase editor;
    editor.resize(1920, 1080);
    const std::vector<uint8_t> bytes = Bytes();
    for (auto _ : state)
        editor.SetData(bytes);
}
BENCHMARK(SetData)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
