#include "auto_sequence.h"
#include "auto_editor_model.h"

#include <gtest/gtest.h>

#include <functional>

#include "sim_rig.h"

namespace morsk {
namespace {

using test::Rig;
using Lines = std::vector<std::string>;

TEST(AutoSequence, StepCountIsTheFirstHexDigit)
{
    struct Case {
        const char* text;
        int count;
    } cases[] = {{"", 0}, {"0", 0}, {"3512", 3}, {"9", 9}, {"A", 10}, {"f123", 15}, {"F", 15},
                 {"G1", 0}, {" 3", 0}, {"-1", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ParseStepCount(c.text), c.count) << c.text;
    EXPECT_EQ(ParseStepCount(nullptr), 0);
}

struct AutoCase {
    const char* name;
    const char* device;
    const char* sequence;
    Lines lines;
    int success, failure;
};

TEST(AutoSequence, RunTranscripts)
{
    const AutoCase cases[] = {
        {"erase, program, read", "ATMEGA8", "3512",
         {"器件ID:1E 93 07", "擦除芯片...", "擦除芯片成功!", "编程FLASH...", "编程FLASH成功!", "读FLASH...",
          "读FLASH成功!", "读EEPROM...", "读EEPROM成功!", "自动已完成!"},
         1, 0},
        // Verify and blank check do their work in a run.
        {"verify, blank check", "ATMEGA8", "234",
         {"器件ID:1E 93 07", "效验器件完成!", "读FLASH...", "读FLASH成功!", "读EEPROM...", "读EEPROM成功!",
          "效验器件已完成!", "自动已完成!"},
         1, 0},
        {"count past the codes", "ATMEGA8", "51", {"器件ID:1E 93 07", "编程FLASH...", "编程FLASH成功!", "自动已完成!"}, 1, 0},
        {"security and protect beside a step", "ATMEGA8", "365", {"器件ID:1E 93 07", "擦除芯片...", "擦除芯片成功!", "自动已完成!"}, 1, 0},
        // NORDIC chips are identified too: an empty socket reads FF FF FF.
        {"NORDIC read and erase", "NRF24LE1", "225",
         {"器件ID:00 00 00", "读FLASH...", "读FLASH成功!", "擦除芯片...", "擦除芯片成功!", "自动已完成!"}, 1, 0},
        {"NORDIC program", "NRF24LE1", "11", {"器件ID:00 00 00", "编程NORDIC...", "编程NORDIC成功!", "自动已完成!"}, 1, 0},
        {"AT89 has no EEPROM lines", "AT89S52", "12", {"器件ID:1E 52 06", "读FLASH...", "读FLASH成功!", "自动已完成!"}, 1, 0},
    };
    for (const AutoCase& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig(c.device);
        SetAutoSequence(rig.app->settings, c.sequence);
        EXPECT_EQ(RunAuto(*rig.app, *rig.link), c.failure == 0);
        EXPECT_EQ(rig.ui.lines, c.lines);
        EXPECT_EQ(rig.app->successCount, c.success);
        EXPECT_EQ(rig.app->failureCount, c.failure);
        EXPECT_EQ(rig.ui.counters, (std::vector<std::pair<int, int>>{{c.success, c.failure}}));
        EXPECT_FALSE(rig.sim.enabled());
        EXPECT_EQ(rig.sim.packets.back().request, kRequestDisconnect);
    }
}

TEST(AutoSequence, ReadStepComposesAndSaysTheDataCameFromTheChip)
{
    Rig rig;
    std::vector<uint8_t> data(8192, 0x11);
    rig.sim.chip->WriteFlash(0, data.data(), 8192);
    rig.app->file.shownPath = "/old/file.hex";
    SetAutoSequence(rig.app->settings, "12");
    ASSERT_TRUE(RunAuto(*rig.app, *rig.link));
    EXPECT_EQ(rig.app->buffer.view[8191], 0x11);
    EXPECT_EQ(rig.app->buffer.view[8192], 0xFF);
    EXPECT_EQ(rig.ui.fileLine, ChecksumLine(0x11u * 8192 + 0xFFu * 512, "(读自器件 ATMEGA8)"));
}

TEST(AutoSequence, ASequenceWithoutAChipStepRunsAndCountsNothing)
{
    for (const char* sequence : {"", "0", "X5", "267", "10"}) {
        SCOPED_TRACE(sequence);
        Rig rig;
        SetAutoSequence(rig.app->settings, sequence);
        EXPECT_FALSE(RunAuto(*rig.app, *rig.link));
        EXPECT_EQ(rig.ui.lines, Lines{kAutoEmptyLine});
        EXPECT_EQ(rig.app->successCount, 0);
        EXPECT_EQ(rig.app->failureCount, 0);
        EXPECT_TRUE(rig.ui.counters.empty());
        EXPECT_TRUE(rig.sim.packets.empty());
    }
}

TEST(AutoSequence, AFailedRunCountsAsAFailure)
{
    struct Case {
        const char* name;
        std::function<void(Rig&)> arrange;
        Lines lines;
    } cases[] = {
        {"no programmer", [](Rig& r) { r.sim.programmers.clear(); }, {"下载器初始化出错!"}},
        {"empty socket", [](Rig& r) { r.Socket(""); }, {"找不到器件!"}},
        {"wrong chip", [](Rig& r) { r.Socket("ATTINY85"); }, {"读取错误器件ID:1E 93 0B"}},
        {"erase fails, the run goes on", [](Rig& r) { r.sim.fault = TransferFault::Error; r.sim.faultAt = 7; },
         {"器件ID:1E 93 07", "擦除芯片...", "擦除芯片失败...!", "编程FLASH...", "编程FLASH成功!", "自动烧录失败!"}},
        {"verify finds a difference", [](Rig& r) { r.app->buffer.flash[5] = 0; SetAutoSequence(r.app->settings, "13"); },
         {"器件ID:1E 93 07", "效验器件失败!", "自动烧录失败!"}},
        {"chip not blank", [](Rig& r) { const uint8_t z = 0; r.sim.chip->WriteFlash(9, &z, 1); SetAutoSequence(r.app->settings, "14"); },
         {"器件ID:1E 93 07", "读FLASH...", "读FLASH成功!", "读EEPROM...", "读EEPROM成功!", "效验器件失败,器件不为空!", "自动烧录失败!"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        SetAutoSequence(rig.app->settings, "251");
        c.arrange(rig);
        EXPECT_FALSE(RunAuto(*rig.app, *rig.link));
        EXPECT_EQ(rig.ui.lines, c.lines);
        EXPECT_EQ(rig.app->successCount, 0);
        EXPECT_EQ(rig.app->failureCount, 1);
        EXPECT_EQ(rig.ui.counters, (std::vector<std::pair<int, int>>{{0, 1}}));
    }
}

TEST(AutoSequence, CountersWrapAtEightBits)
{
    Rig rig;
    rig.sim.recordData = false;
    SetAutoSequence(rig.app->settings, "15");
    for (int i = 0; i < 256; ++i)
        ASSERT_TRUE(RunAuto(*rig.app, *rig.link));
    EXPECT_EQ(rig.app->successCount, 0);
    EXPECT_EQ(rig.ui.counters.back(), (std::pair<int, int>{0, 0}));
    EXPECT_EQ(rig.ui.counters[254], (std::pair<int, int>{255, 0}));
}

TEST(AutoEditor, OpeningListsOfferedAndStoredSteps)
{
    const Lines common = {"Program", "Read", "Verify", "Blank_Check", "Erase"};
    struct Case {
        uint8_t family;
        const char* sequence;
        const char* sixth;
        Lines chosen;
    } cases[] = {
        {kFamilyAvr, "3512", "Security", {"Erase", "Program", "Read"}},
        {kFamilyAt89, "234", "Protect", {"Verify", "Blank_Check"}},
        {kFamilyNordic, "51", "Protect", {"Program"}},
        {kFamilyNordic, "4670", "Protect", {"Security", "Protect"}},  // stored codes keep their names
        {kFamilyAvr, "5190A", "Security", {"Program"}},               // other codes are skipped
        {kFamilyAvr, "", "Security", {}},
        {kFamilyAvr, "0", "Security", {}},
    };
    for (const auto& c : cases) {
        AutoEditorModel model;
        model.Open(c.family, c.sequence);
        Lines offered = common;
        offered.push_back(c.sixth);
        EXPECT_EQ(model.offered(), offered) << c.sequence;
        EXPECT_EQ(model.chosen(), c.chosen) << c.sequence;
    }
}

TEST(AutoEditor, AddDeleteAndTheFifteenEntryLimit)
{
    AutoEditorModel model;
    model.Open(kFamilyAvr, "");
    EXPECT_FALSE(model.Add(-1));  // nothing selected
    EXPECT_FALSE(model.Add(6));
    EXPECT_TRUE(model.chosen().empty());
    model.AddAll();
    model.AddAll();  // 12 entries
    ASSERT_EQ(model.chosen().size(), 12u);
    model.AddAll();  // only Program, Read, Verify fit
    EXPECT_EQ(model.chosen().size(), 15u);
    EXPECT_EQ(Lines(model.chosen().end() - 3, model.chosen().end()), (Lines{"Program", "Read", "Verify"}));
    EXPECT_FALSE(model.Add(0));
    EXPECT_EQ(model.BuildSequence(), "F123456123456123");

    model.Delete(0);
    model.Delete(99);  // no selection: nothing
    EXPECT_EQ(model.chosen().size(), 14u);
    EXPECT_EQ(model.chosen()[0], "Read");
    model.DeleteAll();
    EXPECT_EQ(model.BuildSequence(), "0");
}

TEST(AutoEditor, OkTextAndReopening)
{
    AutoEditorModel model;
    model.Open(kFamilyAvr, "");
    model.Add(4);  // Erase
    model.Add(0);  // Program
    model.Add(1);  // Read
    const std::string text = model.BuildSequence();
    EXPECT_EQ(text, "3512");

    Settings settings;
    SetAutoSequence(settings, text);
    AutoEditorModel again;
    again.Open(kFamilyAvr, settings.autoSequence);
    EXPECT_EQ(again.chosen(), (Lines{"Erase", "Program", "Read"}));
    again.Add(2);
    EXPECT_EQ(again.chosen().back(), "Verify");
    EXPECT_EQ(again.BuildSequence(), "45123");
    EXPECT_EQ(StepCode("verify"), '0');  // names compare exactly
}

}  // namespace
}  // namespace morsk
