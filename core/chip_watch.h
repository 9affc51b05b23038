// The production station: polls the programmer for a chip, runs the auto
// sequence once on each chip of the selected kind that goes in, and waits
// for it to come out before arming again, so that no chip is programmed
// twice. The poll only enters programming mode, reads the signature and
// leaves; it never writes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "production_run.h"
#include "station.h"

namespace morsk {

// About three polls a second.
inline constexpr unsigned kWatchPollMs = 333;

struct WatchEvent {
    enum class Kind {
        None,            // nothing changed
        Passed,          // a chip was programmed and every step succeeded
        Failed,          // a chip's run failed; `detail` says how
        WrongChip,       // a chip of another kind: not programmed
        Removed,         // the chip came out: armed again
        ProgrammerLost,  // the programmer stopped answering
        ProgrammerBack,
    };
    Kind kind = Kind::None;
    int chip = 0;  // how many chips this station has run, this one included
    std::optional<uint64_t> serial;
    std::string signature;  // "1E 93 07"
    std::string detail;     // the first failure line, or the chips of the list with that signature
    long long milliseconds = 0;
};

class ChipWatch {
public:
    ChipWatch(Station& station, ProductionOptions& options);

    // One poll, and at most one auto run.
    WatchEvent Poll();
    bool armed() const { return armed_; }

private:
    enum class Probe { NoProgrammer, Empty, Chip };
    Probe ProbeSocket(uint8_t signature[3]);
    // One auto run on the chip that answered with `signature` ("1E 93 07").
    WatchEvent RunChip(const std::string& signature);

    Station& station_;
    ProductionOptions& options_;
    bool armed_ = true;
    bool programmerLost_ = false;
    int chips_ = 0;
};

// "通过 #3 ATMEL/ATMEGA8 序列号: 42 (2114 ms)": one line per event that a
// person should see; empty for the others.
std::string WatchLine(const WatchEvent& event, const AppState& app);

}  // namespace morsk
