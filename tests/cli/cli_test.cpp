// Runs the built morsk-cli as a user would, in a directory of its own.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include "cli_runner.h"
#include "hex_writer.h"
#include "text_util.h"
#include "ui_sinks.h"

namespace morsk {
namespace {

using test::Cli;
using test::ReadFile;
using test::Result;
using test::WriteFile;

TEST_F(Cli, ProfileOfSeveralEntries)
{
    Result r = Run("--chip ATMEL/ATMEGA8 profile");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "loaded: 1\nmanufacturer: ATMEL\ndevice: ATMEGA8\nfamily: AVR\nsignature: 1E 93 07\n"
              "flash_size: 8192\nflash_page: 64\neeprom_size: 512\neeprom_page: 4\nfuses: E1 D9 FF\n"
              "fuse_defaults: E1 D9 FF\nlock: 00\nlock_default: FF\nchip_line:  ATMEL ATMEGA8  2200H*8\n");
    EXPECT_EQ(r.err, "");

    struct Case {
        const char* chip;
        std::vector<std::string> lines;
    } cases[] = {
        {"ATMEL/AT89S52", {"family: AT89", "signature: 1E 52 06", "eeprom_size: 0", "chip_line:  ATMEL AT89S52  2000H*8"}},
        {"ATMEL/ATMEGA2560", {"flash_size: 262144", "flash_page: 256", "chip_line:  ATMEL ATMEGA2560  41000H*8"}},
        {"NORDIC/NRF24LU1P-F32", {"family: NORDIC", "signature: 00 00 00", "flash_page: 512"}},
        {"MICROCHIP/PIC16F84A", {"loaded: 1", "manufacturer: MICROCHIP", "family: AVR"}},
    };
    for (const auto& c : cases) {
        r = Run(std::string("--chip ") + c.chip + " profile");
        EXPECT_EQ(r.status, 0) << c.chip;
        for (const std::string& line : c.lines)
            EXPECT_NE(r.out.find(line + "\n"), std::string::npos) << c.chip << ": " << line << "\n" << r.out;
    }

    // The stored choice, and the mixed state of an index past the end.
    WriteFile(dir.File("setup.ini"), "[SETUP]\nManufIndex=2\nDeviceIndex=1\n");
    EXPECT_NE(Run("profile").out.find("device: NRF24LU1P-F16\n"), std::string::npos);
    WriteFile(dir.File("setup.ini"), "[SETUP]\nManufIndex=2\nDeviceIndex=99\n");
    r = Run("profile erase");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.substr(0, 40), "loaded: 0\nmanufacturer: NORDIC\ndevice: \n");
    EXPECT_NE(r.out.find("本软件暂不支持您所选择的芯片，请重新选择！\n"), std::string::npos);
}

TEST_F(Cli, LoadAndChecksum)
{
    WriteFile(dir.File("fw.hex"), ":0400000001020304F2\n:00000001FF\n");
    const Result r = Run("--chip ATMEL/ATMEGA8 --load fw.hex checksum");
    EXPECT_EQ(r.status, 0);
    const uint32_t sum = 0xFFu * (8192 + 512) - 4 * 0xFF + 10;
    EXPECT_EQ(r.out, "效验和: " + Format("%08XH", sum) + "   文件 = fw.hex\n");

    // One line on standard error, no checksum line: 2 for a file that
    // cannot be read, 1 for one whose content is refused.
    WriteFile(dir.File("bad.hex"), ":0400000001020304F3\n:00000001FF\n");
    WriteFile(dir.File("cut.hex"), ":0400000001020304F2\n");
    WriteFile(dir.File("big.bin"), std::string(8193, '\x01'));
    struct Case {
        const char* file;
        int status;
        const char* err;
    } cases[] = {
        {"missing.hex", 2, "文件打开错误 !!!: missing.hex: No such file or directory\n"},
        {"bad.hex", 1, "Checksum Error reading Hexfile: bad.hex: line 1: checksum F3, the record's bytes give F2\n"},
        {"cut.hex", 1, "Error reading Hexfile: cut.hex: no end-of-file record: the file may be cut off\n"},
        {"big.bin", 1, "文件打开错误 !!!: big.bin: 8193 bytes, data up to address 0x2000, but the flash of ATMEGA8 "
                       "holds 8192 bytes\n"},
    };
    for (const Case& c : cases) {
        const Result bad = Run(std::string("--chip ATMEL/ATMEGA8 --load ") + c.file + " checksum");
        EXPECT_EQ(bad.status, c.status) << c.file;
        EXPECT_EQ(bad.err, c.err);
        EXPECT_EQ(bad.out, "");
    }
}

