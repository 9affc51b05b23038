#include <gtest/gtest.h>

#include "fuse_model.h"
#include "sim_rig.h"

namespace morsk {
namespace {

using test::Block;
using test::Blocks;
using test::Rig;
using Strings = std::vector<std::string>;

TEST(FuseModel, BoxesValuesAndRows)
{
    Rig rig("ATMEGA8");  // E1 D9 FF, lock 00 until Default
    FuseEditModel model(rig.app->profile);
    model.Open();
    // E1 = 1110 0001: bits 1 to 4 programmed, so boxes 1028 to 1031.
    for (int bit = 0; bit < 8; ++bit)
        EXPECT_EQ(model.Checked(kRowLow, bit), bit >= 1 && bit <= 4) << bit;
    EXPECT_EQ(model.ValueText(kRowLow), "0xE1");
    for (int bit = 0; bit < 8; ++bit)
        EXPECT_TRUE(model.Checked(kRowLock, bit));
    EXPECT_EQ(model.ValueText(kRowLock), "0x00");
    EXPECT_EQ(model.layout().letter, 'R');

    // A row is rebuilt from its eight boxes; the others stay.
    std::array<bool, 8> high{};
    for (int bit = 0; bit < 8; ++bit)
        high[static_cast<size_t>(bit)] = model.Checked(kRowHigh, bit);
    high[7] = !high[7];
    model.SetRow(kRowHigh, high);
    EXPECT_EQ(rig.app->profile.fuseHigh, 0x59);
    EXPECT_EQ(rig.app->profile.fuseLow, 0xE1);
    EXPECT_EQ(rig.app->profile.fuseExt, 0xFF);

    // Default, then Cancel puts back what was there at opening.
    model.Default();
    EXPECT_EQ(model.ValueText(kRowLow), "0xE1");
    EXPECT_EQ(model.ValueText(kRowHigh), "0xD9");
    EXPECT_EQ(model.ValueText(kRowExt), "0xFF");
    EXPECT_EQ(model.ValueText(kRowLock), "0xFF");
    model.Cancel();
    EXPECT_EQ(rig.app->profile.fuseHigh, 0xD9);
    EXPECT_EQ(rig.app->profile.lock, 0x00);
}

TEST(FuseModel, ReadAndWriteOnTheWire)
{
    Rig rig("ATMEGA8");
    rig.sim.chip->fuses[0] = 0xE4;
    rig.sim.chip->fuses[1] = 0xC9;
    rig.sim.chip->fuses[2] = 0xFE;
    rig.app->profile.lock = 0x3C;
    FuseEditModel model(rig.app->profile);
    model.Open();
    uint8_t failures = 0;
    ASSERT_EQ(model.Read(failures, *rig.link), FuseTransfer::Done);
    EXPECT_EQ(model.ValueText(kRowLow), "0xE4");
    EXPECT_EQ(model.ValueText(kRowHigh), "0xC9");
    EXPECT_EQ(model.ValueText(kRowExt), "0xFE");
    rig.sim.packets.clear();
    rig.app->profile.fuseLow = 0xE1;
    ASSERT_EQ(model.Write(*rig.link), FuseTransfer::Done);
    // Low, high, extended, each its own instruction; the lock byte nowhere.
    EXPECT_EQ(Blocks(rig.sim.packets),
              (Strings{"1 in 02 00 00 00 4", "12 in 00 00 00 00 4", "5 in 02 00 00 00 4", "3 in 30 00 00 00 4",
                       "3 in 30 00 01 00 4", "3 in 30 00 02 00 4", "3 in AC A0 00 E1 4", "3 in AC A8 00 C9 4",
                       "3 in AC A4 00 FE 4", "2 in 02 00 00 00 4"}));
    EXPECT_EQ(rig.sim.chip->fuses[0], 0xE1);
    EXPECT_EQ(rig.sim.chip->lock, 0xFF);
    EXPECT_EQ(failures, 0);
}

TEST(FuseModel, FailuresAndTheEchoRule)
{
    // No programmer: Read counts a failure, Write does not; nothing is sent.
    {
        Rig rig("ATMEGA8");
        rig.sim.programmers.clear();
        FuseEditModel model(rig.app->profile);
        model.Open();
        uint8_t failures = 0;
        EXPECT_EQ(model.Read(failures, *rig.link), FuseTransfer::NoProgrammer);
        EXPECT_EQ(failures, 1);
        EXPECT_EQ(model.Write(*rig.link), FuseTransfer::NoProgrammer);
        EXPECT_EQ(failures, 1);
        EXPECT_TRUE(rig.sim.packets.empty());
    }
    // An empty socket answers 0xFF everywhere: no echo, so nothing counts
    // as read (the bytes keep their values) and nothing as written.
    {
        Rig rig("ATMEGA8");
        rig.Socket("");
        FuseEditModel model(rig.app->profile);
        model.Open();
        uint8_t failures = 0;
        EXPECT_EQ(model.Read(failures, *rig.link), FuseTransfer::NoAnswer);
        EXPECT_EQ(model.ValueText(kRowLow), "0xE1");
        EXPECT_EQ(model.ValueText(kRowHigh), "0xD9");
        EXPECT_EQ(failures, 0);
        EXPECT_EQ(model.Write(*rig.link), FuseTransfer::NoAnswer);
    }
    // One failed read keeps only its own byte.
    {
        Rig rig("ATMEGA8");
        rig.sim.chip->fuses[0] = 0x11;
        rig.sim.chip->fuses[1] = 0xC2;  // RSTDISBL and SPIEN as shipped: the chip answers
        rig.sim.chip->fuses[2] = 0x33;
        FuseEditModel model(rig.app->profile);
        model.Open();
        rig.OpenEarlier();
        rig.sim.fault = TransferFault::Short;
        rig.sim.faultAt = rig.sim.transfers + 8;  // connect, mode, enable, signature, low, high
        uint8_t failures = 0;
        EXPECT_EQ(model.Read(failures, *rig.link), FuseTransfer::NoAnswer);
        EXPECT_EQ(rig.app->profile.fuseLow, 0x11);
        EXPECT_EQ(rig.app->profile.fuseHigh, 0xD9);
        EXPECT_EQ(rig.app->profile.fuseExt, 0x33);
    }
}

TEST(FuseModel, GuardAgainstALockedOutChip)
{
    struct Case {
        const char* device;
        uint8_t before[3];
        uint8_t after[3];
        Strings risks;
    } cases[] = {
        {"ATMEGA8", {0xE1, 0xD9, 0xFF}, {0xE1, 0x59, 0xFF}, {"RSTDISBL"}},    // RSTDISBL programmed
        {"ATMEGA8", {0xE1, 0x59, 0xFF}, {0xE1, 0xD9, 0xFF}, {}},              // unprogrammed: fine
        {"ATMEGA8", {0xE1, 0xD9, 0xFF}, {0x24, 0xC9, 0xFF}, {}},              // clock and others
        {"ATTINY85", {0x62, 0xDF, 0xFF}, {0x62, 0x9F, 0xFF}, {"DWEN"}},
        {"ATTINY85", {0x62, 0xDF, 0xFF}, {0x62, 0xFF, 0xFF}, {"SPIEN"}},      // SPIEN unprogrammed
        {"ATTINY85", {0x62, 0xDF, 0xFF}, {0x62, 0x1F, 0xFF}, {"RSTDISBL", "DWEN"}},
        {"ATMEGA645", {0x62, 0x99, 0xFF}, {0x62, 0x99, 0xFE}, {"RSTDISBL"}},  // in the extended byte
        {"ATTINY12", {0xD2, 0xFF, 0xFF}, {0xC2, 0xFF, 0xFF}, {"RSTDISBL"}},   // a disabled box still counts
        {"AT89S52", {0xFF, 0xFF, 0xFF}, {0x00, 0x00, 0x00}, {}},              // no such bits: never asks
        // By the chip's bits, not the dialog's captions: the ATMEGA8's
        // SPIEN is drawn as "----" but is there.
        {"ATMEGA8", {0xE1, 0xD9, 0xFF}, {0xE1, 0xF9, 0xFF}, {"SPIEN"}},
        {"ATMEGA16", {0xE1, 0x99, 0xFF}, {0xE1, 0xB9, 0xFF}, {"SPIEN"}},
        // An external clock: CKSEL3..0 to 0000, but not when it was already.
        {"ATMEGA8", {0xE1, 0xD9, 0xFF}, {0xE0, 0xD9, 0xFF}, {"CKSEL3..0"}},
        {"ATMEGA328P", {0x60, 0xD9, 0xFF}, {0x20, 0xD9, 0xFF}, {}},
        {"ATMEGA328P", {0x62, 0xD9, 0xFF}, {0x60, 0xD9, 0xFF}, {"CKSEL3..0"}},
        {"ATTINY13", {0x6A, 0xFF, 0xFF}, {0x68, 0xFF, 0xFF}, {}},              // CKSEL1..0 only
    };
    for (const Case& c : cases) {
        Strings names;
        for (const FuseRisk& r : RiskyFuseChanges(c.device, c.before, c.after))
            names.push_back(r.bit);
        EXPECT_EQ(names, c.risks) << c.device;
    }
    const std::vector<FuseRisk> two = {{"RSTDISBL", true}, {"SPIEN", false}};
    EXPECT_EQ(RiskQuestion(two),
              "这次写入将编程 RSTDISBL、取消编程 SPIEN，写入后本编程器可能再也无法对这块芯片编程，仍要写入吗？");

    // The model compares with what it showed at opening, or read since.
    Rig rig("ATMEGA8");
    rig.app->profile.fuseHigh = 0x59;
    FuseEditModel model(rig.app->profile);
    model.Open();
    EXPECT_TRUE(model.WriteRisks().empty());
    uint8_t failures = 0;
    ASSERT_EQ(model.Read(failures, *rig.link), FuseTransfer::Done);  // the chip has 0xD9
    rig.app->profile.fuseHigh = 0x59;
    EXPECT_EQ(model.WriteRisks().size(), 1u);
}

TEST(FuseModel, ALockedOutVirtualChipStopsAnswering)
{
    // Each change that cuts serial programming off: the write itself goes
    // through, every cycle after it finds no chip.
    const uint8_t changes[][3] = {{0xE1, 0x59, 0xFF},   // RSTDISBL programmed
                                  {0xE1, 0xF9, 0xFF},   // SPIEN unprogrammed
                                  {0xE0, 0xD9, 0xFF}};  // external clock
    for (const auto& fuses : changes) {
        SCOPED_TRACE(Format("%02X %02X", fuses[0], fuses[1]));
        Rig rig("ATMEGA8");
        rig.app->profile.fuseLow = fuses[0];
        rig.app->profile.fuseHigh = fuses[1];
        rig.app->profile.fuseExt = fuses[2];
        ASSERT_EQ(WriteFuseBytes(rig.app->profile, *rig.link), FuseTransfer::Done);
        EXPECT_EQ(rig.sim.chip->fuses[1], fuses[1]);
        EXPECT_FALSE(rig.ops->EraseDevice());
        EXPECT_EQ(rig.ui.lines, Strings{"找不到器件!"});
        EXPECT_EQ(rig.sim.chip->eraseCount, 0u);
        uint8_t failures = 0;
        EXPECT_EQ(ReadFuseBytes(rig.app->profile, failures, *rig.link), FuseTransfer::NoAnswer);
    }
}

TEST(FuseModel, FusesOfOneChipAreNeverWrittenIntoAnother)
{
    Rig rig("ATMEGA8");
    rig.Socket("ATMEGA16");
    const uint8_t before = rig.sim.chip->fuses[1];
    FuseChipId id;
    EXPECT_EQ(WriteFuseBytes(rig.app->profile, *rig.link, &id), FuseTransfer::WrongChip);
    EXPECT_EQ(id.bytes[1], 0x94);
    EXPECT_EQ(rig.sim.chip->fuses[1], before);
    for (const SetupPacket& p : rig.sim.packets)
        EXPECT_FALSE(p.request == kRequestSpi && p.Setup(0) == 0xAC) << Block(p);
    uint8_t failures = 0;
    EXPECT_EQ(ReadFuseBytes(rig.app->profile, failures, *rig.link, &id), FuseTransfer::WrongChip);
}

}  // namespace
}  // namespace morsk
