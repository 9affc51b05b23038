// setup.ini: the chosen chip and the auto sequence, kept between runs.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "chip_profile.h"
#include "translate.h"
#include "ui_sinks.h"

namespace morsk {

// The two files of the working directory the program started in. Built
// once; a later change of directory does not move them.
struct SettingsPaths {
    std::string settingsFile;
    std::string deviceList;
};
SettingsPaths BuildPaths(const std::string& workDir);

inline constexpr size_t kAutoSequenceChars = 16;

struct Settings {
    int manufIndex = 0;
    int deviceIndex = 0;
    // Program only the used part of the images (SkipBlank=1); off unless
    // the file says otherwise.
    bool skipBlank = false;
    char autoSequence[kAutoSequenceChars + 1] = {};

    // Sections of our own, beside the SETUP keys.
    // [RECENT] File1..File8: the files loaded or saved last, newest first.
    std::vector<std::string> recentFiles;
    // [BUFFER]: clear both images at a chip change, and before a load.
    bool clearOnChipChange = false;
    bool clearOnLoad = false;
};

inline constexpr size_t kRecentFiles = 8;

// Puts `path` first in the list (once), keeping at most kRecentFiles.
void RememberRecentFile(Settings& settings, const std::string& path);
void ForgetRecentFile(Settings& settings, const std::string& path);

// Reads the SETUP keys with their defaults and odd rules. FlashFile is
// written by older versions and read by none: it is left in the file.
void ReadSettings(const std::string& settingsFile, Settings& settings);

// " ATMEL ATMEGA8  2200H*8": one blank between manufacturer and device at
// start-up, two after a chip change.
enum class ChipLineStyle { StartUp, AfterChange };
std::string ChipLine(const ChipProfile& profile, ChipLineStyle style);

// Start-up: paths, keys, chip profile, chip line. Returns what
// LoadChipProfile returned.
int LoadSettings(const std::string& workDir, SettingsPaths& paths, Settings& settings,
                 ChipProfile& profile, Notifier& notifier, StatusSink& status);

// The same with the paths given; `chip` replaces the stored indexes for
// this run without writing them.
struct ChipIndexes {
    int manufIndex = 0;
    int deviceIndex = 0;
};
int LoadSettings(const SettingsPaths& paths, Settings& settings, ChipProfile& profile,
                 Notifier& notifier, StatusSink& status, std::optional<ChipIndexes> chip = {});

// False when setup.ini could not be written; the callers say so.
bool SaveChipSelection(const SettingsPaths& paths, const Settings& settings);
bool SaveAutoSequence(const SettingsPaths& paths, const Settings& settings);
bool SaveSkipBlank(const SettingsPaths& paths, const Settings& settings);
bool SaveRecentFiles(const SettingsPaths& paths, const Settings& settings);
bool SaveBufferOptions(const SettingsPaths& paths, const Settings& settings);

void SetAutoSequence(Settings& settings, const std::string& text);

// [LANGUAGE] Language=zh|en: the user's choice, nullopt when none is
// stored (or it is neither).
std::optional<Language> ReadLanguage(const std::string& settingsFile);
bool SaveLanguage(const std::string& settingsFile, Language language);
// The stored choice, or on a first start the locale's (LC_ALL,
// LC_MESSAGES, LANG).
Language StartLanguage(const std::string& settingsFile);

}  // namespace morsk
