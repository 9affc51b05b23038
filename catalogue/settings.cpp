#include "settings.h"

#include <cstdlib>

#include <cstring>

#include "ini_file.h"
#include "text_util.h"

namespace morsk {
namespace {
const char kSection[] = "SETUP";
// Ours: the specified keys stay as they are.
const char kRecentSection[] = "RECENT";
const char kBufferSection[] = "BUFFER";
}  // namespace

SettingsPaths BuildPaths(const std::string& workDir)
{
    // The whole directory, however long: a path cut short would name
    // another folder's files.
    std::string dir = workDir;
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return {dir + "setup" + ".ini", dir + "Device" + ".csv"};
}

void SetAutoSequence(Settings& settings, const std::string& text)
{
    const size_t n = std::min(text.size(), kAutoSequenceChars);
    std::memcpy(settings.autoSequence, text.data(), n);
    settings.autoSequence[n] = '\0';
}

void ReadSettings(const std::string& settingsFile, Settings& settings)
{
    const IniFile ini(settingsFile);
    // A negative ManufIndex names manufacturer 1 but a negative DeviceIndex
    // device 0. The asymmetry is old; settings files in use were written
    // under it, so it stays: changing it would move their users to another
    // chip without a word.
    settings.manufIndex = ini.ReadInt(kSection, "ManufIndex", 0);
    if (settings.manufIndex < 0)
        settings.manufIndex = 1;
    settings.deviceIndex = ini.ReadInt(kSection, "DeviceIndex", 0);
    if (settings.deviceIndex < 0)
        settings.deviceIndex = 0;
    SetAutoSequence(settings, ini.ReadString(kSection, "AUTO").value_or(""));
    settings.skipBlank = ini.ReadInt(kSection, "SkipBlank", 0) != 0;
    settings.recentFiles.clear();
    for (size_t i = 1; i <= kRecentFiles; ++i) {
        const std::string file = ini.ReadString(kRecentSection, "File" + std::to_string(i)).value_or("");
        if (!file.empty())
            settings.recentFiles.push_back(file);
    }
    settings.clearOnChipChange = ini.ReadInt(kBufferSection, "ClearOnChipChange", 0) != 0;
    settings.clearOnLoad = ini.ReadInt(kBufferSection, "ClearOnLoad", 0) != 0;
}

void RememberRecentFile(Settings& settings, const std::string& path)
{
    ForgetRecentFile(settings, path);
    settings.recentFiles.insert(settings.recentFiles.begin(), path);
    if (settings.recentFiles.size() > kRecentFiles)
        settings.recentFiles.resize(kRecentFiles);
}

void ForgetRecentFile(Settings& settings, const std::string& path)
{
    std::erase(settings.recentFiles, path);
}

bool SaveRecentFiles(const SettingsPaths& paths, const Settings& settings)
{
    const IniFile ini(paths.settingsFile);
    bool ok = true;
    for (size_t i = 0; i < kRecentFiles; ++i)
        ok &= ini.WriteString(kRecentSection, "File" + std::to_string(i + 1),
                              i < settings.recentFiles.size() ? settings.recentFiles[i] : "");
    return ok;
}

bool SaveBufferOptions(const SettingsPaths& paths, const Settings& settings)
{
    const IniFile ini(paths.settingsFile);
    const bool a = ini.WriteString(kBufferSection, "ClearOnChipChange", settings.clearOnChipChange ? "1" : "0");
    const bool b = ini.WriteString(kBufferSection, "ClearOnLoad", settings.clearOnLoad ? "1" : "0");
    return a && b;
}

std::string ChipLine(const ChipProfile& profile, ChipLineStyle style)
{
    const char* separator = style == ChipLineStyle::StartUp ? " " : "  ";
    return std::string(" ") + profile.manufacturer + separator + profile.deviceName +
           Format("  %XH*8", profile.flashSize + profile.eepromSize);
}

int LoadSettings(const std::string& workDir, SettingsPaths& paths, Settings& settings,
                 ChipProfile& profile, Notifier& notifier, StatusSink& status)
{
    paths = BuildPaths(workDir);
    return LoadSettings(paths, settings, profile, notifier, status);
}

int LoadSettings(const SettingsPaths& paths, Settings& settings, ChipProfile& profile,
                 Notifier& notifier, StatusSink& status, std::optional<ChipIndexes> chip)
{
    ReadSettings(paths.settingsFile, settings);
    if (chip) {
        settings.manufIndex = chip->manufIndex;
        settings.deviceIndex = chip->deviceIndex;
    }
    const int loaded = LoadChipProfile(profile, paths.deviceList, settings.manufIndex,
                                       settings.deviceIndex, notifier);
    status.SetChipLine(ChipLine(profile, ChipLineStyle::StartUp));
    return loaded;
}

bool SaveChipSelection(const SettingsPaths& paths, const Settings& settings)
{
    const IniFile ini(paths.settingsFile);
    const bool a = ini.WriteString(kSection, "ManufIndex", std::to_string(settings.manufIndex));
    const bool b = ini.WriteString(kSection, "DeviceIndex", std::to_string(settings.deviceIndex));
    return a && b;
}

bool SaveAutoSequence(const SettingsPaths& paths, const Settings& settings)
{
    return IniFile(paths.settingsFile).WriteString(kSection, "AUTO", settings.autoSequence);
}

bool SaveSkipBlank(const SettingsPaths& paths, const Settings& settings)
{
    return IniFile(paths.settingsFile).WriteString(kSection, "SkipBlank", settings.skipBlank ? "1" : "0");
}

}  // namespace morsk

namespace morsk {

std::optional<Language> ReadLanguage(const std::string& settingsFile)
{
    const std::optional<std::string> stored = IniFile(settingsFile).ReadString("LANGUAGE", "Language");
    return stored ? ParseLanguage(*stored) : std::nullopt;
}

bool SaveLanguage(const std::string& settingsFile, Language language)
{
    return IniFile(settingsFile).WriteString("LANGUAGE", "Language", LanguageName(language));
}

Language StartLanguage(const std::string& settingsFile)
{
    if (const std::optional<Language> stored = ReadLanguage(settingsFile))
        return *stored;
    return LanguageForLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

}  // namespace morsk
