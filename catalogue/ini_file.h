// A private-profile (INI) file read and written the way the platform's
// profile functions do it: section and key names match without regard to
// case, and writing one key keeps every other line of the file as it was.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace morsk {

class IniFile {
public:
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    // The value of key in section, blanks around it removed; nullopt when
    // the file, the section or the key is missing.
    std::optional<std::string> ReadString(const std::string& section, const std::string& key) const;
    // A decimal integer with its leading sign; text that is no number gives
    // 0; a missing key gives `fallback`.
    int ReadInt(const std::string& section, const std::string& key, int fallback) const;
    // Replaces or adds key=value. The new file is written beside the old one
    // and renamed over it, so the old file stays whole if anything fails.
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) const;

    const std::string& path() const { return path_; }

private:
    struct Text {
        std::vector<std::string> lines;  // without the LF; a CR stays
        bool endsWithNewline = true;
    };
    Text ReadText() const;
    std::string path_;
};

}  // namespace morsk
