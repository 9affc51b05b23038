// morsk-cli: the programmer's operations for scripts and production lines,
// with the same core, files and texts as the window.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app_state.h"
#include "auto_sequence.h"
#include "chip_operations.h"
#include "fuse_transfer.h"
#include "hex_writer.h"
#include "libusb_backend.h"
#include "virtual_programmer.h"
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
    "  --help, --version\n"
    "\n"
    "Commands, run in order, stopping at the first that fails:\n"
    "  profile  checksum  erase  blank  program  read  verify  auto\n"
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
    bool simulate = false;
    std::optional<std::string> simChip;
    std::optional<std::string> simState;
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

std::string LowerExtension(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// Fills `options`; returns -1 to go on, or an exit status.
int ParseArguments(int argc, char** argv, Options& options)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    size_t i = 0;
    auto value = [&](std::string& out) {
        if (i + 1 >= args.size())
            return false;
        out = args[++i];
        return true;
    };
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string v;
        if (a == "--help") {
            std::fputs(kUsage, stdout);
            return kExitOk;
        } else if (a == "--version") {
            std::puts("morsk-cli 1.0");
            return kExitOk;
        } else if (a == "--simulate") {
            options.simulate = true;
        } else if (a == "--device-list" || a == "--settings" || a == "--chip" || a == "--load" ||
                   a == "--sim-chip" || a == "--sim-state") {
            if (!value(v))
                return Usage(a + " needs a value");
            if (a == "--device-list") options.deviceList = v;
            else if (a == "--settings") options.settings = v;
            else if (a == "--chip") options.chip = v;
            else if (a == "--load") options.loads.push_back(v);
            else if (a == "--sim-chip") options.simChip = v;
            else options.simState = v;
        } else if (a.rfind("--", 0) == 0) {
            return Usage("unknown option " + a);
        } else if (a == "fuses-write") {
            if (i + 3 >= args.size())
                return Usage("fuses-write needs three hexadecimal bytes");
            std::vector<std::string> cmd = {a, args[i + 1], args[i + 2], args[i + 3]};
            uint8_t b;
            for (int k = 1; k <= 3; ++k)
                if (!ParseHexByte(cmd[static_cast<size_t>(k)], b))
                    return Usage("fuses-write: not a hexadecimal byte: " + cmd[static_cast<size_t>(k)]);
            options.commands.push_back(cmd);
            i += 3;
        } else if (a == "save") {
            if (i + 1 >= args.size())
                return Usage("save needs a file name");
            const std::string ext = LowerExtension(args[i + 1]);
            if (ext != "bin" && ext != "hex" && ext != "eep")
                return Usage("save: the file name must end in .bin, .hex or .eep");
            options.commands.push_back({a, args[++i]});
        } else if (a == "profile" || a == "checksum" || a == "erase" || a == "blank" ||
                   a == "program" || a == "read" || a == "verify" || a == "auto" || a == "fuses-read") {
            options.commands.push_back({a});
        } else {
            return Usage("unknown command " + a);
        }
    }
    if (options.commands.empty())
        return Usage("no command given");
    return -1;
}

void PrintProfile(const AppState& app, const std::string& chipLine)
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
    std::printf("chip_line: %s\n", chipLine.c_str());
}

