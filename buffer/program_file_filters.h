// What the open and save dialogs offer for program files.
#pragma once

namespace morsk {

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

}  // namespace morsk
