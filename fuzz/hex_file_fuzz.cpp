// Feeds arbitrary bytes to the Intel HEX reader as a whole file, storing
// what it hands over into an image of the largest capacity wherever the
// address fits. Any read past a line or write past the image trips the
// sanitizers.
#include <cstdint>
#include <string_view>
#include <vector>

#include "chip_profile.h"
#include "intel_hex_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::vector<uint8_t> flash(morsk::kFlashCapacity, 0xFF);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    morsk::ReadIntelHex(text, [](uint64_t address, std::span<const uint8_t> bytes) {
        for (size_t i = 0; i < bytes.size(); ++i)
            if (address + i < flash.size())
                flash[address + i] = bytes[i];
    });
    return 0;
}
