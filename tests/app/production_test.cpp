#include <gtest/gtest.h>

#include <cstring>

#include "auto_sequence.h"
#include "production_run.h"
#include "status_outcome.h"
#include "sim_rig.h"

namespace morsk {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Text(const char* s)
{
    return Bytes(s, s + std::strlen(s));
}

struct ProductionRig : test::Rig {
    ProductionRig() : test::Rig("ATMEGA8")
    {
        app->paths.settingsFile = dir.File("setup.ini");
        app->paths.deviceList = MORSK_DEVICE_LIST;
        options.serial.enabled = true;
        FillFlash(2048);
    }
    std::string Ini() const { return test::ReadFile(dir.File("setup.ini")); }

    test::TempDir dir;
    ProductionOptions options;
};

// Every format, at a flash and at an EEPROM address, read back from the
// chip; the data buffer keeps what was loaded.
TEST(Serial, EveryFormatLandsInTheChip)
{
    struct Case {
        SerialFormat format;
        int size;
        Bytes bytes;
    } const cases[] = {
        {SerialFormat::BinLe, 4, {0x4A, 0x23, 0x01, 0x00}},
        {SerialFormat::BinBe, 3, {0x01, 0x23, 0x4A}},
        {SerialFormat::AsciiDec, 8, Text("00074570")},
        {SerialFormat::AsciiHex, 6, Text("01234A")},
    };
    for (const MemoryKind memory : {MemoryKind::Flash, MemoryKind::Eeprom}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(SerialFormatName(c.format)) + (memory == MemoryKind::Flash ? " flash" : " eeprom"));
            ProductionRig rig;
            rig.options.serial.memory = memory;
            rig.options.serial.address = memory == MemoryKind::Flash ? 0x1F00 : 0x40;
            rig.options.serial.format = c.format;
            rig.options.serial.size = c.size;
            rig.options.serial.next = 0x1234A;  // 74570
            const DataBuffer before = rig.app->buffer;
            {
                ProductionRun run(*rig.station, rig.options);
                ASSERT_TRUE(run.TakeSerial());
                ASSERT_TRUE(rig.ops->EraseDevice());
                ASSERT_TRUE(rig.ops->ProgramDevice());
                ASSERT_TRUE(rig.ops->VerifyDevice());  // against the image with the number
                EXPECT_TRUE(run.Finish(true));
            }
            const std::vector<uint8_t>& memoryBytes = memory == MemoryKind::Flash ? rig.sim.chip->flash : rig.sim.chip->eeprom;
            const uint32_t at = rig.options.serial.address;
            EXPECT_EQ(Bytes(memoryBytes.begin() + at, memoryBytes.begin() + at + c.size), c.bytes);
            EXPECT_EQ(rig.app->buffer.flash, before.flash);
            EXPECT_EQ(rig.app->buffer.eeprom, before.eeprom);
            EXPECT_EQ(rig.ui.lines.back(), "序列号: 74570");
            // The rest of the image went in unchanged.
            EXPECT_EQ(rig.sim.chip->flash[0x10], before.flash[0x10]);
        }
    }
}

// The auto run writes and verifies a number in the EEPROM, although its
// steps otherwise leave the EEPROM alone: the rest of it stays as it was.
TEST(Serial, TheAutoRunWritesAnEepromNumberAndNothingElseThere)
{
    ProductionRig rig;
    SetAutoSequence(rig.app->settings, "3513");
    rig.options.serial.memory = MemoryKind::Eeprom;
    rig.options.serial.address = 8;
    rig.options.serial.size = 2;
    rig.options.serial.next = 0x0102;
    std::fill(rig.sim.chip->eeprom.begin(), rig.sim.chip->eeprom.end(), 0x55);
    rig.app->buffer.eeprom[0] = 0x99;  // not written by the auto run
    {
        ProductionRun run(*rig.station, rig.options);
        ASSERT_TRUE(run.TakeSerial());
        EXPECT_TRUE(run.Finish(RunAuto(*rig.app, *rig.link)));
    }
    // The chip erase cleared the EEPROM; only the number was written then.
    EXPECT_EQ(rig.sim.chip->eeprom[8], 0x02);
    EXPECT_EQ(rig.sim.chip->eeprom[9], 0x01);
    EXPECT_EQ(rig.sim.chip->eeprom[0], 0xFF);
    EXPECT_EQ(std::count(rig.sim.chip->eeprom.begin(), rig.sim.chip->eeprom.end(), 0xFF), 510);
    const std::vector<std::string> tail(rig.ui.lines.end() - 6, rig.ui.lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"写序列号...", "写序列号成功!", "效验器件完成!", "效验序列号完成!",
                                              "自动已完成!", "序列号: 258"}));
}

