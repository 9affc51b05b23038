// morsk-cli: the programmer's operations for scripts and production lines,
// with the same core, files and texts as the window.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app_state.h"
#include "auto_sequence.h"
#include "chip_operations.h"
#include "fuse_model.h"
#include "fuse_transfer.h"
#include "programmer_ports.h"
#include "programmer_session.h"
#include "text_util.h"

using namespace morsk;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "Usage: morsk-cli [OPTIONS] COMMAND [COMMAND ...]\n"
    "\n"
    "Options:\n"
    "  --device-list FILE   read this device list instead of ./Device.csv\n"
    "  --settings FILE      read this settings file instead of ./setup.ini\n"
    "  --chip MANUF/DEVICE  the first enabled DEVICE under MANUF instead of the stored choice\n"
    "  --load FILE          load a program file (.bin, .hex, .eep) first; repeatable\n"
    "  --simulate           use the virtual programmer instead of USB\n"
    "  --sim-chip NAME      the chip in the virtual socket (default: the selected chip; none: empty)\n"
    "  --sim-state FILE     keep the virtual chip's memories and fuses in FILE between calls\n"
    "  --sim-realtime       the virtual programmer takes as long per transfer as the real one\n"
    "  --skip-blank         program only the used part of the images (also SkipBlank=1 in setup.ini)\n"
    "  --force              fuses-write even a change that can lock the chip out (RSTDISBL, DWEN, SPIEN)\n"
    "  --port PATH|BUS:ADDR use only this programmer (see: programmers); the first one otherwise\n"
    "  --sim-programmers N  N virtual programmers on ports 1-1 ... 1-N, each with its own chip\n"
    "  --help, --version\n"
    "\n"
    "Commands, run in order, stopping at the first that fails:\n"
    "  programmers  profile  checksum  erase  blank  program  read  verify  auto\n"
    "  fuses-read  fuses-write LL HH EE  save FILE(.bin|.hex|.eep)\n"
    "\n"
    "Exit status: 0 all succeeded, 1 an operation or a load failed,\n"
    "2 a usage error or a file that cannot be read.\n";

// Status lines on stdout, message boxes and diagnostics on stderr, and a
// progress bar on stderr when it is a terminal.
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

struct Options {
    std::string deviceList = "./Device.csv";
    std::string settings = "./setup.ini";
    std::optional<std::string> chip;
    std::vector<std::string> loads;
    ProgrammerOptions programmer;
    bool skipBlank = false;
    bool force = false;
    std::vector<std::vector<std::string>> commands;
};

int Usage(const std::string& why)
{
    std::fprintf(stderr, "morsk-cli: %s\n%s", why.c_str(), kUsage);
    return kExitUsage;
}

