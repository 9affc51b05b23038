#include "chip_watch.h"

#include <chrono>

#include "auto_sequence.h"
#include "identify.h"
#include "text_util.h"

namespace morsk {

ChipWatch::ChipWatch(Station& station, ProductionOptions& options) : station_(station), options_(options) {}

ChipWatch::Probe ChipWatch::ProbeSocket(uint8_t signature[3])
{
    ProgrammerLink& link = station_.link();
    if (link.EnterProgramming() != 1)
        return Probe::NoProgrammer;
    const bool read = link.ReadSignature(signature) == 1;
    link.LeaveProgramming();
    const bool allHigh = signature[0] == 0xFF && signature[1] == 0xFF && signature[2] == 0xFF;
    // A socket without a chip leaves the data line high (or, on some
    // boards, low); a chip whose own signature is 00 00 00 is the one case
    // where all-low means a chip.
    const uint8_t* own = station_.app().profile.signature;
    const bool ownIsZero = own[0] == 0 && own[1] == 0 && own[2] == 0;
    const bool allLow = signature[0] == 0 && signature[1] == 0 && signature[2] == 0;
    if (!read || allHigh || (allLow && !ownIsZero))
        return Probe::Empty;
    return Probe::Chip;
}

WatchEvent ChipWatch::Poll()
{
    WatchEvent event;
    uint8_t signature[3] = {};
    const Probe probe = ProbeSocket(signature);
    if (probe == Probe::NoProgrammer) {
        if (!programmerLost_) {
            programmerLost_ = true;
            event.kind = WatchEvent::Kind::ProgrammerLost;
        }
        return event;
    }
    if (programmerLost_) {
        programmerLost_ = false;
        event.kind = WatchEvent::Kind::ProgrammerBack;
        return event;
    }
    if (!armed_) {
        if (probe == Probe::Empty) {
            armed_ = true;
            event.kind = WatchEvent::Kind::Removed;
        }
        return event;
    }
    if (probe == Probe::Empty || station_.app().link.CancelRequested())
        return event;
    armed_ = false;  // whatever happens now, this chip is done with
    const uint8_t* own = station_.app().profile.signature;
    event.signature = Format("%02X %02X %02X", signature[0], signature[1], signature[2]);
    if (signature[0] != own[0] || signature[1] != own[1] || signature[2] != own[2]) {
        event.kind = WatchEvent::Kind::WrongChip;
        event.detail = ChipNames(ChipsWithSignature(station_.app().paths.deviceList, station_.app().profile.family,
                                                    signature));
        return event;
    }
    return RunChip(event.signature);
}

WatchEvent ChipWatch::RunChip(const std::string& signature)
{
    AppState& app = station_.app();
    const auto start = std::chrono::steady_clock::now();
    WatchEvent event;
    event.chip = ++chips_;
    event.signature = signature;
    // Each chip is a run of its own; a stop request stays for the caller.
    app.link.cancelled = false;
    app.link.cancelReported = false;
    app.link.chipChanged = false;
    bool ok;
    {
        ProductionRun run(station_, options_);
        run.AddStep(AutoStepNames(app.settings.autoSequence));
        ok = RunNumberedAuto(run, app, station_.link());
        if (station_.EndOperation())
            ok = false;
        ok = run.Finish(ok);
        if (ok)
            event.serial = run.serial();
        else
            event.detail = run.failure();
    }
    event.kind = ok ? WatchEvent::Kind::Passed : WatchEvent::Kind::Failed;
    event.milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    return event;
}

std::string WatchLine(const WatchEvent& e, const AppState& app)
{
    const std::string chip = std::string(app.profile.manufacturer) + "/" + app.profile.deviceName;
    switch (e.kind) {
    case WatchEvent::Kind::Passed:
        return Format("通过 #%d %s", e.chip, chip.c_str()) +
               (e.serial ? std::string(" ") + kSerialLine + std::to_string(*e.serial) : std::string()) +
               Format(" (%lld ms)", e.milliseconds);
    case WatchEvent::Kind::Failed:
        return Format("失败 #%d %s: %s (%lld ms)", e.chip, chip.c_str(), e.detail.c_str(), e.milliseconds);
    case WatchEvent::Kind::WrongChip:
        return "不是所选的器件, 没有编程: 器件ID:" + e.signature + (e.detail.empty() ? "" : " (" + e.detail + ")");
    case WatchEvent::Kind::ProgrammerLost:
        return kProgrammerInitFailedLine;
    default:
        return {};
    }
}

}  // namespace morsk
