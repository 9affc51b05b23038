#include "hex_edit_clipboard.h"

#include <algorithm>

namespace morsk::hexedit {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
constexpr size_t kCountBytes = 4;

}  // namespace

std::string HexDumpText(std::span<const uint8_t> data, uint32_t begin, uint32_t end, uint32_t bytesPerRow)
{
    const uint64_t n = bytesPerRow;
    uint64_t column = static_cast<uint64_t>(end) - begin > n ? begin % n : 0;
    std::string text(3 * column, ' ');
    bool lineStart = true;
    for (uint64_t i = begin; i <= end; ++i) {
        if (!lineStart)
            text += ' ';
        lineStart = false;
        text += kDigits[data[i] >> 4];
        text += kDigits[data[i] & 0x0F];
        if (++column == n || i == end) {
            text += '\n';
            column = 0;
            lineStart = true;
        }
    }
    return text;
}

std::vector<uint8_t> EncodeBinaryData(std::span<const uint8_t> bytes)
{
    const auto count = static_cast<uint32_t>(bytes.size());
    std::vector<uint8_t> block = {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8),
                                  static_cast<uint8_t>(count >> 16), static_cast<uint8_t>(count >> 24)};
    block.insert(block.end(), bytes.begin(), bytes.end());
    return block;
}

std::span<const uint8_t> DecodeBinaryData(std::span<const uint8_t> block)
{
    if (block.size() < kCountBytes)
        return {};
    const uint64_t counted = static_cast<uint64_t>(block[0]) | static_cast<uint64_t>(block[1]) << 8 |
                             static_cast<uint64_t>(block[2]) << 16 | static_cast<uint64_t>(block[3]) << 24;
    const uint64_t n = std::min<uint64_t>(counted, block.size() - kCountBytes);
    return block.subspan(kCountBytes, static_cast<size_t>(n));
}

}  // namespace morsk::hexedit
