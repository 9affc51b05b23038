// Everything the program keeps for a whole run: one instance, created by
// main() and passed by reference. Tests build as many as they like.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "chip_profile.h"
#include "data_buffer.h"
#include "link_state.h"
#include "program_file.h"
#include "settings.h"
#include "ui_sinks.h"

namespace morsk {

// A serial number patched into what a run writes.
struct SerialPatch {
    bool eeprom = false;
    uint32_t address = 0;
    std::vector<uint8_t> bytes;
    uint64_t number = 0;
};

// What a production run notes for its record while it goes.
struct RunRecord {
    bool active = false;
    bool signatureRead = false;
    uint8_t signature[3] = {};
    std::string firstFailure;  // the first status line that says a failure
    std::string lastLine;
};

struct AppState {
    ChipProfile profile;
    bool profileLoaded = false;  // what the last LoadChipProfile returned
    DataBuffer buffer;
    Settings settings;
    SettingsPaths paths;
    ProgramFileState file;
    uint8_t successCount = 0;
    uint8_t failureCount = 0;
    int statusLineCount = 0;
    LinkState link;

    // What program and verify write and compare: the buffer, or during a
    // run with a serial number a copy with the number patched in (the
    // buffer itself never changes for it).
    const DataBuffer* programImages = nullptr;
    const DataBuffer& ImagesToProgram() const { return programImages ? *programImages : buffer; }
    const SerialPatch* serial = nullptr;
    RunRecord record;

    StatusSink* status = &DefaultUi();
    Notifier* notifier = &DefaultUi();

    void AddStatusLine(std::string text);
    void ShowCounters();
    // Connects all sinks at once; a null pointer keeps the current one.
    void AttachUi(StatusSink* statusSink, Notifier* notifierSink, ProgressSink* progressSink,
                  DiagnosticSink* diagnosticSink);
};

// True for the manufacturers the operations know, and only when the chip's
// line was really loaded: a failed load can leave a manufacturer name over
// another chip's sizes and family, which must never drive a chip.
bool ChipCommandsAllowed(const AppState& app);

inline constexpr char kReadyLine[] = "准备就绪！";
inline constexpr char kUnsupportedLine[] = "本软件暂不支持您所选择的芯片，请重新选择！";

// Enables or disables the operations and adds the readiness line.
bool UpdateReadiness(AppState& app);

// What the command line changes in the start-up; the window takes the
// defaults.
struct StartOptions {
    // setup.ini and Device.csv; those of the working directory when unset.
    std::optional<SettingsPaths> paths;
    // A chip by manufacturer and device name (any manufacturer when the
    // first is empty), in place of the stored choice, for this run only.
    std::optional<std::pair<std::string, std::string>> chip;
    // The readiness line and the counters, which only a window shows.
    bool readiness = true;
};

enum class StartResult { Started, NoDeviceList, UnknownChip };

// The start-up order: settings and chip profile, buffer clear, checksum
// line, readiness, counters, link option. Goes on without a device list
// (as the window must) but says so; stops at once on an unknown chip.
StartResult StartUp(AppState& app, const std::string& workDir, const StartOptions& options = {});

// After the device selection dialog closed with OK.
void ChangeChip(AppState& app, int manufIndex, int deviceIndex);

void RefreshChecksum(AppState& app);

// Both counters back to 0, shown.
void ResetCounters(AppState& app);

// Sets both images and the view to 0xFF; the file line names no file.
void ClearBuffer(AppState& app);

// Loads a program file as "载入文件" does: all or nothing, one message for
// a refused file, and a status line for sections of the file left out.
LoadResult LoadFile(AppState& app, const std::string& path);

// After the chip was read into the images: the checksum line says where
// the data came from instead of naming a file it no longer holds.
void ShowDataFromChip(AppState& app);
// After the buffer was filled with 0xFF: no file, the new checksum.
void ShowClearedBuffer(AppState& app);

// When setup.ini cannot be written: the choice holds for this run only.
inline constexpr char kSettingsNotSavedLine[] = "设置未能保存到 setup.ini!";
// Adds kSettingsNotSavedLine when a save failed; returns `saved`.
bool SaidIfNotSaved(AppState& app, bool saved);

inline constexpr char kBufferBeyondChipLine[] = "注意: 缓冲区中的数据超出了所选器件的容量!";

}  // namespace morsk
