#include "virtual_chip.h"

#include "lockout_bits.h"
#include "wire_protocol.h"
#include "text_util.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace morsk {

VirtualChip VirtualChip::FromProfile(const ChipProfile& profile)
{
    VirtualChip chip;
    chip.name = profile.deviceName;
    chip.family = profile.family;
    std::copy_n(profile.signature, 3, chip.signature);
    chip.flash.assign(std::min(profile.flashSize, kFlashCapacity), 0xFF);
    chip.eeprom.assign(std::min(profile.eepromSize, kEepromCapacity), 0xFF);
    chip.fuses[0] = profile.fuseLowDefault;
    chip.fuses[1] = profile.fuseHighDefault;
    chip.fuses[2] = profile.fuseExtDefault;
    return chip;
}

bool VirtualChip::LockedOut() const
{
    return family == kFamilyAvr && FusesLockOut(name, fuses);
}

namespace {

// Which fuse byte (0 low, 1 high, 2 extended) an instruction reads.
bool FuseOf(const uint8_t in[4], const uint8_t (&table)[3][2], int& fuse)
{
    for (fuse = 0; fuse < 3; ++fuse)
        if (in[0] == table[fuse][0] && in[1] == table[fuse][1])
            return true;
    return false;
}

bool FuseWriteOf(uint8_t second, int& fuse)
{
    for (fuse = 0; fuse < 3; ++fuse)
        if (second == kSpiFuseWrite[fuse])
            return true;
    return false;
}

}  // namespace

void VirtualChip::Serial(const uint8_t in[4], uint8_t out[4])
{
    int fuse = 0;
    out[0] = 0x00;
    out[1] = in[0];
    out[2] = in[1];
    out[3] = in[2];
    const bool atmel = family == kFamilyAvr || family == kFamilyAt89;
    if (atmel && in[0] == kSpiAtmelErase[0] && (in[1] & kSpiEraseMask) == kSpiAtmelErase[1]) {
        std::fill(flash.begin(), flash.end(), 0xFF);
        if (family == kFamilyAvr)
            std::fill(eeprom.begin(), eeprom.end(), 0xFF);
        lock = 0xFF;
        ++eraseCount;
    } else if (family == kFamilyNordic && in[0] == kSpiNordicErase[0]) {
        std::fill(flash.begin(), flash.end(), 0xFF);
        ++eraseCount;
    } else if (family == kFamilyAvr && in[0] == kSpiAvrSignature) {
        out[3] = signature[in[2] % 3];
    } else if (family == kFamilyAt89 && in[0] == kSpiAt89Signature) {
        out[3] = signature[in[1] % 3];
    } else if (family == kFamilyAvr && in[0] == kSpiLockRead[0] && in[1] == kSpiLockRead[1]) {
        out[3] = lock;
    } else if (family == kFamilyAvr && in[0] == kSpiWrite && in[1] == kSpiLockWrite) {
        lock &= in[3];
    } else if (family == kFamilyAvr && FuseOf(in, kSpiFuseRead, fuse)) {
        out[3] = fuses[fuse];
    } else if (family == kFamilyAvr && in[0] == kSpiWrite && FuseWriteOf(in[1], fuse)) {
        fuses[fuse] = in[3];
    } else if (family != kFamilyAvr && in[0] != 0x00) {
        // Instructions the chip does not know: the data line stays high.
        out[3] = 0xFF;
    }
}

namespace {
// Address bits above the memory's size are ignored, as on a real chip.
uint32_t Wrap(uint32_t address, size_t size)
{
    return size ? static_cast<uint32_t>(address % size) : 0;
}
}  // namespace

bool VirtualChip::WriteLocked() const
{
    return family == kFamilyAvr && (lock & (kLockBitLb1 | kLockBitLb2)) != (kLockBitLb1 | kLockBitLb2);
}

bool VirtualChip::ReadLocked() const
{
    return family == kFamilyAvr && (lock & kLockBitLb2) == 0;
}

