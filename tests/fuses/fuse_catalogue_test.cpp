#include <gtest/gtest.h>

#include <map>

#include "chip_profile.h"
#include "fuse_catalogue.h"

namespace morsk {
namespace {

TEST(FuseCatalogue, EveryNameHasItsLayout)
{
    // The catalogue's names, listed layout by layout.
    const std::map<char, std::vector<const char*>> expected = {
        {'A', {"ATTINY12"}}, {'B', {"ATTINY13"}}, {'C', {"ATTINY15"}}, {'D', {"ATTINY2313"}},
        {'E', {"ATTINY26"}}, {'F', {"ATTINY25", "ATTINY45", "ATTINY85"}},
        {'G', {"AT90S1200", "ATTINY22", "AT90S2343"}},
        {'H', {"AT90S8515", "AT90S2313", "AT90S2323", "AT90S4414", "AT90S4434", "AT90S8535"}},
        {'I', {"AT90S2333", "AT90S4433"}}, {'J', {"ATMEGA103", "ATMEGA603"}}, {'K', {"ATMEGA8515"}},
        {'L', {"ATMEGA8535"}}, {'M', {"ATMEGA161"}}, {'N', {"ATMEGA162"}}, {'O', {"ATMEGA163"}},
        {'P', {"ATMEGA164"}}, {'Q', {"ATMEGA165", "ATMEGA169"}}, {'R', {"ATMEGA8"}},
        {'S', {"ATMEGA16", "ATMEGA32"}}, {'T', {"ATMEGA323"}}, {'U', {"ATMEGA64", "ATMEGA128"}},
        {'V', {"ATMEGA48"}}, {'W', {"ATMEGA88", "ATMEGA168"}},
        {'X', {"ATMEGA325", "ATMEGA3250", "ATMEGA645", "ATMEGA6450"}},
        {'Y', {"ATMEGA640", "ATMEGA1280", "ATMEGA1281", "ATMEGA644", "ATMEGA2560", "ATMEGA2561"}},
        {'Z', {"AT90CAN128"}}, {'+', {"ATMEGA328P"}},
    };
    size_t names = 0;
    for (const auto& [letter, devices] : expected) {
        for (const char* name : devices) {
            EXPECT_EQ(FuseLayoutFor(name).letter, letter) << name;
            ++names;
        }
    }
    EXPECT_EQ(names, 50u);  // the 49 of the catalogue and ATMEGA328P
    EXPECT_EQ(FuseCatalogueNames().size(), 50u);

    // Exact names only: other spellings and other families get the base.
    for (const char* name : {"atmega8", "ATmega8", "ATMEGA8 ", "AT89S52", "NRF24LE1", ""})
        EXPECT_EQ(FuseLayoutFor(name).letter, 0) << name;
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
