// The --sim-state file of the virtual programmer can be edited or cut
// short: loading any bytes must fail cleanly or give a chip of the right
// sizes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_file.h"
#include "virtual_chip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = [] {
        std::atexit([] { std::remove(morsk::fuzz::ScratchPath(".state").c_str()); });
        return morsk::fuzz::ScratchPath(".state");
    }();
    static const morsk::VirtualChip pristine = [] {
        morsk::ChipProfile p;
        std::snprintf(p.deviceName, sizeof p.deviceName, "ATMEGA8");
        p.flashSize = 8192;
        p.eepromSize = 512;
        return morsk::VirtualChip::FromProfile(p);
    }();
    if (!morsk::fuzz::WriteScratch(path, data, size))
        return 0;
    morsk::VirtualChip chip = pristine;
    if (chip.Load(path) && (chip.flash.size() != 8192 || chip.eeprom.size() != 512))
        std::abort();
    return 0;
}
