// Device.csv is edited by hand: arbitrary bytes as a device list must load
// or fail without reading or writing past a line, a field or a name.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "chip_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = [] {
        std::atexit([] { std::remove(("/tmp/morsk-fuzz-device-" + std::to_string(::getpid()) + ".csv").c_str()); });
        return "/tmp/morsk-fuzz-device-" + std::to_string(::getpid()) + ".csv";
    }();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    morsk::Notifier& quiet = morsk::DefaultUi();
    for (int m = 0; m < 3; ++m) {
        for (int d = 0; d < 3; ++d) {
            morsk::ChipProfile profile;
            morsk::LoadChipProfile(profile, path, m, d, quiet);
        }
    }
    std::vector<morsk::ManufacturerEntry> names;
    morsk::ReadDeviceNames(path, names);
    return 0;
}
