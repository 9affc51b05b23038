#include "hex_writer.h"

#include <algorithm>

#include "byte_util.h"
#include "text_util.h"

namespace morsk {
namespace {

std::string Record(uint8_t type, uint16_t address, const uint8_t* data, uint8_t count)
{
    unsigned sum = count + (address >> 8) + (address & 0xFF) + type;
    std::string line = Format(":%02X%04X%02X", count, address, type);
    for (uint8_t i = 0; i < count; ++i) {
        line += Format("%02X", data[i]);
        sum += data[i];
    }
    return line + Format("%02X\n", (0u - sum) & 0xFF);
}

}  // namespace

std::string FormatIntelHex(std::span<const HexSection> sections)
{
    std::string out;
    uint32_t segment = 0;
    for (const HexSection& section : sections) {
        const auto length = static_cast<uint32_t>(section.bytes.size());
        for (uint32_t offset = 0; offset < length; offset += 16) {
            const uint8_t count = static_cast<uint8_t>(std::min<uint32_t>(16, length - offset));
            const uint8_t* data = section.bytes.data() + offset;
            if (!section.keepErased && AllErased({data, count}))
                continue;
            // A record never crosses a 64 KiB boundary: the sections start
            // on one and records are 16 bytes.
            const uint32_t address = section.base + offset;
            if ((address >> 16) != segment) {
                segment = address >> 16;
                const uint8_t upper[2] = {static_cast<uint8_t>(segment >> 8), static_cast<uint8_t>(segment)};
                out += Record(4, 0, upper, 2);
            }
            out += Record(0, static_cast<uint16_t>(address & 0xFFFF), data, count);
        }
    }
    return out + ":00000001FF\n";
}

std::string FormatIntelHex(const uint8_t* data, uint32_t length)
{
    const HexSection whole[] = {{0, {data, length}, false}};
    return FormatIntelHex(whole);
}

}  // namespace morsk