TEST_F(Cli, ProgramInOneCallVerifyInTheNext)
{
    std::string image(8192, '\xFF');
    for (size_t i = 0; i < 3000; ++i)
        image[i] = static_cast<char>(i * 7);
    WriteFile(dir.File("fw.bin"), image);
    const std::string sim = "--chip ATMEL/ATMEGA8 --simulate --sim-state chip.state ";

    Result r = Run(sim + "--load fw.bin erase program");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "器件ID:1E 93 07\n擦除芯片...\n擦除芯片成功!\n器件ID:1E 93 07\n编程FLASH...\n编程FLASH成功!\n"
                     "编程EEPROM...\n编程EEPROM成功!\n编程器件完成!\n");
    EXPECT_EQ(r.err, "");  // no progress bar when stderr is no terminal

    r = Run(sim + "--load fw.bin verify");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "器件ID:1E 93 07\n效验器件完成!\n");

    image[100] = 0;
    WriteFile(dir.File("other.bin"), image);
    r = Run(sim + "--load other.bin verify blank");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "器件ID:1E 93 07\n效验器件失败!\n");  // stops at the first failure
    EXPECT_EQ(r.err, Format("Failed at 0064:00-%02X\n", static_cast<uint8_t>(100 * 7)));

    // Read back into the buffer and save it in all three forms.
    r = Run(sim + "read save back.bin save back.hex save back.eep checksum");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir.File("back.bin")), image.substr(0, 100) + static_cast<char>(100 * 7) + image.substr(101));
    const std::string checksumLine = r.out.substr(r.out.rfind("效验和"));
    const Result reloaded = Run("--chip ATMEL/ATMEGA8 --load back.hex --load back.eep checksum");
    EXPECT_EQ(reloaded.status, 0);
    EXPECT_EQ(reloaded.out.substr(0, 22), checksumLine.substr(0, 22));
    EXPECT_EQ(ReadFile(dir.File("back.eep")), ":00000001FF\n");  // the EEPROM is blank
}

TEST_F(Cli, SocketFaultsAndUnsupportedChips)
{
    struct Case {
        const char* args;
        int status;
        const char* out;
    } cases[] = {
        {"--chip ATMEL/ATMEGA8 --simulate --sim-chip none erase", 1, "找不到器件!\n"},
        {"--chip ATMEL/ATMEGA8 --simulate --sim-chip ATMEGA16 read", 1, "读取错误器件ID:1E 94 03\n插座中的器件是: ATMEL/ATMEGA16\n"},
        {"--chip ATMEL/AT89S52 --simulate --sim-chip none blank", 1, "读取错误器件ID:FF FF FF\n"},
        {"--chip MICROCHIP/PIC16F84A --simulate erase", 1, "本软件暂不支持您所选择的芯片，请重新选择！\n"},
        {"--chip MICROCHIP/PIC16F84A --simulate checksum", 0, "效验和: 000738C0H   文件 = \n"},
        {"--chip NORDIC/NRF24LE1 --simulate blank read", 0,
         "器件ID:00 00 00\n效验NORDIC FLASH成功!\n效验器件已完成!\n器件ID:00 00 00\n读NORDIC FLASH成功!\n读器件已完成!\n"},
        // An empty NORDIC socket is not a blank chip.
        {"--chip NORDIC/NRF24LE1 --simulate --sim-chip none blank", 1, "读取错误器件ID:FF FF FF\n"},
        // Program writes nothing into an empty socket or another chip.
        {"--chip ATMEL/ATMEGA8 --simulate --sim-chip none --load fw.hex program", 1, "找不到器件!\n"},
        {"--chip ATMEL/ATMEGA8 --simulate --sim-chip ATMEGA16 --load fw.hex program", 1, "读取错误器件ID:1E 94 03\n插座中的器件是: ATMEL/ATMEGA16\n"},
    };
    WriteFile(dir.File("fw.hex"), ":0400000001020304F2\n:00000001FF\n");
    for (const auto& c : cases) {
        const Result r = Run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_EQ(r.out, c.out) << c.args;
    }
}

