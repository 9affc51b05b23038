#include "serial_number.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sstream>

#include "ini_file.h"
#include "text_util.h"

namespace morsk {
namespace {

struct FormatName {
    SerialFormat format;
    const char* name;
};
constexpr FormatName kFormats[] = {
    {SerialFormat::BinLe, "bin-le"},
    {SerialFormat::BinBe, "bin-be"},
    {SerialFormat::AsciiDec, "ascii-dec"},
    {SerialFormat::AsciiHex, "ascii-hex"},
};

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<uint64_t> ParseList(const std::string& text)
{
    std::vector<uint64_t> out;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ',')) {
        uint64_t n;
        if (ParseSerialNumber(Trim(item), n))
            out.push_back(n);
    }
    return out;
}

std::string JoinList(const std::vector<uint64_t>& numbers)
{
    std::string out;
    for (uint64_t n : numbers)
        out += (out.empty() ? "" : ",") + std::to_string(n);
    return out;
}

// An exclusive lock on a file beside setup.ini, for one read-and-write of
// the counter.
class CounterLock {
public:
    explicit CounterLock(const std::string& settingsFile)
    {
        const std::string path = settingsFile + ".lock";
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0) {
            error_ = "cannot open " + path + ": " + std::strerror(errno);
            return;
        }
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno == EINTR)
                continue;
            error_ = "cannot lock " + path + ": " + std::strerror(errno);
            ::close(fd_);
            fd_ = -1;
            return;
        }
    }
    ~CounterLock()
    {
        if (fd_ >= 0)
            ::close(fd_);  // releases the lock
    }
    bool held() const { return fd_ >= 0; }
    const std::string& error() const { return error_; }

private:
    int fd_ = -1;
    std::string error_;
};

}  // namespace

bool ParseSerialNumber(const std::string& text, uint64_t& out)
{
    if (text.empty())
        return false;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.size() > (hex ? 16u : 20u))
        return false;
    uint64_t value = 0;
    for (char c : digits) {
        const int d = hex ? HexDigitValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (d < 0)
            return false;
        const uint64_t base = hex ? 16 : 10;
        if (value > (UINT64_MAX - static_cast<uint64_t>(d)) / base)
            return false;
        value = value * base + static_cast<uint64_t>(d);
    }
    out = value;
    return true;
}

const char* SerialFormatName(SerialFormat format)
{
    for (const FormatName& f : kFormats)
        if (f.format == format)
            return f.name;
    return "bin-le";
}

std::optional<SerialFormat> ParseSerialFormat(const std::string& name)
{
    for (const FormatName& f : kFormats)
        if (name == f.name)
            return f.format;
    return std::nullopt;
}

bool ReadSerialConfig(const std::string& settingsFile, SerialConfig& config, std::string& error)
{
    const IniFile ini(settingsFile);
    SerialConfig c;
    const auto read = [&](const char* key) { return ini.ReadString(kSerialSection, key); };
    c.enabled = read("Enabled").value_or("0") == "1";
    const std::string memory = read("Memory").value_or("FLASH");
    if (memory == "FLASH" || memory == "EEPROM") {
        c.memory = memory == "FLASH" ? MemoryKind::Flash : MemoryKind::Eeprom;
    } else {
        error = "[SERIAL] Memory=" + memory + ": FLASH or EEPROM";
        return false;
    }
    uint64_t n = 0;
    if (!ParseSerialNumber(read("Address").value_or("0"), n) || n > UINT32_MAX) {
        error = "[SERIAL] Address=" + read("Address").value_or("") + ": not an address";
        return false;
    }
    c.address = static_cast<uint32_t>(n);
    if (!ParseSerialNumber(read("Size").value_or("4"), n) || n < 1 || n > 8) {
        error = "[SERIAL] Size=" + read("Size").value_or("") + ": 1 to 8 bytes";
        return false;
    }
    c.size = static_cast<int>(n);
    const std::string format = read("Format").value_or("bin-le");
    const std::optional<SerialFormat> f = ParseSerialFormat(format);
    if (!f) {
        error = "[SERIAL] Format=" + format + ": bin-le, bin-be, ascii-dec or ascii-hex";
        return false;
    }
    c.format = *f;
    if (!ParseSerialNumber(read("Next").value_or("1"), c.next)) {
        error = "[SERIAL] Next=" + read("Next").value_or("") + ": not a number";
        return false;
    }
    if (!ParseSerialNumber(read("Step").value_or("1"), c.step) || c.step == 0) {
        error = "[SERIAL] Step=" + read("Step").value_or("") + ": a number from 1";
        return false;
    }
    config = c;
    return true;
}

bool SaveSerialConfig(const std::string& settingsFile, const SerialConfig& c)
{
    const IniFile ini(settingsFile);
    CounterLock lock(settingsFile);  // Next is the counter's too
    bool ok = lock.held();
    ok = ini.WriteString(kSerialSection, "Enabled", c.enabled ? "1" : "0") && ok;
    ok = ini.WriteString(kSerialSection, "Memory", c.memory == MemoryKind::Flash ? "FLASH" : "EEPROM") && ok;
    ok = ini.WriteString(kSerialSection, "Address", Format("0x%X", c.address)) && ok;
    ok = ini.WriteString(kSerialSection, "Size", std::to_string(c.size)) && ok;
    ok = ini.WriteString(kSerialSection, "Format", SerialFormatName(c.format)) && ok;
    ok = ini.WriteString(kSerialSection, "Next", std::to_string(c.next)) && ok;
    ok = ini.WriteString(kSerialSection, "Step", std::to_string(c.step)) && ok;
    // A new start leaves no numbers given back from before.
    ok = ini.WriteString(kSerialSection, "Returned", "") && ok;
    return ok;
}

