// Feeds arbitrary bytes to the Intel HEX reader, once as a whole file and
// once as a single record, into images of both capacities. Any read or
// write past a line or an image trips the sanitizers. The images are made
// once: what they hold does not matter to the reader.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "chip_profile.h"
#include "program_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::vector<uint8_t> flash(morsk::kFlashCapacity, 0xFF);
    static std::vector<uint8_t> eeprom(morsk::kEepromCapacity, 0xFF);
    morsk::Notifier& quiet = morsk::DefaultUi();
    for (std::vector<uint8_t>* image : {&flash, &eeprom}) {
        const uint32_t capacity = static_cast<uint32_t>(image->size());
        if (std::FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb")) {
            morsk::ReadHexStream(f, image->data(), capacity, quiet);
            std::fclose(f);
        }
        morsk::HexReadState state;
        morsk::ParseHexRecord(std::string(reinterpret_cast<const char*>(data), size), image->data(), capacity,
                              state, quiet);
    }
    return 0;
}