TEST_F(Cli, AutoAndFuses)
{
    WriteFile(dir.File("setup.ini"), "[SETUP]\nManufIndex=0\nDeviceIndex=0\nAUTO=3512\n");
    const std::string before = ReadFile(dir.File("setup.ini"));
    const std::string sim = "--simulate --sim-state chip.state ";
    Result r = Run(sim + "auto");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "器件ID:1E 93 07\n擦除芯片...\n擦除芯片成功!\n编程FLASH...\n编程FLASH成功!\n读FLASH...\n"
                     "读FLASH成功!\n读EEPROM...\n读EEPROM成功!\n自动已完成!\nsuccess: 1\nfailure: 0\n");

    r = Run(sim + "fuses-read fuses-write e4 C9 fe fuses-read");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "fuses: E1 D9 FF\nfuses written: E4 C9 FE\nfuses: E4 C9 FE\n");
    EXPECT_EQ(Run(sim + "fuses-read").out, "fuses: E4 C9 FE\n");
    EXPECT_EQ(ReadFile(dir.File("setup.ini")), before);  // never written

    r = Run("--simulate --sim-chip none auto");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "找不到器件!\nsuccess: 0\nfailure: 1\n");

    // Nothing to run is no success.
    WriteFile(dir.File("setup.ini"), "[SETUP]\nAUTO=0\n");
    r = Run("--simulate auto");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "自动烧录步骤为空! 请用\"编辑自动烧录\"添加步骤\nsuccess: 0\nfailure: 0\n");
}

TEST_F(Cli, FusesOfAChipThatIsNotThere)
{
    struct Case {
        const char* args;
        const char* out;
    } cases[] = {
        {"--simulate --sim-chip none fuses-read", "读熔丝位错误...!\n"},
        {"--simulate --sim-chip none fuses-write E1 D9 FF", "写熔丝位错误...!\n"},
        {"fuses-read", "下载器初始化出错!\n读熔丝位错误...!\n"},  // no programmer at all
        {"--simulate --sim-chip ATMEGA16 fuses-write E1 D9 FF", "读取错误器件ID:1E 94 03\n写熔丝位错误...!\n"},
    };
    for (const Case& c : cases) {
        const Result r = Run(std::string("--chip ATMEL/ATMEGA8 ") + c.args);
        EXPECT_EQ(r.status, 1) << c.args;
        EXPECT_EQ(r.out, c.out) << c.args;
    }
}

TEST_F(Cli, FuseWritesThatCanLockTheChipOutNeedForce)
{
    const std::string sim = "--chip ATMEL/ATMEGA8 --simulate --sim-state chip.state ";
    struct Case {
        const char* fuses;
        const char* says;
    } cases[] = {
        {"E1 59 FF", "program RSTDISBL"},
        {"E1 F9 FF", "unprogram SPIEN"},  // drawn as "----" in the dialog, guarded all the same
        {"E0 D9 FF", "set CKSEL3..0 to 0000 (external clock)"},
    };
    for (const Case& c : cases) {
        const Result r = Run(sim + "fuses-write " + c.fuses);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, std::string("morsk-cli: fuses not written: this write would ") + c.says +
                             ", after which this programmer may no longer reach the chip; add --force to write it "
                             "anyway\n");
        EXPECT_EQ(Run(sim + "fuses-read").out, "fuses: E1 D9 FF\n");  // nothing was written
    }

    // Forced, the write goes through and the chip stops answering, as a
    // real one would.
    Result r = Run(sim + "--force fuses-write E1 59 FF");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "fuses written: E1 59 FF\n");
    r = Run(sim + "fuses-read");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "读熔丝位错误...!\n");
    EXPECT_EQ(Run(sim + "erase").out, "找不到器件!\n");
}

