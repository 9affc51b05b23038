#include "app_state.h"

namespace morsk {

void AppState::AddStatusLine(std::string text)
{
    ++statusLineCount;
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
    return app.profileLoaded &&
           (IsManufacturer(app.profile, "ATMEL") || IsManufacturer(app.profile, "NORDIC"));
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

void StartUp(AppState& app, const std::string& workDir)
{
    app.profileLoaded = LoadSettings(workDir, app.paths, app.settings, app.profile, *app.notifier,
                                     *app.status) == 1;
    ClearImages(app.buffer, app.profile, 0);
    RefreshChecksum(app);
    UpdateReadiness(app);
    app.ShowCounters();
    app.link.linkOption = 0;
}

void ChangeChip(AppState& app, int manufIndex, int deviceIndex)
{
    app.settings.manufIndex = manufIndex;
    app.settings.deviceIndex = deviceIndex;
    SaveChipSelection(app.paths, app.settings);
    app.profileLoaded = LoadChipProfile(app.profile, app.paths.deviceList, manufIndex, deviceIndex,
                                        *app.notifier) == 1;
    UpdateReadiness(app);
    app.status->SetChipLine(ChipLine(app.profile, "  "));
    RefreshChecksum(app);
}

}  // namespace morsk
