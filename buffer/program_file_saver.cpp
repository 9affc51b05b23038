#include "program_file_saver.h"

#include "hex_writer.h"
#include "text_util.h"

namespace morsk {

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

}  // namespace morsk
