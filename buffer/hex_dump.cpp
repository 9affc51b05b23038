#include "hex_dump.h"

#include "text_util.h"

namespace morsk {

std::string FormatHexDump(std::span<const uint8_t> bytes)
{
    constexpr size_t kPerLine = 16;
    std::string text;
    text.reserve(bytes.size() / kPerLine * 80 + 80);
    for (size_t at = 0; at < bytes.size(); at += kPerLine) {
        const size_t n = std::min(kPerLine, bytes.size() - at);
        text += Format("%08zX ", at);
        std::string chars;
        for (size_t i = 0; i < kPerLine; ++i) {
            if (i < n) {
                text += Format(" %02X", bytes[at + i]);
                const uint8_t b = bytes[at + i];
                chars += b >= 0x20 && b <= 0x7E ? static_cast<char>(b) : '.';
            } else {
                text += "   ";
            }
        }
        text += "  |" + chars + "|\n";
    }
    return text;
}

}  // namespace morsk
