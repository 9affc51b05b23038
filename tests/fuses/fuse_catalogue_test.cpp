#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "chip_profile.h"
#include "fuse_catalogue.h"
#include "lockout_bits.h"

namespace morsk {
namespace {

TEST(FuseCatalogue, ChipsOfOneDatasheetShareALayoutAndOnlyExactNamesHaveOne)
{
    // Datasheets that cover several chips give them the same fuse bits.
    const std::vector<std::vector<const char*>> families = {
        {"ATTINY25", "ATTINY45", "ATTINY85"}, {"ATMEGA16", "ATMEGA32"}, {"ATMEGA64", "ATMEGA128"},
        {"ATMEGA88", "ATMEGA168"}, {"ATMEGA640", "ATMEGA1280", "ATMEGA1281", "ATMEGA2560", "ATMEGA2561"},
        {"ATMEGA325", "ATMEGA3250", "ATMEGA645", "ATMEGA6450"}, {"ATMEGA165", "ATMEGA169"},
    };
    for (const auto& family : families)
        for (const char* name : family)
            EXPECT_EQ(FuseLayoutFor(name).letter, FuseLayoutFor(family[0]).letter) << name;
    // Chips with different fuse bytes do not.
    EXPECT_NE(FuseLayoutFor("ATMEGA168").letter, FuseLayoutFor("ATMEGA328P").letter);
    EXPECT_NE(FuseLayoutFor("ATMEGA48").letter, FuseLayoutFor("ATMEGA88").letter);

    // Every AVR chip of the shipped list has its own layout; the AT89 and
    // NORDIC chips, other spellings and unknown names get the base.
    std::vector<ManufacturerEntry> list;
    ASSERT_TRUE(ReadDeviceNames(MORSK_DEVICE_LIST, list));
    for (const std::string& name : list[0].devices)
        EXPECT_EQ(FuseLayoutFor(name).letter == 0, name.rfind("AT89", 0) == 0) << name;
    for (const char* name : {"atmega8", "ATmega8", "ATMEGA8 ", "NRF24LE1", ""})
        EXPECT_EQ(FuseLayoutFor(name).letter, 0) << name;
}

TEST(FuseCatalogue, TheLockOutBitsAreWhereTheDialogNamesThem)
{
    // Two tables of one datasheet fact: where the dialog draws RSTDISBL,
    // DWEN or SPIEN, the guard must look at that very bit, and the other
    // way round wherever the dialog names the bit at all.
    for (const auto& [name, letter] : FuseCatalogueNames()) {
        const FuseLayout& layout = FuseLayoutFor(name);
        const LockoutBits& bits = LockoutBitsFor(name);
        const std::pair<const char*, std::optional<FuseBitPosition>> named[] = {
            {"RSTDISBL", bits.rstdisbl}, {"DWEN", bits.dwen}, {"SPIEN", bits.spien}};
        for (const auto& [bit, where] : named) {
            for (int row = kRowLow; row <= kRowExt; ++row)
                for (int b = 0; b < 8; ++b)
                    if (layout.bits[static_cast<size_t>(row)][static_cast<size_t>(b)].caption == bit) {
                        ASSERT_TRUE(where.has_value()) << name << " " << bit;
                        EXPECT_EQ(where->byte, row - kRowLow) << name << " " << bit;
                        EXPECT_EQ(where->bit, b) << name << " " << bit;
                    }
            if (where) {
                const std::string& shown =
                    layout.bits[static_cast<size_t>(kRowLow + where->byte)][static_cast<size_t>(where->bit)].caption;
                EXPECT_TRUE(shown == bit || shown == "----") << name << " " << bit << " shows " << shown;
            }
        }
        const bool hasCksel = layout.bits[kRowLow][3].caption == "CKSEL3" && layout.bits[kRowLow][0].caption == "CKSEL0";
        EXPECT_EQ(bits.ckselExternalClock, hasCksel) << name;
    }
}

TEST(FuseCatalogue, TellingSlots)
{
    enum { Lock = kRowLock, Low = kRowLow, High = kRowHigh, Ext = kRowExt };
    struct Slot {
        const char* device;
        int row, bit;
        const char* caption;
        bool enabled;
    } slots[] = {
        {"ATTINY12", Low, 5, "SPIEN", false},       {"ATTINY12", Low, 4, "RSTDISBL", false},
        {"ATTINY13", High, 3, "DWEN", false},       {"ATTINY13", High, 4, "SPMEN", true},
        {"ATTINY15", Low, 3, "----", false},        {"ATTINY2313", High, 5, "SPIEN", true},
        {"ATTINY2313", Ext, 0, "SELFPRGEN", true},  {"ATTINY26", Low, 7, "PLLCK", true},
        {"ATTINY85", High, 7, "RSTDISBL", false},   {"ATTINY85", High, 6, "DWEN", true},
        {"AT90S1200", Low, 0, "RCEN", true},        {"AT90S2313", Low, 0, "FSTRT", true},
        {"AT90S4433", Low, 4, "BODLEVEL", true},    {"ATMEGA603", Low, 3, "EESAVE", true},
        {"ATMEGA603", Low, 2, "----", false},       {"ATMEGA8515", High, 7, "S8515C", true},
        {"ATMEGA8535", High, 7, "S8535C", true},    {"ATMEGA161", Low, 6, "BOOTRST", true},
        {"ATMEGA162", Ext, 4, "M161C", true},       {"ATMEGA162", Ext, 0, "----", false},
        {"ATMEGA163", Low, 5, "----", false},       {"ATMEGA164", Ext, 0, "BODLEVL0", false},
        {"ATMEGA169", Ext, 0, "RESERVED", false},   {"ATMEGA8", High, 7, "RSTDISBL", false},
        {"ATMEGA8", High, 5, "----", false},        {"ATMEGA8", Lock, 5, "BLB12", true},
        {"ATMEGA32", High, 5, "----", false},       {"ATMEGA323", Low, 5, "----", false},
        {"ATMEGA128", Ext, 1, "M103C", true},       {"ATMEGA48", Lock, 2, "----", false},
        {"ATMEGA48", High, 5, "SPIEN", false},      {"ATMEGA168", Lock, 2, "BLB01", true},
        {"ATMEGA168", Ext, 0, "BOOTRST", true},     {"ATMEGA645", Ext, 0, "RSTDISBL", false},
        {"ATMEGA2560", Ext, 2, "BODLEVL2", true},
        {"AT90CAN128", Ext, 0, "TA0SEL", false},    {"ATMEGA328P", High, 0, "BOOTRST", true},
        {"ATMEGA328P", Ext, 2, "BODLEVEL2", true},  {"ATMEGA328P", High, 7, "RSTDISBL", false},
        {"ATMEGA328P", Ext, 3, "----", false},
    };
    for (const Slot& s : slots) {
        const FuseSlot& slot = FuseLayoutFor(s.device).bits[static_cast<size_t>(s.row)][static_cast<size_t>(s.bit)];
        EXPECT_EQ(slot.caption, s.caption) << s.device << " row " << s.row << " bit " << s.bit;
        EXPECT_EQ(slot.enabled, s.enabled) << s.device << " row " << s.row << " bit " << s.bit;
    }
}

TEST(FuseCatalogue, RulesThatHoldInEveryLayout)
{
    std::vector<const FuseLayout*> layouts = {&BaseFuseLayout()};
    for (const auto& [name, letter] : FuseCatalogueNames())
        layouts.push_back(&FuseLayoutFor(name));
    for (const FuseLayout* layout : layouts) {
        const auto& lock = layout->bits[kRowLock];
        EXPECT_EQ(lock[0].caption, "Lock1");
        EXPECT_EQ(lock[1].caption, "Lock2");
        EXPECT_TRUE(lock[0].enabled && lock[1].enabled);
        for (const auto& row : layout->bits)
            for (const FuseSlot& slot : row) {
                EXPECT_FALSE(slot.caption.empty());
                if (slot.caption == "----")
                    EXPECT_FALSE(slot.enabled) << layout->letter;
            }
    }
    // The base layout names nothing else.
    int named = 0;
    for (const auto& row : BaseFuseLayout().bits)
        for (const FuseSlot& slot : row)
            named += slot.caption != "----";
    EXPECT_EQ(named, 2);
}

TEST(FuseCatalogue, EveryCatalogueChipIsInTheShippedList)
{
    std::vector<ManufacturerEntry> list;
    ASSERT_TRUE(ReadDeviceNames(MORSK_DEVICE_LIST, list));
    const std::vector<std::string>& atmel = list[0].devices;
    for (const auto& [name, letter] : FuseCatalogueNames()) {
        if (name == "ATMEGA103")
            continue;  // listed, but disabled
        EXPECT_NE(std::find(atmel.begin(), atmel.end(), name), atmel.end()) << name;
    }
}

}  // namespace
}  // namespace morsk
