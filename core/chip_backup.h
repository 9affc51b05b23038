// A whole chip in one file and back: flash, EEPROM, fuses, lock byte and
// signature, as Intel HEX in the AVR toolchain's whole-program layout
// (flash at 0, EEPROM at 0x810000, fuses at 0x820000, lock at 0x830000,
// signature at 0x840000), so that other tools read it and the ordinary
// loader takes its flash and EEPROM parts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app_state.h"
#include "chip_operations.h"
#include "lockout_bits.h"
#include "programmer_link.h"
#include "wire_protocol.h"

namespace morsk {

struct ChipBackup {
    uint8_t signature[3] = {};  // as the chip reads it out: 1E 95 0F
    std::vector<uint8_t> flash;
    std::vector<uint8_t> eeprom;
    // Which of low, high, extended the file holds (bit 0 low).
    uint8_t fuseMask = 0;
    uint8_t fuses[3] = {0xFF, 0xFF, 0xFF};
    bool hasLock = false;
    uint8_t lock = 0xFF;
};

// The file's text. The signature section holds the bytes the way the AVR
// C library writes them, last byte first (0F 95 1E).
std::string FormatBackup(const ChipBackup& backup);
// False, with the reason in English like the loader's, when the text is
// not a backup of a chip: bad HEX, data outside the sections, no signature.
bool ParseBackup(std::string_view text, ChipBackup& backup, std::string& reason);

// LB1 or LB2 programmed: the memories can no longer be written or read.
bool LockProtectsMemories(uint8_t lock);

enum class RestoreResult {
    Done,          // everything written and verified
    Failed,        // a stage failed; the status list says which
    NeedsConsent,  // fuses or lock byte could lock the chip: nothing written
};

class ChipBackupOperations {
public:
    ChipBackupOperations(AppState& app, ProgrammerLink& link, ChipOperations& ops)
        : app_(app), link_(link), ops_(ops)
    {
    }

    // Reads the selected chip whole from the socket and writes the file
    // (replaced whole or not at all). The data buffer is not touched.
    bool BackupDevice(const std::string& path);

    // Puts a backup into the chip in the socket: checks the signature
    // (another chip gets nothing), erases, programs flash and EEPROM,
    // writes the fuses, verifies all three, and only then writes the lock
    // byte, unless it is 0xFF. Fuses that cut serial programming off and a
    // lock byte that protects the memories need `allowRisky`; without it
    // the restore stops before anything is written.
    RestoreResult RestoreDevice(const std::string& path, bool allowRisky);

    // After NeedsConsent: what the restore would do.
    const std::vector<FuseRisk>& risks() const { return risks_; }
    bool lockWouldProtect() const { return lockWouldProtect_; }
    uint8_t lockToWrite() const { return lockToWrite_; }
    // "熔丝位将编程 RSTDISBL, 锁定位 FC 将禁止再读出和写入器件".
    std::string ConsentText() const;

private:
    bool ReadWhole(ChipBackup& backup);
    bool CheckAgainstProfile(const ChipBackup& backup, const std::string& path);
    bool ReadChipFuses(uint8_t fuses[3]);
    bool WriteAndVerify(const ChipBackup& backup);
    void Line(const std::string& text) { app_.AddStatusLine(text); }

    AppState& app_;
    ProgrammerLink& link_;
    ChipOperations& ops_;
    std::vector<FuseRisk> risks_;
    bool lockWouldProtect_ = false;
    uint8_t lockToWrite_ = 0xFF;
};

// Status lines of our own.
inline constexpr char kBackupDoneLine[] = "备份器件完成: ";
inline constexpr char kBackupFailedLine[] = "备份器件失败!";
inline constexpr char kRestoreDoneLine[] = "恢复器件完成!";
inline constexpr char kRestoreFailedLine[] = "恢复器件失败!";
inline constexpr char kNothingWrittenLine[] = "没有写入任何数据!";

}  // namespace morsk
