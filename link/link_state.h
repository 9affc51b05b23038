// The process-wide state of the programmer link. Every ProgrammerLink and
// UsbTransport works on the one instance of the application state, so the
// main window and the fuse dialog reach the same programmer.
#pragma once

#include <cstdint>
#include <functional>

#include "ui_sinks.h"
#include "usb_backend.h"

namespace morsk {

struct LinkState {
    UsbBackend* backend = nullptr;
    bool libraryInitialised = false;
    bool handleHeld = false;
    UsbHandle handle = 0;
    // Carried by connect (request 1); set to 0 when the window opens.
    uint8_t linkOption = 0;

    ProgressSink* progress = &DefaultUi();
    Notifier* notifier = &DefaultUi();
    DiagnosticSink* diagnostics = &DefaultDiagnostics();
    // The erase waits; tests put a recorder here instead of sleeping.
    std::function<void(unsigned ms)> sleep;
};

void SleepMilliseconds(unsigned ms);

}  // namespace morsk
