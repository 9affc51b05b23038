#include "programmer_link.h"
#include "chip_families.h"
#include "byte_util.h"
#include "text_util.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace morsk {
namespace {

int Percent(uint32_t done, uint32_t total)
{
    // Division first, in floating point, truncated: 200 of 8192 gives 2.
    return static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * 100.0);
}

}  // namespace

bool ProgrammerLink::StopForCancel()
{
    if (!state_.CancelRequested())
        return false;
    state_.cancelled = true;
    return true;
}

std::string WrongChipLine(const uint8_t signature[3])
{
    return Format("读取错误器件ID:%2.2X %2.2X %2.2X", signature[0], signature[1], signature[2]);
}

std::string ChipIdLine(const uint8_t signature[3])
{
    return Format("器件ID:%2.2X %2.2X %2.2X", signature[0], signature[1], signature[2]);
}

void ProgrammerLink::SetProgress(int percent)
{
    state_.progress->SetProgress(percent);
}

void ProgrammerLink::Wait(unsigned ms)
{
    if (state_.sleep)
        state_.sleep(ms);
    else
        SleepMilliseconds(ms);
}

int ProgrammerLink::IsLinkAvailable()
{
    return transport_.OpenLink() == kOpenHeld ? 1 : 0;
}

int ProgrammerLink::EnterProgramming()
{
    if (transport_.OpenLink() != kOpenHeld)
        return 0;
    transport_.Connect();
    if (const FamilyCommands* family = CommandsFor(profile_.family))
        transport_.SelectFamilyMode(family->modeRequest);
    if (transport_.EnableProgramming() == 1)
        return 1;
    state_.diagnostics->Write(Format("Warning: the programmer (USB %04x:%04x) was found but does not answer "
                                     "(enable programming failed)\n",
                                     kProgrammerVendorId, kProgrammerProductId));
    return 0;
}

int ProgrammerLink::LeaveProgramming()
{
    transport_.Disconnect();
    return 1;
}

int ProgrammerLink::EraseChip()
{
    if (transport_.EnsureLinkOpen() != kOpenHeld)
        return 0;
    const FamilyCommands* family = CommandsFor(profile_.family);
    if (!IsDrivenChip(profile_) || !family)
        return 0;  // no erase instruction for other manufacturers
    Wait(kEraseWaitMs);
    uint8_t reply[4];
    state_.chipChanged = true;
    if (!Instruction(family->erase, reply))
        return 0;
    Wait(kEraseWaitMs);
    return 1;
}

int ProgrammerLink::ReadSignature(uint8_t signature[3])
{
    if (transport_.EnsureLinkOpen() != kOpenHeld)
        return 0;
    const FamilyCommands* family = CommandsFor(profile_.family);
    if (!family)
        return 0;
    for (uint8_t i = 0; i < 3; ++i) {
        const std::array<uint8_t, 4> sent = family->signature(i);
        uint8_t reply[4];
        // A failed transfer would hand back the instruction's own bytes.
        if (!Instruction(sent.data(), reply))
            return 0;
        signature[i] = reply[3];
    }
    return 1;
}

bool ProgrammerLink::Instruction(const uint8_t sent[4], uint8_t reply[4])
{
    std::memcpy(reply, sent, 4);
    return transport_.SpiTransfer(reply, reply) == 0 && Echoed(sent, reply);
}

bool ProgrammerLink::Echoed(const uint8_t sent[4], const uint8_t reply[4]) const
{
    const FamilyCommands* family = CommandsFor(profile_.family);
    return !(family && family->echoes) || reply[2] == sent[1];
}

int ProgrammerLink::ReadFuse(FuseSelector selector, uint8_t& value)
{
    if (transport_.EnsureLinkOpen() != kOpenHeld)
        return 0;
    if (selector < kFuseLow || selector > kFuseExt)
        return 0;
    const uint8_t sent[4] = {kSpiFuseRead[selector][0], kSpiFuseRead[selector][1], 0x00, 0x00};
    uint8_t reply[4];
    if (!Instruction(sent, reply))
        return 0;
    value = reply[3];
    return 1;
}

int ProgrammerLink::WriteFuse(FuseSelector selector, uint8_t& value)
{
    if (transport_.EnsureLinkOpen() != kOpenHeld)
        return 0;
    if (selector < kFuseLow || selector > kFuseExt)
        return 0;
    const uint8_t sent[4] = {kSpiWrite, kSpiFuseWrite[selector], 0x00, value};
    state_.chipChanged = true;
    uint8_t reply[4];
    if (!Instruction(sent, reply))
        return 0;
    value = reply[3];
    return 1;
}

int ProgrammerLink::ReadLock(uint8_t& value)
{
    if (profile_.family != kFamilyAvr || transport_.EnsureLinkOpen() != kOpenHeld)
        return 0;
    const uint8_t sent[4] = {kSpiLockRead[0], kSpiLockRead[1], 0x00, 0x00};
    uint8_t reply[4];
    if (!Instruction(sent, reply))
        return 0;
    value = reply[3];
    return 1;
}

int ProgrammerLink::WriteLock(uint8_t value)
{
    if (profile_.family != kFamilyAvr || transport_.EnsureLinkOpen() != kOpenHeld)
        return 0;
    const uint8_t sent[4] = {kSpiWrite, kSpiLockWrite, 0x00, value};
    state_.chipChanged = true;
    uint8_t reply[4];
    return Instruction(sent, reply) ? 1 : 0;
}