bool Save(const AppState& app, const std::string& path)
{
    const std::string ext = LowerExtension(path);
    if (ext == "bin")
        return WriteFileAtomically(path, app.buffer.flash.data(), UsedFlash(app.profile));
    const std::string text = ext == "hex" ? FormatIntelHex(app.buffer.flash.data(), UsedFlash(app.profile))
                                          : FormatIntelHex(app.buffer.eeprom.data(), UsedEeprom(app.profile));
    return WriteFileAtomically(path, text.data(), text.size());
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

    std::vector<ManufacturerEntry> list;
    if (!ReadDeviceNames(options.deviceList, list)) {
        ui.ShowMessage("打开CSV文件错误!", "ERROR", MessageIcon::Information);
        std::fprintf(stderr, "morsk-cli: cannot read %s\n", options.deviceList.c_str());
        return kExitUsage;
    }
    app->paths = {options.settings, options.deviceList};
    ReadSettings(options.settings, app->settings);
    if (options.chip) {
        const size_t slash = options.chip->find('/');
        if (slash == std::string::npos)
            return Usage("--chip takes MANUF/DEVICE");
        int m = 0, d = 0;
        if (!FindDevice(list, options.chip->substr(0, slash), options.chip->substr(slash + 1), m, d)) {
            std::fprintf(stderr, "morsk-cli: no enabled device %s in %s\n", options.chip->c_str(),
                         options.deviceList.c_str());
            return kExitUsage;
        }
        app->settings.manufIndex = m;
        app->settings.deviceIndex = d;
    }
    app->profileLoaded = LoadChipProfile(app->profile, options.deviceList, app->settings.manufIndex,
                                         app->settings.deviceIndex, ui) == 1;
    const std::string chipLine = ChipLine(app->profile, " ");
    ClearImages(app->buffer, app->profile, 0);
    RefreshChecksum(*app);

    for (const std::string& path : options.loads) {
        switch (LoadProgramFile(path, app->file, app->buffer, app->profile, ui, ui)) {
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

    // The programmer: real USB, or the virtual one with a chip in its socket.
    std::unique_ptr<UsbBackend> backend;
    VirtualProgrammer* sim = nullptr;
    if (options.simulate) {
        auto virtualProgrammer = std::make_unique<VirtualProgrammer>();
        sim = virtualProgrammer.get();
        const std::string socket = options.simChip.value_or(app->profile.deviceName);
        if (socket != "none") {
            ChipProfile chipProfile = app->profile;
            int m = 0, d = 0;
            if (options.simChip) {
                if (!FindDevice(list, "", socket, m, d) ||
                    !LoadChipProfile(chipProfile, options.deviceList, m, d, ui)) {
                    std::fprintf(stderr, "morsk-cli: no enabled device %s in %s\n", socket.c_str(),
                                 options.deviceList.c_str());
                    return kExitUsage;
                }
            }
            sim->chip = VirtualChip::FromProfile(chipProfile);
            if (options.simState && ::access(options.simState->c_str(), F_OK) == 0 &&
                !sim->chip->Load(*options.simState)) {
                std::fprintf(stderr, "morsk-cli: %s does not hold a %s chip\n", options.simState->c_str(),
                             socket.c_str());
                return kExitUsage;
            }
        }
        backend = std::move(virtualProgrammer);
    } else {
        backend = std::make_unique<LibusbBackend>();
    }
    app->link.backend = backend.get();
    app->link.linkOption = 0;
    ProgrammerLink link(app->link, app->profile);
    ChipOperations ops(*app, link);

    int status = kExitOk;
    for (const std::vector<std::string>& cmd : options.commands) {
        const std::string& name = cmd[0];
        const bool chipCommand = name != "profile" && name != "checksum" && name != "save";
        if (chipCommand && !ChipCommandsAllowed(*app)) {
            app->AddStatusLine(kUnsupportedLine);
            status = kExitFailed;
            break;
        }
        bool ok = true;
        if (name == "profile") {
            PrintProfile(*app, chipLine);
        } else if (name == "checksum") {
            std::printf("%s\n", ui.fileLine.c_str());
        } else if (name == "erase") {
            ok = ops.EraseDevice();
        } else if (name == "blank") {
            ok = ops.BlankCheckDevice();
        } else if (name == "program") {
            ok = ops.ProgramDevice();
        } else if (name == "read") {
            ok = ops.ReadDevice();
        } else if (name == "verify") {
            ok = ops.VerifyDevice();
        } else if (name == "auto") {
            ok = RunAuto(*app, link);
            std::printf("success: %u\nfailure: %u\n", app->successCount, app->failureCount);
        } else if (name == "fuses-read") {
            ok = ReadFuseBytes(app->profile, app->failureCount, link);
            if (ok)
                std::printf("fuses: %02X %02X %02X\n", app->profile.fuseLow, app->profile.fuseHigh,
                            app->profile.fuseExt);
            else
                std::fprintf(stderr, "morsk-cli: the fuses could not be read\n");
        } else if (name == "fuses-write") {
            ParseHexByte(cmd[1], app->profile.fuseLow);
            ParseHexByte(cmd[2], app->profile.fuseHigh);
            ParseHexByte(cmd[3], app->profile.fuseExt);
            ok = WriteFuseBytes(app->profile, link);
            if (!ok)
                std::fprintf(stderr, "morsk-cli: the fuses could not be written\n");
        } else if (name == "save") {
            ok = Save(*app, cmd[1]);
            if (!ok)
                std::fprintf(stderr, "morsk-cli: cannot write %s\n", cmd[1].c_str());
        }
        std::fflush(stdout);
        if (!ok) {
            status = kExitFailed;
            break;
        }
    }
    ui.EndBar();
    if (sim && sim->chip && options.simState && !sim->chip->Save(*options.simState)) {
        std::fprintf(stderr, "morsk-cli: cannot write %s\n", options.simState->c_str());
        if (status == kExitOk)
            status = kExitFailed;
    }
    return status;
}
