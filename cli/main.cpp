// morsk-cli: the programmer's operations for scripts and production lines,
// with the same core, files and texts as the window.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app_state.h"
#include "auto_sequence.h"
#include "chip_operations.h"
#include "fuse_model.h"
#include "fuse_transfer.h"
#include "command_line.h"
#include "libusb_backend.h"
#include "programmer_ports.h"
#include "programmer_session.h"
#include "station.h"
#include "text_util.h"

using namespace morsk;
using namespace morsk::cli;

namespace {

class ConsoleUi : public StatusSink, public Notifier, public ProgressSink, public DiagnosticSink {
public:
    ConsoleUi() : showBar_(::isatty(STDERR_FILENO) == 1) {}

    void AddStatusLine(std::string text) override
    {
        EndBar();
        std::printf("%s\n", text.c_str());
        std::fflush(stdout);
    }
    void SetFileLine(const std::string& text) override { fileLine = text; }
    void SetChipLine(const std::string& text) override { chipLine = text; }
    void ShowMessage(const std::string& text, const std::string&, MessageIcon) override
    {
        EndBar();
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    void SetProgress(int percent) override
    {
        if (!showBar_ || (barShown_ && percent == lastPercent_))
            return;
        lastPercent_ = percent;
        const int filled = percent * 40 / 100;
        std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(static_cast<size_t>(filled), '#').c_str(),
                     std::string(static_cast<size_t>(40 - filled), ' ').c_str(), percent);
        barShown_ = true;
    }
    void Write(const std::string& text) override
    {
        EndBar();
        std::fputs(text.c_str(), stderr);
    }
    void EndBar()
    {
        if (barShown_)
            std::fputc('\n', stderr);
        barShown_ = false;
    }

