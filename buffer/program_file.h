// Program files: raw binary and Intel HEX into the flash image, Intel HEX
// of EEPROM data into the EEPROM image; chosen by extension.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "data_buffer.h"
#include "ui_sinks.h"

namespace morsk {

struct ProgramFileState {
    std::string fileName;   // name and extension
    std::string extension;  // in capitals
    std::string fullPath;
    std::string shownPath;  // what the checksum line shows
};

enum class LoadResult {
    Loaded,          // the whole file went into the image
    LoadedWithError, // a message was shown; what came before it (or what fit) is loaded
    UnknownFormat,   // extension not BIN, HEX or EEP: nothing loaded
    CannotOpen,      // silent: nothing cleared, checksum line not refreshed
};

// The open-file dialog's filter, in its order: description and the
// patterns separated by ";". The patterns name the extension in capitals;
// a dialog matches them in any case, as the loader does.
struct FileFilter {
    const char* description;
    const char* patterns;
};
inline constexpr FileFilter kProgramFileFilters[] = {
    {"程序文件(*.BIN,*.HEX)", "*.BIN;*.HEX"},
    {"二进制文件(*.BIN)", "*.BIN"},
    {"EEPROM文件(*.EEP)", "*.EEP"},
    {"Intel HEX文件(*.HEX)", "*.HEX"},
    {"所有文件(*.*)", "*.*"},
};
inline constexpr char kProgramFileDefaultExtension[] = "bin";
inline constexpr char kFileDialogCancelled[] = "文件打开失败 !!!";

// Chosen by the extension, in any case: "fw.HEX" is a HEX file.
enum class ProgramFileKind { Unknown, Bin, Hex, Eep };
ProgramFileKind ProgramFileKindOf(const std::string& path);

enum class SaveResult { Saved, UnknownFormat, CannotWrite };

// Writes the image a file of that kind loads back to the same bytes: .bin
// the used flash bytes, .hex the flash image, .eep the EEPROM image, as
// Intel HEX. The file is replaced whole or not at all.
SaveResult SaveProgramFile(const std::string& path, const DataBuffer& buffer, const ChipProfile& profile);

// Loads the chosen file by its extension and refreshes the view and the
// checksum line.
LoadResult LoadProgramFile(const std::string& path, ProgramFileState& file, DataBuffer& buffer,
                           const ChipProfile& profile, Notifier& notifier, StatusSink& status);

struct HexReadState {
    uint64_t base = 0;          // from records of type 2 and 4
    bool droppedOutside = false; // data that would have landed past the image
};

enum class HexStep { Continue, Stop };

// One line (a piece of at most 79 characters) of an Intel HEX file.
HexStep ParseHexRecord(const std::string& line, uint8_t* target, uint32_t capacity,
                       HexReadState& state, Notifier& notifier);

// Reads a whole file into target; false when a message was shown.
bool ReadHexFile(const std::string& path, uint8_t* target, uint32_t capacity, Notifier& notifier);
bool ReadHexStream(std::FILE* file, uint8_t* target, uint32_t capacity, Notifier& notifier);

// Messages for input the loader cannot use as it stands.
inline constexpr char kHexMalformed[] = "Error reading Hexfile: malformed record";
std::string OutsideBufferMessage(uint32_t capacity);
std::string BinTooLongMessage(uint32_t capacity);

}  // namespace morsk
