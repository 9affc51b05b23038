// morsk-cli's commands: one table row each (name, argument count, whether
// it drives the chip, the check of its arguments at parse time, and what it
// runs), used by the parser and by main alike.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "console_ui.h"
#include "production_run.h"
#include "station.h"

namespace morsk::cli {

using Arguments = std::vector<std::string>;

// What a command works with while it runs.
struct Context {
    Station& station;
    ConsoleUi& ui;
    bool force;  // write fuses even where they can lock the chip out
    ProductionOptions& production;
    ProductionRun* run;  // the call's run; null for watch, which runs one per chip

    AppState& app() { return station.app(); }
};

struct CommandSpec {
    const char* name;
    int arguments;
    bool usesChip;  // drives the programmer; refused for manufacturers the operations do not know
    // Checks the arguments while the command line is parsed; empty = fine.
    std::function<std::string(const Arguments&)> check;
    std::function<bool(Context&, const Arguments&)> run;
    // Works whatever chip is selected (it finds out which one is there).
    bool anyChip = false;
};

// Identifies the chip in the socket; with `select`, a single match becomes
// the chip of the rest of the call. Prints what it found.
bool IdentifyAndSelect(Context& c, bool select);

const std::vector<CommandSpec>& CommandSpecs();
const CommandSpec* FindCommandSpec(const std::string& name);

// Two hexadecimal digits at most.
bool ParseHexByte(const std::string& text, uint8_t& out);

}  // namespace morsk::cli
