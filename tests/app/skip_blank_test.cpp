// Programming only the used part of the images.
#include <gtest/gtest.h>

#include "auto_sequence.h"
#include "sim_rig.h"

namespace morsk {
namespace {

using test::Rig;
using Lines = std::vector<std::string>;

TEST(SkipBlank, UsedFlashLength)
{
    struct Case {
        uint32_t size, page;
        int lastUsed;  // -1: all 0xFF
        uint32_t length;
    } cases[] = {
        {262144, 256, 20479, 20480},  // the last byte of a page
        {262144, 256, 20480, 20736},  // the first byte of the next one
        {262144, 256, 0, 256},
        {262144, 256, -1, 0},
        {262144, 256, 262143, 262144},
        {8192, 0, 100, 128},          // no page size: 32-byte blocks
        {1000, 64, 990, 1000},        // a last page cut short by the size
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> image(c.size, 0xFF);
        if (c.lastUsed >= 0)
            image[static_cast<size_t>(c.lastUsed)] = 0x00;
        EXPECT_EQ(UsedFlashLength(image, c.page), c.length) << c.lastUsed << " page " << c.page;
    }
}

// A 20 KiB program on an ATMEGA2560 (256 KiB, 256-byte pages).
std::unique_ptr<Rig> Mega2560(bool skipBlank, bool erasedChip)
{
    auto rig = std::make_unique<Rig>("ATMEGA2560");
    rig->FillFlash(20480);
    rig->app->buffer.flash[20479] = 0x5A;
    rig->app->settings.skipBlank = skipBlank;
    if (!erasedChip) {
        // An old program all over the chip, never erased.
        std::vector<uint8_t> old(262144);
        for (size_t i = 0; i < old.size(); ++i)
            old[i] = static_cast<uint8_t>(0xF0 | (i % 16));
        rig->sim.chip->WriteFlash(0, old.data(), 262144);
    }
    return rig;
}

TEST(SkipBlank, WritesTheUsedPagesOnlyAndLeavesTheChipAsAFullWrite)
{
    for (bool erased : {true, false}) {
        SCOPED_TRACE(erased ? "erased chip" : "chip not erased");
        auto full = Mega2560(false, erased);
        auto used = Mega2560(true, erased);
        ASSERT_TRUE(full->ops->ProgramDevice());
        ASSERT_TRUE(used->ops->ProgramDevice());
        const auto blocks = used->Requests(kRequestWriteFlash);
        ASSERT_EQ(blocks.size(), 103u);  // 20480 bytes in 200-byte blocks
        EXPECT_EQ(test::Block(blocks.front()), "6 out 00 00 00 01 200");
        EXPECT_EQ(test::Block(blocks.back()), "6 out B0 4F 00 02 80");
        for (size_t i = 1; i + 1 < blocks.size(); ++i)
            EXPECT_EQ(blocks[i].Setup(3), 0) << i;
        EXPECT_EQ(full->Requests(kRequestWriteFlash).size(), 1311u);
        EXPECT_EQ(used->sim.chip->flash, full->sim.chip->flash);
        // Same lines, and the bar from 0 to 100 over the shorter write.
        EXPECT_EQ(used->ui.lines, full->ui.lines);
        EXPECT_EQ(used->ui.progress.front(), 0);
        EXPECT_EQ(used->ui.progress.back(), 100);
        EXPECT_TRUE(std::is_sorted(used->ui.progress.begin(), used->ui.progress.end()));
    }
}

TEST(SkipBlank, BlankImagesAndTheEeprom)
{
    // All 0xFF: no flash block, no EEPROM block, the usual lines.
    Rig blank("ATMEGA8");
    blank.app->settings.skipBlank = true;
    ASSERT_TRUE(blank.ops->ProgramDevice());
    EXPECT_TRUE(blank.Requests(kRequestWriteFlash).empty());
    EXPECT_TRUE(blank.Requests(kRequestWriteEeprom).empty());
    EXPECT_EQ(blank.ui.lines, (Lines{"器件ID:1E 93 07", "编程FLASH...", "编程FLASH成功!", "编程EEPROM...", "编程EEPROM成功!",
                                     "编程器件完成!"}));

    // EEPROM data in the image: the whole EEPROM goes out as before.
    Rig data("ATMEGA8");
    data.app->settings.skipBlank = true;
    data.app->buffer.eeprom[3] = 0x42;
    ASSERT_TRUE(data.ops->ProgramDevice());
    EXPECT_EQ(data.Requests(kRequestWriteEeprom).size(), 3u);  // 512 bytes
    EXPECT_EQ(data.sim.chip->eeprom[3], 0x42);

    // A chip that keeps EEPROM data across a program with a blank image:
    // the option's one difference, said beside it in the dialog.
    Rig keep("ATMEGA8");
    keep.app->settings.skipBlank = true;
    const uint8_t kept = 0x17;
    keep.sim.chip->WriteEeprom(10, &kept, 1);
    ASSERT_TRUE(keep.ops->ProgramDevice());
    EXPECT_EQ(keep.sim.chip->eeprom[10], 0x17);
    keep.app->settings.skipBlank = false;
    ASSERT_TRUE(keep.ops->ProgramDevice());
    EXPECT_EQ(keep.sim.chip->eeprom[10], 0xFF);
}

TEST(SkipBlank, OffIsTheSameWireAsBefore)
{
    Rig rig("ATMEGA8");
    rig.FillFlash(6000);
    ASSERT_TRUE(rig.ops->ProgramDevice());
    // Every block of both images, from offset 0 to the full sizes.
    EXPECT_EQ(rig.Requests(kRequestWriteFlash).size(), 41u);
    EXPECT_EQ(rig.Requests(kRequestWriteEeprom).size(), 3u);
    EXPECT_EQ(test::Block(rig.Requests(kRequestWriteFlash).back()), "6 out 40 1F 40 02 192");
}

TEST(SkipBlank, AutoRunEraseProgramVerify)
{
    auto rig = Mega2560(true, false);
    SetAutoSequence(rig->app->settings, "3513");
    ASSERT_TRUE(RunAuto(*rig->app, *rig->link));
    EXPECT_EQ(rig->ui.lines, (Lines{"器件ID:1E 98 01", "擦除芯片...", "擦除芯片成功!", "编程FLASH...",
                                    "编程FLASH成功!", "效验器件完成!", "自动已完成!"}));
    EXPECT_EQ(rig->app->successCount, 1);
    EXPECT_EQ(rig->Requests(kRequestWriteFlash).size(), 103u);
    EXPECT_EQ(rig->sim.chip->flash[20480], 0xFF);
}

}  // namespace
}  // namespace morsk
