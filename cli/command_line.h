// The command line of morsk-cli: its options and commands, parsed
// without touching a file or a device, so that it can be tested and fuzzed.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "programmer_session.h"

namespace morsk::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

extern const char kUsage[];

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

using Arguments = std::vector<std::string>;

struct CommandSpec {
    const char* name;
    int arguments;
    bool usesChip;  // refused for the manufacturers the operations do not know
    // Checks the arguments while the command line is parsed; empty = fine.
    std::function<std::string(const Arguments&)> check;
};

const std::vector<CommandSpec>& CommandSpecs();
const CommandSpec* FindCommandSpec(const std::string& name);

// Two hexadecimal digits at most.
bool ParseHexByte(const std::string& text, uint8_t& out);

// Fills `options` from the arguments after the program name. -1 to go on,
// or the exit status; `out` and `err` then hold what to print.
int ParseCommandLine(const std::vector<std::string>& args, Options& options, std::string& out, std::string& err);

}  // namespace morsk::cli
