// One production run (an operation, an auto run, a command-line call, or a
// chip of the watch): the serial number it writes, and its line in the
// production log.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "production_log.h"
#include "serial_number.h"
#include "station.h"

namespace morsk {

struct ProductionOptions {
    SerialConfig serial;  // serial.enabled: every program writes a number
    // False: serial.next is used as it stands and advanced here only, for
    // one call (--serial-next); the stored counter is not touched.
    bool sharedCounter = true;
    std::string logFile;  // empty: no log
};

inline constexpr char kLogSection[] = "LOG";
// Before the reason: the run's log line could not be written.
inline constexpr char kLogFailedLine[] = "生产记录写入失败!: ";

// [SERIAL] and [LOG] File= of setup.ini. False, with the reason, for a
// [SERIAL] value that cannot be used.
bool ReadProductionOptions(const std::string& settingsFile, ProductionOptions& options, std::string& error);
bool SaveLogFile(const std::string& settingsFile, const std::string& logFile);

class ProductionRun {
public:
    ProductionRun(Station& station, ProductionOptions& options);
    ~ProductionRun();
    ProductionRun(const ProductionRun&) = delete;
    ProductionRun& operator=(const ProductionRun&) = delete;

    // Before the first step that programs: takes this run's number and
    // makes what program and verify write and compare carry it. False,
    // with a status line, when no usable number can be had; nothing has
    // been sent to the chip then. Once per run; true without a number.
    bool TakeSerial();
    void AddStep(const std::string& step) { steps_ += (steps_.empty() ? "" : " ") + step; }

    // The end: on success the number is the chip's ("序列号: N"); on
    // failure it goes back for the next run. Then the log line, on disk
    // before this returns. Returns `ok`, or false when the log line could
    // not be written (said in the status list).
    bool Finish(bool ok);

    std::optional<uint64_t> serial() const { return number_; }
    // After a Finish that returned false: the first failure line of the
    // run, or why its log line could not be written.
    const std::string& failure() const { return failure_; }

private:
    Station& station_;
    ProductionOptions& options_;
    std::string steps_;
    std::chrono::steady_clock::time_point start_;
    std::optional<uint64_t> number_;
    bool taken_ = false;
    bool finished_ = false;
    std::string failure_;
    DataBuffer patched_;
    SerialPatch patch_;
};

// The auto sequence as a production run: with the run's serial number, or,
// when none can be had, a failed run counted without the chip being
// touched.
bool RunNumberedAuto(ProductionRun& run, AppState& app, ProgrammerLink& link);

}  // namespace morsk
