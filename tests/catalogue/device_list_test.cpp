// The shipped device list: every entry loads and fits the buffer, and the
// chips users look for are there under their usual names.
#include <gtest/gtest.h>

#include <set>

#include "chip_profile.h"
#include "test_support.h"

namespace morsk {
namespace {

TEST(ShippedDeviceList, EveryEntryLoadsAndFits)
{
    std::vector<ManufacturerEntry> list;
    ASSERT_TRUE(ReadDeviceNames(MORSK_DEVICE_LIST, list));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].name, "ATMEL");
    EXPECT_EQ(list[1].name, "MICROCHIP");
    EXPECT_EQ(list[2].name, "NORDIC");
    test::RecordingUi ui;
    for (size_t m = 0; m < list.size(); ++m) {
        for (size_t d = 0; d < list[m].devices.size(); ++d) {
            ChipProfile p;
            ASSERT_EQ(LoadChipProfile(p, MORSK_DEVICE_LIST, static_cast<int>(m), static_cast<int>(d), ui), 1)
                << list[m].devices[d];
            EXPECT_EQ(list[m].devices[d], p.deviceName);
            EXPECT_GT(p.flashSize, 0u);
            EXPECT_LE(p.flashSize, kFlashCapacity);
            EXPECT_LE(p.eepromSize, kEepromCapacity);
            if (list[m].name == "ATMEL") {
                EXPECT_EQ(p.signature[0], 0x1E) << p.deviceName;
            }
        }
    }
    const std::set<std::string> atmel(list[0].devices.begin(), list[0].devices.end());
    for (const char* name : {"ATMEGA8", "ATMEGA16", "ATMEGA32", "ATMEGA48", "ATMEGA88", "ATMEGA168",
                             "ATMEGA64", "ATMEGA128", "ATMEGA162", "ATMEGA8515", "ATMEGA8535",
                             "ATMEGA640", "ATMEGA644", "ATMEGA1280", "ATMEGA1281", "ATMEGA2560",
                             "ATMEGA2561", "ATTINY13", "ATTINY2313", "ATTINY25", "ATTINY45",
                             "ATTINY85", "ATTINY26", "AT90S2313", "AT90S8515", "AT90CAN128",
                             "ATMEGA328P", "AT89S51", "AT89S52"})
        EXPECT_TRUE(atmel.count(name)) << name;
    EXPECT_FALSE(atmel.count("ATMEGA103"));  // the disabled example line
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace morsk
