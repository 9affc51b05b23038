// The process-wide state of the programmer link. Every ProgrammerLink and
// UsbTransport works on the one instance of the application state, so the
// main window and the fuse dialog reach the same programmer.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "ui_sinks.h"
#include "device_filter.h"
#include "usb_backend.h"

namespace morsk {

inline constexpr unsigned kTransferTimeoutMs = 5000;

// The programmer could not be started (not found, no access, no answer).
inline constexpr char kProgrammerInitFailedLine[] = "下载器初始化出错!";

// When another process drives the programmer: nothing was sent to it.
inline constexpr char kProgrammerInUseLine[] = "编程器正被其他程序使用，本次操作没有进行!";

struct LinkState {
    UsbBackend* backend = nullptr;
    bool libraryInitialised = false;
    bool handleHeld = false;
    UsbHandle handle = 0;
    // Carried by connect (request 1); set to 0 when the window opens.
    uint8_t linkOption = 0;
    // Only this programmer, when several are attached; empty takes the
    // first in bus order.
    DeviceFilter filter;
    // Every transfer's timeout; only tests of a hanging device shorten it.
    unsigned transferTimeoutMs = kTransferTimeoutMs;

    // Set from outside (the cancel button, a signal) to stop a transfer at
    // the next block boundary; `cancelled` says that a transfer stopped so.
    const std::atomic<bool>* cancel = nullptr;
    bool cancelled = false;
    bool cancelReported = false;
    // Whether this run has changed the chip (a block written, an erase, a
    // fuse write): a cancelled run then may have left it half done.
    bool chipChanged = false;
    bool CancelRequested() const { return cancel && cancel->load(); }

    ProgressSink* progress = &DefaultUi();
    Notifier* notifier = &DefaultUi();
    DiagnosticSink* diagnostics = &DefaultDiagnostics();
    // The erase waits; tests put a recorder here instead of sleeping.
    std::function<void(unsigned ms)> sleep;
};

void SleepMilliseconds(unsigned ms);

// Closes the held handle, if any. Whoever owns the backend calls it before
// the backend goes away, so the library never exits with a device open.
void CloseLink(LinkState& state);

}  // namespace morsk
