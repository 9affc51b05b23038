#include "production_run.h"

#include "auto_sequence.h"
#include "ini_file.h"
#include "text_util.h"

namespace morsk {

bool ReadProductionOptions(const std::string& settingsFile, ProductionOptions& options, std::string& error)
{
    if (!ReadSerialConfig(settingsFile, options.serial, error))
        return false;
    options.logFile = IniFile(settingsFile).ReadString(kLogSection, "File").value_or("");
    return true;
}

bool SaveLogFile(const std::string& settingsFile, const std::string& logFile)
{
    return IniFile(settingsFile).WriteString(kLogSection, "File", logFile);
}

ProductionRun::ProductionRun(Station& station, ProductionOptions& options)
    : station_(station), options_(options), start_(std::chrono::steady_clock::now())
{
    AppState& app = station_.app();
    app.record = RunRecord{};
    app.record.active = true;
}

ProductionRun::~ProductionRun()
{
    if (!finished_)
        Finish(false);
}

bool ProductionRun::TakeSerial()
{
    if (taken_ || !options_.serial.enabled)
        return true;
    taken_ = true;
    AppState& app = station_.app();
    const SerialConfig& config = options_.serial;
    uint64_t number = config.next;
    std::string error;
    if (options_.sharedCounter && !SerialCounter(app.paths.settingsFile).Reserve(config, number, error)) {
        app.AddStatusLine("取不到序列号: " + error);
        app.AddStatusLine(kNothingWrittenLine);
        return false;
    }
    number_ = number;
    if (!CheckSerialFits(config, app.profile, number, error)) {
        app.AddStatusLine(error);
        app.AddStatusLine(kNothingWrittenLine);
        return false;  // Finish gives the number back
    }
    patch_.eeprom = config.memory == MemoryKind::Eeprom;
    patch_.address = config.address;
    patch_.bytes = EncodeSerial(config, number);
    patch_.number = number;
    patched_ = app.buffer;
    std::vector<uint8_t>& image = patch_.eeprom ? patched_.eeprom : patched_.flash;
    std::copy(patch_.bytes.begin(), patch_.bytes.end(), image.begin() + config.address);
    app.programImages = &patched_;
    app.serial = &patch_;
    return true;
}

bool RunNumberedAuto(ProductionRun& run, AppState& app, ProgrammerLink& link)
{
    if (run.TakeSerial())
        return RunAuto(app, link);
    ++app.failureCount;
    app.ShowCounters();
    return false;
}

bool ProductionRun::Finish(bool ok)
{
    if (finished_)
        return ok;
    finished_ = true;
    AppState& app = station_.app();
    const RunRecord record = app.record;
    app.record.active = false;
    if (!ok)
        failure_ = !record.firstFailure.empty() ? record.firstFailure : !record.lastLine.empty() ? record.lastLine : "failed";
    app.programImages = nullptr;
    app.serial = nullptr;
    std::string serialText;
    if (number_) {
        const std::string n = std::to_string(*number_);
        if (ok) {
            serialText = n;
            app.AddStatusLine(kSerialLine + n);
            if (!options_.sharedCounter)
                options_.serial.next = *number_ + options_.serial.step;
        } else {
            std::string error;
            if (options_.sharedCounter && !SerialCounter(app.paths.settingsFile).GiveBack(options_.serial, *number_, error))
                app.AddStatusLine("序列号 " + n + " 没能退回: " + error);
            else
                app.AddStatusLine("序列号 " + n + " 没有写入器件, 留给下一个");
        }
    }
    if (options_.logFile.empty())
        return ok;

    LogEntry e;
    e.time = IsoTimeNow();
    e.host = HostName();
    e.port = station_.session().PortName();
    e.chip = std::string(app.profile.manufacturer) + "/" + app.profile.deviceName;
    if (record.signatureRead)
        e.signature = Format("%02X %02X %02X", record.signature[0], record.signature[1], record.signature[2]);
    e.file = app.file.fileName;
    e.checksum = Format("%08X", app.buffer.checksum);
    e.steps = steps_;
    e.result = ok ? "ok" : failure_;
    e.serial = serialText;
    e.durationMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_).count();
    std::string error;
    if (!AppendLogLine(options_.logFile, e, error)) {
        failure_ = kLogFailedLine + error;
        app.AddStatusLine(failure_);
        return false;
    }
    return ok;
}

}  // namespace morsk
