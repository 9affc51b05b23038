// Which programmer a run uses, and the one parser of the options that say
// so, shared by the window and the command line.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device_filter.h"
#include "usb_backend.h"

namespace morsk {

struct ProgrammerOptions {
    bool simulate = false;
    // Makes the real bus's backend; without one (the tests) there is no
    // bus and so no programmer.
    std::function<std::unique_ptr<UsbBackend>()> realBackend;
    // A device name of the list, or "none" for an empty socket; the
    // selected chip when unset.
    std::optional<std::string> simChip;
    // Keeps the virtual chip's memories and fuses between runs.
    std::optional<std::string> simState;
    // Transfers take as long as on the real programmer.
    bool realtime = false;
    // How many virtual programmers are attached (ports 1-1, 1-2, ...); with
    // more than one, programmer i keeps its chip in simState + "." + port.
    int simProgrammers = 1;
    // A control file: while it exists a chip is in the virtual socket,
    // and each time it appears a new one goes in (see VirtualProgrammer).
    std::optional<std::string> simSocket;
    // Only this programmer; the first in bus order when empty.
    DeviceFilter port;
};

// Help text of the options below, one line each, for both programs.
extern const char kProgrammerOptionsHelp[];

enum class OptionParse { NotMine, Taken, Error };

// Takes args[i] (and its value, advancing i) when it is one of --simulate,
// --sim-chip NAME, --sim-state FILE, --sim-realtime, --sim-programmers N,
// --port PATH|BUS:ADDR. Error, with the reason, for a missing or bad value.
OptionParse ParseProgrammerOption(const std::vector<std::string>& args, size_t& i, ProgrammerOptions& options,
                                  std::string& error);

// After all options: what does not go together; empty when all is well.
std::string CheckProgrammerOptions(const ProgrammerOptions& options);

}  // namespace morsk