TEST_F(Cli, UsageAndFileErrors)
{
    struct Case {
        const char* args;
        int status;
    } cases[] = {
        {"", 2},
        {"frobnicate", 2},
        {"--bogus profile", 2},
        {"--chip ATMEL profile", 2},
        {"--chip ATMEL/NOPE profile", 2},
        {"--device-list nowhere.csv profile", 2},
        {"fuses-write 1 2", 2},
        {"fuses-write 1 2 XYZ", 2},
        {"save out.txt", 2},
        {"--load notes.txt checksum", 2},
        {"--simulate --sim-chip NOPE erase", 2},
        {"--help", 0},
        {"--version", 0},
    };
    WriteFile(dir.File("notes.txt"), "hello");
    for (const auto& c : cases)
        EXPECT_EQ(Run(c.args).status, c.status) << c.args;
    EXPECT_NE(Run("--device-list nowhere.csv profile").err.find("打开CSV文件错误!"), std::string::npos);

    // A state file of another chip is refused rather than silently replaced.
    EXPECT_EQ(Run("--chip ATMEL/ATMEGA8 --simulate --sim-state s.state erase").status, 0);
    EXPECT_EQ(Run("--chip ATMEL/ATMEGA16 --simulate --sim-state s.state erase").status, 2);
}

TEST_F(Cli, IdentifyTheChipInTheSocket)
{
    struct Case {
        const char* socket;
        int status;
        const char* out;
    } cases[] = {
        {"ATMEGA16", 0, "ATMEL/ATMEGA16\n"},
        {"AT89S52", 0, "ATMEL/AT89S52\n"},
        // Chips that share a signature: every one of them.
        {"NRF24LE1", 0, "NORDIC/NRF24LE1\nNORDIC/NRF24LU1P-F16\nNORDIC/NRF24LU1P-F32\n"},
        {"none", 1, "找不到器件!\n"},
    };
    for (const Case& c : cases) {
        // Whatever chip is selected, even one of a manufacturer the
        // operations refuse.
        const Result r = Run(std::string("--chip MICROCHIP/PIC16F84A --simulate --sim-chip ") + c.socket + " identify");
        EXPECT_EQ(r.status, c.status) << c.socket;
        EXPECT_EQ(r.out, c.out) << c.socket;
    }

    // --chip auto selects the single match for the rest of the call.
    Result r = Run("--chip auto --simulate --sim-chip ATTINY85 erase profile");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, r.out.find("loaded:")),
              "chip: ATMEL/ATTINY85\n器件ID:1E 93 0B\n擦除芯片...\n擦除芯片成功!\n");
    EXPECT_NE(r.out.find("device: ATTINY85\n"), std::string::npos);
    // and refuses an ambiguous one.
    r = Run("--chip auto --simulate --sim-chip NRF24LE1 erase");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "morsk-cli: --chip auto: signature 00 00 00 fits several chips: NORDIC/NRF24LE1 "
                     "NORDIC/NRF24LU1P-F16 NORDIC/NRF24LU1P-F32; name one\n");
}

TEST_F(Cli, BackupAndRestoreAWholeChip)
{
    WriteFile(dir.File("fw.bin"), std::string(3000, '\x5A'));
    const std::string sim = "--simulate --sim-chip ATMEGA8 --sim-state chip.state ";
    ASSERT_EQ(Run(sim + "--chip ATMEL/ATMEGA8 --load fw.bin program fuses-write E4 D9 FF").status, 0);
    // A lock byte that keeps the flash from being written again.
    std::string state = ReadFile(dir.File("chip.state"));
    state.replace(state.find("lock FF"), 7, "lock FE");
    WriteFile(dir.File("chip.state"), state);

    Result r = Run(sim + "--chip auto backup whole.hex");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "chip: ATMEL/ATMEGA8\n器件ID:1E 93 07\n读FLASH...\n读FLASH成功!\n读EEPROM...\n读EEPROM成功!\n"
                     "熔丝位: E4 D9 FF  锁定位: FE\n备份器件完成: whole.hex\n");
    ASSERT_EQ(Run(sim + "--chip ATMEL/ATMEGA8 erase").status, 0);

    // The lock byte needs --force, and without it nothing is written.
    r = Run(sim + "--chip auto restore whole.hex");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "morsk-cli: restore not started, nothing written: its lock byte FE would keep the chip from "
                     "being written again; add --force to restore it anyway\n");
    EXPECT_EQ(Run(sim + "--chip ATMEL/ATMEGA8 blank").status, 0);
    r = Run(sim + "--chip auto --force restore whole.hex");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(ReadFile(dir.File("chip.state")), state);

    // Another chip in the socket: refused, exit 1.
    r = Run("--simulate --sim-chip ATMEGA16 --chip ATMEL/ATMEGA8 --force restore whole.hex");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "读取错误器件ID:1E 94 03\n插座中的器件是: ATMEL/ATMEGA16\n没有写入任何数据!\n");
    EXPECT_EQ(Run("--simulate --chip ATMEL/ATMEGA8 restore fw.bin").status, 1);
}