void VirtualChip::WriteFlash(uint32_t address, const uint8_t* data, uint32_t length)
{
    if (WriteLocked())
        return;
    for (uint32_t i = 0; i < length && !flash.empty(); ++i)
        flash[Wrap(address + i, flash.size())] &= data[i];
}

void VirtualChip::ReadFlash(uint32_t address, uint8_t* data, uint32_t length) const
{
    for (uint32_t i = 0; i < length; ++i)
        data[i] = flash.empty() || ReadLocked() ? 0xFF : flash[Wrap(address + i, flash.size())];
}

void VirtualChip::WriteEeprom(uint32_t address, const uint8_t* data, uint32_t length)
{
    if (WriteLocked())
        return;
    for (uint32_t i = 0; i < length && !eeprom.empty(); ++i)
        eeprom[Wrap(address + i, eeprom.size())] = data[i];
}

void VirtualChip::ReadEeprom(uint32_t address, uint8_t* data, uint32_t length) const
{
    for (uint32_t i = 0; i < length; ++i)
        data[i] = eeprom.empty() || ReadLocked() ? 0xFF : eeprom[Wrap(address + i, eeprom.size())];
}

namespace {

void WriteHexBlock(std::ostream& out, const std::vector<uint8_t>& bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    for (size_t i = 0; i < bytes.size(); i += 32) {
        std::string line;
        for (size_t j = i; j < std::min(bytes.size(), i + 32); ++j) {
            line += kDigits[bytes[j] >> 4];
            line += kDigits[bytes[j] & 15];
        }
        out << line << '\n';
    }
}

bool ReadHexBlock(std::istream& in, std::vector<uint8_t>& bytes, size_t size)
{
    bytes.assign(size, 0xFF);
    size_t pos = 0;
    std::string line;
    while (pos < size && std::getline(in, line)) {
        for (size_t j = 0; j + 1 < line.size() && pos < size; j += 2) {
            unsigned v = 0;
            if (std::sscanf(line.c_str() + j, "%2x", &v) != 1)
                return false;
            bytes[pos++] = static_cast<uint8_t>(v);
        }
    }
    return pos == size;
}

}  // namespace

bool VirtualChip::Save(const std::string& path) const
{
    std::ostringstream out;
    out << "morsk-virtual-chip 1\n";
    out << "chip " << name << '\n';
    char line[64];
    std::snprintf(line, sizeof line, "fuses %02X %02X %02X\nlock %02X\n", fuses[0], fuses[1], fuses[2], lock);
    out << line;
    out << "flash " << flash.size() << '\n';
    WriteHexBlock(out, flash);
    out << "eeprom " << eeprom.size() << '\n';
    WriteHexBlock(out, eeprom);
    const std::string text = out.str();
    return WriteFileAtomically(path, text.data(), text.size());
}

bool VirtualChip::Load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic, key, chipName;
    if (!in || !std::getline(in, magic) || magic != "morsk-virtual-chip 1")
        return false;
    if (!std::getline(in, chipName) || chipName != "chip " + name)
        return false;
    unsigned f0, f1, f2, lk;
    std::string k1, k2;
    if (!(in >> k1 >> std::hex >> f0 >> f1 >> f2 >> k2 >> lk) || k1 != "fuses" || k2 != "lock")
        return false;
    size_t flashSize = 0, eepromSize = 0;
    std::vector<uint8_t> newFlash, newEeprom;
    if (!(in >> std::dec >> key >> flashSize) || key != "flash" || flashSize != flash.size())
        return false;
    in.ignore(1);
    if (!ReadHexBlock(in, newFlash, flashSize))
        return false;
    if (!(in >> key >> eepromSize) || key != "eeprom" || eepromSize != eeprom.size())
        return false;
    in.ignore(1);
    if (!ReadHexBlock(in, newEeprom, eepromSize))
        return false;
    flash = std::move(newFlash);
    eeprom = std::move(newEeprom);
    fuses[0] = static_cast<uint8_t>(f0);
    fuses[1] = static_cast<uint8_t>(f1);
    fuses[2] = static_cast<uint8_t>(f2);
    lock = static_cast<uint8_t>(lk);
    return true;
}

}  // namespace morsk
