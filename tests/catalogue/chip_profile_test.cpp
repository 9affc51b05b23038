#include "chip_profile.h"

#include <gtest/gtest.h>

#include <cstring>

#include "test_support.h"

namespace morsk {
namespace {

using test::RecordingUi;
using test::TempDir;
using test::WriteFile;

std::vector<std::string> Pieces(const std::string& content, size_t maxChars)
{
    TempDir dir;
    WriteFile(dir.File("f"), content);
    std::FILE* f = std::fopen(dir.File("f").c_str(), "rb");
    LineReader reader(f, maxChars);
    std::vector<std::string> out;
    std::string piece;
    while (reader.Next(piece))
        out.push_back(piece);
    std::fclose(f);
    return out;
}

TEST(LineReader, SplitsLikeFgetsOnATextStream)
{
    struct Case {
        std::string content;
        size_t maxChars;
        std::vector<std::string> pieces;
    } cases[] = {
        {"a\nbc\n", 199, {"a\n", "bc\n"}},
        {"a\r\nbc\r\n", 199, {"a\n", "bc\n"}},           // CR LF is one line break
        {"last", 199, {"last"}},                           // final line without a break
        {"abcdef\n", 4, {"abcd", "ef\n"}},                 // a long line continues as a further piece
        {"abc\ndef", 4, {"abc\n", "def"}},
        {"a\rb\n", 199, {"a\rb\n"}},                       // a lone CR stays
        {"", 199, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Pieces(c.content, c.maxChars), c.pieces) << c.content;
}

TEST(DeviceLine, EnableFlagIsTheCharacterBeforeTheBreak)
{
    struct Case {
        const char* piece;
        bool enabled;
    } cases[] = {
        {"ATMEGA8;1;2;Y\n", true},
        {"ATMEGA8;1;2;y\n", true},
        {"ATMEGA8;1;2;Y \n", false},  // a blank after the flag
        {"ATMEGA8;1;2;N\n", false},
        {"ATMEGA8;1;2;Y", false},     // final line: its next-to-last character counts
        {"ATMEGA8;1;2;YY", true},
        {"Y\n", true},
        {"\n", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsEnabledLine(c.piece), c.enabled) << c.piece;
}

TEST(DeviceLine, FieldsDropColonsAndKeepNineteenCharacters)
{
    const auto f = SplitFields("AT:MEGA8; a b ;;0x1E:;123456789012345678901234;Y\n");
    EXPECT_EQ(f[0], "ATMEGA8");
    EXPECT_EQ(f[1], " a b ");
    EXPECT_EQ(f[2], "");
    EXPECT_EQ(f[3], "0x1E");
    EXPECT_EQ(f[4], "1234567890123456789");
    EXPECT_EQ(f[5], "Y");
    EXPECT_EQ(f[6], "");
    EXPECT_EQ(f.size(), 20u);

    // A header without ';' keeps the whole line up to the break, flag included.
    EXPECT_EQ(SplitFields(":ATMELY\n", 1)[0], "ATMELY");
    // A final line without a break loses its last character.
    EXPECT_EQ(SplitFields("AB;CDY", 2)[1], "CD");
    // Positions from 128 on belong to no field.
    const std::string longLine = std::string(120, 'x') + ";" + std::string(30, '7') + ";Y\n";
    const auto g = SplitFields(longLine);
    EXPECT_EQ(g[0], std::string(19, 'x'));
    EXPECT_EQ(g[1], "7777777");
    EXPECT_EQ(g[2], "");
}

TEST(DeviceLine, NumbersFollowTheCLibrary)
{
    struct Case {
        const char* text;
        uint32_t value;
    } cases[] = {
        {"0x1E", 30}, {"30", 30}, {"036", 30}, {"0X1e", 30}, {"  42", 42}, {"+7", 7},
        {"", 0}, {"abc", 0}, {"12abc", 12}, {"0x", 0}, {"08", 0}, {"0xG", 0},
        {"-1", 0xFFFFFFFFu}, {"-30", 0xFFFFFFE2u}, {"4294967295", 0xFFFFFFFFu},
        {"4294967296", 0xFFFFFFFFu}, {"99999999999999999999", 0xFFFFFFFFu}, {"8192 Y", 8192},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseCNumber(c.text), c.value) << c.text;
}

constexpr char kList[] =
    "Name;Type;Package;Flash;EEPROM;FPage;EPage;S0;S1;S2;FL;FH;FE;Flag\n"
    ":ATMEL;Y\n"
    "ATMEGA8;MCU;DIP;8192;512;64;4;0x1E;0x93;0x07;0xE1;0xD9;0xFF;Y\n"
    "ATMEGA103;MCU;DIP;131072;4096;256;8;0x1E;0x97;0x01;0xDF;0xFF;0xFF;N\n"
    "AT89S52;MCU;DIP;8192;0;256;0;0x1E;0x52;0x06;-1;036;30;y\n"
    "at89s52;MCU;DIP;8192;0;256;0;30;82;6\n"
    "at89s52;MCU;DIP;4096;0;256;0;30;82;6;Y\n"
    ":OLD;N\n"
    "OLDCHIP;MCU;DIP;1;1;1;1;1;1;1;1;1;1;Y\n"
    ":MICROCHIP;Y\n"
    "PIC16F84A;MCU;DIP;1792;64;0;0;0;0;0;0xFF;0xFF;0xFF;Y\n"
    ":NORDIC;Y\n"
    "NRF24LE1;MCU;QFN;16384;0;512;0;0;0;0;0xFF;0xFF;0xFF;Y\n"
    "BIGFLASH;MCU;QFN;262145;0;512;0;0;0;0;0xFF;0xFF;0xFF;Y\n"
    "BIGEEPROM;MCU;QFN;1024;4097;512;0;0;0;0;0xFF;0xFF;0xFF;Y\n"
    ":NONAME;YY";

class LoadChipProfileTest : public ::testing::Test {
protected:
    void SetUp() override { WriteFile(path, kList); }
    int Load(int m, int d) { return LoadChipProfile(profile, path, m, d, ui); }
    TempDir dir;
    std::string path = dir.File("Device.csv");
    ChipProfile profile;
    RecordingUi ui;
};

TEST_F(LoadChipProfileTest, LoadsTheChosenDevice)
{
    ASSERT_EQ(Load(0, 0), 1);
    EXPECT_STREQ(profile.manufacturer, "ATMEL");
    EXPECT_STREQ(profile.deviceName, "ATMEGA8");
    EXPECT_EQ(profile.family, kFamilyAvr);
    EXPECT_EQ(profile.flashSize, 8192u);
    EXPECT_EQ(profile.eepromSize, 512u);
    EXPECT_EQ(profile.flashPageSize, 64u);
    EXPECT_EQ(profile.eepromPageSize, 4u);
    EXPECT_EQ(profile.signature[0], 0x1E);
    EXPECT_EQ(profile.signature[1], 0x93);
    EXPECT_EQ(profile.signature[2], 0x07);
    EXPECT_EQ(profile.fuseLowDefault, 0xE1);
    EXPECT_EQ(profile.fuseLow, 0xE1);
    EXPECT_EQ(profile.fuseHigh, 0xD9);
    EXPECT_EQ(profile.fuseExt, 0xFF);
    EXPECT_EQ(profile.lockDefault, 0xFF);
    EXPECT_EQ(profile.lock, 0x00);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(LoadChipProfileTest, IndexesCountEnabledLinesAndDeriveTheFamily)
{
    struct Case {
        int m, d;
        const char* manufacturer;
        const char* device;
        uint8_t family;
    } cases[] = {
        {0, 1, "ATMEL", "AT89S52", kFamilyAt89},   // the disabled ATMEGA103 is not counted
        {0, 2, "ATMEL", "at89s52", kFamilyAvr},    // small letters are not AT89
        {2, 0, "NORDIC", "NRF24LE1", kFamilyNordic},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Load(c.m, c.d), 1) << c.device;
        EXPECT_STREQ(profile.manufacturer, c.manufacturer);
        EXPECT_STREQ(profile.deviceName, c.device);
        EXPECT_EQ(profile.family, c.family) << c.device;
    }
    // The at89s52 line without a flag is skipped: index 2 is the 4096-byte one.
    ASSERT_EQ(Load(0, 2), 1);
    EXPECT_EQ(profile.flashSize, 4096u);
    // "-1" in a byte field keeps the low 8 bits; 036 is octal.
    ASSERT_EQ(Load(0, 1), 1);
    EXPECT_EQ(profile.fuseLow, 0xFF);
    EXPECT_EQ(profile.fuseHigh, 30);
    EXPECT_EQ(profile.fuseExt, 30);
}

TEST_F(LoadChipProfileTest, OtherManufacturerKeepsTheFamily)
{
    ASSERT_EQ(Load(0, 1), 1);  // AT89
    ASSERT_EQ(Load(1, 0), 1);
    EXPECT_STREQ(profile.manufacturer, "MICROCHIP");
    EXPECT_STREQ(profile.deviceName, "PIC16F84A");
    EXPECT_EQ(profile.family, kFamilyAt89);
}

TEST_F(LoadChipProfileTest, FailureModes)
{
    ASSERT_EQ(Load(0, 0), 1);
    const ChipProfile atmega8 = profile;

    // Manufacturer past the end: the last enabled header's name is left.
    EXPECT_EQ(Load(9, 0), 0);
    EXPECT_STREQ(profile.manufacturer, "NONAME");
    EXPECT_STREQ(profile.deviceName, "ATMEGA8");

    // Device past the end: the manufacturer changes, the device part stays
    // (the mixed state).
    EXPECT_EQ(Load(1, 5), 0);
    EXPECT_STREQ(profile.manufacturer, "MICROCHIP");
    EXPECT_STREQ(profile.deviceName, "ATMEGA8");
    EXPECT_EQ(profile.flashSize, atmega8.flashSize);
    EXPECT_EQ(profile.family, atmega8.family);

    // A manufacturer with no device line before the end of the file.
    EXPECT_EQ(Load(3, 0), 0);
    EXPECT_TRUE(ui.messages.empty());

    // Missing file: the box, nothing changes.
    const ChipProfile before = profile;
    EXPECT_EQ(LoadChipProfile(profile, dir.File("missing.csv"), 0, 0, ui), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], (test::Message{"打开CSV文件错误!\n" + dir.File("missing.csv") + ": No such file or directory",
                                             "ERROR", MessageIcon::Information}));
    EXPECT_EQ(std::memcmp(&before, &profile, sizeof profile), 0);
}

TEST_F(LoadChipProfileTest, ChipsLargerThanTheBufferAreRefused)
{
    ASSERT_EQ(Load(0, 0), 1);
    for (int d : {1, 2}) {
        ui.messages.clear();
        EXPECT_EQ(Load(2, d), 0);
        EXPECT_STREQ(profile.deviceName, "ATMEGA8");
        EXPECT_EQ(profile.flashSize, 8192u);
        EXPECT_EQ(profile.eepromSize, 512u);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(ui.messages[0].text.find("262144"), std::string::npos);
    }
}

TEST(LoadChipProfile, EmptyFileOrNoEnabledHeaderLoadsNothingSilently)
{
    TempDir dir;
    RecordingUi ui;
    ChipProfile profile;
    for (const char* content : {"", ":ATMEL;N\nATMEGA8;1;2;8192;Y\n", "ATMEGA8;1;2;8192;Y\n"}) {
        WriteFile(dir.File("d.csv"), content);
        EXPECT_EQ(LoadChipProfile(profile, dir.File("d.csv"), 0, 0, ui), 0) << content;
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_STREQ(profile.deviceName, "");
}

TEST(LoadChipProfile, CrLfAndAFinalLineWithoutBreak)
{
    TempDir dir;
    RecordingUi ui;
    ChipProfile profile;
    WriteFile(dir.File("d.csv"), ":ATMEL;Y\r\nATMEGA8;1;2;8192;512;64;4;0x1E;0x93;0x07;0xE1;0xD9;0xFF;Y\r\n"
                                 "LAST;1;2;4096;0;64;4;1;2;3;4;5;6;YY");
    ASSERT_EQ(LoadChipProfile(profile, dir.File("d.csv"), 0, 0, ui), 1);
    EXPECT_EQ(profile.fuseExt, 0xFF);
    ASSERT_EQ(LoadChipProfile(profile, dir.File("d.csv"), 0, 1, ui), 1);
    EXPECT_STREQ(profile.deviceName, "LAST");
    EXPECT_EQ(profile.fuseExt, 6);
}

TEST(LoadChipProfile, LongLinesAreCutNotOverrun)
{
    TempDir dir;
    RecordingUi ui;
    ChipProfile profile;
    // 172 characters: one piece, enabled; fields end at position 127 and the
    // name keeps 19 characters.
    const std::string fields = std::string(40, 'N') + ";1;2;1024;0;64;4;1;2;3;4;5;6;";
    const std::string medium = fields + std::string(100, 'z') + ";Y\n";
    // 371 characters: a 199-character piece that is not enabled, and the
    // rest, which is a line of its own.
    const std::string longer = fields + std::string(300, 'z') + "Y\n";
    WriteFile(dir.File("d.csv"), ":ATMEL;Y\n" + medium + longer);
    ASSERT_EQ(LoadChipProfile(profile, dir.File("d.csv"), 0, 0, ui), 1);
    EXPECT_STREQ(profile.deviceName, std::string(19, 'N').c_str());
    EXPECT_EQ(profile.flashSize, 1024u);
    EXPECT_EQ(profile.fuseExt, 6);
    ASSERT_EQ(LoadChipProfile(profile, dir.File("d.csv"), 0, 1, ui), 1);
    EXPECT_STREQ(profile.deviceName, std::string(19, 'z').c_str());
    EXPECT_EQ(LoadChipProfile(profile, dir.File("d.csv"), 0, 2, ui), 0);
}

TEST(ReadDeviceNames, ListsEnabledEntriesAtTheLoadersIndexes)
{
    TempDir dir;
    WriteFile(dir.File("d.csv"), kList);
    std::vector<ManufacturerEntry> list;
    ASSERT_TRUE(ReadDeviceNames(dir.File("d.csv"), list));
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].name, "ATMEL");
    EXPECT_EQ(list[0].devices, (std::vector<std::string>{"ATMEGA8", "AT89S52", "at89s52"}));
    EXPECT_EQ(list[1].name, "MICROCHIP");
    EXPECT_EQ(list[2].devices, (std::vector<std::string>{"NRF24LE1", "BIGFLASH", "BIGEEPROM"}));
    EXPECT_EQ(list[3].name, "NONAME");
    int m = -1, d = -1;
    EXPECT_TRUE(FindDevice(list, "NORDIC", "BIGFLASH", m, d));
    EXPECT_EQ(std::pair(m, d), std::pair(2, 1));
    EXPECT_TRUE(FindDevice(list, "", "at89s52", m, d));
    EXPECT_EQ(std::pair(m, d), std::pair(0, 2));
    EXPECT_FALSE(FindDevice(list, "MICROCHIP", "ATMEGA8", m, d));
    EXPECT_FALSE(FindDevice(list, "ATMEL", "atmega8", m, d));
    EXPECT_FALSE(ReadDeviceNames(dir.File("missing"), list));
}

}  // namespace
}  // namespace morsk
