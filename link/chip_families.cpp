#include "chip_families.h"

#include <iterator>

#include "wire_protocol.h"

namespace morsk {
namespace {

std::array<uint8_t, 4> AvrSignature(uint8_t i) { return {kSpiAvrSignature, 0x00, i, 0x00}; }
std::array<uint8_t, 4> At89Signature(uint8_t i) { return {kSpiAt89Signature, i, 0x00, 0x00}; }
std::array<uint8_t, 4> NordicSignature(uint8_t) { return {0x00, 0x00, 0x00, 0x00}; }

const FamilyCommands kFamilies[] = {
    {kRequestModeAvr, AvrSignature, kSpiAtmelErase, true},
    {kRequestModeAt89, At89Signature, kSpiAtmelErase, false},
    {kRequestModeNordic, NordicSignature, kSpiNordicErase, false},
};

}  // namespace

const FamilyCommands* CommandsFor(uint8_t family)
{
    return family < std::size(kFamilies) ? &kFamilies[family] : nullptr;
}

}  // namespace morsk
