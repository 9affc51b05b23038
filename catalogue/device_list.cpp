#include "device_list.h"

#include <cctype>
#include <cstring>

#include "text_util.h"

namespace morsk {
namespace {

// The field parse addresses positions 0..127 of a line. What lies beyond
// position 127 is not part of any field: a longer line keeps its first 128
// characters, and the flag test still looks at the real end of the line.
constexpr size_t kFieldPositions = 128;
constexpr size_t kFieldChars = 19;

}  // namespace

uint32_t ParseCNumber(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i < text.size() && text[i] == '0') {
        if (i + 2 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            base = 16;
            i += 2;
        } else {
            base = 8;
        }
    }
    uint64_t value = 0;
    bool overflow = false;
    for (; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        unsigned digit;
        if (std::isdigit(c))
            digit = c - '0';
        else if (std::isalpha(c))
            digit = static_cast<unsigned>(std::tolower(c) - 'a' + 10);
        else
            break;
        if (digit >= base)
            break;
        value = value * base + digit;
        if (value > 0xFFFFFFFFull) {
            overflow = true;
            value = 0xFFFFFFFFull;
        }
    }
    if (overflow)
        return 0xFFFFFFFFu;
    const uint32_t v = static_cast<uint32_t>(value);
    return negative ? static_cast<uint32_t>(0u - v) : v;
}

bool IsEnabledLine(const std::string& piece)
{
    // The character before the line break; for a piece without one (the
    // last line of the file, or a cut long line) the next-to-last character.
    if (piece.size() < 2)
        return false;
    const char flag = piece[piece.size() - 2];
    return flag == 'Y' || flag == 'y';
}

bool IsHeaderLine(const std::string& piece)
{
    return !piece.empty() && piece[0] == ':';
}

std::vector<std::string> SplitFields(const std::string& piece, int count)
{
    // The last character of the piece is the line break (or stands where it
    // would), so it never belongs to a field.
    const size_t end = std::min(piece.empty() ? 0 : piece.size() - 1, kFieldPositions);
    std::vector<std::string> fields(static_cast<size_t>(count));
    size_t pos = 0;
    for (int f = 0; f < count && pos < end; ++f) {
        std::string& field = fields[static_cast<size_t>(f)];
        while (pos < end) {
            const char c = piece[pos++];
            if (c == ';')
                break;
            if (c == ':')
                continue;
            // Characters past the 19th of a field are skipped up to its ';'.
            if (field.size() < kFieldChars)
                field.push_back(c);
        }
    }
    return fields;
}

bool ReadDeviceNames(const std::string& path, std::vector<ManufacturerEntry>& out)
{
    out.clear();
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    LineReader reader(file.get(), kDeviceLineChars);
    std::string line;
    ManufacturerEntry* current = nullptr;
    while (reader.Next(line)) {
        if (IsHeaderLine(line)) {
            current = nullptr;
            if (IsEnabledLine(line)) {
                out.push_back({SplitFields(line, 1)[0], {}});
                current = &out.back();
            }
        } else if (current && IsEnabledLine(line)) {
            current->devices.push_back(SplitFields(line, 1)[0]);
        }
    }
    return true;
}

bool FindDevice(const std::vector<ManufacturerEntry>& list, const std::string& manufacturer,
                const std::string& device, int& manufIndex, int& deviceIndex)
{
    for (size_t m = 0; m < list.size(); ++m) {
        if (!manufacturer.empty() && list[m].name != manufacturer)
            continue;
        for (size_t d = 0; d < list[m].devices.size(); ++d) {
            if (list[m].devices[d] == device) {
                manufIndex = static_cast<int>(m);
                deviceIndex = static_cast<int>(d);
                return true;
            }
        }
        if (!manufacturer.empty())
            return false;
    }
    return false;
}

}  // namespace morsk
