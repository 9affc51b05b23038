#include "chip_operations.h"
#include "identify.h"
#include "byte_util.h"
#include "text_util.h"

#include <algorithm>

namespace morsk {
namespace {

std::span<const uint8_t> FlashImage(const AppState& app)
{
    return std::span<const uint8_t>(app.ImagesToProgram().flash).first(UsedFlash(app.profile));
}

std::span<const uint8_t> EepromImage(const AppState& app)
{
    return std::span<const uint8_t>(app.ImagesToProgram().eeprom).first(UsedEeprom(app.profile));
}

// What the program step writes: the whole flash image, or with skipBlank
// only its used pages.
std::span<const uint8_t> FlashToWrite(const AppState& app)
{
    const std::span<const uint8_t> image = FlashImage(app);
    if (!app.settings.skipBlank)
        return image;
    return image.first(UsedFlashLength(image, app.profile.flashPageSize));
}

}  // namespace

uint32_t UsedFlashLength(std::span<const uint8_t> image, uint32_t pageSize)
{
    const uint32_t page = pageSize == 0 ? 32 : pageSize;
    const auto last = std::find_if(image.rbegin(), image.rend(), [](uint8_t b) { return b != kErasedByte; });
    if (last == image.rend())
        return 0;
    const uint64_t lastIndex = static_cast<uint64_t>(image.rend() - last) - 1;
    const uint64_t end = (lastIndex / page + 1) * page;
    return static_cast<uint32_t>(std::min<uint64_t>(end, image.size()));
}

void ChipOperations::ReportCancelled()
{
    LinkState& link = app_.link;
    if (link.cancelReported)
        return;
    link.cancelReported = true;
    link_.LeaveProgramming();
    Line(link.chipChanged ? kCancelledPartlyWrittenLine : kCancelledLine);
}

bool ChipOperations::InitProgrammer()
{
    if (link_.EnterProgramming())
        return true;
    Line(kProgrammerInitFailedLine);
    return false;
}

bool ChipOperations::IdentifyChip()
{
    uint8_t id[3] = {};
    if (!link_.ReadSignature(id)) {
        Line("找不到器件!");
        return false;
    }
    const uint8_t* expected = app_.profile.signature;
    app_.record.signatureRead = true;
    std::copy_n(id, 3, app_.record.signature);
    if (id[0] == expected[0] && id[1] == expected[1] && id[2] == expected[2]) {
        app_.AddStatusLine(ChipIdLine(id));
        return true;
    }
    link_.LeaveProgramming();
    app_.AddStatusLine(WrongChipLine(id));
    // Which chip of the list is in the socket, when the list knows it.
    const std::string names = ChipNames(ChipsWithSignature(app_.paths.deviceList, app_.profile.family, id));
    if (!names.empty())
        app_.AddStatusLine(kSocketHoldsLine + names);
    return false;
}

bool ChipOperations::EraseStep()
{
    Line("擦除芯片...");
    const bool ok = link_.EraseChip() == 1;
    Line(ok ? "擦除芯片成功!" : "擦除芯片失败...!");
    return ok;
}

bool ChipOperations::ProgramFlashStep()
{
    const bool nordic = IsNordic();
    Line(nordic ? "编程NORDIC..." : "编程FLASH...");
    const bool ok = link_.WriteMemory(MemoryKind::Flash, FlashToWrite(app_), app_.profile.flashPageSize) == 1;
    if (nordic)
        Line(ok ? "编程NORDIC成功!" : "编程NORDIC错误...!");
    else
        Line(ok ? "编程FLASH成功!" : "编程FLASH错误...!");
    return ok;
}

bool ChipOperations::ReadFlashStep(std::span<uint8_t> destination)
{
    Line("读FLASH...");
    const bool ok = link_.ReadMemory(MemoryKind::Flash, destination.first(UsedFlash(app_.profile))) == 1;
    Line(ok ? "读FLASH成功!" : "读FLASH错误...!");
    return ok;
}

bool ChipOperations::ReadEepromStep(std::span<uint8_t> destination)
{
    if (UsedEeprom(app_.profile) == 0)
        return true;
    Line("读EEPROM...");
    const bool ok = link_.ReadMemory(MemoryKind::Eeprom, destination.first(UsedEeprom(app_.profile))) == 1;
    Line(ok ? "读EEPROM成功!" : "读EEPROM错误...!");
    return ok;
}

bool ChipOperations::IsImageBlank(std::span<const uint8_t> flash, std::span<const uint8_t> eeprom) const
{
    if (!AllErased(flash.first(UsedFlash(app_.profile))))
        return false;
    return IsNordic() || AllErased(eeprom.first(UsedEeprom(app_.profile)));
}

bool ChipOperations::CompareFlash()
{
    const bool large = app_.profile.flashSize > kLargeChipFlash;
    return link_.CompareMemory(MemoryKind::Flash, FlashImage(app_), app_.profile.flashPageSize, large) == 0;
}

bool ChipOperations::VerifyVerdict(bool match)
{
    Line(match ? "效验器件完成!" : "效验器件失败!");
    return match;
}

bool ChipOperations::VerifyStep()
{
    return VerifyVerdict(CompareFlash());
}

bool ChipOperations::WriteSerialEepromStep()
{
    const SerialPatch* serial = app_.serial;
    if (!serial || !serial->eeprom)
        return true;
    // Only the number's bytes change: the rest of the range is written
    // back as the chip holds it.
    Line("写序列号...");
    std::vector<uint8_t> range(serial->address + serial->bytes.size(), kErasedByte);
    bool ok = link_.ReadMemory(MemoryKind::Eeprom, range) == 1;
    if (ok) {
        std::copy(serial->bytes.begin(), serial->bytes.end(), range.begin() + serial->address);
        ok = link_.WriteMemory(MemoryKind::Eeprom, range, app_.profile.eepromPageSize) == 1;
    }
    Line(ok ? "写序列号成功!" : "写序列号错误...!");
    return ok;
}

bool ChipOperations::VerifySerialEepromStep()
{
    const SerialPatch* serial = app_.serial;
    if (!serial || !serial->eeprom)
        return true;
    std::vector<uint8_t> range(serial->address + serial->bytes.size(), kErasedByte);
    const bool ok = link_.ReadMemory(MemoryKind::Eeprom, range) == 1 &&
                    std::equal(serial->bytes.begin(), serial->bytes.end(), range.begin() + serial->address);
    Line(ok ? "效验序列号完成!" : "效验序列号失败!");
    return ok;
}

bool ChipOperations::BlankRead(std::vector<uint8_t>& flash, std::vector<uint8_t>& eeprom)
{
    if (IsNordic()) {
        const bool ok = link_.ReadMemory(MemoryKind::Flash, flash) == 1;
        Line(ok ? "效验NORDIC FLASH成功!" : "效验NORDIC FLASH错误...!");
        return ok;
    }
    const bool flashOk = ReadFlashStep(flash);
    const bool eepromOk = ReadEepromStep(eeprom);
    return flashOk && eepromOk;
}

bool ChipOperations::BlankVerdict(bool readOk, const std::vector<uint8_t>& flash,
                                  const std::vector<uint8_t>& eeprom)
{
    // A chip that could not be read is not known to be blank.
    if (!readOk) {
        Line("效验器件失败!");
        return false;
    }
    const bool blank = IsImageBlank(flash, eeprom);
    Line(blank ? "效验器件已完成!" : "效验器件失败,器件不为空!");
    return blank;
}

bool ChipOperations::BlankCheckStep()
{
    // The images keep what the user loaded; the chip is read beside them.
    std::vector<uint8_t> flash(UsedFlash(app_.profile), 0xFF);
    std::vector<uint8_t> eeprom(UsedEeprom(app_.profile), 0xFF);
    const bool readOk = BlankRead(flash, eeprom);
    return BlankVerdict(readOk, flash, eeprom);
}

bool ChipOperations::ProgramDevice()
{
    // Nothing is written into an empty socket or into another chip.
    if (!InitProgrammer() || !IdentifyChip())
        return false;
    if (!ProgramFlashStep())
        return false;  // programming mode stays entered
    if (IsAtmel() && UsedEeprom(app_.profile) != 0) {
        Line("编程EEPROM...");
        // With skipBlank an all-0xFF EEPROM image is not written, so the
        // chip keeps the EEPROM data it has (an erase clears it anyway).
        const bool skip = app_.settings.skipBlank && AllErased(EepromImage(app_));
        const bool ok =
            skip || link_.WriteMemory(MemoryKind::Eeprom, EepromImage(app_), app_.profile.eepromPageSize) == 1;
        Line(ok ? "编程EEPROM成功!" : "编程EEPROM错误...!");
        if (!ok)
            return false;
    }
    link_.LeaveProgramming();
    Line("编程器件完成!");
    return true;
}

bool ChipOperations::EraseDevice()
{
    if (!InitProgrammer() || !IdentifyChip())
        return false;
    if (!EraseStep())
        return false;  // programming mode stays entered
    link_.LeaveProgramming();
    return true;
}

bool ChipOperations::ReadChip(ReadLines lines)
{
    // Into a scratch area: the images take the chip's contents only when
    // all of them arrived, never a mix of the chip and the old file.
    std::vector<uint8_t> flash(UsedFlash(app_.profile), kErasedByte);
    std::vector<uint8_t> eeprom(UsedEeprom(app_.profile), kErasedByte);
    bool ok;
    if (IsNordic() && lines == ReadLines::ReadButton) {
        ok = link_.ReadMemory(MemoryKind::Flash, flash) == 1;
        Line(ok ? "读NORDIC FLASH成功!" : "读NORDIC FLASH错误...!");
    } else {
        const bool flashOk = ReadFlashStep(flash);
        const bool eepromOk = IsNordic() || ReadEepromStep(eeprom);
        ok = flashOk && eepromOk;
    }
    if (ok) {
        std::copy(flash.begin(), flash.end(), app_.buffer.flash.begin());
        if (!IsNordic())
            std::copy(eeprom.begin(), eeprom.end(), app_.buffer.eeprom.begin());
        ComposeView(app_.buffer, app_.profile);
        ShowDataFromChip(app_);
    }
    return ok;
}

bool ChipOperations::ReadDevice()
{
    if (!InitProgrammer() || !IdentifyChip())
        return false;
    const bool ok = ReadChip(ReadLines::ReadButton);
    link_.LeaveProgramming();
    Line(ok ? "读器件已完成!" : kReadFailedLine);
    return ok;
}

bool ChipOperations::VerifyDevice()
{
    if (!InitProgrammer() || !IdentifyChip())
        return false;
    const bool match = CompareFlash();
    link_.LeaveProgramming();
    return VerifyVerdict(match);
}

bool ChipOperations::BlankCheckDevice()
{
    // An empty socket must not pass for a blank chip.
    if (!InitProgrammer() || !IdentifyChip())
        return false;
    std::vector<uint8_t> flash(UsedFlash(app_.profile), 0xFF);
    std::vector<uint8_t> eeprom(UsedEeprom(app_.profile), 0xFF);
    const bool readOk = BlankRead(flash, eeprom);
    link_.LeaveProgramming();
    return BlankVerdict(readOk, flash, eeprom);
}

}  // namespace morsk
