#include "program_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "chip_profile.h"
#include "hex_writer.h"
#include "text_util.h"

namespace morsk {
namespace {

constexpr size_t kHexLineChars = 79;

// Two hexadecimal digits at pos; -1 when either is missing or no digit.
int HexByte(const std::string& s, size_t pos)
{
    if (pos + 1 >= s.size())
        return -1;
    const int hi = HexDigitValue(s[pos]);
    const int lo = HexDigitValue(s[pos + 1]);
    return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

void ShowPlain(Notifier& notifier, const std::string& text)
{
    notifier.ShowMessage(text, "", MessageIcon::None);
}

}  // namespace

std::string OutsideBufferMessage(uint32_t capacity)
{
    return Format("Hexfile data beyond the %u-byte buffer was not loaded", capacity);
}

std::string BinTooLongMessage(uint32_t capacity)
{
    return Format("File longer than %u bytes: only the first %u bytes were loaded", capacity, capacity);
}

HexStep ParseHexRecord(const std::string& line, uint8_t* target, uint32_t capacity,
                       HexReadState& state, Notifier& notifier)
{
    const size_t colon = line.find(':');
    if (colon == std::string::npos) {
        ShowPlain(notifier, "Error reading Hexfile");
        return HexStep::Stop;
    }
    const size_t p = colon + 1;
    const int count = HexByte(line, p);
    const int addrHigh = HexByte(line, p + 2);
    const int addrLow = HexByte(line, p + 4);
    const int type = HexByte(line, p + 6);
    if (count < 0 || addrHigh < 0 || addrLow < 0 || type < 0) {
        ShowPlain(notifier, kHexMalformed);
        return HexStep::Stop;
    }
    uint8_t data[256];
    unsigned sum = static_cast<unsigned>(count + addrHigh + addrLow + type);
    for (int i = 0; i < count; ++i) {
        const int b = HexByte(line, p + 8 + 2 * static_cast<size_t>(i));
        if (b < 0) {
            ShowPlain(notifier, kHexMalformed);
            return HexStep::Stop;
        }
        data[i] = static_cast<uint8_t>(b);
        sum += static_cast<unsigned>(b);
    }
    const int check = HexByte(line, p + 8 + 2 * static_cast<size_t>(count));
    if (check < 0) {
        ShowPlain(notifier, kHexMalformed);
        return HexStep::Stop;
    }
    if (((0u - sum) & 0xFF) != static_cast<unsigned>(check)) {
        ShowPlain(notifier, "Checksum Error reading Hexfile");
        return HexStep::Stop;
    }

    switch (type) {
    case 0: {
        const uint64_t address = state.base + static_cast<uint64_t>(addrHigh * 256 + addrLow);
        for (int i = 0; i < count; ++i) {
            if (address + static_cast<uint64_t>(i) < capacity)
                target[address + static_cast<uint64_t>(i)] = data[i];
            else
                state.droppedOutside = true;
        }
        break;
    }
    case 2:
    case 4:
        if (count < 2) {  // the base needs two data bytes
            ShowPlain(notifier, kHexMalformed);
            return HexStep::Stop;
        }
        // A non-zero upper byte of a linear address points past 16 MiB, far
        // outside any image; it is kept so that such data is dropped.
        state.base = type == 2 ? (static_cast<uint64_t>(data[0]) * 256 + data[1]) * 16
                               : (static_cast<uint64_t>(data[0]) << 24) | (static_cast<uint64_t>(data[1]) << 16);
        break;
    default:
        break;  // end of file and the others change nothing
    }
    return HexStep::Continue;
}

bool ReadHexStream(std::FILE* file, uint8_t* target, uint32_t capacity, Notifier& notifier)
{
    HexReadState state;
    LineReader reader(file, kHexLineChars);
    std::string line;
    bool ok = true;
    while (reader.Next(line)) {
        if (ParseHexRecord(line, target, capacity, state, notifier) == HexStep::Stop) {
            ok = false;
            break;
        }
    }
    if (state.droppedOutside) {
        ShowPlain(notifier, OutsideBufferMessage(capacity));
        ok = false;
    }
    return ok;
}

bool ReadHexFile(const std::string& path, uint8_t* target, uint32_t capacity, Notifier& notifier)
{
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        ShowPlain(notifier, "文件打开错误 !!!");
        return false;
    }
    return ReadHexStream(file.get(), target, capacity, notifier);
}

ProgramFileKind ProgramFileKindOf(const std::string& path)
{
    const std::string ext = UpperExtension(path);
    if (ext == "BIN")
        return ProgramFileKind::Bin;
    if (ext == "HEX")
        return ProgramFileKind::Hex;
    if (ext == "EEP")
        return ProgramFileKind::Eep;
    return ProgramFileKind::Unknown;
}

SaveResult SaveProgramFile(const std::string& path, const DataBuffer& buffer, const ChipProfile& profile)
{
    const uint8_t* flash = buffer.flash.data();
    const uint8_t* eeprom = buffer.eeprom.data();
    bool written = false;
    switch (ProgramFileKindOf(path)) {
    case ProgramFileKind::Bin:
        written = WriteFileAtomically(path, flash, UsedFlash(profile));
        break;
    case ProgramFileKind::Hex: {
        const std::string text = FormatIntelHex(flash, UsedFlash(profile));
        written = WriteFileAtomically(path, text.data(), text.size());
        break;
    }
    case ProgramFileKind::Eep: {
        const std::string text = FormatIntelHex(eeprom, UsedEeprom(profile));
        written = WriteFileAtomically(path, text.data(), text.size());
        break;
    }
    case ProgramFileKind::Unknown:
        return SaveResult::UnknownFormat;
    }
    return written ? SaveResult::Saved : SaveResult::CannotWrite;
}

LoadResult LoadProgramFile(const std::string& path, ProgramFileState& file, DataBuffer& buffer,
                           const ChipProfile& profile, Notifier& notifier, StatusSink& status)
{
    file.fileName = FileNameOf(path);
    file.extension = UpperExtension(path);
    file.fullPath = path;
    file.shownPath = path;

    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f)
        return LoadResult::CannotOpen;

    LoadResult result = LoadResult::Loaded;
    const ProgramFileKind kind = ProgramFileKindOf(path);
    if (kind == ProgramFileKind::Bin) {
        ClearImages(buffer, profile, ClearSelector::Flash);
        const size_t got = std::fread(buffer.flash.data(), 1, kFlashCapacity, f.get());
        if (got == kFlashCapacity && std::fgetc(f.get()) != EOF) {
            ShowPlain(notifier, BinTooLongMessage(kFlashCapacity));
            result = LoadResult::LoadedWithError;
        }
        f.reset();
    } else if (kind == ProgramFileKind::Hex) {
        f.reset();
        ClearImages(buffer, profile, ClearSelector::Flash);
        if (!ReadHexFile(path, buffer.flash.data(), kFlashCapacity, notifier))
            result = LoadResult::LoadedWithError;
    } else if (kind == ProgramFileKind::Eep) {
        f.reset();
        ClearImages(buffer, profile, ClearSelector::Eeprom);
        if (!ReadHexFile(path, buffer.eeprom.data(), kEepromCapacity, notifier))
            result = LoadResult::LoadedWithError;
    } else {
        f.reset();
        result = LoadResult::UnknownFormat;
    }
    ComposeView(buffer, profile);
    UpdateChecksum(buffer, profile, file.shownPath, status);
    return result;
}

}  // namespace morsk
