// Feeds arbitrary bytes to the Intel HEX reader, once as a whole file and
// once as a single record, into images of both capacities. Any read or
// write past a line or an image trips the sanitizers.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "chip_profile.h"
#include "program_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    morsk::Notifier& quiet = morsk::DefaultUi();
    for (uint32_t capacity : {morsk::kFlashCapacity, morsk::kEepromCapacity}) {
        std::vector<uint8_t> image(capacity, 0xFF);
        std::FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb");
        if (f) {
            morsk::ReadHexStream(f, image.data(), capacity, quiet);
            std::fclose(f);
        }
        morsk::HexReadState state;
        morsk::ParseHexRecord(std::string(reinterpret_cast<const char*>(data), size), image.data(), capacity,
                              state, quiet);
    }
    return 0;
}
