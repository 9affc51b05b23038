#include "intel_hex_reader.h"

#include "text_util.h"

namespace morsk {
namespace {

// Two hexadecimal digits at pos; -1 when either is missing or no digit.
int HexByte(std::string_view s, size_t pos)
{
    if (pos + 1 >= s.size())
        return -1;
    const int hi = HexDigitValue(s[pos]);
    const int lo = HexDigitValue(s[pos + 1]);
    return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

enum class Step { Continue, End, Fault };

struct Reader {
    uint64_t base = 0;
    HexReport report;
    const HexDataHandler& onData;

    Step Fail(HexFault fault, int line, std::string detail)
    {
        report.fault = fault;
        report.line = line;
        report.detail = std::move(detail);
        return Step::Fault;
    }

    Step Record(std::string_view line, int number)
    {
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            return Fail(HexFault::NoColon, number, line.empty() ? "empty line" : "no record (no ':')");
        const size_t p = colon + 1;
        const int count = HexByte(line, p);
        const int addrHigh = HexByte(line, p + 2);
        const int addrLow = HexByte(line, p + 4);
        const int type = HexByte(line, p + 6);
        if (count < 0 || addrHigh < 0 || addrLow < 0 || type < 0)
            return Fail(HexFault::Malformed, number, "malformed record header");
        uint8_t data[255];
        unsigned sum = static_cast<unsigned>(count + addrHigh + addrLow + type);
        for (int i = 0; i < count; ++i) {
            const int b = HexByte(line, p + 8 + 2 * static_cast<size_t>(i));
            if (b < 0)
                return Fail(HexFault::Malformed, number, Format("record cut short or not hexadecimal (%d data bytes announced)", count));
            data[i] = static_cast<uint8_t>(b);
            sum += static_cast<unsigned>(b);
        }
        const int check = HexByte(line, p + 8 + 2 * static_cast<size_t>(count));
        if (check < 0)
            return Fail(HexFault::Malformed, number, "record checksum missing");
        const unsigned expected = (0u - sum) & 0xFF;
        if (expected != static_cast<unsigned>(check))
            return Fail(HexFault::Checksum, number, Format("checksum %02X, the record's bytes give %02X", check, expected));

        switch (type) {
        case 0:
            if (count > 0) {
                report.sawData = true;
                onData(base + static_cast<uint64_t>(addrHigh * 256 + addrLow),
                       std::span<const uint8_t>(data, static_cast<size_t>(count)));
            }
            break;
        case 1:
            return Step::End;
        case 2:
        case 4:
            if (count != 2)
                return Fail(HexFault::Malformed, number, "an address record needs two data bytes");
            base = type == 2 ? (static_cast<uint64_t>(data[0]) * 256 + data[1]) * 16
                             : (static_cast<uint64_t>(data[0]) << 24) | (static_cast<uint64_t>(data[1]) << 16);
            break;
        default:
            break;  // start addresses (3, 5) and unknown types change nothing
        }
        return Step::Continue;
    }
};

}  // namespace

HexReport ReadIntelHex(std::string_view text, const HexDataHandler& onData)
{
    Reader reader{0, {}, onData};
    int number = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ++number;
        switch (reader.Record(line, number)) {
        case Step::Continue:
            break;
        case Step::End:
            return reader.report;
        case Step::Fault:
            return reader.report;
        }
        start = next;
    }
    reader.report.fault = HexFault::NoEnd;
    reader.report.detail = "no end-of-file record: the file may be cut off";
    return reader.report;
}

}  // namespace morsk
