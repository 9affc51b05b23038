// The programmer's core, one object for the window and the command line:
// the application state, the programmer session (real or virtual), the
// link, the operations and the lock of the programmer in use, started in
// one fixed order: settings and chip profile, images and checksum line,
// then the session; the lock around what drives the programmer.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "app_state.h"
#include "chip_backup.h"
#include "chip_operations.h"
#include "programmer_link.h"
#include "programmer_session.h"

namespace morsk {

class Station {
public:
    Station();
    ~Station();
    Station(const Station&) = delete;
    Station& operator=(const Station&) = delete;

    AppState& app() { return *app_; }
    ProgrammerSession& session() { return session_; }
    ProgrammerLink& link() { return link_; }
    ChipOperations& ops() { return ops_; }
    ChipBackupOperations& backups() { return backups_; }

    // Settings and chip profile, the cleared images and the checksum line.
    StartResult StartUp(const std::string& workDir, const StartOptions& options = {});
    // Then the programmer: the link gets its backend. False, with the
    // reason, when the options cannot be met.
    bool StartProgrammer(const ProgrammerOptions& options, std::string& error);

    // Takes the lock of the programmer the link will use (held until
    // Release). False, with the reason, when another process has it; the
    // caller then sends nothing.
    bool Claim(std::string& error);
    void Release();
    // Claim, then the operation, then Release. Adds kProgrammerInUseLine
    // and the reason to the diagnostics when the programmer is in use.
    bool RunClaimed(const std::function<bool()>& operation);

    // Cancel: the running transfer stops at the next block boundary. Safe
    // to call from a signal handler.
    void RequestCancel() { cancel_.store(true); }
    // Before an operation: no cancel pending, nothing changed yet.
    void BeginOperation();
    // After it: when a transfer stopped for a cancel, programming mode is
    // left and the status list says so. True when it was cancelled.
    bool EndOperation();

    // Closes the link and writes the virtual chips' state. Runs once.
    bool Shutdown(std::string& error);

private:
    std::unique_ptr<AppState> app_;
    ProgrammerSession session_;
    ProgrammerLink link_;
    ChipOperations ops_;
    ChipBackupOperations backups_;
    std::atomic<bool> cancel_{false};
};

}  // namespace morsk
