#include "programmer_options.h"

#include <cstdlib>

namespace morsk {

const char kProgrammerOptionsHelp[] =
    "  --simulate           use the virtual programmer instead of USB\n"
    "  --sim-chip NAME      the chip in the virtual socket (default: the selected chip; none: empty)\n"
    "  --sim-state FILE     keep the virtual chip's memories and fuses in FILE between calls\n"
    "  --sim-realtime       the virtual programmer takes as long per transfer as the real one\n"
    "  --sim-programmers N  N virtual programmers on ports 1-1 ... 1-N, each with its own chip\n"
    "  --sim-socket FILE    a chip is in the virtual socket while FILE exists, a new one each time\n"
    "                       it appears (FILE holds nothing, a chip name, and/or \"random\" for random\n"
    "                       contents); FILE.2 ... for the other programmers\n"
    "  --port PATH|BUS:ADDR use only this programmer (see: morsk-cli programmers); the first one otherwise\n";

OptionParse ParseProgrammerOption(const std::vector<std::string>& args, size_t& i, ProgrammerOptions& options,
                                  std::string& error)
{
    const std::string& a = args[i];
    if (a == "--simulate") {
        options.simulate = true;
        return OptionParse::Taken;
    }
    if (a == "--sim-realtime") {
        options.realtime = true;
        return OptionParse::Taken;
    }
    if (a != "--sim-chip" && a != "--sim-state" && a != "--sim-programmers" && a != "--port" && a != "--sim-socket")
        return OptionParse::NotMine;
    if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return OptionParse::Error;
    }
    const std::string& v = args[++i];
    if (a == "--sim-chip") {
        options.simChip = v;
    } else if (a == "--sim-state") {
        options.simState = v;
    } else if (a == "--sim-socket") {
        options.simSocket = v;
    } else if (a == "--port") {
        if (!DeviceFilter::Parse(v, options.port)) {
            error = "--port takes a port path such as 1-2.3, or BUS:ADDR";
            return OptionParse::Error;
        }
    } else {
        const int n = std::atoi(v.c_str());
        if (n < 1 || n > 16 || v != std::to_string(n)) {
            error = "--sim-programmers takes a number from 1 to 16";
            return OptionParse::Error;
        }
        options.simProgrammers = n;
    }
    return OptionParse::Taken;
}

std::string CheckProgrammerOptions(const ProgrammerOptions& options)
{
    if (!options.simulate &&
        (options.realtime || options.simProgrammers > 1 || options.simChip || options.simState || options.simSocket))
        return "--sim-chip, --sim-state, --sim-socket, --sim-realtime and --sim-programmers need --simulate";
    return {};
}

}  // namespace morsk