int ProgrammerLink::WriteMemory(MemoryKind kind, std::span<const uint8_t> source, uint32_t pageSize)
{
    const uint32_t length = static_cast<uint32_t>(source.size());
    SetProgress(0);
    if (transport_.EnsureLinkOpen() != kOpenHeld)
        return 0;
    const uint8_t request = kind == MemoryKind::Flash ? kRequestWriteFlash : kRequestWriteEeprom;
    uint8_t flags = kFirstBlock;
    uint32_t offset = 0;
    while (offset < length) {
        if (StopForCancel())
            return 0;
        const uint32_t remaining = length - offset;
        const uint16_t block = static_cast<uint16_t>(std::min<uint32_t>(remaining, kBlockBytes));
        if (remaining <= kBlockBytes)
            flags |= kLastBlock;
        // The protocol gives the page size one byte, so 256 and 512 both
        // go out as 0x00: the firmware of the programmer expects exactly
        // that for its large-page chips, and a wider encoding would break
        // the wire contract with programmers already in use.
        const uint8_t setup[4] = {static_cast<uint8_t>(offset), static_cast<uint8_t>(offset >> 8),
                                  static_cast<uint8_t>(pageSize), flags};
        // The transfer only reads from the block of an out request.
        if (transport_.ControlTransfer(TransferDirection::Out, request, setup,
                                       const_cast<uint8_t*>(source.data() + offset), block) != block)
            return 0;
        offset += block;
        SetProgress(Percent(offset, length));
        flags = 0;
        state_.chipChanged = true;
    }
    SetProgress(100);
    return 1;
}

int ProgrammerLink::ReadMemory(MemoryKind kind, std::span<uint8_t> destination)
{
    const uint32_t length = static_cast<uint32_t>(destination.size());
    SetProgress(0);
    if (transport_.EnsureLinkOpen() != kOpenHeld)
        return 0;
    const uint8_t request = kind == MemoryKind::Flash ? kRequestReadFlash : kRequestReadEeprom;
    uint32_t offset = 0;
    while (offset < length) {
        if (StopForCancel())
            return 0;
        const uint16_t block = static_cast<uint16_t>(std::min<uint32_t>(length - offset, kBlockBytes));
        const uint8_t setup[4] = {static_cast<uint8_t>(offset), static_cast<uint8_t>(offset >> 8),
                                  static_cast<uint8_t>(offset >> 16), 0x00};
        if (transport_.ControlTransfer(TransferDirection::In, request, setup, destination.data() + offset,
                                       block) != block)
            return 0;
        offset += block;
        SetProgress(Percent(offset, length));
    }
    SetProgress(100);
    return 1;
}

int ProgrammerLink::ReadBack(uint8_t request, uint32_t offset, uint32_t length, uint8_t largeChipFlag,
                             std::span<uint8_t> scratch)
{
    for (uint32_t done = 0; done < length;) {
        if (StopForCancel())
            return 0;
        const uint32_t address = offset + done;
        const uint16_t block = static_cast<uint16_t>(std::min<uint32_t>(length - done, kBlockBytes));
        const uint8_t setup[4] = {static_cast<uint8_t>(address), static_cast<uint8_t>(address >> 8),
                                  kVerifyMarker,
                                  static_cast<uint8_t>(largeChipFlag | ((address >> 16) & kHighAddressBits))};
        if (transport_.ControlTransfer(TransferDirection::In, request, setup, scratch.data() + address,
                                       block) != block)
            return 0;
        done += block;
    }
    return 1;
}

int ProgrammerLink::RangeCompare(uint8_t request, std::span<const uint8_t> image,
                                 std::span<uint8_t> scratch, uint32_t block, uint8_t largeChipFlag)
{
    const uint32_t length = static_cast<uint32_t>(image.size());
    const auto blank = [&image](uint32_t from, uint32_t count) { return AllErased(image.subspan(from, count)); };
    uint32_t offset = 0;
    while (offset < length) {
        // A run of non-blank compare blocks, with a non-blank tail.
        const uint32_t runStart = offset;
        while (length - offset >= block && !blank(offset, block))
            offset += block;
        if (length - offset > 0 && length - offset < block && !blank(offset, length - offset))
            offset = length;
        if (offset > runStart) {
            if (!ReadBack(request, runStart, offset - runStart, largeChipFlag, scratch))
                return 1;
            for (uint32_t i = runStart; i < offset; ++i) {
                if (image[i] != scratch[i]) {
                    state_.diagnostics->Write(Format("Failed at %04X:%02X-%02X\n", i, image[i], scratch[i]));
                    return 1;
                }
            }
        }
        // Blank blocks are never read: the chip may hold anything there.
        while (length - offset >= block && blank(offset, block))
            offset += block;
        if (length - offset > 0 && length - offset < block && blank(offset, length - offset))
            return 0;
    }
    return 0;
}

int ProgrammerLink::CompareMemory(MemoryKind kind, std::span<const uint8_t> image,
                                  uint32_t compareBlock, bool largeChip)
{
    const uint8_t request = kind == MemoryKind::Flash ? kRequestReadFlash : kRequestReadEeprom;
    // The callers pass the flash page size: a page is what one write
    // commits, so a page that is all 0xFF in the image was never written
    // and need not be read back. Chips without pages use 32 bytes.
    const uint32_t block = compareBlock == 0 ? 32 : compareBlock;
    const uint8_t largeChipFlag = largeChip ? kLargeChipFlag : 0x00;
    const uint32_t length = static_cast<uint32_t>(image.size());
    if (length == 0)
        return 0;
    std::unique_ptr<uint8_t[]> scratch(new (std::nothrow) uint8_t[length]);
    if (!scratch)
        return 1;
    // The whole length in one pass: the read-backs carry the address bits
    // above 64 KiB, so every byte is compared at its own address.
    return RangeCompare(request, image, {scratch.get(), length}, block, largeChipFlag);
}

}  // namespace morsk
