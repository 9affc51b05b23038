// The operations behind the main window's buttons, and the steps that the
// auto run strings together. Every stage is reported as a status line.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "app_state.h"
#include "programmer_link.h"

namespace morsk {

// The read operation's last line when a read failed; the images are then
// as they were.
inline constexpr char kReadFailedLine[] = "读器件失败!";
// After a wrong signature: the chips of the list that have it.
inline constexpr char kSocketHoldsLine[] = "插座中的器件是: ";
// After the user stopped an operation; the second when it had already
// changed the chip.
inline constexpr char kCancelledLine[] = "操作已取消!";
inline constexpr char kCancelledPartlyWrittenLine[] = "操作已取消! 器件可能只写入了一部分";

// How much of the flash image a write must cover when only the used part
// is programmed: from 0 to the end of the last page that holds a byte
// other than 0xFF (32-byte blocks for chips without pages); 0 for an image
// that is all 0xFF. Flash cells only go from 1 to 0 when written, so the
// bytes left out would not change the chip.
uint32_t UsedFlashLength(std::span<const uint8_t> image, uint32_t pageSize);

class ChipOperations {
public:
    ChipOperations(AppState& app, ProgrammerLink& link) : app_(app), link_(link) {}

    // Steps.
    bool InitProgrammer();
    bool IdentifyChip();
    bool EraseStep();
    bool ProgramFlashStep();
    // Read the used part of the chip's memory into the first bytes of
    // `destination`, which must hold at least the chip's size.
    bool ReadFlashStep(std::span<uint8_t> destination);
    bool ReadFlashStep() { return ReadFlashStep(app_.buffer.flash); }
    bool ReadEepromStep(std::span<uint8_t> destination);
    bool ReadEepromStep() { return ReadEepromStep(app_.buffer.eeprom); }
    bool IsImageBlank(std::span<const uint8_t> flash, std::span<const uint8_t> eeprom) const;
    // Compares the chip's flash with the flash image and adds the outcome.
    bool VerifyStep();
    // A serial number in the EEPROM, for the auto run, whose steps leave
    // the EEPROM alone otherwise: written, and compared. Nothing to do
    // without one.
    bool WriteSerialEepromStep();
    bool VerifySerialEepromStep();
    // Reads flash and (ATMEL) EEPROM; the images and the view take them,
    // and the checksum line says so, only when every read succeeded.
    // The read button announces a NORDIC chip's read in lines of its own;
    // the auto run's read step uses the flash step's lines for every chip.
    enum class ReadLines { ReadButton, AutoStep };
    bool ReadChip(ReadLines lines);
    // Reads the chip into a scratch area (never into the images) and adds
    // the read lines and the verdict.
    bool BlankCheckStep();

    // A transfer stopped at the user's request: leaves programming mode
    // and says so, once per run.
    void ReportCancelled();

    // Operations; each returns whether it did all it set out to do.
    bool ProgramDevice();
    bool EraseDevice();
    bool ReadDevice();
    bool VerifyDevice();
    bool BlankCheckDevice();

private:
    bool IsAtmel() const { return IsAtmelChip(app_.profile); }
    bool IsNordic() const { return IsNordicChip(app_.profile); }
    bool BlankRead(std::vector<uint8_t>& flash, std::vector<uint8_t>& eeprom);
    bool BlankVerdict(bool readOk, const std::vector<uint8_t>& flash, const std::vector<uint8_t>& eeprom);
    bool CompareFlash();
    bool VerifyVerdict(bool match);
    void Line(const char* text) { app_.AddStatusLine(text); }

    AppState& app_;
    ProgrammerLink& link_;
};

}  // namespace morsk
