#include "data_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "test_support.h"

namespace morsk {
namespace {

ChipProfile Chip(uint32_t flash, uint32_t eeprom)
{
    ChipProfile p;
    p.flashSize = flash;
    p.eepromSize = eeprom;
    return p;
}

TEST(DataBuffer, AfterStartTheChecksumLineShowsTheErasedSum)
{
    DataBuffer buffer;
    test::RecordingUi ui;
    const ChipProfile p = Chip(8192, 512);
    ClearImages(buffer, p, ClearSelector::All);
    UpdateChecksum(buffer, p, "", ui);
    EXPECT_EQ(buffer.checksum, 2219520u);
    EXPECT_EQ(ui.fileLine, "效验和: 0021DE00H   文件 = ");
    EXPECT_EQ(ChecksumLine(0x1234, "/tmp/a.hex"), "效验和: 00001234H   文件 = /tmp/a.hex");
}

TEST(DataBuffer, ClearSelectorsClearTheirWholeArea)
{
    const ChipProfile p = Chip(16, 8);
    struct Case {
        ClearSelector selector;
        bool flash, eeprom, view;
    } cases[] = {{ClearSelector::All, true, true, true}, {ClearSelector::Flash, true, false, false},
                 {ClearSelector::Eeprom, false, true, false}, {static_cast<ClearSelector>(3), false, false, false}};
    for (const Case& c : cases) {
        DataBuffer b;
        std::fill(b.flash.begin(), b.flash.end(), 0);
        std::fill(b.eeprom.begin(), b.eeprom.end(), 0);
        std::fill(b.view.begin(), b.view.end(), 0);
        ClearImages(b, p, c.selector);
        // Past the chip's sizes too: a change to a larger chip finds 0xFF.
        for (const uint32_t i : {0u, 15u, 16u, kFlashCapacity - 1})
            EXPECT_EQ(b.flash[i], c.flash ? 0xFF : 0) << int(c.selector) << " flash " << i;
        for (const uint32_t i : {7u, 8u, kEepromCapacity - 1})
            EXPECT_EQ(b.eeprom[i], c.eeprom ? 0xFF : 0) << int(c.selector) << " eeprom " << i;
        for (const uint32_t i : {23u, 24u, kViewCapacity - 1})
            EXPECT_EQ(b.view[i], c.view ? 0xFF : 0) << int(c.selector) << " view " << i;
    }
    // A new buffer holds nothing but erased bytes.
    const DataBuffer fresh;
    EXPECT_TRUE(std::all_of(fresh.flash.begin(), fresh.flash.end(), [](uint8_t v) { return v == 0xFF; }));
    EXPECT_TRUE(std::all_of(fresh.view.begin(), fresh.view.end(), [](uint8_t v) { return v == 0xFF; }));
}

TEST(DataBuffer, ComposeLaysTheImagesEndToEnd)
{
    DataBuffer b;
    const ChipProfile p = Chip(4, 2);
    b.flash = std::vector<uint8_t>(kFlashCapacity, 0);
    std::copy_n("\x01\x02\x03\x04\x05", 5, b.flash.begin());
    b.eeprom[0] = 0xA0;
    b.eeprom[1] = 0xA1;
    b.eeprom[2] = 0xA2;
    ComposeView(b, p);
    EXPECT_EQ(std::vector<uint8_t>(b.view.begin(), b.view.begin() + 7),
              (std::vector<uint8_t>{1, 2, 3, 4, 0xA0, 0xA1, 0xFF}));
    EXPECT_EQ(ComputeChecksum(b, p), 1u + 2 + 3 + 4 + 0xA0 + 0xA1);
    // No EEPROM: the view is the used flash.
    EXPECT_EQ(ComputeChecksum(b, Chip(4, 0)), 10u);
    EXPECT_EQ(ComputeChecksum(b, Chip(0, 0)), 0u);
}

TEST(DataBuffer, FullAreasAndAStaleView)
{
    DataBuffer b;
    std::fill(b.view.begin(), b.view.end(), 0xFF);
    const ChipProfile full = Chip(kFlashCapacity, kEepromCapacity);
    EXPECT_EQ(ComputeChecksum(b, full), 0xFFu * kViewCapacity);
    std::fill(b.view.begin(), b.view.end(), 0);
    b.view[0] = 1;
    // A chip change recomputes over the new sizes without composing.
    EXPECT_EQ(ComputeChecksum(b, Chip(1, 0)), 1u);
    EXPECT_EQ(ChecksumLine(0xABC, ""), "效验和: 00000ABCH   文件 = ");
}

TEST(DataBuffer, SizesBeyondTheCapacitiesStayInside)
{
    // The loader refuses such chips; the areas stay bounded regardless.
    DataBuffer b;
    const ChipProfile huge = Chip(0xFFFFFFFF, 0xFFFFFFFF);
    ClearImages(b, huge, ClearSelector::All);
    ComposeView(b, huge);
    EXPECT_EQ(ComputeChecksum(b, huge), 0xFFu * kViewCapacity);
    EXPECT_EQ(b.flash.size(), kFlashCapacity);
    EXPECT_EQ(b.view.size(), kViewCapacity);
}

}  // namespace
}  // namespace morsk
