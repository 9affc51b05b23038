#include <gtest/gtest.h>

#include "sim_rig.h"

namespace morsk {
namespace {

using test::Blocks;
using test::Rig;

TEST(ProgrammerLink, WorkedExampleOnTheWire)
{
    Rig rig("ATMEGA8");  // flash 8192 / page 64, EEPROM 512 / page 4
    rig.OpenEarlier();
    rig.FillFlash(8192);
    ASSERT_EQ(rig.link->EnterProgramming(), 1);
    ASSERT_EQ(rig.link->WriteMemory(MemoryKind::Flash, {rig.app->buffer.flash.data(), 8192}, 64), 1);
    const std::vector<int> flashProgress = rig.ui.progress;
    rig.ui.progress.clear();
    ASSERT_EQ(rig.link->WriteMemory(MemoryKind::Eeprom, {rig.app->buffer.eeprom.data(), 512}, 4), 1);
    ASSERT_EQ(rig.link->LeaveProgramming(), 1);

    std::vector<std::string> expected = {"1 in 02 00 00 00 4", "12 in 00 00 00 00 4", "5 in 02 00 00 00 4"};
    for (uint32_t offset = 0; offset < 8192; offset += 200) {
        const uint8_t flags = offset == 0 ? 0x01 : offset + 200 >= 8192 ? 0x02 : 0x00;
        expected.push_back(Format("6 out %02X %02X 40 %02X %u", offset & 0xFF, offset >> 8, flags,
                                  std::min(200u, 8192 - offset)));
    }
    expected.insert(expected.end(), {"8 out 00 00 04 01 200", "8 out C8 00 04 00 200",
                                     "8 out 90 01 04 02 112", "2 in 02 00 00 00 4"});
    EXPECT_EQ(Blocks(rig.sim.packets), expected);
    EXPECT_EQ(expected[3 + 40], "6 out 40 1F 40 02 192");

    ASSERT_EQ(flashProgress.size(), 43u);
    EXPECT_EQ(flashProgress[0], 0);
    EXPECT_EQ(flashProgress[1], 2);
    EXPECT_EQ(flashProgress[2], 4);
    EXPECT_EQ(flashProgress[3], 7);
    EXPECT_EQ(flashProgress[40], 97);
    EXPECT_EQ(flashProgress[41], 100);
    EXPECT_EQ(flashProgress[42], 100);
    EXPECT_EQ(rig.ui.progress, (std::vector<int>{0, 39, 78, 100, 100}));
    // The bytes arrived where they belong.
    EXPECT_EQ(rig.sim.chip->flash, std::vector<uint8_t>(rig.app->buffer.flash.begin(),
                                                        rig.app->buffer.flash.begin() + 8192));
    EXPECT_EQ(rig.sim.packets[3].data,
              std::vector<uint8_t>(rig.app->buffer.flash.begin(), rig.app->buffer.flash.begin() + 200));
}

TEST(ProgrammerLink, BlockFlagsAndProgress)
{
    struct Case {
        uint32_t length;
        std::vector<std::string> blocks;
        std::vector<int> progress;
    } cases[] = {
        {200, {"6 out 00 00 40 03 200"}, {0, 100, 100}},
        {201, {"6 out 00 00 40 01 200", "6 out C8 00 40 02 1"}, {0, 99, 100, 100}},
        {400, {"6 out 00 00 40 01 200", "6 out C8 00 40 02 200"}, {0, 50, 100, 100}},
        {600, {"6 out 00 00 40 01 200", "6 out C8 00 40 00 200", "6 out 90 01 40 02 200"}, {0, 33, 66, 100, 100}},
        {1000, {"6 out 00 00 40 01 200", "6 out C8 00 40 00 200", "6 out 90 01 40 00 200",
                "6 out 58 02 40 00 200", "6 out 20 03 40 02 200"}, {0, 20, 40, 60, 80, 100, 100}},
        {0, {}, {0, 100}},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.OpenEarlier();
        ASSERT_EQ(rig.link->WriteMemory(MemoryKind::Flash, {rig.app->buffer.flash.data(), c.length}, 64), 1);
        EXPECT_EQ(Blocks(rig.sim.packets), c.blocks) << c.length;
        EXPECT_EQ(rig.ui.progress, c.progress) << c.length;
    }
}

TEST(ProgrammerLink, PageSizeLowByteAndReadBlocks)
{
    Rig rig;
    rig.OpenEarlier();
    rig.link->WriteMemory(MemoryKind::Flash, {rig.app->buffer.flash.data(), 1}, 256);
    rig.link->WriteMemory(MemoryKind::Flash, {rig.app->buffer.flash.data(), 1}, 128);
    rig.link->ReadMemory(MemoryKind::Eeprom, {rig.app->buffer.eeprom.data(), 300});
    rig.link->ReadMemory(MemoryKind::Flash, {rig.app->buffer.flash.data(), 0});
    EXPECT_EQ(Blocks(rig.sim.packets),
              (std::vector<std::string>{"6 out 00 00 00 03 1", "6 out 00 00 80 03 1", "7 in 00 00 00 00 200",
                                        "7 in C8 00 00 00 100"}));
}

TEST(ProgrammerLink, AShortBlockStopsTheTransfer)
{
    for (uint8_t kind : {0, 1}) {
        Rig rig;
        rig.OpenEarlier();
        rig.sim.fault = TransferFault::Short;
        rig.sim.faultAt = rig.sim.transfers + 3;
        const int ok = kind == 0 ? rig.link->WriteMemory(MemoryKind::Flash, {rig.app->buffer.flash.data(), 1000}, 64)
                                 : rig.link->ReadMemory(MemoryKind::Flash, {rig.app->buffer.flash.data(), 1000});
        EXPECT_EQ(ok, 0);
        EXPECT_EQ(rig.sim.packets.size(), 3u);
        EXPECT_EQ(rig.ui.progress, (std::vector<int>{0, 20, 40}));
    }
}

TEST(ProgrammerLink, VerifyReadsBackOnlyWhatIsNotBlank)
{
    struct Case {
        const char* name;
        uint32_t length;
        uint32_t block;
        std::vector<std::pair<uint32_t, uint8_t>> bytes;  // non-blank image bytes
        std::vector<std::string> requests;
    } cases[] = {
        {"all blank", 1024, 32, {}, {}},
        {"lone byte at 100", 1024, 32, {{100, 0x12}}, {"4 in 60 00 5A 00 32"}},
        {"ten-byte tail", 10, 32, {{9, 0x00}}, {"4 in 00 00 5A 00 10"}},
        {"blank tail", 40, 32, {{3, 0x00}}, {"4 in 00 00 5A 00 32"}},
        {"block 0 means 32", 100, 0, {{40, 1}, {99, 2}}, {"4 in 20 00 5A 00 32", "4 in 60 00 5A 00 4"}},
        {"two runs", 256, 64, {{0, 1}, {70, 2}, {200, 3}},
         {"4 in 00 00 5A 00 128", "4 in C0 00 5A 00 64"}},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.Enter();
        for (const auto& [offset, value] : c.bytes)
            rig.app->buffer.flash[offset] = value;
        rig.sim.chip->WriteFlash(0, rig.app->buffer.flash.data(), c.length);
        EXPECT_EQ(rig.link->CompareMemory(MemoryKind::Flash, {rig.app->buffer.flash.data(), c.length}, c.block, false), 0)
            << c.name;
        EXPECT_EQ(Blocks(rig.sim.packets), c.requests) << c.name;
        EXPECT_TRUE(rig.ui.progress.empty());
    }
}

TEST(ProgrammerLink, VerifyOfAFullRunUsesTwoHundredByteReadBacks)
{
    Rig rig;
    rig.Enter();
    rig.FillFlash(1000);
    rig.sim.chip->WriteFlash(0, rig.app->buffer.flash.data(), 1000);
    EXPECT_EQ(rig.link->CompareMemory(MemoryKind::Eeprom, {rig.app->buffer.flash.data(), 1000}, 64, true), 1);
    rig.sim.packets.clear();
    EXPECT_EQ(rig.link->CompareMemory(MemoryKind::Flash, {rig.app->buffer.flash.data(), 1000}, 64, true), 0);
    EXPECT_EQ(Blocks(rig.sim.packets),
              (std::vector<std::string>{"4 in 00 00 5A 80 200", "4 in C8 00 5A 80 200", "4 in 90 01 5A 80 200",
                                        "4 in 58 02 5A 80 200", "4 in 20 03 5A 80 200"}));
}

TEST(ProgrammerLink, VerifyMismatchAndFailedReadBack)
{
    Rig rig;
    rig.Enter();
    rig.app->buffer.flash[0x1234] = 0x0C;
    EXPECT_EQ(rig.link->CompareMemory(MemoryKind::Flash, {rig.app->buffer.flash.data(), 8192}, 64, false), 1);
    EXPECT_EQ(rig.ui.diagnostics, "Failed at 1234:0C-FF\n");

    rig.sim.chip->WriteFlash(0x1234, rig.app->buffer.flash.data() + 0x1234, 1);
    rig.sim.fault = TransferFault::Error;
    rig.sim.faultAt = rig.sim.transfers + 1;
    EXPECT_EQ(rig.link->CompareMemory(MemoryKind::Flash, {rig.app->buffer.flash.data(), 8192}, 64, false), 1);
    EXPECT_EQ(rig.link->CompareMemory(MemoryKind::Flash, {rig.app->buffer.flash.data(), 8192}, 64, false), 0);
}

TEST(ProgrammerLink, SignatureByFamily)
{
    struct Case {
        const char* profile;
        const char* socket;  // "" empty
        int result;
        std::vector<uint8_t> signature;
        size_t spiRequests;
    } cases[] = {
        {"ATMEGA8", "ATMEGA8", 1, {0x1E, 0x93, 0x07}, 3},
        {"ATMEGA8", "", 0, {0xAA, 0xAA, 0xAA}, 1},  // all 0xFF: the echo check fails at once
        {"ATMEGA8", "ATMEGA16", 1, {0x1E, 0x94, 0x03}, 3},
        {"AT89S52", "AT89S52", 1, {0x1E, 0x52, 0x06}, 3},
        {"AT89S52", "", 1, {0xFF, 0xFF, 0xFF}, 3},
        {"NRF24LE1", "NRF24LE1", 1, {0x00, 0x00, 0x00}, 3},
    };
    for (const auto& c : cases) {
        Rig rig(c.profile);
        rig.Socket(c.socket);
        ASSERT_EQ(rig.link->EnterProgramming(), 1);
        rig.sim.packets.clear();
        std::vector<uint8_t> sig = {0xAA, 0xAA, 0xAA};
        EXPECT_EQ(rig.link->ReadSignature(sig.data()), c.result) << c.profile << "/" << c.socket;
        EXPECT_EQ(sig, c.signature) << c.profile << "/" << c.socket;
        EXPECT_EQ(rig.Requests(3).size(), c.spiRequests);
    }
    Rig at89("AT89S52");
    ASSERT_EQ(at89.link->EnterProgramming(), 1);
    at89.sim.packets.clear();
    uint8_t sig[3];
    at89.link->ReadSignature(sig);
    EXPECT_EQ(test::Wire(at89.sim.packets[1]), "C0 03 28 01 00 00 04 00");
}

TEST(ProgrammerLink, FailedSerialTransfersHandBackNothing)
{
    // A failed transfer must not pass the instruction's own bytes off as
    // the chip's answer.
    for (int command = 0; command < 3; ++command) {
        Rig rig;
        ASSERT_EQ(rig.link->EnterProgramming(), 1);
        rig.sim.fault = TransferFault::Error;
        rig.sim.faultAt = rig.sim.transfers + 1;
        uint8_t value = 0x5C;
        uint8_t sig[3] = {0x11, 0x22, 0x33};
        if (command == 0) {
            EXPECT_EQ(rig.link->ReadFuse(kFuseHigh, value), 0);
        } else if (command == 1) {
            EXPECT_EQ(rig.link->WriteFuse(kFuseHigh, value), 0);
        } else {
            EXPECT_EQ(rig.link->ReadSignature(sig), 0);
        }
        EXPECT_EQ(value, 0x5C);
        EXPECT_EQ(sig[0], 0x11);
    }
}

TEST(ProgrammerLink, FuseInstructions)
{
    Rig rig;
    ASSERT_EQ(rig.link->EnterProgramming(), 1);
    rig.sim.packets.clear();
    uint8_t v[3] = {};
    for (FuseSelector s : kFuseSelectors)
        ASSERT_EQ(rig.link->ReadFuse(s, v[s]), 1);
    EXPECT_EQ(v[0], 0xE1);
    EXPECT_EQ(v[1], 0xD9);
    EXPECT_EQ(v[2], 0xFF);
    uint8_t w[3] = {0xE4, 0xC9, 0xFE};
    for (FuseSelector s : kFuseSelectors)
        ASSERT_EQ(rig.link->WriteFuse(s, w[s]), 1);
    EXPECT_EQ(Blocks(rig.sim.packets),
              (std::vector<std::string>{"3 in 50 00 00 00 4", "3 in 58 08 00 00 4", "3 in 50 08 00 00 4",
                                        "3 in AC A0 00 E4 4", "3 in AC A8 00 C9 4", "3 in AC A4 00 FE 4"}));
    EXPECT_EQ(rig.sim.chip->fuses[0], 0xE4);
    EXPECT_EQ(rig.sim.chip->fuses[1], 0xC9);
    EXPECT_EQ(rig.sim.chip->fuses[2], 0xFE);
}

TEST(ProgrammerLink, EraseByManufacturerAndItsFailure)
{
    Rig nordic("NRF24LE1");
    ASSERT_EQ(nordic.link->EnterProgramming(), 1);
    nordic.sim.packets.clear();
    ASSERT_EQ(nordic.link->EraseChip(), 1);
    EXPECT_EQ(test::Wire(nordic.sim.packets[0]), "C0 03 62 01 10 11 04 00");
    EXPECT_EQ(nordic.sim.chip->eraseCount, 1u);

    Rig rig;
    ASSERT_EQ(rig.link->EnterProgramming(), 1);
    rig.sim.fault = TransferFault::Short;
    rig.sim.faultAt = rig.sim.transfers + 1;
    EXPECT_EQ(rig.link->EraseChip(), 0);
    EXPECT_EQ(rig.sleeps, (std::vector<unsigned>{200}));  // no second wait

    Rig none;
    none.sim.programmers.clear();
    EXPECT_EQ(none.link->EraseChip(), 0);
    EXPECT_TRUE(none.sleeps.empty());
}

TEST(ProgrammerLink, FlashAbove64KiBHasItsOwnAddresses)
{
    Rig rig("ATMEGA2560");
    const uint32_t size = rig.app->profile.flashSize;
    ASSERT_EQ(size, 262144u);
    rig.sim.recordData = false;
    rig.FillFlash(size, 5);
    ASSERT_EQ(rig.link->EnterProgramming(), 1);
    ASSERT_EQ(rig.link->WriteMemory(MemoryKind::Flash, {rig.app->buffer.flash.data(), size}, 256), 1);
    EXPECT_EQ(rig.sim.chip->flash, std::vector<uint8_t>(rig.app->buffer.flash.begin(), rig.app->buffer.flash.end()));

    std::vector<uint8_t> back(size, 0);
    ASSERT_EQ(rig.link->ReadMemory(MemoryKind::Flash, {back.data(), size}), 1);
    EXPECT_EQ(back, rig.sim.chip->flash);
    // The read block that starts at 0x10040 carries bit 16 in setup byte 2.
    bool sawHighRead = false;
    for (const SetupPacket& p : rig.Requests(4))
        sawHighRead |= p.value == 0x0040 && p.Setup(2) == 0x01;
    EXPECT_TRUE(sawHighRead);

    rig.sim.packets.clear();
    ASSERT_EQ(rig.link->CompareMemory(MemoryKind::Flash, {rig.app->buffer.flash.data(), size}, 256, true), 0);
    const auto readBacks = rig.Requests(4);
    uint32_t covered = 0;
    for (const SetupPacket& p : readBacks) {
        EXPECT_EQ(p.Setup(2), 0x5A);
        EXPECT_EQ(p.Setup(3) & 0x80, 0x80);
        covered += p.length;
    }
    EXPECT_EQ(covered, size);
    EXPECT_EQ(test::Block(readBacks.back()), "4 in 70 FF 5A 83 144");

    rig.sim.chip->flash[0x3FFF0] ^= 0x01;
    EXPECT_EQ(rig.link->CompareMemory(MemoryKind::Flash, {rig.app->buffer.flash.data(), size}, 256, true), 1);
    EXPECT_EQ(rig.ui.diagnostics,
              Format("Failed at 3FFF0:%02X-%02X\n", rig.app->buffer.flash[0x3FFF0], rig.app->buffer.flash[0x3FFF0] ^ 1));
}

}  // namespace
}  // namespace morsk
