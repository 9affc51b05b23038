#include "program_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>

#include "hex_writer.h"
#include "program_file_saver.h"
#include "test_support.h"

namespace morsk {
namespace {

using test::RecordingUi;
using test::TempDir;
using test::WriteFile;

// ":LLAAAATT<data>CC" with the right checksum.
std::string Record(uint8_t type, uint16_t address, const std::vector<uint8_t>& data)
{
    unsigned sum = static_cast<unsigned>(data.size()) + (address >> 8) + (address & 0xFF) + type;
    std::string s = Format(":%02X%04X%02X", static_cast<unsigned>(data.size()), address, type);
    for (uint8_t b : data) {
        s += Format("%02X", b);
        sum += b;
    }
    return s + Format("%02X", (0u - sum) & 0xFF);
}

ChipProfile Chip(const char* name, uint32_t flash, uint32_t eeprom)
{
    ChipProfile p;
    std::snprintf(p.deviceName, sizeof p.deviceName, "%s", name);
    p.flashSize = flash;
    p.eepromSize = eeprom;
    return p;
}

ChipProfile Atmega8() { return Chip("ATMEGA8", 8192, 512); }
ChipProfile Atmega2560() { return Chip("ATMEGA2560", 262144, 4096); }

// A buffer that already holds an earlier file: a refused load must leave
// every byte of it, the file state and the checksum line as they are.
struct Loaded {
    LoadResult result;
    DataBuffer buffer;
    DataBuffer before;
    RecordingUi ui;
    ProgramFileState file;
    std::string path;
    std::string note;

