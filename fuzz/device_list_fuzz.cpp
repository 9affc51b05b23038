// Device.csv is edited by hand: arbitrary bytes as a device list must load
// or fail without reading or writing past a line, a field or a name.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "chip_profile.h"

namespace {
class Quiet : public morsk::Notifier {
public:
    void ShowMessage(const std::string&, const std::string&, morsk::MessageIcon) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = "/tmp/morsk-fuzz-device-" + std::to_string(::getpid()) + ".csv";
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    Quiet quiet;
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