    std::string fileLine;
    std::string chipLine;

private:
    bool showBar_;
    bool barShown_ = false;
    int lastPercent_ = -1;
};

void PrintProfile(const AppState& app)
{
    const ChipProfile& p = app.profile;
    static const char* const kFamilies[] = {"AVR", "AT89", "NORDIC"};
    std::printf("loaded: %d\n", app.profileLoaded ? 1 : 0);
    std::printf("manufacturer: %s\n", p.manufacturer);
    std::printf("device: %s\n", p.deviceName);
    std::printf("family: %s\n", p.family < 3 ? kFamilies[p.family] : "?");
    std::printf("signature: %02X %02X %02X\n", p.signature[0], p.signature[1], p.signature[2]);
    std::printf("flash_size: %u\nflash_page: %u\n", p.flashSize, p.flashPageSize);
    std::printf("eeprom_size: %u\neeprom_page: %u\n", p.eepromSize, p.eepromPageSize);
    std::printf("fuses: %02X %02X %02X\n", p.fuseLow, p.fuseHigh, p.fuseExt);
    std::printf("fuse_defaults: %02X %02X %02X\n", p.fuseLowDefault, p.fuseHighDefault, p.fuseExtDefault);
    std::printf("lock: %02X\nlock_default: %02X\n", p.lock, p.lockDefault);
    std::printf("chip_line: %s\n", ChipLine(p, ChipLineStyle::StartUp).c_str());
}

// What a command works with while it runs.
struct Context {
    AppState& app;
    ProgrammerLink& link;
    ChipOperations& ops;
    ConsoleUi& ui;
    bool force;  // write risky fuses without asking
    ProgrammerSession& session;
};

bool ListAttached(Context& c)
{
    std::vector<ProgrammerPort> ports;
    std::string error;
    if (c.session.backend() && !ListProgrammers(*c.session.backend(), ports, error)) {
        std::fprintf(stderr, "morsk-cli: %s\n", error.c_str());
        return false;
    }
    if (ports.empty())
        std::fprintf(stderr, "no programmer attached\n");
    for (const ProgrammerPort& p : ports) {
        std::string access = "ok";
        if (p.openError == kUsbErrorAccess)
            access = "no permission: install data/60-morsk-programmer.rules (README, \"Access to the "
                     "programmer without root\")";
        else if (!p.canOpen)
            access = "cannot open: " + UsbErrorText(p.openError);
        std::printf("%s bus %03u address %03u %s\n", p.device.portPath.c_str(), p.device.busNumber,
                    p.device.address, access.c_str());
    }
    return true;
}

constexpr char kFuseReadFailed[] = "读熔丝位错误...!";
constexpr char kFuseWriteFailed[] = "写熔丝位错误...!";

// "program RSTDISBL and unprogram SPIEN".
std::string EnglishRisks(const std::vector<FuseRisk>& risks)
{
    std::string text;
    for (size_t i = 0; i < risks.size(); ++i) {
        if (i)
            text += i + 1 == risks.size() ? " and " : ", ";
        if (risks[i].bit == "CKSEL3..0")
            text += "set CKSEL3..0 to 0000 (external clock)";
        else
            text += (risks[i].programs ? "program " : "unprogram ") + risks[i].bit;
    }
    return text;
}

// Status lines for a fuse transfer that did not go through.
bool FuseOutcome(Context& c, FuseTransfer result, const FuseChipId& id, const char* failedLine)
{
    switch (result) {
    case FuseTransfer::Done:
        return true;
    case FuseTransfer::NoProgrammer:
        c.app.AddStatusLine("下载器初始化出错!");
        break;
    case FuseTransfer::WrongChip:
        c.app.AddStatusLine(Format("读取错误器件ID:%2.2X %2.2X %2.2X", id.bytes[0], id.bytes[1], id.bytes[2]));
        break;
    case FuseTransfer::NoAnswer:
        break;
    }
    c.app.AddStatusLine(failedLine);
    return false;
}

using Runner = std::function<bool(Context&, const Arguments&)>;

const std::map<std::string, Runner>& Runners()
{
    static const std::map<std::string, Runner> runners = {
        {"programmers", [](Context& c, const Arguments&) { return ListAttached(c); }},
        {"profile", [](Context& c, const Arguments&) {
             PrintProfile(c.app);
             return true;
         }},
        {"checksum", [](Context& c, const Arguments&) {
             std::printf("%s\n", c.ui.fileLine.c_str());
             return true;
         }},
        {"erase", [](Context& c, const Arguments&) { return c.ops.EraseDevice(); }},
        {"blank", [](Context& c, const Arguments&) { return c.ops.BlankCheckDevice(); }},
        {"program", [](Context& c, const Arguments&) { return c.ops.ProgramDevice(); }},
        {"read", [](Context& c, const Arguments&) { return c.ops.ReadDevice(); }},
        {"verify", [](Context& c, const Arguments&) { return c.ops.VerifyDevice(); }},
        {"auto", [](Context& c, const Arguments&) {
             const bool ok = RunAuto(c.app, c.link);
             std::printf("success: %u\nfailure: %u\n", c.app.successCount, c.app.failureCount);
             return ok;
         }},
        {"fuses-read", [](Context& c, const Arguments&) {
             ChipProfile& p = c.app.profile;
             FuseChipId id;
             if (!FuseOutcome(c, ReadFuseBytes(p, c.app.failureCount, c.link, &id), id, kFuseReadFailed))
                 return false;
             std::printf("fuses: %02X %02X %02X\n", p.fuseLow, p.fuseHigh, p.fuseExt);
             return true;
         }},
        {"fuses-write", [](Context& c, const Arguments& a) {
             ChipProfile& p = c.app.profile;
             // Compared with what an earlier fuses-read read, or else the
             // list's factory values.
             const uint8_t before[3] = {p.fuseLow, p.fuseHigh, p.fuseExt};
             uint8_t after[3];
             for (size_t i = 0; i < 3; ++i)
                 ParseHexByte(a[i], after[i]);
             const std::vector<FuseRisk> risks = RiskyFuseChanges(p.deviceName, before, after);
             if (!risks.empty() && !c.force) {
                 std::fprintf(stderr,
                              "morsk-cli: fuses not written: this write would %s, after which this programmer "
                              "may no longer reach the chip; add --force to write it anyway\n",
                              EnglishRisks(risks).c_str());
                 return false;
             }
             p.fuseLow = after[0];
             p.fuseHigh = after[1];
             p.fuseExt = after[2];
             FuseChipId id;
             if (!FuseOutcome(c, WriteFuseBytes(p, c.link, &id), id, kFuseWriteFailed))
                 return false;
             std::printf("fuses written: %02X %02X %02X\n", p.fuseLow, p.fuseHigh, p.fuseExt);
             return true;
         }},
        {"save", [](Context& c, const Arguments& a) {
             const bool ok = SaveProgramFile(a[0], c.app.buffer, c.app.profile) == SaveResult::Saved;
             if (!ok)
                 std::fprintf(stderr, "morsk-cli: cannot write %s\n", a[0].c_str());
             return ok;
         }},
    };
    return runners;
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

    ConsoleUi ui;
    Station station;
    AppState* app = &station.app();
    app->AttachUi(&ui, &ui, &ui, &ui);

    StartOptions start;
    start.paths = SettingsPaths{options.settings, options.deviceList};
    start.readiness = false;
    if (options.chip) {
        const size_t slash = options.chip->find('/');
        if (slash == std::string::npos)
        {
            std::fprintf(stderr, "morsk-cli: --chip takes MANUF/DEVICE\n%s", kUsage);
            return kExitUsage;
        }
        start.chip = {options.chip->substr(0, slash), options.chip->substr(slash + 1)};
    }
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
        std::fprintf(stderr, "morsk-cli: no enabled device %s in %s\n", options.chip->c_str(),
                     options.deviceList.c_str());
        return kExitUsage;
    }
    if (options.skipBlank)
        app->settings.skipBlank = true;  // for this call only; setup.ini is never written
    if (const int status = LoadFiles(*app, options.loads); status >= 0)
        return status;

    std::string error;
    options.programmer.realBackend = MakeLibusbBackend;
    if (!station.StartProgrammer(options.programmer, error)) {
        std::fprintf(stderr, "morsk-cli: %s\n", error.c_str());
        return kExitUsage;
    }
    // Whoever drives a programmer holds its lock for the whole run.
    const bool drivesChip = std::any_of(options.commands.begin(), options.commands.end(),
                                        [](const auto& cmd) { return FindCommandSpec(cmd[0])->usesChip; });
    if (drivesChip && !station.Claim(error)) {
        std::fprintf(stderr, "morsk-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    Context context{*app, station.link(), station.ops(), ui, options.force, station.session()};

    int status = kExitOk;
    for (const std::vector<std::string>& cmd : options.commands) {
        if (FindCommandSpec(cmd[0])->usesChip && !ChipCommandsAllowed(*app)) {
            app->AddStatusLine(kUnsupportedLine);
            status = kExitFailed;
            break;
        }
        const bool ok = Runners().at(cmd[0])(context, Arguments(cmd.begin() + 1, cmd.end()));
        std::fflush(stdout);
        if (!ok) {
            status = kExitFailed;
            break;
        }
    }
    ui.EndBar();
    if (!station.Shutdown(error)) {
        std::fprintf(stderr, "morsk-cli: %s\n", error.c_str());
        if (status == kExitOk)
            status = kExitFailed;
    }
    return status;
}
