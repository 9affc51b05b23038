#include "chip_backup.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "byte_util.h"
#include "fuse_transfer.h"
#include "hex_writer.h"
#include "identify.h"
#include "intel_hex_reader.h"
#include "program_file.h"
#include "text_util.h"

namespace morsk {
namespace {

std::string Hex3(const uint8_t b[3])
{
    return Format("%02X %02X %02X", b[0], b[1], b[2]);
}

bool SameSignature(const uint8_t a[3], const uint8_t b[3])
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

// The bytes of `bytes` past `length` are all erased.
bool NothingBeyond(const std::vector<uint8_t>& bytes, size_t length)
{
    return bytes.size() <= length || AllErased(std::span<const uint8_t>(bytes).subspan(length));
}

}  // namespace

bool LockProtectsMemories(uint8_t lock)
{
    return (lock & (kLockBitLb1 | kLockBitLb2)) != (kLockBitLb1 | kLockBitLb2);
}

std::string FormatBackup(const ChipBackup& b)
{
    const uint8_t signature[3] = {b.signature[2], b.signature[1], b.signature[0]};
    std::vector<HexSection> sections = {
        {0, b.flash, false},
        {kHexEepromSection, b.eeprom, false},
    };
    // Fuses as one run from the low byte, up to the last one held.
    const int fuseCount = b.fuseMask & 4 ? 3 : b.fuseMask & 2 ? 2 : b.fuseMask & 1 ? 1 : 0;
    if (fuseCount)
        sections.push_back({kHexFuseSection, {b.fuses, static_cast<size_t>(fuseCount)}, true});
    if (b.hasLock)
        sections.push_back({kHexLockSection, {&b.lock, 1}, true});
    sections.push_back({kHexSignatureSection, signature, true});
    return FormatIntelHex(sections);
}

bool ParseBackup(std::string_view text, ChipBackup& out, std::string& reason)
{
    ChipBackup b;
    b.flash.assign(kFlashCapacity, kErasedByte);
    b.eeprom.assign(kEepromCapacity, kErasedByte);
    size_t flashEnd = 0, eepromEnd = 0;
    uint8_t signatureMask = 0;
    uint8_t signature[3] = {};
    uint64_t stray = 0;
    bool strayFound = false;
    const HexReport report = ReadIntelHex(text, [&](uint64_t address, std::span<const uint8_t> data) {
        for (size_t i = 0; i < data.size(); ++i) {
            const uint64_t a = address + i;
            const uint8_t v = data[i];
            if (a < kFlashCapacity) {
                b.flash[a] = v;
                flashEnd = std::max<size_t>(flashEnd, a + 1);
            } else if (a >= kHexEepromSection && a < kHexEepromSection + kEepromCapacity) {
                b.eeprom[a - kHexEepromSection] = v;
                eepromEnd = std::max<size_t>(eepromEnd, a - kHexEepromSection + 1);
            } else if (a >= kHexFuseSection && a < kHexFuseSection + 3) {
                b.fuses[a - kHexFuseSection] = v;
                b.fuseMask |= static_cast<uint8_t>(1u << (a - kHexFuseSection));
            } else if (a == kHexLockSection) {
                b.lock = v;
                b.hasLock = true;
            } else if (a >= kHexSignatureSection && a < kHexSignatureSection + 3) {
                signature[a - kHexSignatureSection] = v;
                signatureMask |= static_cast<uint8_t>(1u << (a - kHexSignatureSection));
            } else if (!strayFound) {
                strayFound = true;
                stray = a;
            }
        }
    });
    if (report.fault != HexFault::None) {
        reason = report.line ? Format("line %d: ", report.line) + report.detail : report.detail;
        return false;
    }
    if (strayFound) {
        reason = Format("data at 0x%llX belongs to no part of a chip backup",
                        static_cast<unsigned long long>(stray));
        return false;
    }
    if (signatureMask != 7) {
        reason = "no signature at 0x840000: not a backup of a chip";
        return false;
    }
    b.signature[0] = signature[2];
    b.signature[1] = signature[1];
    b.signature[2] = signature[0];
    b.flash.resize(flashEnd);
    b.eeprom.resize(eepromEnd);
    out = std::move(b);
    return true;
}

bool ChipBackupOperations::ReadChipFuses(uint8_t fuses[3])
{
    for (FuseSelector s : kFuseSelectors)
        if (!link_.ReadFuse(s, fuses[s])) {
            Line(kFuseReadFailedLine);
            return false;
        }
    return true;
}

bool ChipBackupOperations::ReadWhole(ChipBackup& b)
{
    const ChipProfile& p = app_.profile;
    const bool avr = p.family == kFamilyAvr;
    if (!ops_.InitProgrammer() || !ops_.IdentifyChip())
        return false;
    std::memcpy(b.signature, p.signature, 3);
    if (avr) {
        if (!link_.ReadLock(b.lock)) {
            Line("读锁定位错误...!");
            return false;
        }
        b.hasLock = true;
        // Such a chip reads back anything but its contents.
        if ((b.lock & kLockBitLb2) == 0) {
            Line(Format("器件已加密 (锁定位 %02X): FLASH和EEPROM读不出来, 不能备份!", b.lock));
            link_.LeaveProgramming();
            return false;
        }
    }
    b.flash.assign(UsedFlash(p), kErasedByte);
    if (!ops_.ReadFlashStep(b.flash))
        return false;
    if (!IsNordicChip(p)) {
        b.eeprom.assign(UsedEeprom(p), kErasedByte);
        if (!ops_.ReadEepromStep(b.eeprom))
            return false;
    }
    if (avr) {
        if (!ReadChipFuses(b.fuses))
            return false;
        b.fuseMask = 7;
        Line(Format("熔丝位: %02X %02X %02X  锁定位: %02X", b.fuses[0], b.fuses[1], b.fuses[2], b.lock));
    }
    link_.LeaveProgramming();
    return true;
}

bool ChipBackupOperations::BackupDevice(const std::string& path)
{
    ChipBackup backup;
    if (!ReadWhole(backup)) {
        Line(kBackupFailedLine);
        return false;
    }
    const std::string text = FormatBackup(backup);
    if (!WriteFileAtomically(path, text.data(), text.size())) {
        Line(Format("备份文件保存失败!: %s: %s", path.c_str(), std::strerror(errno)));
        Line(kBackupFailedLine);
        return false;
    }
    Line(kBackupDoneLine + path);
    return true;
}

bool ChipBackupOperations::CheckAgainstProfile(const ChipBackup& b, const std::string& path)
{
    const ChipProfile& p = app_.profile;
    if (!SameSignature(b.signature, p.signature)) {
        std::string names = ChipNames(ChipsWithSignature(app_.paths.deviceList, p.family, b.signature));
        if (!names.empty())
            names = " (" + names + ")";
        Line(Format("备份文件 %s 的器件ID是 %s%s, 不是所选器件 %s 的!", FileNameOf(path).c_str(),
                    Hex3(b.signature).c_str(), names.c_str(), p.deviceName));
        return false;
    }
    const bool eepromFits = IsNordicChip(p) ? AllErased(b.eeprom) : NothingBeyond(b.eeprom, UsedEeprom(p));
    if (!NothingBeyond(b.flash, UsedFlash(p)) || !eepromFits) {
        Line(Format("备份文件 %s 的数据超出了器件 %s 的容量!", FileNameOf(path).c_str(), p.deviceName));
        return false;
    }
    return true;
}

std::string ChipBackupOperations::ConsentText() const
{
    std::string what;
    if (!risks_.empty())
        what = "熔丝位将" + DescribeRisks(risks_);
    if (lockWouldProtect_)
        what += (what.empty() ? "" : ", ") +
                Format("锁定位 %02X 将禁止再%s器件", lockToWrite_, (lockToWrite_ & kLockBitLb2) ? "写入" : "读出和写入");
    return what;
}

RestoreResult ChipBackupOperations::RestoreDevice(const std::string& path, bool allowRisky)
{
    risks_.clear();
    lockWouldProtect_ = false;
    lockToWrite_ = 0xFF;
    const ChipProfile& p = app_.profile;
    const bool avr = p.family == kFamilyAvr;

    ChipBackup b;
    std::string content, reason;
    if (!ReadWholeFile(path, content, reason)) {
        Line(Format("备份文件打开错误 !!!: %s: %s", path.c_str(), reason.c_str()));
        Line(kNothingWrittenLine);
        return RestoreResult::Failed;
    }
    if (!ParseBackup(content, b, reason)) {
        Line(Format("不是器件备份文件: %s: %s", path.c_str(), reason.c_str()));
        Line(kNothingWrittenLine);
        return RestoreResult::Failed;
    }
    if (!CheckAgainstProfile(b, path)) {
        Line(kNothingWrittenLine);
        return RestoreResult::Failed;
    }

    if (!ops_.InitProgrammer() || !ops_.IdentifyChip()) {
        Line(kNothingWrittenLine);
        return RestoreResult::Failed;
    }
    // What the fuses and the lock byte would do, judged against the fuses
    // the chip has now, before anything is written.
    if (avr && b.fuseMask) {
        uint8_t now[3];
        if (!ReadChipFuses(now)) {
            link_.LeaveProgramming();
            Line(kNothingWrittenLine);
            return RestoreResult::Failed;
        }
        uint8_t after[3];
        for (int i = 0; i < 3; ++i)
            after[i] = b.fuseMask & (1 << i) ? b.fuses[i] : now[i];
        risks_ = RiskyFuseChanges(p.deviceName, now, after);
    }
    lockToWrite_ = b.lock;
    lockWouldProtect_ = avr && b.hasLock && LockProtectsMemories(b.lock);
    if ((!risks_.empty() || lockWouldProtect_) && !allowRisky) {
        link_.LeaveProgramming();
        Line("恢复器件需要确认: " + ConsentText());
        Line(kNothingWrittenLine);
        return RestoreResult::NeedsConsent;
    }

    if (!WriteAndVerify(b))
        return RestoreResult::Failed;
    link_.LeaveProgramming();
    Line(kRestoreDoneLine);
    return RestoreResult::Done;
}

bool ChipBackupOperations::WriteAndVerify(const ChipBackup& b)
{
    const ChipProfile& p = app_.profile;
    const bool avr = p.family == kFamilyAvr;
    const bool nordic = IsNordicChip(p);
    const auto fail = [this] {
        link_.LeaveProgramming();
        Line(kRestoreFailedLine);
        return false;
    };

    std::vector<uint8_t> flash(UsedFlash(p), kErasedByte);
    std::copy_n(b.flash.begin(), std::min(b.flash.size(), flash.size()), flash.begin());
    std::vector<uint8_t> eeprom(nordic ? 0 : UsedEeprom(p), kErasedByte);
    std::copy_n(b.eeprom.begin(), std::min(b.eeprom.size(), eeprom.size()), eeprom.begin());

    if (!ops_.EraseStep())
        return fail();
    Line("编程FLASH...");
    // Past the last used page the erased chip already holds 0xFF.
    const std::span<const uint8_t> used(flash.data(), UsedFlashLength(flash, p.flashPageSize));
    if (link_.WriteMemory(MemoryKind::Flash, used, p.flashPageSize) != 1) {
        Line("编程FLASH错误...!");
        return fail();
    }
    Line("编程FLASH成功!");
    if (!eeprom.empty()) {
        // Every byte: an erase leaves the EEPROM alone where EESAVE is set.
        Line("编程EEPROM...");
        if (link_.WriteMemory(MemoryKind::Eeprom, eeprom, p.eepromPageSize) != 1) {
            Line("编程EEPROM错误...!");
            return fail();
        }
        Line("编程EEPROM成功!");
    }
    if (avr && b.fuseMask) {
        Line("写熔丝位...");
        for (FuseSelector s : kFuseSelectors) {
            if (!(b.fuseMask & (1 << s)))
                continue;
            uint8_t value = b.fuses[s];
            if (!link_.WriteFuse(s, value)) {
                Line(kFuseWriteFailedLine);
                return fail();
            }
        }
        Line("写熔丝位成功!");
    }

    // Verify everything against the backup, byte for byte.
    Line("效验FLASH和EEPROM...");
    std::vector<uint8_t> readBack(flash.size(), kErasedByte);
    if (link_.ReadMemory(MemoryKind::Flash, readBack) != 1) {
        Line("读FLASH错误...!");
        return fail();
    }
    bool same = readBack == flash;
    if (same && !eeprom.empty()) {
        readBack.assign(eeprom.size(), kErasedByte);
        if (link_.ReadMemory(MemoryKind::Eeprom, readBack) != 1) {
            Line("读EEPROM错误...!");
            return fail();
        }
        same = readBack == eeprom;
    }
    if (same && avr && b.fuseMask) {
        uint8_t now[3];
        if (!ReadChipFuses(now))
            return fail();
        for (int i = 0; i < 3; ++i)
            same = same && (!(b.fuseMask & (1 << i)) || now[i] == b.fuses[i]);
    }
    if (!same) {
        Line("效验器件失败!");
        return fail();
    }
    Line("效验器件完成!");

    // Last: once the lock bits are programmed nothing can be verified.
    if (avr && b.hasLock && b.lock != 0xFF) {
        Line(Format("写锁定位 %02X...", b.lock));
        uint8_t lock = 0xFF;
        if (!link_.WriteLock(b.lock) || !link_.ReadLock(lock) || lock != b.lock) {
            Line("写锁定位错误...!");
            return fail();
        }
        Line("写锁定位成功!");
    }
    return true;
}

}  // namespace morsk
