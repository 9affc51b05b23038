#include <gtest/gtest.h>

#include <random>

#include "chip_backup.h"
#include "program_file.h"
#include "sim_rig.h"

namespace morsk {
namespace {

using Lines = std::vector<std::string>;

// Fills the chip in the socket with random memories and the given fuses
// and lock byte.
void Scramble(VirtualChip& chip, unsigned seed, const uint8_t fuses[3], uint8_t lock)
{
    std::mt19937 random(seed);
    for (uint8_t& b : chip.flash)
        b = static_cast<uint8_t>(random());
    for (uint8_t& b : chip.eeprom)
        b = static_cast<uint8_t>(random());
    std::copy_n(fuses, 3, chip.fuses);
    chip.lock = lock;
}

bool Writes(const test::Rig& rig)
{
    for (const SetupPacket& p : rig.sim.packets) {
        if (p.request == kRequestWriteFlash || p.request == kRequestWriteEeprom)
            return true;
        if (p.request == kRequestSpi && p.Setup(0) == kSpiWrite)  // erase, fuse and lock writes
            return true;
        if (p.request == kRequestSpi && p.Setup(0) == kSpiNordicErase[0])
            return true;
    }
    return false;
}

struct ChipCase {
    const char* device;
    uint8_t fuses[3];
    uint8_t lock;
};

// Every family: back the chip up, put an erased chip of the same kind in
// the socket, restore; the chip is then the old one in every byte.
TEST(Backup, BackupThenRestoreGivesTheSameChip)
{
    const ChipCase cases[] = {
        {"ATMEGA328P", {0xE2, 0xD1, 0xFD}, 0xFF},
        {"ATMEGA8", {0xE4, 0xD9, 0xFF}, 0xEF},  // a boot lock bit only: written without asking
        {"AT89S52", {0xFF, 0xFF, 0xFF}, 0xFF},
        {"NRF24LE1", {0xFF, 0xFF, 0xFF}, 0xFF},
    };
    for (const ChipCase& c : cases) {
        SCOPED_TRACE(c.device);
        test::Rig rig(c.device);
        test::TempDir dir;
        const std::string file = dir.File("chip.hex");
        Scramble(*rig.sim.chip, 7, c.fuses, c.lock);
        const VirtualChip original = *rig.sim.chip;

        ASSERT_TRUE(rig.station->backups().BackupDevice(file)) << rig.ui.lines.back();
        EXPECT_FALSE(Writes(rig));
        EXPECT_EQ(rig.ui.lines.back(), kBackupDoneLine + file);

        rig.Socket(c.device);  // a new, erased chip
        rig.sim.packets.clear();
        rig.ui.lines.clear();
        ASSERT_EQ(rig.station->backups().RestoreDevice(file, false), RestoreResult::Done) << rig.ui.lines.back();
        const VirtualChip& restored = *rig.sim.chip;
        EXPECT_EQ(restored.flash, original.flash);
        EXPECT_EQ(restored.eeprom, original.eeprom);
        EXPECT_TRUE(std::equal(original.fuses, original.fuses + 3, restored.fuses));
        EXPECT_EQ(restored.lock, original.lock);
        EXPECT_FALSE(rig.sim.enabled());
    }
}

// The complete transcript of an AVR restore whose lock byte protects the
// memories: refused without consent (nothing written), then written last.
TEST(Backup, AProtectingLockByteNeedsConsentAndComesLast)
{
    test::Rig rig("ATMEGA328P");
    test::TempDir dir;
    const std::string file = dir.File("locked.hex");
    const uint8_t fuses[3] = {0xE2, 0xD1, 0xFD};
    Scramble(*rig.sim.chip, 3, fuses, 0xFE);  // LB1: no more writes, still readable
    const VirtualChip original = *rig.sim.chip;
    ASSERT_TRUE(rig.station->backups().BackupDevice(file));

    rig.Socket("ATMEGA328P");
    rig.sim.packets.clear();
    rig.ui.lines.clear();
    EXPECT_EQ(rig.station->backups().RestoreDevice(file, false), RestoreResult::NeedsConsent);
    EXPECT_FALSE(Writes(rig));
    EXPECT_EQ(rig.ui.lines, (Lines{"器件ID:1E 95 0F", "恢复器件需要确认: 锁定位 FE 将禁止再写入器件", "没有写入任何数据!"}));
    EXPECT_TRUE(rig.station->backups().lockWouldProtect());

    rig.ui.lines.clear();
    rig.sim.packets.clear();
    ASSERT_EQ(rig.station->backups().RestoreDevice(file, true), RestoreResult::Done);
    EXPECT_EQ(rig.ui.lines, (Lines{"器件ID:1E 95 0F", "擦除芯片...", "擦除芯片成功!", "编程FLASH...", "编程FLASH成功!",
                                   "编程EEPROM...", "编程EEPROM成功!", "写熔丝位...", "写熔丝位成功!",
                                   "效验FLASH和EEPROM...", "效验器件完成!", "写锁定位 FE...", "写锁定位成功!",
                                   "恢复器件完成!"}));
    EXPECT_EQ(rig.sim.chip->flash, original.flash);
    EXPECT_EQ(rig.sim.chip->lock, 0xFE);
    // The lock write is the last write, after the last read-back.
    size_t lockWrite = 0, lastRead = 0;
    for (size_t i = 0; i < rig.sim.packets.size(); ++i) {
        const SetupPacket& p = rig.sim.packets[i];
        if (p.request == kRequestSpi && p.Setup(0) == kSpiWrite && p.Setup(1) == kSpiLockWrite)
            lockWrite = i;
        if (p.request == kRequestReadFlash || p.request == kRequestReadEeprom)
            lastRead = i;
    }
    EXPECT_GT(lockWrite, lastRead);
}

// Fuses that would cut the programmer off need consent as well, judged
// against the fuses the chip has now.
TEST(Backup, LockingOutFusesNeedConsent)
{
    test::Rig rig("ATMEGA328P");
    test::TempDir dir;
    const std::string file = dir.File("rstdisbl.hex");
    ChipBackup b;
    std::copy_n(rig.app->profile.signature, 3, b.signature);
    b.flash = {0x0C, 0x94};
    b.fuseMask = 7;
    b.fuses[0] = 0x62, b.fuses[1] = 0x59, b.fuses[2] = 0xFF;  // RSTDISBL programmed
    test::WriteFile(file, FormatBackup(b));
    EXPECT_EQ(rig.station->backups().RestoreDevice(file, false), RestoreResult::NeedsConsent);
    EXPECT_FALSE(Writes(rig));
    ASSERT_EQ(rig.station->backups().risks().size(), 1u);
    EXPECT_EQ(rig.station->backups().risks()[0].bit, "RSTDISBL");
}

TEST(Backup, AnotherChipGetsNothing)
{
    test::Rig rig("ATMEGA328P");
    test::TempDir dir;
    const std::string file = dir.File("m328p.hex");
    const uint8_t fuses[3] = {0x62, 0xD9, 0xFF};
    Scramble(*rig.sim.chip, 5, fuses, 0xFF);
    ASSERT_TRUE(rig.station->backups().BackupDevice(file));

    // The socket holds another chip than the one selected.
    rig.Socket("ATMEGA8");
    const VirtualChip before = *rig.sim.chip;
    rig.sim.packets.clear();
    rig.ui.lines.clear();
    rig.app->paths.deviceList = MORSK_DEVICE_LIST;
    EXPECT_EQ(rig.station->backups().RestoreDevice(file, true), RestoreResult::Failed);
    EXPECT_EQ(rig.ui.lines, (Lines{"读取错误器件ID:1E 93 07", "插座中的器件是: ATMEL/ATMEGA8", "没有写入任何数据!"}));
    EXPECT_FALSE(Writes(rig));
    EXPECT_EQ(rig.sim.chip->flash, before.flash);

    // The selected chip is not the backup's: refused before the programmer
    // is asked anything.
    test::Rig other("ATMEGA8");
    other.app->paths.deviceList = MORSK_DEVICE_LIST;
    EXPECT_EQ(other.station->backups().RestoreDevice(file, true), RestoreResult::Failed);
    EXPECT_TRUE(other.sim.packets.empty());
    EXPECT_EQ(other.ui.lines, (Lines{"备份文件 m328p.hex 的器件ID是 1E 95 0F (ATMEL/ATMEGA328P), 不是所选器件 ATMEGA8 的!",
                                     "没有写入任何数据!"}));
}

TEST(Backup, AReadProtectedChipIsNotBackedUp)
{
    test::Rig rig("ATMEGA8");
    test::TempDir dir;
    const uint8_t fuses[3] = {0xE1, 0xD9, 0xFF};
    Scramble(*rig.sim.chip, 9, fuses, 0xFC);
    EXPECT_FALSE(rig.station->backups().BackupDevice(dir.File("x.hex")));
    EXPECT_EQ(rig.ui.lines, (Lines{"器件ID:1E 93 07", "器件已加密 (锁定位 FC): FLASH和EEPROM读不出来, 不能备份!",
                                   "备份器件失败!"}));
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.hex")));
}

// The layout other tools read: the ordinary loader takes flash and EEPROM
// and names the parts it leaves out.
TEST(Backup, TheFileIsAWholeProgramHexFile)
{
    ChipBackup b;
    b.signature[0] = 0x1E, b.signature[1] = 0x93, b.signature[2] = 0x07;
    b.flash = {0x12, 0x34};
    b.eeprom = {0xAB};
    b.fuseMask = 3;
    b.fuses[0] = 0xE1, b.fuses[1] = 0xD9;
    b.hasLock = true;
    b.lock = 0xFF;
    const std::string text = FormatBackup(b);
    EXPECT_EQ(text,
              ":020000001234B8\n"
              ":02000004008179\n"
              ":01000000AB54\n"
              ":02000004008278\n"
              ":02000000E1D944\n"
              ":02000004008377\n"
              ":01000000FF00\n"
              ":02000004008476\n"
              ":0300000007931E45\n"
              ":00000001FF\n");
}

TEST(Backup, TheOrdinaryLoaderTakesTheFlashPart)
{
    test::Rig rig("ATMEGA8");
    test::TempDir dir;
    const std::string file = dir.File("m8.hex");
    const uint8_t fuses[3] = {0xE1, 0xD9, 0xFF};
    Scramble(*rig.sim.chip, 11, fuses, 0xFF);
    ASSERT_TRUE(rig.station->backups().BackupDevice(file));

    ProgramFileState state;
    std::string note;
    ASSERT_EQ(LoadProgramFile(file, state, rig.app->buffer, rig.app->profile, rig.ui, rig.ui, &note),
              LoadResult::Loaded);
    const VirtualChip& chip = *rig.sim.chip;
    EXPECT_TRUE(std::equal(chip.flash.begin(), chip.flash.end(), rig.app->buffer.flash.begin()));
    EXPECT_TRUE(std::equal(chip.eeprom.begin(), chip.eeprom.end(), rig.app->buffer.eeprom.begin()));
    EXPECT_EQ(note, "文件中未载入的段: 熔丝位 (0x820000)、锁定位 (0x830000)、器件ID (0x840000)");
}

TEST(Backup, FilesThatAreNoBackupAreRefused)
{
    struct {
        const char* text;
        const char* reason;
    } const cases[] = {
        {":020000001234B8\n:00000001FF\n", "no signature at 0x840000: not a backup of a chip"},
        {":0200000400906A\n:0100000000FF\n:00000001FF\n", "data at 0x900000 belongs to no part of a chip backup"},
        {":0200000012\n", "line 1: "},
    };
    for (const auto& c : cases) {
        ChipBackup b;
        std::string reason;
        EXPECT_FALSE(ParseBackup(c.text, b, reason)) << c.text;
        EXPECT_EQ(reason.rfind(c.reason, 0), 0u) << reason;
    }
}

}  // namespace
}  // namespace morsk
