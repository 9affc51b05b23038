// Program files: raw binary and Intel HEX into the flash image, Intel HEX
// of EEPROM data into the EEPROM image; chosen by extension. A load is all
// or nothing: a refused file leaves the images, the view, the checksum and
// the file line as they were.
#pragma once

#include <cstdint>
#include <string>

#include "data_buffer.h"
#include "program_file_filters.h"
#include "ui_sinks.h"

namespace morsk {

struct ProgramFileState {
    std::string fileName;   // name and extension
    std::string extension;  // in capitals
    std::string fullPath;
    std::string shownPath;  // what the checksum line shows
};

enum class LoadResult {
    Loaded,         // the whole file is in the image
    Refused,        // its content cannot be used as it stands: nothing changed
    UnknownFormat,  // extension not BIN, HEX or EEP: nothing changed
    CannotOpen,     // the file cannot be read: nothing changed
};

// Chosen by the extension, in any case: "fw.HEX" is a HEX file.
enum class ProgramFileKind { Unknown, Bin, Hex, Eep };
ProgramFileKind ProgramFileKindOf(const std::string& path);

// The sections of an AVR toolchain's whole-program HEX file, by address.
inline constexpr uint32_t kHexEepromSection = 0x810000;
inline constexpr uint32_t kHexFuseSection = 0x820000;
inline constexpr uint32_t kHexLockSection = 0x830000;
inline constexpr uint32_t kHexSignatureSection = 0x840000;
inline constexpr uint32_t kHexSectionSpan = 0x10000;

// Loads the chosen file by its extension into the images for the chip's
// sizes, then refreshes the view and the checksum line. Anything wrong is
// told in one message (the text, the file and the reason) and changes
// nothing. `note`, when given, receives a remark on a file that loaded
// whole but held sections that were left out (fuses, lock, signature).
LoadResult LoadProgramFile(const std::string& path, ProgramFileState& file, DataBuffer& buffer,
                           const ChipProfile& profile, Notifier& notifier, StatusSink& status,
                           std::string* note = nullptr);

// The whole file (up to 64 MiB), or false with the system's reason; a
// folder is refused.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& reason);

// The texts that start the messages.
inline constexpr char kFileOpenError[] = "文件打开错误 !!!";
inline constexpr char kHexReadError[] = "Error reading Hexfile";
inline constexpr char kHexChecksumError[] = "Checksum Error reading Hexfile";

}  // namespace morsk
