// morsk-cli: the programmer's operations for scripts and production lines,
// with the same core, files and texts as the window.
#include <signal.h>

#include <algorithm>
#include <optional>
#include <cstdio>
#include <string>
#include <vector>

#include "command_line.h"
#include "console_ui.h"
#include "auto_sequence.h"
#include "libusb_backend.h"
#include "station.h"

using namespace morsk;
using namespace morsk::cli;

namespace {

// Ctrl+C or SIGTERM: the running transfer stops at the next block boundary
// and the run ends as cancelled; a second one ends the process at once.
Station* gStation = nullptr;

extern "C" void OnStopSignal(int)
{
    if (gStation)
        gStation->RequestCancel();
}

void CatchStopSignals()
{
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// Loads the --load files in order; an exit status, or -1 when all loaded.
// A refused file has told why in one line on standard error.
int LoadFiles(AppState& app, const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        switch (LoadFile(app, path)) {
        case LoadResult::Loaded:
            break;
        case LoadResult::Refused:
            return kExitFailed;
        case LoadResult::UnknownFormat:
        case LoadResult::CannotOpen:
            return kExitUsage;
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    std::string out, err;
    if (const int status = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), options, out, err);
        status >= 0) {
        std::fputs(out.c_str(), stdout);
        std::fputs(err.c_str(), stderr);
        return status;
    }

    SetLanguage(options.language);
    ConsoleUi ui;
    Station station;
    AppState& app = station.app();
    app.AttachUi(&ui, &ui, &ui, &ui);

    StartOptions start;
    start.paths = SettingsPaths{options.settings, options.deviceList};
    start.readiness = false;
    start.chip = options.chip;
    const bool onlyListing = std::all_of(options.commands.begin(), options.commands.end(),
                                         [](const auto& cmd) { return cmd[0] == "programmers"; });
    switch (station.StartUp(".", start)) {
    case StartResult::Started:
        break;
    case StartResult::NoDeviceList:
        if (onlyListing)
            break;  // listing the programmers needs no chip
        std::fprintf(stderr, "morsk-cli: cannot read %s\n", options.deviceList.c_str());
        return kExitUsage;
    case StartResult::UnknownChip:
        std::fprintf(stderr, "morsk-cli: no enabled device %s/%s in %s\n", options.chip->first.c_str(),
                     options.chip->second.c_str(), options.deviceList.c_str());
        return kExitUsage;
    }
    if (options.skipBlank)
        app.settings.skipBlank = true;  // for this call only; setup.ini is never written
    ProductionOptions production;
    if (std::string why; !ReadProductionOptions(app.paths.settingsFile, production, why)) {
        std::fprintf(stderr, "morsk-cli: %s: %s\n", app.paths.settingsFile.c_str(), why.c_str());
        return kExitUsage;
    }
    if (options.noSerial)
        production.serial.enabled = false;
    if (options.serialNext) {
        production.serial.enabled = true;
        production.serial.next = *options.serialNext;
        production.sharedCounter = false;
    }
    if (options.logFile)
        production.logFile = *options.logFile;
    // With --chip auto the files are checked against the identified chip.
    if (!options.chipAuto)
        if (const int status = LoadFiles(app, options.loads); status >= 0)
            return status;

    std::string error;
    options.programmer.realBackend = MakeLibusbBackend;
    if (!station.StartProgrammer(options.programmer, error)) {
        std::fprintf(stderr, "morsk-cli: %s\n", error.c_str());
        return kExitUsage;
    }
    // Whoever drives a programmer holds its lock for the whole run.
    const bool drivesChip = options.chipAuto ||
                            std::any_of(options.commands.begin(), options.commands.end(),
                                        [](const auto& cmd) { return FindCommandSpec(cmd[0])->usesChip; });
    if (drivesChip && !station.Claim(error)) {
        std::fprintf(stderr, "morsk-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    // The whole call is one run (one chip), except for the watch, which
    // makes one per chip.
    const bool watching = options.commands[0][0] == "watch";
    std::optional<ProductionRun> run;
    if (drivesChip && !watching)
        run.emplace(station, production);
    Context context{station, ui, options.force, production, run ? &*run : nullptr};
    gStation = &station;
    CatchStopSignals();
    if (options.chipAuto) {
        if (!IdentifyAndSelect(context, true))
            return kExitFailed;
        if (const int status = LoadFiles(app, options.loads); status >= 0)
            return status;
    }

    int status = kExitOk;
    for (const std::vector<std::string>& cmd : options.commands) {
        const CommandSpec& spec = *FindCommandSpec(cmd[0]);
        if (spec.usesChip && !spec.anyChip && !ChipCommandsAllowed(app)) {
            app.AddStatusLine(kUnsupportedLine);
            status = kExitFailed;
            break;
        }
        if (app.link.CancelRequested()) {
            // Stopped between two commands: the rest do not run.
            app.AddStatusLine(kCancelledLine);
            status = kExitFailed;
            break;
        }
        station.BeginOperation();
        if (run && spec.usesChip)
            run->AddStep(cmd[0] == "auto" ? "auto: " + AutoStepNames(app.settings.autoSequence) : cmd[0]);
        bool ok = spec.run(context, Arguments(cmd.begin() + 1, cmd.end()));
        if (station.EndOperation())
            ok = false;
        std::fflush(stdout);
        if (!ok) {
            status = kExitFailed;
            break;
        }
    }
    ui.EndBar();
    if (run && !run->Finish(status == kExitOk))
        status = kExitFailed;
    std::fflush(stdout);
    gStation = nullptr;
    if (!station.Shutdown(error)) {
        std::fprintf(stderr, "morsk-cli: %s\n", error.c_str());
        if (status == kExitOk)
            status = kExitFailed;
    }
    return status;
}