bool ParseHexByte(const std::string& text, uint8_t& out)
{
    if (text.empty() || text.size() > 2)
        return false;
    unsigned value = 0;
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return false;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    out = static_cast<uint8_t>(value);
    return true;
}

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
    if (!ListProgrammers(*c.session.backend(), ports, error)) {
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

using Arguments = std::vector<std::string>;

struct Command {
    const char* name;
    int arguments;
    bool usesChip;  // refused for the manufacturers the operations do not know
    // Checks the arguments while the command line is parsed; empty = fine.
    std::function<std::string(const Arguments&)> check;
    std::function<bool(Context&, const Arguments&)> run;
};

std::string CheckFuseBytes(const Arguments& args)
{
    uint8_t b;
    for (const std::string& a : args)
        if (!ParseHexByte(a, b))
            return "fuses-write: not a hexadecimal byte: " + a;
    return {};
}

std::string CheckSaveName(const Arguments& args)
{
    if (ProgramFileKindOf(args[0]) == ProgramFileKind::Unknown)
        return "save: the file name must end in .bin, .hex or .eep";
    return {};
}

const std::vector<Command>& Commands()
{
    static const std::vector<Command> commands = {
        {"programmers", 0, false, nullptr, [](Context& c, const Arguments&) { return ListAttached(c); }},
        {"profile", 0, false, nullptr, [](Context& c, const Arguments&) {
             PrintProfile(c.app);
             return true;
         }},
        {"checksum", 0, false, nullptr, [](Context& c, const Arguments&) {
             std::printf("%s\n", c.ui.fileLine.c_str());
             return true;
         }},
        {"erase", 0, true, nullptr, [](Context& c, const Arguments&) { return c.ops.EraseDevice(); }},
        {"blank", 0, true, nullptr, [](Context& c, const Arguments&) { return c.ops.BlankCheckDevice(); }},
        {"program", 0, true, nullptr, [](Context& c, const Arguments&) { return c.ops.ProgramDevice(); }},
        {"read", 0, true, nullptr, [](Context& c, const Arguments&) { return c.ops.ReadDevice(); }},
        {"verify", 0, true, nullptr, [](Context& c, const Arguments&) { return c.ops.VerifyDevice(); }},
        {"auto", 0, true, nullptr, [](Context& c, const Arguments&) {
             const bool ok = RunAuto(c.app, c.link);
             std::printf("success: %u\nfailure: %u\n", c.app.successCount, c.app.failureCount);
             return ok;
         }},
        {"fuses-read", 0, true, nullptr, [](Context& c, const Arguments&) {
             ChipProfile& p = c.app.profile;
             if (ReadFuseBytes(p, c.app.failureCount, c.link) != FuseTransfer::Done) {
                 c.app.AddStatusLine(kFuseReadFailed);
                 return false;
             }
             std::printf("fuses: %02X %02X %02X\n", p.fuseLow, p.fuseHigh, p.fuseExt);
             return true;
         }},
        {"fuses-write", 3, true, CheckFuseBytes, [](Context& c, const Arguments& a) {
             ChipProfile& p = c.app.profile;
             // Compared with what an earlier fuses-read read, or else the
             // list's factory values.
             const uint8_t before[3] = {p.fuseLow, p.fuseHigh, p.fuseExt};
             uint8_t after[3];
             for (size_t i = 0; i < 3; ++i)
                 ParseHexByte(a[i], after[i]);
             const std::vector<FuseRisk> risks = RiskyFuseChanges(FuseLayoutFor(p.deviceName), before, after);
             if (!risks.empty() && !c.force) {
                 std::fprintf(stderr, "morsk-cli: %s\nmorsk-cli: not written; add --force to write anyway\n",
                              RiskQuestion(risks).c_str());
                 return false;
             }
             p.fuseLow = after[0];
             p.fuseHigh = after[1];
             p.fuseExt = after[2];
             if (WriteFuseBytes(p, c.link) != FuseTransfer::Done) {
                 c.app.AddStatusLine(kFuseWriteFailed);
                 return false;
             }
             return true;
         }},
        {"save", 1, false, CheckSaveName, [](Context& c, const Arguments& a) {
             const bool ok = SaveProgramFile(a[0], c.app.buffer, c.app.profile) == SaveResult::Saved;
             if (!ok)
                 std::fprintf(stderr, "morsk-cli: cannot write %s\n", a[0].c_str());
             return ok;
         }},
    };
    return commands;
}

const Command* FindCommand(const std::string& name)
{
    for (const Command& command : Commands())
        if (name == command.name)
            return &command;
    return nullptr;
}

std::string ArgumentsWanted(const Command& command)
{
    if (command.arguments == 3)
        return std::string(command.name) + " needs three hexadecimal bytes";
    return std::string(command.name) + " needs a file name";
}

// Fills `options`; returns -1 to go on, or an exit status.
int ParseArguments(int argc, char** argv, Options& options)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    // Options that take a value, and where it goes.
    const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> valued = {
        {"--device-list", [&](const std::string& v) { options.deviceList = v; }},
        {"--settings", [&](const std::string& v) { options.settings = v; }},
        {"--chip", [&](const std::string& v) { options.chip = v; }},
        {"--load", [&](const std::string& v) { options.loads.push_back(v); }},
        {"--sim-chip", [&](const std::string& v) { options.programmer.simChip = v; }},
        {"--sim-state", [&](const std::string& v) { options.programmer.simState = v; }},
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help") {
            std::fputs(kUsage, stdout);
            return kExitOk;
        }
        if (a == "--version") {
            std::puts("morsk-cli 1.0");
            return kExitOk;
        }
        if (a == "--simulate") {
            options.programmer.simulate = true;
            continue;
        }
        if (a == "--sim-realtime") {
            options.programmer.realtime = true;
            continue;
        }
        if (a == "--skip-blank") {
            options.skipBlank = true;
            continue;
        }
        if (a == "--force") {
            options.force = true;
            continue;
        }
        if (a == "--port" || a == "--sim-programmers") {
            if (i + 1 >= args.size())
                return Usage(a + " needs a value");
            const std::string v = args[++i];
            if (a == "--port") {
                if (!DeviceFilter::Parse(v, options.programmer.port))
                    return Usage("--port takes a port path such as 1-2.3, or BUS:ADDR");
            } else {
                const int n = std::atoi(v.c_str());
                if (n < 1 || n > 16 || v != std::to_string(n))
                    return Usage("--sim-programmers takes a number from 1 to 16");
                options.programmer.simProgrammers = n;
            }
            continue;
        }
        const auto option = std::find_if(valued.begin(), valued.end(), [&a](const auto& v) { return a == v.first; });
        if (option != valued.end()) {
            if (i + 1 >= args.size())
                return Usage(a + " needs a value");
            option->second(args[++i]);
            continue;
        }
        if (a.rfind("--", 0) == 0)
            return Usage("unknown option " + a);
        const Command* command = FindCommand(a);
        if (!command)
            return Usage("unknown command " + a);
        if (i + static_cast<size_t>(command->arguments) >= args.size())
            return Usage(ArgumentsWanted(*command));
        std::vector<std::string> cmd = {a};
        cmd.insert(cmd.end(), args.begin() + static_cast<long>(i) + 1,
                   args.begin() + static_cast<long>(i) + 1 + command->arguments);
        if (command->check) {
            const std::string why = command->check(Arguments(cmd.begin() + 1, cmd.end()));
            if (!why.empty())
                return Usage(why);
        }
        options.commands.push_back(std::move(cmd));
        i += static_cast<size_t>(command->arguments);
    }
    if (options.commands.empty())
        return Usage("no command given");
    if ((options.programmer.realtime || options.programmer.simProgrammers > 1) && !options.programmer.simulate)
        return Usage("--sim-realtime and --sim-programmers need --simulate");
    return -1;
}