    bool Unchanged() const
    {
        return buffer.flash == before.flash && buffer.eeprom == before.eeprom && buffer.view == before.view &&
               buffer.checksum == before.checksum && file.shownPath == "earlier.hex" && ui.fileLine.empty();
    }
    // "lead: path: reason", the one message of a refused file.
    std::vector<std::string> Says(const char* lead, const std::string& reason) const
    {
        return {std::string(lead) + ": " + path + ": " + reason};
    }
};

std::unique_ptr<Loaded> Load(const std::string& name, const std::string& content, ChipProfile profile = Atmega8())
{
    TempDir dir;
    auto out = std::make_unique<Loaded>();
    for (uint32_t i = 0; i < kFlashCapacity; i += 5)
        out->buffer.flash[i] = 0x5A;
    out->buffer.eeprom[7] = 0x77;
    ComposeView(out->buffer, profile);
    out->buffer.checksum = ComputeChecksum(out->buffer, profile);
    out->before = out->buffer;
    out->file.shownPath = "earlier.hex";
    out->path = dir.File(name);
    WriteFile(out->path, content);
    out->result = LoadProgramFile(out->path, out->file, out->buffer, profile, out->ui, out->ui, &out->note);
    return out;
}

const std::string kEof = ":00000001FF\n";

TEST(HexFiles, ValidFilesLoadWhole)
{
    struct Case {
        const char* name;
        std::string content;
        std::vector<std::pair<uint32_t, uint8_t>> bytes;  // expected flash bytes
    } cases[] = {
        {"data", Record(0, 0x0010, {1, 2, 3}) + "\n" + kEof, {{0x10, 1}, {0x12, 3}, {0x13, 0xFF}, {0, 0xFF}}},
        {"crlf and lower case digits", "junk before" + Record(0, 0x0100, {0xAB}) + "\r\n" + ":00000001ff\r\n",
         {{0x100, 0xAB}}},
        {"segment base", Record(2, 0, {0x10, 0x00}) + "\n" + Record(0, 0x0010, {0x5A}) + "\n" + kEof,
         {{65552, 0x5A}}},
        {"linear base", ":020000040001F9\n" + Record(0, 0x0010, {0x5A}) + "\n" + kEof, {{65552, 0x5A}}},
        {"the end record ends the file", Record(0, 0, {0x42}) + "\n" + kEof + "\n\ntrailing words\n" +
                                              Record(0, 1, {0x43}) + "\n",
         {{0, 0x42}, {1, 0xFF}}},
        {"no line break after the end record", Record(0, 0, {0x42}) + "\n:00000001FF", {{0, 0x42}}},
        {"64-byte records", Record(0, 0, std::vector<uint8_t>(64, 0x11)) + "\n" +
                                Record(0, 64, std::vector<uint8_t>(64, 0x22)) + "\n" + kEof,
         {{63, 0x11}, {64, 0x22}, {127, 0x22}, {128, 0xFF}}},
        {"a 255-byte record", Record(0, 0x100, std::vector<uint8_t>(255, 0x33)) + "\n" + kEof,
         {{0x100, 0x33}, {0x1FE, 0x33}, {0x1FF, 0xFF}}},
        {"start address records do nothing", Record(3, 0, {1, 2, 3, 4}) + "\n" + Record(5, 0, {1, 2, 3, 4}) + "\n" + kEof,
         {{0, 0xFF}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto l = Load("image.hex", c.content, Atmega2560());
        EXPECT_EQ(l->result, LoadResult::Loaded);
        EXPECT_TRUE(l->ui.messages.empty());
        for (const auto& [address, value] : c.bytes)
            EXPECT_EQ(l->buffer.flash[address], value) << std::hex << address;
        EXPECT_EQ(l->buffer.eeprom[7], 0x77);  // a HEX file without EEPROM leaves it alone
        EXPECT_EQ(l->file.shownPath, l->path);
        EXPECT_EQ(l->ui.fileLine, ChecksumLine(ComputeChecksum(l->buffer, Atmega2560()), l->path));
    }
}

TEST(HexFiles, BadFilesAreRefusedWholeAndNamed)
{
    struct Case {
        const char* name;
        std::string content;
        const char* lead;
        std::string reason;
        ChipProfile chip = Atmega8();
    } cases[] = {
        {"cut off before the end record", Record(0, 0, {7}) + "\n", kHexReadError,
         "no end-of-file record: the file may be cut off"},
        {"empty", "", kHexReadError, "no data"},
        {"empty line before the end", Record(0, 0, {7}) + "\n\n" + kEof, kHexReadError, "line 2: empty line"},
        {"no record", "hello\n", kHexReadError, "line 1: no record (no ':')"},
        {"bad checksum", Record(0, 0, {7}) + "\n:0100010008F7\n" + kEof, kHexChecksumError,
         "line 2: checksum F7, the record's bytes give F6"},
        {"non-hex digits", Record(0, 0, {7}) + "\n:01000100G8F7\n" + kEof, kHexReadError,
         "line 2: record cut short or not hexadecimal (1 data bytes announced)"},
        {"sign in a field", ":+1000100F8F7\n", kHexReadError, "line 1: malformed record header"},
        {"count past the line", ":10000000010203\n", kHexReadError,
         "line 1: record cut short or not hexadecimal (16 data bytes announced)"},
        {"checksum missing", ":0100000001\n", kHexReadError, "line 1: record checksum missing"},
        {"base record too short", ":0100000400FB\n", kHexReadError, "line 1: an address record needs two data bytes"},
        // Data the chip cannot hold: the chip's size and the file's highest address.
        {"12 KiB for an 8 KiB flash", Record(0, 0, {1}) + "\n" + Record(0, 0x2FFF, {2}) + "\n" + kEof, kHexReadError,
         "data up to address 0x2FFF, but the flash of ATMEGA8 holds 8192 bytes"},
        {"past the largest image", ":020000040003F7\n" + Record(0, 0xFFFE, {1, 2, 3, 4}) + "\n" + kEof, kHexReadError,
         "data up to address 0x40001, but the flash of ATMEGA2560 holds 262144 bytes", Atmega2560()},
        {"linear base above 16 MiB", Record(4, 0, {0x01, 0x00}) + "\n" + Record(0, 0, {5}) + "\n" + kEof,
         kHexReadError, "data up to address 0x1000000, but the flash of ATMEGA8 holds 8192 bytes"},
        {"EEPROM section larger than the EEPROM", Record(4, 0, {0x00, 0x81}) + "\n" + Record(0, 0x200, {5}) + "\n" + kEof,
         kHexReadError, "data up to address 0x200, but the EEPROM of ATMEGA8 holds 512 bytes (EEPROM section at 0x810000)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto l = Load("image.hex", c.content, c.chip);
        EXPECT_EQ(l->result, LoadResult::Refused);
        EXPECT_EQ(l->ui.MessageTexts(), l->Says(c.lead, c.reason));
        EXPECT_TRUE(l->Unchanged());
    }
}

TEST(HexFiles, WholeProgramSectionsOfTheAvrToolchain)
{
    // Flash at 0, EEPROM at 0x810000, fuses, lock and signature above.
    const std::string file = Record(0, 0, {0x0C, 0x94}) + "\n" + Record(4, 0, {0x00, 0x81}) + "\n" +
                             Record(0, 0x01FF, {0xEE}) + "\n" + Record(4, 0, {0x00, 0x82}) + "\n" +
                             Record(0, 0, {0xE1, 0xD9}) + "\n" + Record(4, 0, {0x00, 0x84}) + "\n" +
                             Record(0, 0, {0x07, 0x93, 0x1E}) + "\n" + kEof;
    auto l = Load("whole.hex", file);
    ASSERT_EQ(l->result, LoadResult::Loaded);
    EXPECT_EQ(l->buffer.flash[1], 0x94);
    EXPECT_EQ(l->buffer.eeprom[0x1FF], 0xEE);
    EXPECT_EQ(l->buffer.eeprom[7], 0xFF);  // the EEPROM section replaces the whole image
    EXPECT_EQ(l->buffer.view[8192 + 0x1FF], 0xEE);
    EXPECT_EQ(l->note, "文件中未载入的段: 熔丝位 (0x820000)、器件ID (0x840000)");
    EXPECT_TRUE(l->ui.messages.empty());
}

TEST(ProgramFiles, ExtensionsChooseTheFormat)
{
    const std::string hex = Record(0, 0, {0x12, 0x34}) + "\n" + kEof;
    for (const char* name : {"a.hex", "a.Hex", "a.HEX"}) {
        auto l = Load(name, hex);
        EXPECT_EQ(l->result, LoadResult::Loaded);
        EXPECT_EQ(l->file.extension, "HEX");
        EXPECT_EQ(l->buffer.view[1], 0x34);
    }
    auto eep = Load("data.eep", hex);
    EXPECT_EQ(eep->buffer.eeprom[1], 0x34);
    EXPECT_EQ(eep->buffer.eeprom[7], 0xFF);
    EXPECT_EQ(eep->buffer.flash[0], 0x5A);  // the flash image keeps the earlier file
    EXPECT_EQ(eep->buffer.view[8192 + 1], 0x34);  // after the flash in the view

    auto bin = Load("fw.Bin", "\x01\x02\x03");
    EXPECT_EQ(bin->result, LoadResult::Loaded);
    EXPECT_EQ(bin->buffer.flash[2], 0x03);
    EXPECT_EQ(bin->buffer.flash[5], 0xFF);
    EXPECT_EQ(bin->buffer.flash[kFlashCapacity - 5], 0xFF);  // the whole image was cleared
    EXPECT_EQ(bin->file.fileName, "fw.Bin");
    EXPECT_EQ(bin->file.extension, "BIN");
    EXPECT_EQ(bin->ui.fileLine, ChecksumLine(0xFFu * 8192 - 3 * 0xFF + 6 + 0xFFu * 511 + 0x77, bin->file.fullPath));

    auto other = Load("notes.txt", "hello");
    EXPECT_EQ(other->result, LoadResult::UnknownFormat);
    EXPECT_EQ(other->ui.MessageTexts(), other->Says(kFileOpenError, "not a .bin, .hex or .eep file"));
    EXPECT_TRUE(other->Unchanged());
}

TEST(ProgramFiles, EepFilesBeyondTheEeprom)
{
    auto l = Load("x.eep", Record(0, 510, {1, 2, 3}) + "\n" + kEof);
    EXPECT_EQ(l->result, LoadResult::Refused);
    EXPECT_EQ(l->ui.MessageTexts(), l->Says(kHexReadError, "data up to address 0x200, but the EEPROM of ATMEGA8 holds 512 bytes"));
    EXPECT_TRUE(l->Unchanged());
}

TEST(ProgramFiles, BinLengths)
{
    // Exactly the chip's flash: loaded.
    auto a = Load("a.bin", std::string(8192, '\x00'));
    EXPECT_EQ(a->result, LoadResult::Loaded);
    EXPECT_EQ(a->buffer.checksum, 0xFFu * 511 + 0x77);

    // One byte more, or more than any image: refused, nothing changed.
    for (const size_t length : {size_t{8193}, size_t{kFlashCapacity + 10}}) {
        auto b = Load("b.bin", std::string(length, '\x01'));
        EXPECT_EQ(b->result, LoadResult::Refused);
        EXPECT_EQ(b->ui.MessageTexts(),
                  b->Says(kFileOpenError, Format("%zu bytes, data up to address 0x%zX, but the flash of ATMEGA8 holds "
                                                 "8192 bytes", length, length - 1)));
        EXPECT_TRUE(b->Unchanged());
    }
    auto empty = Load("e.bin", "");
    EXPECT_EQ(empty->result, LoadResult::Refused);
    EXPECT_EQ(empty->ui.MessageTexts(), empty->Says(kFileOpenError, "no data"));
}

TEST(ProgramFiles, FilesThatCannotBeReadChangeNothing)
{
    TempDir dir;
    std::filesystem::create_directory(dir.File("folder.hex"));
    WriteFile(dir.File("locked.hex"), Record(0, 0, {1}) + "\n" + kEof);
    std::filesystem::permissions(dir.File("locked.hex"), std::filesystem::perms::none);
    const bool root = ::geteuid() == 0;  // root reads it anyway
    struct Case {
        std::string path;
        const char* reason;
    } cases[] = {
        {"/no/such/file.hex", "No such file or directory"},
        {dir.File("folder.hex"), "Is a directory"},
        {dir.File("locked.hex"), "Permission denied"},
    };
    for (const Case& c : cases) {
        if (root && c.path == dir.File("locked.hex"))
            continue;
        SCOPED_TRACE(c.path);
        DataBuffer buffer;
        buffer.flash[0] = 0x00;
        const DataBuffer before = buffer;
        RecordingUi ui;
        ProgramFileState file;
        file.shownPath = "earlier.hex";
        EXPECT_EQ(LoadProgramFile(c.path, file, buffer, Atmega8(), ui, ui), LoadResult::CannotOpen);
        EXPECT_EQ(buffer.flash, before.flash);
        EXPECT_TRUE(ui.fileLine.empty());
        EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{std::string(kFileOpenError) + ": " + c.path + ": " + c.reason});
        EXPECT_EQ(file.shownPath, "earlier.hex");
    }
}

TEST(ProgramFiles, BinKeepsTheEepromImage)
{
    TempDir dir;
    DataBuffer buffer;
    const ChipProfile p = Atmega8();
    RecordingUi ui;
    ProgramFileState file;
    WriteFile(dir.File("d.eep"), Record(0, 0, {0x77}) + "\n" + kEof);
    WriteFile(dir.File("f.bin"), "\x10");
    EXPECT_EQ(LoadProgramFile(dir.File("d.eep"), file, buffer, p, ui, ui), LoadResult::Loaded);
    EXPECT_EQ(LoadProgramFile(dir.File("f.bin"), file, buffer, p, ui, ui), LoadResult::Loaded);
    EXPECT_EQ(buffer.view[0], 0x10);
    EXPECT_EQ(buffer.view[8192], 0x77);
}

TEST(HexWriter, WrittenFilesReadBackToTheSameBytes)
{
    std::vector<uint8_t> image(kFlashCapacity, 0xFF);
    for (uint32_t i = 0; i < image.size(); i += 3)
        image[i] = static_cast<uint8_t>(i * 13);
    image[kFlashCapacity - 1] = 0x00;
    const std::string text = FormatIntelHex(image.data(), kFlashCapacity);
    EXPECT_NE(text.find(":020000040001F9\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 12), ":00000001FF\n");

    auto l = Load("out.hex", text, Atmega2560());
    ASSERT_EQ(l->result, LoadResult::Loaded);
    EXPECT_EQ(l->buffer.flash, image);
    EXPECT_TRUE(l->ui.messages.empty());
    EXPECT_EQ(FormatIntelHex(image.data(), 0), ":00000001FF\n");
}

TEST(ProgramFiles, SavedFilesLoadBackToTheSameImages)
{
    const ChipProfile p = Atmega8();
    DataBuffer saved;
    ClearImages(saved, p, ClearSelector::All);
    for (uint32_t i = 0; i < 8192; i += 7)
        saved.flash[i] = static_cast<uint8_t>(i);
    saved.eeprom[511] = 0x42;
    TempDir dir;
    // Any case of the extension; each kind writes its own image.
    for (const char* name : {"a.bin", "b.HEX", "c.Eep"})
        ASSERT_EQ(SaveProgramFile(dir.File(name), saved, p), SaveResult::Saved) << name;
    EXPECT_EQ(test::ReadFile(dir.File("a.bin")).size(), 8192u);

    DataBuffer loaded;
    ClearImages(loaded, p, ClearSelector::All);
    ProgramFileState file;
    RecordingUi ui;
    for (const char* name : {"b.HEX", "c.Eep"})
        ASSERT_EQ(LoadProgramFile(dir.File(name), file, loaded, p, ui, ui), LoadResult::Loaded) << name;
    EXPECT_TRUE(std::equal(saved.flash.begin(), saved.flash.begin() + 8192, loaded.flash.begin()));
    EXPECT_TRUE(std::equal(saved.eeprom.begin(), saved.eeprom.begin() + 512, loaded.eeprom.begin()));
    ASSERT_EQ(LoadProgramFile(dir.File("a.bin"), file, loaded, p, ui, ui), LoadResult::Loaded);
    EXPECT_TRUE(std::equal(saved.flash.begin(), saved.flash.begin() + 8192, loaded.flash.begin()));

    // Other names are refused before anything is written; a folder that
    // does not exist leaves nothing behind.
    EXPECT_EQ(SaveProgramFile(dir.File("d.txt"), saved, p), SaveResult::UnknownFormat);
    EXPECT_EQ(SaveProgramFile(dir.File("noext"), saved, p), SaveResult::UnknownFormat);
    EXPECT_EQ(SaveProgramFile(dir.File("no/such/e.hex"), saved, p), SaveResult::CannotWrite);
    EXPECT_FALSE(std::filesystem::exists(dir.File("d.txt")));
}

}  // namespace
}  // namespace morsk