// Next moves only after a run that succeeded; a failed run (an empty
// socket, a verify failure) gives its number back; a number given back
// while later ones are out waits for the next run.
TEST(Serial, TheCounterAdvancesOnlyForChipsThatGotTheirNumber)
{
    ProductionRig rig;
    SetAutoSequence(rig.app->settings, "213");  // program, verify: no erase
    test::WriteFile(rig.dir.File("setup.ini"), "[SERIAL]\nEnabled=1\nNext=41\n");
    std::string why;
    ASSERT_TRUE(ReadProductionOptions(rig.app->paths.settingsFile, rig.options, why)) << why;
    rig.options.serial.address = 0x1FF0;

    const auto runOnce = [&] {
        ProductionRun run(*rig.station, rig.options);
        const bool ok = run.TakeSerial() && RunAuto(*rig.app, *rig.link);
        return run.Finish(ok);
    };
    rig.Socket("");
    EXPECT_FALSE(runOnce());
    EXPECT_NE(rig.Ini().find("Next=41\n"), std::string::npos) << rig.Ini();
    EXPECT_EQ(rig.ui.lines.back(), "序列号 41 没有写入器件, 留给下一个");

    // A chip that is not erased: its verify fails.
    rig.Socket("ATMEGA8");
    std::fill(rig.sim.chip->flash.begin(), rig.sim.chip->flash.end(), 0x00);
    EXPECT_FALSE(runOnce());
    EXPECT_NE(rig.Ini().find("Next=41\n"), std::string::npos);

    rig.Socket("ATMEGA8");
    EXPECT_TRUE(runOnce());
    EXPECT_NE(rig.Ini().find("Next=42\n"), std::string::npos);
    EXPECT_EQ(rig.sim.chip->flash[0x1FF0], 41);

    // Two numbers out at once (two processes), the first one fails.
    SerialCounter counter(rig.app->paths.settingsFile);
    uint64_t a = 0, b = 0, c = 0;
    std::string error;
    ASSERT_TRUE(counter.Reserve(rig.options.serial, a, error));
    ASSERT_TRUE(counter.Reserve(rig.options.serial, b, error));
    EXPECT_EQ(a, 42u);
    EXPECT_EQ(b, 43u);
    ASSERT_TRUE(counter.GiveBack(rig.options.serial, a, error));
    ASSERT_TRUE(counter.Reserve(rig.options.serial, c, error));
    EXPECT_EQ(c, 42u);
    ASSERT_TRUE(counter.Reserve(rig.options.serial, c, error));
    EXPECT_EQ(c, 44u);
}

TEST(Serial, NumbersThatDoNotFitAreRefusedBeforeTheChipIsTouched)
{
    struct Case {
        MemoryKind memory;
        uint32_t address;
        int size;
        SerialFormat format;
        uint64_t next;
        const char* line;
    } const cases[] = {
        {MemoryKind::Flash, 0x1FFE, 4, SerialFormat::BinLe, 1, "序列号地址 0x1FFE (4 字节) 超出了器件 ATMEGA8 的FLASH (8192 字节)!"},
        {MemoryKind::Eeprom, 0x200, 1, SerialFormat::BinLe, 1, "序列号地址 0x200 (1 字节) 超出了器件 ATMEGA8 的EEPROM (512 字节)!"},
        {MemoryKind::Flash, 0, 1, SerialFormat::BinLe, 256, "序列号 256 超出了 1 字节 bin-le 的范围!"},
        {MemoryKind::Flash, 0, 3, SerialFormat::AsciiDec, 1000, "序列号 1000 超出了 3 字节 ascii-dec 的范围!"},
    };
    for (const Case& c : cases) {
        ProductionRig rig;
        rig.options.serial = {true, c.memory, c.address, c.size, c.format, c.next, 1};
        rig.options.sharedCounter = false;
        ProductionRun run(*rig.station, rig.options);
        EXPECT_FALSE(run.TakeSerial());
        ASSERT_EQ(rig.ui.lines.size(), 2u);
        EXPECT_EQ(rig.ui.lines[0], c.line);
        EXPECT_EQ(rig.ui.lines[1], "没有写入任何数据!");  // in red: nothing went to the chip
        EXPECT_TRUE(rig.sim.packets.empty());
    }
}

// A run whose log line cannot be written is not reported as done.
TEST(ProductionLog, ALogLineThatCannotBeWrittenFailsTheRun)
{
    ProductionRig rig;
    rig.options.serial.enabled = false;
    rig.options.logFile = rig.dir.File("no/such/folder/log.csv");
    ProductionRun run(*rig.station, rig.options);
    ASSERT_TRUE(rig.ops->EraseDevice());
    EXPECT_FALSE(run.Finish(true));
    EXPECT_EQ(rig.ui.lines.back().rfind(kLogFailedLine, 0), 0u) << rig.ui.lines.back();
    EXPECT_EQ(run.failure(), rig.ui.lines.back());
    EXPECT_EQ(ClassifyStatusLine(rig.ui.lines.back()), LineOutcome::Failure);
}

TEST(ProductionLog, FieldsAreQuotedAndTheHeaderComesOnce)
{
    test::TempDir dir;
    LogEntry e;
    e.time = "2026-12-11T10:00:00+01:00";
    e.chip = "ATMEL/ATMEGA8";
    e.file = "fw, \"final\".hex";
    e.result = "ok";
    e.durationMs = 12;
    EXPECT_EQ(FormatLogLine(e), "2026-12-11T10:00:00+01:00,,,ATMEL/ATMEGA8,,\"fw, \"\"final\"\".hex\",,,ok,,12");
    std::string error;
    ASSERT_TRUE(AppendLogLine(dir.File("log.csv"), e, error));
    ASSERT_TRUE(AppendLogLine(dir.File("log.csv"), e, error));
    const std::string log = test::ReadFile(dir.File("log.csv"));
    EXPECT_EQ(log, std::string(kLogHeader) + "\n" + FormatLogLine(e) + "\n" + FormatLogLine(e) + "\n");
    EXPECT_FALSE(AppendLogLine(dir.File("no/such/dir.csv"), e, error));
}

}  // namespace
}  // namespace morsk