// Loads the --load files in order; an exit status, or -1 when all loaded.
int LoadFiles(AppState& app, ConsoleUi& ui, const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        switch (LoadProgramFile(path, app.file, app.buffer, app.profile, ui, ui)) {
        case LoadResult::Loaded:
            break;
        case LoadResult::LoadedWithError:
            std::fprintf(stderr, "morsk-cli: %s was not loaded completely\n", path.c_str());
            return kExitFailed;
        case LoadResult::UnknownFormat:
            std::fprintf(stderr, "morsk-cli: %s: not a .bin, .hex or .eep file\n", path.c_str());
            return kExitUsage;
        case LoadResult::CannotOpen:
            std::fprintf(stderr, "morsk-cli: cannot read %s\n", path.c_str());
            return kExitUsage;
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (const int status = ParseArguments(argc, argv, options); status >= 0)
        return status;

    ConsoleUi ui;
    auto app = std::make_unique<AppState>();
    app->AttachUi(&ui, &ui, &ui, &ui);

    StartOptions start;
    start.paths = SettingsPaths{options.settings, options.deviceList};
    start.readiness = false;
    if (options.chip) {
        const size_t slash = options.chip->find('/');
        if (slash == std::string::npos)
            return Usage("--chip takes MANUF/DEVICE");
        start.chip = {options.chip->substr(0, slash), options.chip->substr(slash + 1)};
    }
    const bool onlyListing = std::all_of(options.commands.begin(), options.commands.end(),
                                         [](const auto& cmd) { return cmd[0] == "programmers"; });
    switch (StartUp(*app, ".", start)) {
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
    if (const int status = LoadFiles(*app, ui, options.loads); status >= 0)
        return status;

    ProgrammerSession session(*app);
    std::string error;
    if (!session.Start(options.programmer, error)) {
        std::fprintf(stderr, "morsk-cli: %s\n", error.c_str());
        return kExitUsage;
    }
    // Whoever drives a programmer holds its lock for the whole run.
    const bool drivesChip = std::any_of(options.commands.begin(), options.commands.end(),
                                        [](const auto& cmd) { return FindCommand(cmd[0])->usesChip; });
    if (drivesChip && !session.LockProgrammer(error)) {
        std::fprintf(stderr, "morsk-cli: %s\n", error.c_str());
        return kExitFailed;
    }
    ProgrammerLink link(app->link, app->profile);
    ChipOperations ops(*app, link);
    Context context{*app, link, ops, ui, options.force, session};

    int status = kExitOk;
    for (const std::vector<std::string>& cmd : options.commands) {
        const Command& command = *FindCommand(cmd[0]);
        if (command.usesChip && !ChipCommandsAllowed(*app)) {
            app->AddStatusLine(kUnsupportedLine);
            status = kExitFailed;
            break;
        }
        const bool ok = command.run(context, Arguments(cmd.begin() + 1, cmd.end()));
        std::fflush(stdout);
        if (!ok) {
            status = kExitFailed;
            break;
        }
    }
    ui.EndBar();
    if (!session.Shutdown(error)) {
        std::fprintf(stderr, "morsk-cli: %s\n", error.c_str());
        if (status == kExitOk)
            status = kExitFailed;
    }
    return status;
}
