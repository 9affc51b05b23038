#include "program_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "byte_util.h"
#include "chip_profile.h"
#include "intel_hex_reader.h"
#include "text_util.h"

namespace morsk {
namespace {

// Far beyond any HEX file of the largest chip; a larger file is not ours.
constexpr long long kMaxFileBytes = 64ll << 20;

std::string Message(const char* lead, const std::string& path, const std::string& reason)
{
    return std::string(lead) + ": " + path + ": " + reason;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        reason = std::strerror(errno);
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        reason = std::strerror(EISDIR);
        return false;
    }
    FilePtr f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        reason = std::strerror(errno);
        return false;
    }
    bytes.clear();
    char chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f.get())) > 0) {
        bytes.append(chunk, got);
        if (static_cast<long long>(bytes.size()) > kMaxFileBytes) {
            reason = "larger than 64 MiB: not a program file";
            return false;
        }
    }
    if (std::ferror(f.get())) {
        reason = std::strerror(errno ? errno : EIO);
        return false;
    }
    return true;
}

namespace {

std::string SizeReason(uint64_t highest, const char* memory, uint32_t size, const ChipProfile& profile)
{
    return Format("data up to address 0x%llX, but the %s of %s holds %u bytes",
                  static_cast<unsigned long long>(highest), memory, profile.deviceName, size);
}

struct HexTargets {
    std::vector<uint8_t> flash;
    std::vector<uint8_t> eeprom;
    bool eepromSection = false;
    bool sections[3] = {};  // fuse, lock, signature: left out
    bool flashOutside = false;
    bool eepromOutside = false;
    uint64_t highestFlash = 0;
    uint64_t highestEeprom = 0;
};

}  // namespace

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

LoadResult LoadProgramFile(const std::string& path, ProgramFileState& file, DataBuffer& buffer,
                           const ChipProfile& profile, Notifier& notifier, StatusSink& status, std::string* note)
{
    const auto refuse = [&](LoadResult result, const char* lead, const std::string& reason) {
        notifier.ShowMessage(Message(lead, path, reason), "", MessageIcon::None);
        return result;
    };
    const ProgramFileKind kind = ProgramFileKindOf(path);
    std::string bytes, reason;
    if (!ReadWholeFile(path, bytes, reason))
        return refuse(LoadResult::CannotOpen, kFileOpenError, reason);
    if (kind == ProgramFileKind::Unknown)
        return refuse(LoadResult::UnknownFormat, kFileOpenError, "not a .bin, .hex or .eep file");
    const char* readError = kind == ProgramFileKind::Bin ? kFileOpenError : kHexReadError;
    if (bytes.empty())
        return refuse(LoadResult::Refused, readError, "no data");

    const uint32_t flashSize = UsedFlash(profile);
    const uint32_t eepromSize = UsedEeprom(profile);
    HexTargets t;
    if (kind == ProgramFileKind::Bin) {
        if (bytes.size() > flashSize)
            return refuse(LoadResult::Refused, readError,
                          Format("%zu bytes", bytes.size()) + ", " + SizeReason(bytes.size() - 1, "flash", flashSize, profile));
        t.flash.assign(kFlashCapacity, kErasedByte);
        std::copy(bytes.begin(), bytes.end(), t.flash.begin());
    } else {
        const bool eep = kind == ProgramFileKind::Eep;
        if (eep)
            t.eeprom.assign(kEepromCapacity, kErasedByte);
        else
            t.flash.assign(kFlashCapacity, kErasedByte);
        std::vector<uint8_t> sectionEeprom(kEepromCapacity, kErasedByte);
        const HexReport report = ReadIntelHex(bytes, [&](uint64_t address, std::span<const uint8_t> data) {
            for (size_t i = 0; i < data.size(); ++i) {
                const uint64_t a = address + i;
                if (eep) {
                    if (a < eepromSize)
                        t.eeprom[a] = data[i];
                    else
                        t.eepromOutside = true, t.highestEeprom = std::max(t.highestEeprom, a);
                } else if (a < flashSize) {
                    t.flash[a] = data[i];
                } else if (a >= kHexEepromSection && a < kHexEepromSection + kHexSectionSpan) {
                    t.eepromSection = true;
                    const uint64_t e = a - kHexEepromSection;
                    if (e < eepromSize)
                        sectionEeprom[e] = data[i];
                    else
                        t.eepromOutside = true, t.highestEeprom = std::max(t.highestEeprom, e);
                } else if (a >= kHexFuseSection && a < kHexSignatureSection + kHexSectionSpan) {
                    t.sections[(a - kHexFuseSection) / kHexSectionSpan] = true;
                } else {
                    t.flashOutside = true;
                    t.highestFlash = std::max(t.highestFlash, a);
                }
            }
        });
        switch (report.fault) {
        case HexFault::None:
            break;
        case HexFault::Checksum:
            return refuse(LoadResult::Refused, kHexChecksumError, Format("line %d: ", report.line) + report.detail);
        case HexFault::NoColon:
        case HexFault::Malformed:
            return refuse(LoadResult::Refused, kHexReadError, Format("line %d: ", report.line) + report.detail);
        case HexFault::NoEnd:
            return refuse(LoadResult::Refused, kHexReadError, report.detail);
        }
        if (t.flashOutside)
            return refuse(LoadResult::Refused, kHexReadError, SizeReason(t.highestFlash, "flash", flashSize, profile));
        if (t.eepromOutside)
            return refuse(LoadResult::Refused, kHexReadError,
                          SizeReason(t.highestEeprom, "EEPROM", eepromSize, profile) +
                              (eep ? "" : " (EEPROM section at 0x810000)"));
        if (t.eepromSection)
            t.eeprom = std::move(sectionEeprom);
    }

    // Everything checked: now the images change, all at once.
    if (!t.flash.empty())
        buffer.flash = std::move(t.flash);
    if (!t.eeprom.empty())
        buffer.eeprom = std::move(t.eeprom);
    file.fileName = FileNameOf(path);
    file.extension = UpperExtension(path);
    file.fullPath = path;
    file.shownPath = path;
    ComposeView(buffer, profile);
    UpdateChecksum(buffer, profile, file.shownPath, status);
    if (note) {
        static const char* const kSections[] = {"熔丝位 (0x820000)", "锁定位 (0x830000)", "器件ID (0x840000)"};
        note->clear();
        for (int i = 0; i < 3; ++i)
            if (t.sections[i])
                *note += (note->empty() ? "文件中未载入的段: " : "、") + std::string(kSections[i]);
    }
    return LoadResult::Loaded;
}

}  // namespace morsk
