// Which programmer the link talks to, for the whole run: the real one on
// USB, or the virtual one with a chip in its socket. Owns the backend and
// closes the link before the backend goes away.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app_state.h"
#include "port_lock.h"
#include "programmer_options.h"
#include "usb_backend.h"
#include "virtual_programmer.h"

namespace morsk {

class ProgrammerSession {
public:
    explicit ProgrammerSession(AppState& app) : app_(app) {}
    ~ProgrammerSession();
    ProgrammerSession(const ProgrammerSession&) = delete;
    ProgrammerSession& operator=(const ProgrammerSession&) = delete;

    // Hands the chosen backend to the link. Call after StartUp: the
    // virtual socket takes the selected chip. False, with the reason, for
    // a chip the list lacks or a state file of another chip.
    bool Start(const ProgrammerOptions& options, std::string& error);

    // Takes the lock of the programmer the link will use, so that no other
    // process drives it during this run. Nothing to lock when none is
    // attached (the operations then say so). False, with the reason, when
    // another process has it.
    bool LockProgrammer(std::string& error);
    void ReleaseProgrammer() { lock_.Release(); }

    UsbBackend* backend() const { return backend_.get(); }
    // The port path of the programmer the link uses ("1-1"), for records;
    // empty when none is attached.
    std::string PortName() const;

    // Closes the held USB handle and writes the virtual chip's state file.
    // False, with the reason, when that file cannot be written. Runs once;
    // the destructor calls it when nobody did.
    bool Shutdown(std::string& error);

    // After a chip change: a virtual socket that was not given a chip of
    // its own takes the newly selected one, so that a demonstration works
    // with every chip of the list. Each chip keeps its contents for the run.
    void SelectedChipChanged();

    // The virtual programmer, or null on real USB.
    VirtualProgrammer* simulator() const { return sim_; }

private:
    AppState& app_;
    std::unique_ptr<UsbBackend> backend_;
    VirtualProgrammer* sim_ = nullptr;
    std::optional<std::string> simState_;
    std::vector<std::string> stateFiles_;  // per virtual programmer
    PortLock lock_;
    bool socketFollowsSelection_ = false;
    std::map<std::string, VirtualChip> shelf_;  // chips taken out of the socket
    bool shutDown_ = false;
};

}  // namespace morsk
