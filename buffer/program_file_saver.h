// Writes the images back to program files.
#pragma once

#include <string>

#include "data_buffer.h"
#include "program_file.h"

namespace morsk {

enum class SaveResult { Saved, UnknownFormat, CannotWrite };

// Writes the image a file of that kind loads back to the same bytes: .bin
// the used flash bytes, .hex the flash image, .eep the EEPROM image, as
// Intel HEX. The file is replaced whole or not at all.
SaveResult SaveProgramFile(const std::string& path, const DataBuffer& buffer, const ChipProfile& profile);

}  // namespace morsk
