#include "command_line.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <functional>

namespace morsk::cli {

namespace {

const std::string& UsageText()
{
    static const std::string text = std::string(
        "Usage: morsk-cli [OPTIONS] COMMAND [COMMAND ...]\n"
        "\n"
        "Options:\n"
        "  --device-list FILE   read this device list instead of ./Device.csv\n"
        "  --settings FILE      read this settings file instead of ./setup.ini\n"
        "  --chip MANUF/DEVICE  the first enabled DEVICE under MANUF instead of the stored choice;\n"
        "                       --chip auto: the chip in the socket, when its signature names one\n"
        "  --load FILE          load a program file (.bin, .hex, .eep) first; repeatable\n") +
        kProgrammerOptionsHelp +
        "  --skip-blank         program only the used part of the images (also SkipBlank=1 in setup.ini)\n"
        "  --serial-next N      write serial number N (then N+Step ...) for this call, leaving the\n"
        "                       [SERIAL] counter of setup.ini alone; --no-serial: write none\n"
        "  --log FILE           append one CSV line per run to FILE (also [LOG] File= in setup.ini)\n"
        "  --force              fuses-write or restore even a change that can lock the chip out\n"
        "                       (RSTDISBL, DWEN, SPIEN, an external clock, a lock byte that\n"
        "                       protects the memories)\n"
        "  --lang zh|en         status lines in Chinese (the default, which scripts parse) or English\n"
        "  --help, --version\n"
        "\n"
        "Commands, run in order, stopping at the first that fails:\n"
        "  programmers  chips  profile  checksum  identify  erase  blank  program  read  verify  auto\n"
        "  fuses-read  fuses-write LL HH EE  save FILE(.bin|.hex|.eep)\n"
        "  backup FILE  restore FILE   the whole chip (flash, EEPROM, fuses, lock byte and\n"
        "               signature) into one Intel HEX file and back\n"
        "  watch        a production station: runs the auto sequence once on each chip of the\n"
        "               selected kind put into the socket, one line per chip, until Ctrl+C/SIGTERM;\n"
        "               exit 1 when a chip failed\n"
        "\n"
        "Ctrl+C or SIGTERM stops a running transfer at the next block and leaves\n"
        "programming mode; a second one ends the program at once.\n"
        "\n"
        "Exit status: 0 all succeeded, 1 an operation failed, was stopped, or a file's\n"
        "content was refused, 2 a usage error or a file that cannot be read.\n";
    return text;
}

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
        err = "morsk-cli: " + why + "\n" + UsageText();
        return kExitUsage;
    };
    // Options that take a value, and where it goes.
    const std::vector<std::pair<const char*, std::function<std::string(const std::string&)>>> valued = {
        {"--device-list", [&](const std::string& v) { options.deviceList = v; return std::string(); }},
        {"--settings", [&](const std::string& v) { options.settings = v; return std::string(); }},
        {"--chip", [&](const std::string& v) {
             if (v == "auto") {
                 options.chipAuto = true;
                 return std::string();
             }
             const size_t slash = v.find('/');
             if (slash == std::string::npos)
                 return std::string("--chip takes MANUF/DEVICE");
             options.chip = std::pair{v.substr(0, slash), v.substr(slash + 1)};
             return std::string();
         }},
        {"--load", [&](const std::string& v) { options.loads.push_back(v); return std::string(); }},
        {"--log", [&](const std::string& v) { options.logFile = v; return std::string(); }},
        {"--lang", [&](const std::string& v) {
             const std::optional<Language> language = ParseLanguage(v);
             if (!language)
                 return std::string("--lang takes zh or en");
             options.language = *language;
             return std::string();
         }},
        {"--serial-next", [&](const std::string& v) {
             char* end = nullptr;
             errno = 0;
             const unsigned long long n = std::strtoull(v.c_str(), &end, 10);
             if (v.empty() || *end != '\0' || errno == ERANGE || v[0] == '-')
                 return std::string("--serial-next takes a decimal number");
             options.serialNext = n;
             return std::string();
         }},
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help") {
            out = UsageText();
            return kExitOk;
        }
        if (a == "--version") {
            out = "morsk-cli 1.0\n";
            return kExitOk;
        }
        if (a == "--skip-blank") {
            options.skipBlank = true;
            continue;
        }
        if (a == "--force") {
            options.force = true;
            continue;
        }
        if (a == "--no-serial") {
            options.noSerial = true;
            continue;
        }
        std::string why;
        switch (ParseProgrammerOption(args, i, options.programmer, why)) {
        case OptionParse::Taken:
            continue;
        case OptionParse::Error:
            return Usage(why);
        case OptionParse::NotMine:
            break;
        }
        const auto option = std::find_if(valued.begin(), valued.end(), [&a](const auto& v) { return a == v.first; });
        if (option != valued.end()) {
            if (i + 1 >= args.size())
                return Usage(a + " needs a value");
            why = option->second(args[++i]);
            if (!why.empty())
                return Usage(why);
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
            why = command->check(Arguments(cmd.begin() + 1, cmd.end()));
            if (!why.empty())
                return Usage(why);
        }
        options.commands.push_back(std::move(cmd));
        i += static_cast<size_t>(command->arguments);
    }
    if (options.commands.empty())
        return Usage("no command given");
    if (options.noSerial && options.serialNext)
        return Usage("--serial-next and --no-serial contradict each other");
    if (options.commands.size() > 1 &&
        std::any_of(options.commands.begin(), options.commands.end(), [](const auto& c) { return c[0] == "watch"; }))
        return Usage("watch runs alone: it programs each chip with the auto sequence");
    if (const std::string why = CheckProgrammerOptions(options.programmer); !why.empty())
        return Usage(why);
    return -1;
}

}  // namespace morsk::cli
