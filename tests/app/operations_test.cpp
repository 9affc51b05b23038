#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "sim_rig.h"

namespace morsk {
namespace {

using test::Rig;
using Lines = std::vector<std::string>;

enum class Op { Program, Erase, Read, Verify, Blank };

bool RunOp(Rig& rig, Op op)
{
    switch (op) {
    case Op::Program: return rig.ops->ProgramDevice();
    case Op::Erase: return rig.ops->EraseDevice();
    case Op::Read: return rig.ops->ReadDevice();
    case Op::Verify: return rig.ops->VerifyDevice();
    case Op::Blank: return rig.ops->BlankCheckDevice();
    }
    return false;
}

// A rig whose chip is "ATMEGA8 without EEPROM" when device is "AVR-NOEE".
std::unique_ptr<Rig> MakeRig(const std::string& device)
{
    if (device != "AVR-NOEE")
        return std::make_unique<Rig>(device);
    auto rig = std::make_unique<Rig>("ATMEGA8");
    rig->app->profile.eepromSize = 0;
    rig->sim.chip->eeprom.clear();
    return rig;
}

std::vector<uint8_t> Bytes(const std::vector<uint8_t>& v, uint32_t n)
{
    return std::vector<uint8_t>(v.begin(), v.begin() + n);
}

// Request numbers in order, consecutive repeats folded: "1 12 5 6x41 8x3 2".
std::string RequestTrace(const std::vector<SetupPacket>& packets)
{
    std::string out;
    for (size_t i = 0; i < packets.size();) {
        size_t j = i;
        while (j < packets.size() && packets[j].request == packets[i].request)
            ++j;
        out += (out.empty() ? "" : " ") + std::to_string(packets[i].request);
        if (j - i > 1)
            out += "x" + std::to_string(j - i);
        i = j;
    }
    return out;
}

struct Transcript {
    const char* device;
    Op op;
    Lines lines;
    const char* requests;
};

TEST(ChipOperations, TranscriptsOnAHealthyChip)
{
    const Transcript cases[] = {
        // Program identifies the chip before it writes a block.
        {"ATMEGA8", Op::Program,
         {"器件ID:1E 93 07", "编程FLASH...", "编程FLASH成功!", "编程EEPROM...", "编程EEPROM成功!", "编程器件完成!"},
         "1 12 5 3x3 6x41 8x3 2"},
        {"AVR-NOEE", Op::Program, {"器件ID:1E 93 07", "编程FLASH...", "编程FLASH成功!", "编程器件完成!"},
         "1 12 5 3x3 6x41 2"},
        {"AT89S52", Op::Program, {"器件ID:1E 52 06", "编程FLASH...", "编程FLASH成功!", "编程器件完成!"},
         "1 13 5 3x3 6x41 2"},
        {"NRF24LE1", Op::Program, {"器件ID:00 00 00", "编程NORDIC...", "编程NORDIC成功!", "编程器件完成!"},
         "1 14 5 3x3 6x82 2"},

        {"ATMEGA8", Op::Erase, {"器件ID:1E 93 07", "擦除芯片...", "擦除芯片成功!"}, "1 12 5 3x4 2"},
        {"AT89S52", Op::Erase, {"器件ID:1E 52 06", "擦除芯片...", "擦除芯片成功!"}, "1 13 5 3x4 2"},
        {"NRF24LE1", Op::Erase, {"器件ID:00 00 00", "擦除芯片...", "擦除芯片成功!"}, "1 14 5 3x4 2"},

        {"ATMEGA8", Op::Read, {"器件ID:1E 93 07", "读FLASH...", "读FLASH成功!", "读EEPROM...", "读EEPROM成功!", "读器件已完成!"},
         "1 12 5 3x3 4x41 7x3 2"},
        {"AVR-NOEE", Op::Read, {"器件ID:1E 93 07", "读FLASH...", "读FLASH成功!", "读器件已完成!"}, "1 12 5 3x3 4x41 2"},
        {"AT89S52", Op::Read, {"器件ID:1E 52 06", "读FLASH...", "读FLASH成功!", "读器件已完成!"}, "1 13 5 3x3 4x41 2"},
        {"NRF24LE1", Op::Read, {"器件ID:00 00 00", "读NORDIC FLASH成功!", "读器件已完成!"}, "1 14 5 3x3 4x82 2"},

        {"ATMEGA8", Op::Verify, {"器件ID:1E 93 07", "效验器件完成!"}, "1 12 5 3x3 4x41 2"},
        {"AVR-NOEE", Op::Verify, {"器件ID:1E 93 07", "效验器件完成!"}, "1 12 5 3x3 4x41 2"},
        {"AT89S52", Op::Verify, {"器件ID:1E 52 06", "效验器件完成!"}, "1 13 5 3x3 4x41 2"},
        {"NRF24LE1", Op::Verify, {"器件ID:00 00 00", "效验器件完成!"}, "1 14 5 3x3 4x82 2"},

        {"ATMEGA8", Op::Blank, {"器件ID:1E 93 07", "读FLASH...", "读FLASH成功!", "读EEPROM...", "读EEPROM成功!", "效验器件已完成!"},
         "1 12 5 3x3 4x41 7x3 2"},
        {"AVR-NOEE", Op::Blank, {"器件ID:1E 93 07", "读FLASH...", "读FLASH成功!", "效验器件已完成!"}, "1 12 5 3x3 4x41 2"},
        {"AT89S52", Op::Blank, {"器件ID:1E 52 06", "读FLASH...", "读FLASH成功!", "效验器件已完成!"}, "1 13 5 3x3 4x41 2"},
        {"NRF24LE1", Op::Blank, {"器件ID:00 00 00", "效验NORDIC FLASH成功!", "效验器件已完成!"}, "1 14 5 3x3 4x82 2"},
    };
    for (const Transcript& c : cases) {
        SCOPED_TRACE(std::string(c.device) + " op " + std::to_string(int(c.op)));
        auto rig = MakeRig(c.device);
        rig->OpenEarlier();
        const ChipProfile& p = rig->app->profile;
        // Program writes a distinct image; the others find it on the chip.
        rig->FillFlash(p.flashSize, 3);
        for (uint32_t i = 0; i < p.eepromSize; ++i)
            rig->app->buffer.eeprom[i] = static_cast<uint8_t>(0xA0 ^ i);
        if (c.op == Op::Read || c.op == Op::Verify || c.op == Op::Erase) {
            rig->sim.chip->WriteFlash(0, rig->app->buffer.flash.data(), p.flashSize);
            rig->sim.chip->WriteEeprom(0, rig->app->buffer.eeprom.data(), p.eepromSize);
        }
        const std::vector<uint8_t> flashImage = Bytes(rig->app->buffer.flash, p.flashSize);
        const std::vector<uint8_t> eepromImage = Bytes(rig->app->buffer.eeprom, p.eepromSize);
        if (c.op == Op::Read) {
            ClearImages(rig->app->buffer, p, ClearSelector::All);
        }

        EXPECT_TRUE(RunOp(*rig, c.op));
        EXPECT_EQ(rig->ui.lines, c.lines);
        EXPECT_EQ(RequestTrace(rig->sim.packets), c.requests);
        EXPECT_FALSE(rig->sim.enabled());  // programming mode left

        switch (c.op) {
        case Op::Program:
            EXPECT_EQ(rig->sim.chip->flash, flashImage);
            EXPECT_EQ(rig->sim.chip->eeprom, p.family == kFamilyAvr ? eepromImage : rig->sim.chip->eeprom);
            break;
        case Op::Erase:
            EXPECT_EQ(rig->sim.chip->flash, std::vector<uint8_t>(p.flashSize, 0xFF));
            EXPECT_EQ(rig->sleeps, (std::vector<unsigned>{200, 200}));
            break;
        case Op::Read: {
            EXPECT_EQ(Bytes(rig->app->buffer.flash, p.flashSize), flashImage);
            if (p.family != kFamilyNordic) {
                EXPECT_EQ(Bytes(rig->app->buffer.eeprom, p.eepromSize), eepromImage);
            }
            std::vector<uint8_t> view = flashImage;
            if (p.family != kFamilyNordic)
                view.insert(view.end(), eepromImage.begin(), eepromImage.end());
            EXPECT_EQ(Bytes(rig->app->buffer.view, p.flashSize + p.eepromSize), view);
            // The checksum line says the data came from the chip.
            EXPECT_EQ(rig->ui.fileLine, ChecksumLine(ComputeChecksum(rig->app->buffer, p),
                                                     std::string("(读自器件 ") + p.deviceName + ")"));
            break;
        }
        default:
            break;
        }
    }
}

struct FailureRow {
    const char* name;
    Op op;
    std::function<void(Rig&)> arrange;
    Lines lines;
    bool leftProgramming;
};

TEST(ChipOperations, FailureRows)
{
    const auto writeFaultAtBlock = [](int k) {
        return [k](Rig& r) {
            r.sim.fault = TransferFault::Short;
            // after connect, mode, enable and the three signature bytes
            r.sim.faultAt = r.sim.transfers + 6 + static_cast<uint64_t>(k);
        };
    };
    const FailureRow rows[] = {
        // Pulled out after an earlier operation: the stale handle opens, enable fails.
        {"unplugged", Op::Program, [](Rig& r) { r.sim.Unplug(); }, {"下载器初始化出错!"}, false},
        {"unplugged", Op::Erase, [](Rig& r) { r.sim.Unplug(); }, {"下载器初始化出错!"}, false},
        {"enable refused", Op::Read, [](Rig& r) { r.sim.enableRefused = true; }, {"下载器初始化出错!"}, false},
        {"empty socket", Op::Program, [](Rig& r) { r.Socket(""); }, {"找不到器件!"}, false},
        {"wrong chip", Op::Program, [](Rig& r) { r.Socket("ATMEGA16"); }, {"读取错误器件ID:1E 94 03"}, true},
        {"empty socket", Op::Erase, [](Rig& r) { r.Socket(""); }, {"找不到器件!"}, false},
        {"empty socket", Op::Verify, [](Rig& r) { r.Socket(""); }, {"找不到器件!"}, false},
        {"wrong chip", Op::Erase, [](Rig& r) { r.Socket("ATMEGA16"); }, {"读取错误器件ID:1E 94 03"}, true},
        {"wrong chip", Op::Read, [](Rig& r) { r.Socket("ATMEGA16"); }, {"读取错误器件ID:1E 94 03"}, true},
        {"wrong chip", Op::Blank, [](Rig& r) { r.Socket("ATMEGA16"); }, {"读取错误器件ID:1E 94 03"}, true},
        {"short write at block 3", Op::Program, writeFaultAtBlock(3), {"器件ID:1E 93 07", "编程FLASH...", "编程FLASH错误...!"}, false},
        {"short EEPROM write", Op::Program, writeFaultAtBlock(42),
         {"器件ID:1E 93 07", "编程FLASH...", "编程FLASH成功!", "编程EEPROM...", "编程EEPROM错误...!"}, false},
        {"erase fails", Op::Erase,
         [](Rig& r) { r.sim.fault = TransferFault::Error; r.sim.faultAt = r.sim.transfers + 7; },
         {"器件ID:1E 93 07", "擦除芯片...", "擦除芯片失败...!"}, false},
        {"verify mismatch", Op::Verify, [](Rig& r) { r.app->buffer.flash[0x100] = 0x12; },
         {"器件ID:1E 93 07", "效验器件失败!"}, true},
        {"verify read-back fails", Op::Verify,
         [](Rig& r) { r.app->buffer.flash[0x100] = 0xFF; r.app->buffer.flash[0] = 0x00;
                      r.sim.fault = TransferFault::Timeout; r.sim.faultAt = r.sim.transfers + 7; },
         {"器件ID:1E 93 07", "效验器件失败!"}, true},
        {"read fails", Op::Read,
         [](Rig& r) { r.sim.fault = TransferFault::Short; r.sim.faultAt = r.sim.transfers + 10; },
         {"器件ID:1E 93 07", "读FLASH...", "读FLASH错误...!", "读EEPROM...", "读EEPROM成功!", "读器件失败!"}, true},
        {"not blank", Op::Blank, [](Rig& r) { const uint8_t z = 0; r.sim.chip->WriteEeprom(511, &z, 1); },
         {"器件ID:1E 93 07", "读FLASH...", "读FLASH成功!", "读EEPROM...", "读EEPROM成功!", "效验器件失败,器件不为空!"}, true},
        {"blank check cannot read", Op::Blank,
         [](Rig& r) { r.sim.fault = TransferFault::Error; r.sim.faultAt = r.sim.transfers + 8; },
         {"器件ID:1E 93 07", "读FLASH...", "读FLASH错误...!", "读EEPROM...", "读EEPROM成功!", "效验器件失败!"}, true},
    };
    for (const FailureRow& row : rows) {
        SCOPED_TRACE(row.name);
        Rig rig;
        rig.OpenEarlier();
        row.arrange(rig);
        EXPECT_FALSE(RunOp(rig, row.op));
        EXPECT_EQ(rig.ui.lines, row.lines);
        const bool left = !rig.sim.packets.empty() && rig.sim.packets.back().request == kRequestDisconnect;
        EXPECT_EQ(left, row.leftProgramming);
        if (row.lines.size() == 1) {
            // Stopped before its work: no block reached the chip.
            EXPECT_TRUE(rig.Requests(kRequestWriteFlash).empty());
            EXPECT_TRUE(rig.Requests(kRequestWriteEeprom).empty());
        }
        if (row.lines[0] != "下载器初始化出错!") {
            EXPECT_EQ(rig.sim.enabled(), !row.leftProgramming);
        }
    }
}

TEST(ChipOperations, AFailedReadLeavesTheBufferAsItWas)
{
    Rig rig;
    rig.OpenEarlier();
    rig.FillFlash(8192);
    ComposeView(rig.app->buffer, rig.app->profile);
    rig.app->file.shownPath = "/work/fw.hex";
    RefreshChecksum(*rig.app);
    const DataBuffer before = rig.app->buffer;
    const std::string fileLine = rig.ui.fileLine;
    rig.sim.fault = TransferFault::Short;
    rig.sim.faultAt = rig.sim.transfers + 20;  // inside the flash read
    EXPECT_FALSE(rig.ops->ReadDevice());
    EXPECT_EQ(rig.ui.lines.back(), kReadFailedLine);
    EXPECT_EQ(rig.app->buffer.flash, before.flash);
    EXPECT_EQ(rig.app->buffer.view, before.view);
    EXPECT_EQ(rig.ui.fileLine, fileLine);
}

TEST(ChipOperations, BlankCheckLeavesTheLoadedImagesAlone)
{
    Rig rig;
    rig.FillFlash(8192);
    rig.app->buffer.eeprom[3] = 0x33;
    ComposeView(rig.app->buffer, rig.app->profile);
    RefreshChecksum(*rig.app);
    const DataBuffer before = rig.app->buffer;
    const std::string fileLine = rig.ui.fileLine;

    EXPECT_TRUE(rig.ops->BlankCheckDevice());  // a fresh chip is blank
    EXPECT_EQ(rig.app->buffer.flash, before.flash);
    EXPECT_EQ(rig.app->buffer.eeprom, before.eeprom);
    EXPECT_EQ(rig.app->buffer.view, before.view);
    EXPECT_EQ(rig.ui.fileLine, fileLine);

    // The next program still writes the file, not what the blank check read.
    EXPECT_TRUE(rig.ops->ProgramDevice());
    EXPECT_EQ(Bytes(rig.sim.chip->flash, 8192), Bytes(before.flash, 8192));
}

TEST(ChipOperations, LargeChipFlagFollowsTheFlashSize)
{
    for (const auto& [flash, flag] : {std::pair{131072u, 0x00}, std::pair{131328u, 0x80}}) {
        Rig rig("ATMEGA128");
        rig.app->profile.flashSize = flash;
        rig.sim.chip->flash.assign(flash, 0xFF);
        std::fill(rig.app->buffer.flash.begin(), rig.app->buffer.flash.end(), 0xFF);
        rig.app->buffer.flash[flash - 1] = 0x00;
        rig.sim.chip->flash[flash - 1] = 0x00;
        EXPECT_TRUE(rig.ops->VerifyDevice());
        const auto readBacks = rig.Requests(kRequestReadFlash);
        ASSERT_EQ(readBacks.size(), 2u);  // the last 256-byte block: 200 + 56
        for (const SetupPacket& p : readBacks)
            EXPECT_EQ(p.Setup(3) & 0x80, flag);
    }
}

TEST(ChipOperations, ReadThenProgramCopiesAChip)
{
    Rig master;
    master.FillFlash(8192, 11);
    for (uint32_t i = 0; i < 512; ++i)
        master.app->buffer.eeprom[i] = static_cast<uint8_t>(i * 3);
    ASSERT_TRUE(master.ops->ProgramDevice());
    ClearImages(master.app->buffer, master.app->profile, ClearSelector::All);
    ASSERT_TRUE(master.ops->ReadDevice());
    const VirtualChip original = *master.sim.chip;

    // The blank: programmed with something else before, so it must be erased.
    ChipProfile p = master.app->profile;
    VirtualChip used = VirtualChip::FromProfile(p);
    std::vector<uint8_t> junk(8192, 0x5A);
    used.WriteFlash(0, junk.data(), 8192);
    master.sim.chip = used;
    ASSERT_TRUE(master.ops->ProgramDevice());
    std::vector<uint8_t> anded(8192);
    for (size_t i = 0; i < anded.size(); ++i)
        anded[i] = original.flash[i] & 0x5A;
    EXPECT_EQ(master.sim.chip->flash, anded);  // NOR flash: bits only clear
    master.ui.lines.clear();
    EXPECT_FALSE(master.ops->VerifyDevice());
    EXPECT_EQ(master.ui.lines.back(), "效验器件失败!");

    ASSERT_TRUE(master.ops->EraseDevice());
    ASSERT_TRUE(master.ops->ProgramDevice());
    EXPECT_EQ(master.sim.chip->flash, original.flash);
    EXPECT_EQ(master.sim.chip->eeprom, original.eeprom);
    EXPECT_TRUE(master.ops->VerifyDevice());
}

TEST(ChipOperations, StartUpAndReadiness)
{
    test::TempDir dir;
    test::WriteFile(dir.File("Device.csv"), test::ReadFile(MORSK_DEVICE_LIST));
    struct Case {
        const char* ini;
        bool ready;
        const char* chipLine;
    } cases[] = {
        {"", true, " ATMEL ATMEGA8  2200H*8"},
        {"[SETUP]\nManufIndex=1\n", false, " MICROCHIP PIC16F84A  740H*8"},
        {"[SETUP]\nManufIndex=2\nDeviceIndex=0\n", true, " NORDIC NRF24LE1  4000H*8"},
        // A failed load leaves NORDIC over the first chip: never ready.
        {"[SETUP]\nManufIndex=2\nDeviceIndex=9\n", false, " NORDIC   0H*8"},
    };
    for (const auto& c : cases) {
        test::WriteFile(dir.File("setup.ini"), c.ini);
        test::RecordingUi ui;
        AppState app;
        app.AttachUi(&ui, &ui, &ui, &ui);
        app.link.linkOption = 7;
        StartUp(app, dir.path().string());
        EXPECT_EQ(ui.lines, Lines{c.ready ? kReadyLine : kUnsupportedLine}) << c.ini;
        EXPECT_EQ(ui.enabled, c.ready);
        EXPECT_EQ(ui.chipLine, c.chipLine);
        EXPECT_EQ(ui.counters, (std::vector<std::pair<int, int>>{{0, 0}}));
        EXPECT_EQ(app.link.linkOption, 0);
        EXPECT_EQ(app.buffer.checksum, 0xFFu * (app.profile.flashSize + app.profile.eepromSize));
    }

    // A chip change saves first, then reloads, always adds a readiness line,
    // and uses two blanks in the chip line.
    test::RecordingUi ui;
    AppState app;
    app.AttachUi(&ui, &ui, &ui, &ui);
    test::WriteFile(dir.File("setup.ini"), "");
    StartUp(app, dir.path().string());
    ChangeChip(app, 0, 0);
    ChangeChip(app, 1, 7);
    EXPECT_EQ(ui.lines, (Lines{kReadyLine, kReadyLine, kUnsupportedLine}));
    EXPECT_EQ(ui.chipLine, " MICROCHIP  ATMEGA8  2200H*8");
    EXPECT_EQ(test::ReadFile(dir.File("setup.ini")), "[SETUP]\nManufIndex=1\nDeviceIndex=7\n");
}

TEST(ChipOperations, AChipChangeShowsOnlyErasedBytesBeyondTheOldChip)
{
    test::TempDir dir;
    test::WriteFile(dir.File("Device.csv"), test::ReadFile(MORSK_DEVICE_LIST));
    test::WriteFile(dir.File("setup.ini"), "");
    test::RecordingUi ui;
    AppState app;
    app.AttachUi(&ui, &ui, &ui, &ui);
    StartUp(app, dir.path().string());
    ChangeChip(app, 0, 16);  // ATMEGA2560
    ASSERT_STREQ(app.profile.deviceName, "ATMEGA2560");
    const uint32_t used = kFlashCapacity + kEepromCapacity;
    EXPECT_TRUE(std::all_of(app.buffer.view.begin(), app.buffer.view.begin() + used, [](uint8_t b) { return b == 0xFF; }));
    EXPECT_EQ(ui.fileLine, ChecksumLine(0xFFu * used, ""));

    // Back to a smaller chip with data beyond it: said, not hidden.
    app.buffer.flash[100000] = 0x00;
    ChangeChip(app, 0, 0);
    EXPECT_EQ(ui.lines.back(), kBufferBeyondChipLine);

    // A choice that cannot be stored is not passed off as stored.
    app.paths.settingsFile = dir.File("no/such/folder/setup.ini");
    ui.lines.clear();
    ChangeChip(app, 0, 1);
    EXPECT_EQ(ui.lines.front(), kSettingsNotSavedLine);
}

}  // namespace
}  // namespace morsk
