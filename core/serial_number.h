// Serial numbers for production: a number patched into every programmed
// chip at a fixed address, from a counter in setup.ini ([SERIAL]) that
// several processes share under a file lock, so that no number is ever
// written into two chips and a failed run gives its number back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "chip_profile.h"
#include "programmer_link.h"

namespace morsk {

enum class SerialFormat { BinLe, BinBe, AsciiDec, AsciiHex };

struct SerialConfig {
    bool enabled = false;
    MemoryKind memory = MemoryKind::Flash;
    uint32_t address = 0;
    int size = 4;  // bytes, 1 to 8
    SerialFormat format = SerialFormat::BinLe;
    uint64_t next = 1;
    uint64_t step = 1;
};

inline constexpr char kSerialSection[] = "SERIAL";

// "bin-le", "bin-be", "ascii-dec", "ascii-hex".
const char* SerialFormatName(SerialFormat format);
std::optional<SerialFormat> ParseSerialFormat(const std::string& name);

// Decimal, or hexadecimal after 0x, as [SERIAL] and its dialog take
// numbers; false for anything else (a sign, blanks, too many digits).
bool ParseSerialNumber(const std::string& text, uint64_t& out);

// Reads [SERIAL]; a missing section is a disabled one. False, with the
// reason, for a value that cannot be used (an unknown format, a size out
// of 1..8, an address that is no number).
bool ReadSerialConfig(const std::string& settingsFile, SerialConfig& config, std::string& error);
// Writes every key of [SERIAL] (the other sections stay as they are).
bool SaveSerialConfig(const std::string& settingsFile, const SerialConfig& config);

// Whether the number fits the chip: the address range inside the memory,
// and `number` representable in the format and size. The reason otherwise.
bool CheckSerialFits(const SerialConfig& config, const ChipProfile& profile, uint64_t number, std::string& error);

// The bytes written for `number`.
std::vector<uint8_t> EncodeSerial(const SerialConfig& config, uint64_t number);

// The shared counter. Reserve takes the lowest number given back, else
// Next (and advances Next by Step); GiveBack returns a number that did not
// end up in a chip: Next steps back when it was the last one handed out,
// otherwise the number waits under Returned= for the next run. Both hold
// an exclusive lock on "setup.ini.lock" beside the file while they read
// and write, so parallel processes never get the same number.
class SerialCounter {
public:
    explicit SerialCounter(std::string settingsFile) : settingsFile_(std::move(settingsFile)) {}
    bool Reserve(const SerialConfig& config, uint64_t& number, std::string& error);
    bool GiveBack(const SerialConfig& config, uint64_t number, std::string& error);

private:
    std::string settingsFile_;
};

// "序列号: 42".
inline constexpr char kSerialLine[] = "序列号: ";

}  // namespace morsk
