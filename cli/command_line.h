// The command line of morsk-cli: its options and commands, parsed
// without touching a file or a device, so that it can be tested and fuzzed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "commands.h"
#include "programmer_options.h"
#include "translate.h"

namespace morsk::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;


struct Options {
    std::string deviceList = "./Device.csv";
    std::string settings = "./setup.ini";
    // --chip MANUF/DEVICE, split.
    std::optional<std::pair<std::string, std::string>> chip;
    // --chip auto: the chip in the socket, identified before anything else.
    bool chipAuto = false;
    std::vector<std::string> loads;
    ProgrammerOptions programmer;
    bool skipBlank = false;
    bool force = false;
    // Serial numbers and the log, over setup.ini's [SERIAL] and [LOG].
    std::optional<uint64_t> serialNext;
    bool noSerial = false;
    std::optional<std::string> logFile;
    // Chinese unless --lang en: scripts parse the Chinese lines.
    Language language = Language::Chinese;
    std::vector<std::vector<std::string>> commands;
};

// Fills `options` from the arguments after the program name. -1 to go on,
// or the exit status; `out` and `err` then hold what to print.
int ParseCommandLine(const std::vector<std::string>& args, Options& options, std::string& out, std::string& err);

}  // namespace morsk::cli
