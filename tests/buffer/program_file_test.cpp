#include "program_file.h"

#include <gtest/gtest.h>

#include "hex_writer.h"
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

ChipProfile Atmega8()
{
    ChipProfile p;
    p.flashSize = 8192;
    p.eepromSize = 512;
    return p;
}

struct Loaded {
    LoadResult result;
    DataBuffer buffer;
    RecordingUi ui;
    ProgramFileState file;
};

std::unique_ptr<Loaded> Load(const std::string& name, const std::string& content, ChipProfile profile = Atmega8())
{
    TempDir dir;
    auto out = std::make_unique<Loaded>();
    ClearImages(out->buffer, profile, ClearSelector::All);
    WriteFile(dir.File(name), content);
    out->result = LoadProgramFile(dir.File(name), out->file, out->buffer, profile, out->ui, out->ui);
    return out;
}

TEST(HexRecords, Table)
{
    const std::string eof = ":00000001FF\n";
    struct Case {
        const char* name;
        std::string content;
        LoadResult result;
        std::vector<std::string> messages;
        std::vector<std::pair<uint32_t, uint8_t>> bytes;  // expected flash bytes
    } cases[] = {
        {"data", Record(0, 0x0010, {1, 2, 3}) + "\n" + eof, LoadResult::Loaded, {}, {{0x10, 1}, {0x12, 3}, {0x13, 0xFF}}},
        {"crlf and lower case digits", "junk before" + Record(0, 0x0100, {0xAB}) + "\r\n" + ":00000001ff\r\n",
         LoadResult::Loaded, {}, {{0x100, 0xAB}}},
        {"segment base", Record(2, 0, {0x10, 0x00}) + "\n" + Record(0, 0x0010, {0x5A}) + "\n",
         LoadResult::Loaded, {}, {{65552, 0x5A}}},
        {"linear base", ":020000040001F9\n" + Record(0, 0x0010, {0x5A}) + "\n", LoadResult::Loaded, {}, {{65552, 0x5A}}},
        {"end record does not stop", eof + Record(0, 0, {0x42}) + "\n", LoadResult::Loaded, {}, {{0, 0x42}}},
        {"other types do nothing", Record(3, 0, {1, 2, 3, 4}) + "\n" + Record(5, 0, {1, 2, 3, 4}) + "\n",
         LoadResult::Loaded, {}, {{0, 0xFF}}},
        {"blank line after the end", Record(0, 0, {7}) + "\n" + eof + "\n", LoadResult::LoadedWithError,
         {"Error reading Hexfile"}, {{0, 7}}},
        {"80-character line", Record(0, 0, std::vector<uint8_t>(34, 0x11)) + " \n", LoadResult::LoadedWithError,
         {"Error reading Hexfile"}, {{33, 0x11}}},
        {"bad checksum", Record(0, 0, {7}) + "\n:0100010008F7\n" + Record(0, 2, {9}) + "\n",
         LoadResult::LoadedWithError, {"Checksum Error reading Hexfile"}, {{0, 7}, {1, 0xFF}, {2, 0xFF}}},
        {"non-hex digits", Record(0, 0, {7}) + "\n:01000100G8F7\n", LoadResult::LoadedWithError, {kHexMalformed},
         {{0, 7}, {1, 0xFF}}},
        {"sign in a field", ":+1000100F8F7\n", LoadResult::LoadedWithError, {kHexMalformed}, {}},
        {"count past the line", ":10000000010203\n", LoadResult::LoadedWithError, {kHexMalformed}, {{0, 0xFF}}},
        {"checksum missing", ":0100000001\n", LoadResult::LoadedWithError, {kHexMalformed}, {{0, 0xFF}}},
        {"base record too short", ":0100000400FB\n", LoadResult::LoadedWithError, {kHexMalformed}, {}},
        {"past the image", ":020000040003F7\n" + Record(0, 0xFFFE, {1, 2, 3, 4}) + "\n" + Record(0, 0, {5}) + "\n" +
                               ":020000040004F6\n" + Record(0, 0, {6}) + "\n",
         LoadResult::LoadedWithError, {OutsideBufferMessage(kFlashCapacity)}, {{0x3FFFE, 1}, {0x3FFFF, 2}, {0x30000, 5}}},
        {"linear base above 16 MiB", Record(4, 0, {0x01, 0x00}) + "\n" + Record(0, 0, {5}) + "\n",
         LoadResult::LoadedWithError, {OutsideBufferMessage(kFlashCapacity)}, {{0, 0xFF}}},
        {"segment base past the image", Record(2, 0, {0xF0, 0x00}) + "\n" + Record(0, 0, {5}) + "\n",
         LoadResult::LoadedWithError, {OutsideBufferMessage(kFlashCapacity)}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto l = Load("image.hex", c.content);
        EXPECT_EQ(l->result, c.result);
        EXPECT_EQ(l->ui.MessageTexts(), c.messages);
        for (const auto& [address, value] : c.bytes)
            EXPECT_EQ(l->buffer.flash[address], value) << std::hex << address;
        // The view and the checksum line follow in every case.
        EXPECT_EQ(l->ui.fileLine, ChecksumLine(ComputeChecksum(l->buffer, Atmega8()), l->file.shownPath));
    }
}

TEST(ProgramFiles, ExtensionsChooseTheFormat)
{
    const std::string hex = Record(0, 0, {0x12, 0x34}) + "\n:00000001FF\n";
    for (const char* name : {"a.hex", "a.Hex", "a.HEX"}) {
        auto l = Load(name, hex);
        EXPECT_EQ(l->result, LoadResult::Loaded);
        EXPECT_EQ(l->file.extension, "HEX");
        EXPECT_EQ(l->buffer.view[1], 0x34);
    }
    auto eep = Load("data.eep", hex);
    EXPECT_EQ(eep->buffer.eeprom[1], 0x34);
    EXPECT_EQ(eep->buffer.flash[1], 0xFF);
    EXPECT_EQ(eep->buffer.view[8192 + 1], 0x34);  // after the flash in the view

    auto bin = Load("fw.Bin", "\x01\x02\x03");
    EXPECT_EQ(bin->result, LoadResult::Loaded);
    EXPECT_EQ(bin->buffer.flash[2], 0x03);
    EXPECT_EQ(bin->buffer.flash[3], 0xFF);
    EXPECT_EQ(bin->file.fileName, "fw.Bin");
    EXPECT_EQ(bin->file.extension, "BIN");
    EXPECT_EQ(bin->ui.fileLine, ChecksumLine(0xFFu * 8704 - 3 * 0xFF + 6, bin->file.fullPath));

    auto other = Load("notes.txt", "hello");
    EXPECT_EQ(other->result, LoadResult::UnknownFormat);
    EXPECT_EQ(other->buffer.flash[0], 0xFF);
    EXPECT_FALSE(other->ui.fileLine.empty());
}

TEST(ProgramFiles, EepromOutsideItsImage)
{
    auto l = Load("x.eep", Record(0, 4094, {1, 2, 3}) + "\n");
    EXPECT_EQ(l->result, LoadResult::LoadedWithError);
    EXPECT_EQ(l->ui.MessageTexts(), std::vector<std::string>{OutsideBufferMessage(kEepromCapacity)});
    EXPECT_EQ(l->buffer.eeprom[4095], 2);
}

TEST(ProgramFiles, BinLengths)
{
    // Longer than the chip but within the image: read whole, the view shows
    // the chip's part only.
    std::string longer(9000, '\x00');
    auto a = Load("a.bin", longer);
    EXPECT_EQ(a->result, LoadResult::Loaded);
    EXPECT_EQ(a->buffer.flash[8999], 0x00);
    EXPECT_EQ(a->buffer.checksum, 0xFFu * 512);

    // Longer than the image: the first 262144 bytes and one message.
    std::string huge(kFlashCapacity + 10, '\x01');
    auto b = Load("b.bin", huge);
    EXPECT_EQ(b->result, LoadResult::LoadedWithError);
    EXPECT_EQ(b->ui.MessageTexts(), std::vector<std::string>{BinTooLongMessage(kFlashCapacity)});
    EXPECT_EQ(b->buffer.flash[kFlashCapacity - 1], 0x01);

    // Exactly the image: no message.
    auto c = Load("c.bin", std::string(kFlashCapacity, '\x02'));
    EXPECT_EQ(c->result, LoadResult::Loaded);
    EXPECT_TRUE(c->ui.messages.empty());
}

TEST(ProgramFiles, AFileThatCannotBeOpenedChangesOnlyTheFileState)
{
    DataBuffer buffer;
    const ChipProfile p = Atmega8();
    ClearImages(buffer, p, ClearSelector::All);
    buffer.flash[0] = 0x00;
    RecordingUi ui;
    ProgramFileState file;
    EXPECT_EQ(LoadProgramFile("/no/such/file.hex", file, buffer, p, ui, ui), LoadResult::CannotOpen);
    EXPECT_EQ(buffer.flash[0], 0x00);
    EXPECT_TRUE(ui.fileLine.empty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(file.shownPath, "/no/such/file.hex");
    EXPECT_EQ(file.extension, "HEX");
}

TEST(ProgramFiles, BinKeepsTheEepromImage)
{
    TempDir dir;
    DataBuffer buffer;
    const ChipProfile p = Atmega8();
    ClearImages(buffer, p, ClearSelector::All);
    RecordingUi ui;
    ProgramFileState file;
    WriteFile(dir.File("d.eep"), Record(0, 0, {0x77}) + "\n");
    WriteFile(dir.File("f.bin"), "\x10");
    LoadProgramFile(dir.File("d.eep"), file, buffer, p, ui, ui);
    LoadProgramFile(dir.File("f.bin"), file, buffer, p, ui, ui);
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

    TempDir dir;
    WriteFile(dir.File("out.hex"), text);
    DataBuffer buffer;
    RecordingUi ui;
    ASSERT_TRUE(ReadHexFile(dir.File("out.hex"), buffer.flash.data(), kFlashCapacity, ui));
    EXPECT_EQ(buffer.flash, image);
    EXPECT_TRUE(ui.messages.empty());
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