bool CheckSerialFits(const SerialConfig& c, const ChipProfile& profile, uint64_t number, std::string& error)
{
    const bool flash = c.memory == MemoryKind::Flash;
    const uint64_t memorySize = flash ? profile.flashSize : profile.eepromSize;
    if (static_cast<uint64_t>(c.address) + static_cast<uint64_t>(c.size) > memorySize) {
        error = Format("序列号地址 0x%X (%d 字节) 超出了器件 %s 的%s (%llu 字节)!", c.address, c.size,
                       profile.deviceName, flash ? "FLASH" : "EEPROM", static_cast<unsigned long long>(memorySize));
        return false;
    }
    bool fits = true;
    switch (c.format) {
    case SerialFormat::BinLe:
    case SerialFormat::BinBe:
        fits = c.size == 8 || number < (uint64_t{1} << (8 * c.size));
        break;
    case SerialFormat::AsciiDec:
        fits = std::to_string(number).size() <= static_cast<size_t>(c.size);
        break;
    case SerialFormat::AsciiHex:
        fits = Format("%llX", static_cast<unsigned long long>(number)).size() <= static_cast<size_t>(c.size);
        break;
    }
    if (!fits) {
        error = Format("序列号 %llu 超出了 %d 字节 %s 的范围!", static_cast<unsigned long long>(number), c.size,
                       SerialFormatName(c.format));
        return false;
    }
    return true;
}

std::vector<uint8_t> EncodeSerial(const SerialConfig& c, uint64_t number)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(c.size));
    const size_t n = bytes.size();
    switch (c.format) {
    case SerialFormat::BinLe:
        for (size_t i = 0; i < n; ++i)
            bytes[i] = static_cast<uint8_t>(number >> (8 * i));
        break;
    case SerialFormat::BinBe:
        for (size_t i = 0; i < n; ++i)
            bytes[n - 1 - i] = static_cast<uint8_t>(number >> (8 * i));
        break;
    case SerialFormat::AsciiDec:
    case SerialFormat::AsciiHex: {
        const unsigned base = c.format == SerialFormat::AsciiDec ? 10 : 16;
        uint64_t v = number;
        for (size_t i = 0; i < n; ++i) {
            bytes[n - 1 - i] = static_cast<uint8_t>("0123456789ABCDEF"[v % base]);
            v /= base;
        }
        break;
    }
    }
    return bytes;
}

bool SerialCounter::Reserve(const SerialConfig& config, uint64_t& number, std::string& error)
{
    CounterLock lock(settingsFile_);
    if (!lock.held()) {
        error = lock.error();
        return false;
    }
    const IniFile ini(settingsFile_);
    std::vector<uint64_t> returned = ParseList(ini.ReadString(kSerialSection, "Returned").value_or(""));
    if (!returned.empty()) {
        const auto lowest = std::min_element(returned.begin(), returned.end());
        number = *lowest;
        returned.erase(lowest);
        if (!ini.WriteString(kSerialSection, "Returned", JoinList(returned))) {
            error = "cannot write " + settingsFile_;
            return false;
        }
        return true;
    }
    uint64_t next = config.next;
    const std::optional<std::string> stored = ini.ReadString(kSerialSection, "Next");
    if (stored && !ParseSerialNumber(*stored, next)) {
        error = "[SERIAL] Next=" + *stored + ": not a number";
        return false;
    }
    if (next > UINT64_MAX - config.step) {
        error = "[SERIAL] Next: no numbers left";
        return false;
    }
    if (!ini.WriteString(kSerialSection, "Next", std::to_string(next + config.step))) {
        error = "cannot write " + settingsFile_;
        return false;
    }
    number = next;
    return true;
}

bool SerialCounter::GiveBack(const SerialConfig& config, uint64_t number, std::string& error)
{
    CounterLock lock(settingsFile_);
    if (!lock.held()) {
        error = lock.error();
        return false;
    }
    const IniFile ini(settingsFile_);
    uint64_t next = 0;
    const bool lastOne = ParseSerialNumber(ini.ReadString(kSerialSection, "Next").value_or(""), next) &&
                         next >= config.step && next - config.step == number;
    bool ok;
    if (lastOne) {
        ok = ini.WriteString(kSerialSection, "Next", std::to_string(number));
    } else {
        std::vector<uint64_t> returned = ParseList(ini.ReadString(kSerialSection, "Returned").value_or(""));
        if (std::find(returned.begin(), returned.end(), number) == returned.end())
            returned.push_back(number);
        std::sort(returned.begin(), returned.end());
        ok = ini.WriteString(kSerialSection, "Returned", JoinList(returned));
    }
    if (!ok)
        error = "cannot write " + settingsFile_;
    return ok;
}

}  // namespace morsk