TEST_F(Cli, EnglishStatusLines)
{
    WriteFile(dir.File("fw.bin"), std::string(3000, '\x5A'));
    Result r = Run("--lang en --simulate --chip ATMEL/ATMEGA8 --load fw.bin erase program verify");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Device ID:1E 93 07\nErasing the chip...\nChip erased!\nDevice ID:1E 93 07\nProgramming flash...\n"
                     "Flash programmed!\nProgramming EEPROM...\nEEPROM programmed!\nProgramming done!\n"
                     "Device ID:1E 93 07\nVerify done!\n");
    struct Case {
        const char* args;
        const char* out;
    } const failures[] = {
        {"--sim-chip none erase", "No chip found!\n"},
        {"--sim-chip ATMEGA16 erase", "Wrong device ID read:1E 94 03\nThe chip in the socket is: ATMEL/ATMEGA16\n"},
        {"--sim-chip ATMEGA8 blank", "Device ID:1E 93 07\nReading flash...\nFlash read!\nReading EEPROM...\n"
                                     "EEPROM read!\nBlank check done!\n"},
        {"--sim-state chip.state verify", "Device ID:1E 93 07\nVerify failed!\n"},
    };
    WriteFile(dir.File("chip.state"), "");
    std::remove(dir.File("chip.state").c_str());
    for (const Case& c : failures) {
        r = Run(std::string("--lang en --simulate --chip ATMEL/ATMEGA8 --load fw.bin ") + c.args);
        EXPECT_EQ(r.out, c.out) << c.args;
    }
    // Without a programmer, and without --lang: Chinese, as scripts expect.
    r = Run("--lang en --chip ATMEL/ATMEGA8 erase");
    EXPECT_EQ(r.out, "Error initialising the programmer!\n");
    EXPECT_EQ(Run("--chip ATMEL/ATMEGA8 erase").out, "下载器初始化出错!\n");
    EXPECT_EQ(Run("--lang fr profile").status, 2);
    EXPECT_NE(Run("--help").out.find("--lang zh|en"), std::string::npos);
}

TEST_F(Cli, SigtermStopsAWriteAndSaysSo)
{
    WriteFile(dir.File("fw.bin"), std::string(8192, '\x11'));
    // A write of 8 KiB at the real pace takes about two seconds.
    const std::string command =
        Command("--chip ATMEL/ATMEGA8 --simulate --sim-realtime --sim-state chip.state --load fw.bin program");
    const int raw = std::system(("(" + command + ") & pid=$!; sleep 0.7; kill -TERM $pid; wait $pid").c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    const std::string out = ReadFile(dir.File("cli.out"));
    EXPECT_EQ(out.substr(out.size() - std::string("编程FLASH错误...!\n操作已取消! 器件可能只写入了一部分\n").size()),
              "编程FLASH错误...!\n操作已取消! 器件可能只写入了一部分\n");
    // Part of the image reached the chip, not all of it.
    const std::string state = ReadFile(dir.File("chip.state"));
    EXPECT_NE(state.find("1111"), std::string::npos);
    EXPECT_NE(state.find("FFFF"), std::string::npos);
}

TEST_F(Cli, WithoutTheSimulatorAndNoProgrammerTheOperationFails)
{
    const Result r = Run("--chip ATMEL/ATMEGA8 program");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "下载器初始化出错!\n");
    EXPECT_EQ(r.err, "Warning: no programmer (USB 16c0:05dc) found: is it plugged in?\n");
}

}  // namespace
}  // namespace morsk
