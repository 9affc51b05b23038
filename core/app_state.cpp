#include "app_state.h"
#include "status_outcome.h"

#include <span>

#include "byte_util.h"

namespace morsk {

void AppState::AddStatusLine(std::string text)
{
    ++statusLineCount;
    if (record.active && record.firstFailure.empty() && ClassifyStatusLine(text) == LineOutcome::Failure)
        record.firstFailure = text;
    if (record.active)
        record.lastLine = text;
    status->AddStatusLine(std::move(text));
}

void AppState::ShowCounters()
{
    status->ShowCounters(successCount, failureCount);
}

void AppState::AttachUi(StatusSink* statusSink, Notifier* notifierSink, ProgressSink* progressSink,
                        DiagnosticSink* diagnosticSink)
{
    if (statusSink)
        status = statusSink;
    if (notifierSink)
        notifier = link.notifier = notifierSink;
    if (progressSink)
        link.progress = progressSink;
    if (diagnosticSink)
        link.diagnostics = diagnosticSink;
}

bool ChipCommandsAllowed(const AppState& app)
{
    return app.profileLoaded && IsDrivenChip(app.profile);
}

bool UpdateReadiness(AppState& app)
{
    const bool ready = ChipCommandsAllowed(app);
    app.status->SetOperationsEnabled(ready);
    app.AddStatusLine(ready ? kReadyLine : kUnsupportedLine);
    return ready;
}

void RefreshChecksum(AppState& app)
{
    UpdateChecksum(app.buffer, app.profile, app.file.shownPath, *app.status);
}

StartResult StartUp(AppState& app, const std::string& workDir, const StartOptions& options)
{
    app.paths = options.paths.value_or(BuildPaths(workDir));
    StartResult result = StartResult::Started;
    std::vector<ManufacturerEntry> list;
    std::optional<ChipIndexes> chip;
    if (!ReadDeviceNames(app.paths.deviceList, list)) {
        result = StartResult::NoDeviceList;
    } else if (options.chip) {
        ChipIndexes found;
        if (!FindDevice(list, options.chip->first, options.chip->second, found.manufIndex, found.deviceIndex))
            return StartResult::UnknownChip;
        chip = found;
    }
    app.profileLoaded = LoadSettings(app.paths, app.settings, app.profile, *app.notifier, *app.status,
                                     chip) == 1;
    ClearImages(app.buffer, app.profile, ClearSelector::All);
    RefreshChecksum(app);
    if (options.readiness) {
        UpdateReadiness(app);
        app.ShowCounters();
    }
    app.link.linkOption = 0;
    return result;
}

void ChangeChip(AppState& app, int manufIndex, int deviceIndex)
{
    app.settings.manufIndex = manufIndex;
    app.settings.deviceIndex = deviceIndex;
    SaidIfNotSaved(app, SaveChipSelection(app.paths, app.settings));
    app.profileLoaded = LoadChipProfile(app.profile, app.paths.deviceList, manufIndex, deviceIndex,
                                        *app.notifier) == 1;
    UpdateReadiness(app);
    app.status->SetChipLine(ChipLine(app.profile, ChipLineStyle::AfterChange));
    if (app.settings.clearOnChipChange) {
        ClearImages(app.buffer, app.profile, ClearSelector::All);
        app.file = {};
    }
    // The view takes the new sizes at once, so the checksum line and the
    // buffer editor describe what a program would write.
    ComposeView(app.buffer, app.profile);
    RefreshChecksum(app);
    const auto beyond = [](const std::vector<uint8_t>& image, uint32_t used) {
        return !AllErased(std::span<const uint8_t>(image).subspan(used));
    };
    if (beyond(app.buffer.flash, UsedFlash(app.profile)) || beyond(app.buffer.eeprom, UsedEeprom(app.profile)))
        app.AddStatusLine(kBufferBeyondChipLine);
}

bool SaidIfNotSaved(AppState& app, bool saved)
{
    if (!saved)
        app.AddStatusLine(kSettingsNotSavedLine);
    return saved;
}

LoadResult LoadFile(AppState& app, const std::string& path)
{
    std::string note;
    // With the option on, a load starts from an erased buffer; a refused
    // file still changes nothing.
    DataBuffer cleared;  // all 0xFF
    DataBuffer& target = app.settings.clearOnLoad ? cleared : app.buffer;
    const LoadResult result =
        LoadProgramFile(path, app.file, target, app.profile, *app.notifier, *app.status, &note);
    if (result != LoadResult::Loaded)
        return result;
    if (app.settings.clearOnLoad)
        app.buffer = std::move(cleared);
    if (!note.empty())
        app.AddStatusLine(note);
    return result;
}

void ResetCounters(AppState& app)
{
    app.successCount = 0;
    app.failureCount = 0;
    app.ShowCounters();
}

void ClearBuffer(AppState& app)
{
    ClearImages(app.buffer, app.profile, ClearSelector::All);
    ShowClearedBuffer(app);
}

void ShowDataFromChip(AppState& app)
{
    app.file = {};
    app.file.shownPath = std::string("(读自器件 ") + app.profile.deviceName + ")";
    RefreshChecksum(app);
}

void ShowClearedBuffer(AppState& app)
{
    app.file = {};
    RefreshChecksum(app);
}

}  // namespace morsk
