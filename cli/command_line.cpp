#include "command_line.h"

#include <algorithm>
#include <cstdlib>

#include "program_file.h"
#include "text_util.h"

namespace morsk::cli {

extern const char kUsage[];
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

namespace {

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

}  // namespace

const std::vector<CommandSpec>& CommandSpecs()
{
    static const std::vector<CommandSpec> specs = {
        {"programmers", 0, false, nullptr},
        {"profile", 0, false, nullptr},
        {"checksum", 0, false, nullptr},
        {"erase", 0, true, nullptr},
        {"blank", 0, true, nullptr},
        {"program", 0, true, nullptr},
        {"read", 0, true, nullptr},
        {"verify", 0, true, nullptr},
        {"auto", 0, true, nullptr},
        {"fuses-read", 0, true, nullptr},
        {"fuses-write", 3, true, CheckFuseBytes},
        {"save", 1, false, CheckSaveName},
    };
    return specs;
}

const CommandSpec* FindCommandSpec(const std::string& name)
{
    for (const CommandSpec& spec : CommandSpecs())
        if (name == spec.name)
            return &spec;
    return nullptr;
}

namespace {

std::string ArgumentsWanted(const CommandSpec& command)
{
    if (command.arguments == 3)
        return std::string(command.name) + " needs three hexadecimal bytes";
    return std::string(command.name) + " needs a file name";
}

}  // namespace

int ParseCommandLine(const std::vector<std::string>& args, Options& options, std::string& out, std::string& err)
{
    const auto Usage = [&err](const std::string& why) {
        err = "morsk-cli: " + why + "\n" + kUsage;
        return kExitUsage;
    };
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
            out = kUsage;
            return kExitOk;
        }
        if (a == "--version") {
            out = "morsk-cli 1.0\n";
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
        const CommandSpec* command = FindCommandSpec(a);
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


}  // namespace morsk::cli
