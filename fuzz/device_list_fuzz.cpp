// Device.csv is edited by hand: arbitrary bytes as a device list must load
// or fail without reading or writing past a line, a field or a name, for
// indexes inside and past the list, and a chip must be found by name.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "chip_profile.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = [] {
        std::atexit([] { std::remove(morsk::fuzz::ScratchPath(".csv").c_str()); });
        return morsk::fuzz::ScratchPath(".csv");
    }();
    if (!morsk::fuzz::WriteScratch(path, data, size))
        return 0;
    morsk::Notifier& quiet = morsk::DefaultUi();
    // Inside the list, and past its manufacturers and devices.
    for (const auto& [m, d] : {std::pair{0, 0}, {1, 2}, {3, 0}, {2, 300}, {200, 1}}) {
        morsk::ChipProfile profile;
        morsk::LoadChipProfile(profile, path, m, d, quiet);
    }
    std::vector<morsk::ManufacturerEntry> names;
    if (morsk::ReadDeviceNames(path, names)) {
        int m = 0, d = 0;
        for (const morsk::ManufacturerEntry& entry : names)
            for (const std::string& device : entry.devices)
                morsk::FindDevice(names, entry.name, device, m, d);
        morsk::FindDevice(names, "", "ATMEGA8", m, d);
    }
    return 0;
}
