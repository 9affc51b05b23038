#include "settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ini_file.h"
#include "test_support.h"

namespace morsk {
namespace {

using test::ReadFile;
using test::RecordingUi;
using test::TempDir;
using test::WriteFile;

TEST(Settings, KeysWithDefaultsAndOddRules)
{
    struct Case {
        const char* ini;  // nullptr: no file
        int manuf, device;
        const char* autoSequence;
    } cases[] = {
        {nullptr, 0, 0, ""},
        {"[SETUP]\nManufIndex=2\nDeviceIndex=5\nAUTO=3512\n", 2, 5, "3512"},
        {"[SETUP]\nManufIndex=-3\nDeviceIndex=-3\n", 1, 0, ""},
        {"[setup]\nmanufindex=4\ndeviceINDEX=1\nauto=12\n", 4, 1, "12"},   // names without case
        {"[SETUP]\nManufIndex=abc\nDeviceIndex=7x\n", 0, 7, ""},            // not a number: 0
        {"[SETUP]\r\nManufIndex = 3 \r\nAUTO=F123456789ABCDEF0123\r\n", 3, 0, "F123456789ABCDEF"},
        {"[OTHER]\nManufIndex=9\n[SETUP]\nDeviceIndex=2\n", 0, 2, ""},
    };
    for (const Case& c : cases) {
        TempDir dir;
        if (c.ini)
            WriteFile(dir.File("setup.ini"), c.ini);
        Settings s;
        ReadSettings(dir.File("setup.ini"), s);
        EXPECT_EQ(s.manufIndex, c.manuf) << (c.ini ? c.ini : "none");
        EXPECT_EQ(s.deviceIndex, c.device) << (c.ini ? c.ini : "none");
        EXPECT_STREQ(s.autoSequence, c.autoSequence) << (c.ini ? c.ini : "none");
    }
}

TEST(Settings, PathsAreBuiltFromTheWorkingDirectory)
{
    const SettingsPaths p = BuildPaths("/home/op/chips");
    EXPECT_EQ(p.settingsFile, "/home/op/chips/setup.ini");
    EXPECT_EQ(p.deviceList, "/home/op/chips/Device.csv");
    EXPECT_EQ(BuildPaths("/").deviceList, "/Device.csv");
    const std::string deep = "/" + std::string(300, 'd');
    EXPECT_EQ(BuildPaths(deep).settingsFile, deep + "/setup.ini");
}

TEST(IniFile, WritingOneKeyKeepsEverythingElse)
{
    TempDir dir;
    const std::string path = dir.File("setup.ini");
    WriteFile(path,
              "; operator notes\n"
              "[Window]\nLeft=10\n\n"
              "[Setup]\nmanufindex=1\nFlashFile=/tmp/a.hex\n\n"
              "[Other]\nManufIndex=77\n");
    IniFile ini(path);
    ASSERT_TRUE(ini.WriteString("SETUP", "ManufIndex", "3"));
    ASSERT_TRUE(ini.WriteString("SETUP", "AUTO", "3512"));
    EXPECT_EQ(ReadFile(path),
              "; operator notes\n"
              "[Window]\nLeft=10\n\n"
              "[Setup]\nManufIndex=3\nFlashFile=/tmp/a.hex\nAUTO=3512\n\n"
              "[Other]\nManufIndex=77\n");
    EXPECT_EQ(ini.ReadInt("SETUP", "ManufIndex", -1), 3);
    EXPECT_EQ(ini.ReadString("other", "manufindex").value_or(""), "77");
}

TEST(IniFile, FirstWriteCreatesTheFileAndCrLfIsKept)
{
    TempDir dir;
    Settings s;
    s.manufIndex = 2;
    s.deviceIndex = 4;
    const SettingsPaths paths = BuildPaths(dir.path().string());
    ASSERT_TRUE(SaveChipSelection(paths, s));
    EXPECT_EQ(ReadFile(paths.settingsFile), "[SETUP]\nManufIndex=2\nDeviceIndex=4\n");

    WriteFile(paths.settingsFile, "[SETUP]\r\nAUTO=1\r\n");
    SetAutoSequence(s, "3512");
    ASSERT_TRUE(SaveAutoSequence(paths, s));
    EXPECT_EQ(ReadFile(paths.settingsFile), "[SETUP]\r\nAUTO=3512\r\n");
}

TEST(IniFile, AFailedWriteLeavesTheOldFileWhole)
{
    TempDir dir;
    const std::string path = dir.File("setup.ini");
    const std::string before = "[SETUP]\nManufIndex=1\nAUTO=3512\n";
    WriteFile(path, before);
    // Something in the way of the temporary file: the write cannot happen.
    std::filesystem::create_directory(path + ".tmp" + std::to_string(::getpid()));
    EXPECT_FALSE(IniFile(path).WriteString("SETUP", "ManufIndex", "2"));
    EXPECT_EQ(ReadFile(path), before);
}

TEST(IniFile, AWriteGoesThroughAReplacedFileNeverATruncatedOne)
{
    // The file is replaced by rename: a reader holding the old file keeps
    // seeing it whole, and no temporary file stays behind.
    TempDir dir;
    const std::string path = dir.File("setup.ini");
    WriteFile(path, "[SETUP]\nManufIndex=1\n");
    struct stat before {};
    ::stat(path.c_str(), &before);
    ASSERT_TRUE(IniFile(path).WriteString("SETUP", "DeviceIndex", "9"));
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_NE(before.st_ino, after.st_ino);
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        files += entry.is_regular_file();
    EXPECT_EQ(files, 1);

    // A settings path that cannot be written is ignored: no crash, false.
    EXPECT_FALSE(IniFile(dir.File("no/such/dir/setup.ini")).WriteString("SETUP", "A", "1"));
}

TEST(LoadSettings, LoadsTheProfileAndShowsTheChipLine)
{
    TempDir dir;
    WriteFile(dir.File("Device.csv"),
              ":ATMEL;Y\nATmega8;1;2;8192;512;64;4;0x1E;0x93;0x07;0xE1;0xD9;0xFF;Y\n"
              "ATTINY13;1;2;4096;0;32;4;0x1E;0x90;0x07;0x6A;0xFF;0xFF;Y\n");
    WriteFile(dir.File("setup.ini"), "[SETUP]\nManufIndex=-3\nDeviceIndex=-3\n");
    RecordingUi ui;
    SettingsPaths paths;
    Settings settings;
    ChipProfile profile;
    // ManufIndex -3 reads as 1: there is no second manufacturer.
    EXPECT_EQ(LoadSettings(dir.path().string(), paths, settings, profile, ui, ui), 0);
    EXPECT_EQ(settings.manufIndex, 1);
    EXPECT_EQ(ui.chipLine, " ATMEL   0H*8");

    WriteFile(dir.File("setup.ini"), "[SETUP]\nManufIndex=0\n");
    EXPECT_EQ(LoadSettings(dir.path().string(), paths, settings, profile, ui, ui), 1);
    EXPECT_EQ(ui.chipLine, " ATMEL ATmega8  2200H*8");
    EXPECT_EQ(ChipLine(profile, ChipLineStyle::AfterChange), " ATMEL  ATmega8  2200H*8");
    settings.deviceIndex = 1;
    ASSERT_EQ(LoadChipProfile(profile, paths.deviceList, 0, 1, ui), 1);
    EXPECT_EQ(ChipLine(profile, ChipLineStyle::AfterChange), " ATMEL  ATTINY13  1000H*8");
}

TEST(Settings, SkipBlankRoundTripKeepsTheRest)
{
    TempDir dir;
    const SettingsPaths paths = BuildPaths(dir.path().string());
    WriteFile(paths.settingsFile, "; kept\n[Other]\nX=1\n[SETUP]\nAUTO=251\nFlashFile=/a.hex\n");
    Settings settings;
    ReadSettings(paths.settingsFile, settings);
    EXPECT_FALSE(settings.skipBlank);  // no key: off
    settings.skipBlank = true;
    ASSERT_TRUE(SaveSkipBlank(paths, settings));
    EXPECT_EQ(ReadFile(paths.settingsFile),
              "; kept\n[Other]\nX=1\n[SETUP]\nAUTO=251\nFlashFile=/a.hex\nSkipBlank=1\n");
    Settings again;
    ReadSettings(paths.settingsFile, again);
    EXPECT_TRUE(again.skipBlank);
    again.skipBlank = false;
    ASSERT_TRUE(SaveSkipBlank(paths, again));
    ReadSettings(paths.settingsFile, settings);
    EXPECT_FALSE(settings.skipBlank);
}

}  // namespace
}  // namespace morsk
