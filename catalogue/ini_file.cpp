#include "ini_file.h"

#include "text_util.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace morsk {
namespace {

std::string Trim(const std::string& s)
{
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])))
        ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])))
        --e;
    return s.substr(b, e - b);
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// "[NAME]" gives NAME; anything else gives nullopt.
std::optional<std::string> SectionName(const std::string& line)
{
    const std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[')
        return std::nullopt;
    const size_t close = t.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return Trim(t.substr(1, close - 1));
}

// "key=value" gives key; comments and other lines give nullopt.
std::optional<std::string> KeyName(const std::string& line)
{
    const std::string t = Trim(line);
    if (t.empty() || t[0] == ';' || t[0] == '#')
        return std::nullopt;
    const size_t eq = line.find('=');
    if (eq == std::string::npos)
        return std::nullopt;
    return Trim(line.substr(0, eq));
}

}  // namespace

std::vector<std::string> IniFile::ReadLines(bool* endsWithNewline) const
{
    std::vector<std::string> lines;
    std::ifstream in(path_, std::ios::binary);
    if (endsWithNewline)
        *endsWithNewline = true;
    if (!in)
        return lines;
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string text = ss.str();
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        if (nl == std::string::npos) {
            lines.push_back(text.substr(start));
            if (endsWithNewline)
                *endsWithNewline = false;
            break;
        }
        lines.push_back(text.substr(start, nl - start));
        start = nl + 1;
    }
    return lines;
}

std::optional<std::string> IniFile::ReadString(const std::string& section, const std::string& key) const
{
    bool inSection = false;
    for (std::string line : ReadLines(nullptr)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (auto name = SectionName(line)) {
            inSection = EqualNoCase(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (auto k = KeyName(line); k && EqualNoCase(*k, key)) {
            std::string value = Trim(line.substr(line.find('=') + 1));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front())
                value = value.substr(1, value.size() - 2);
            return value;
        }
    }
    return std::nullopt;
}

int IniFile::ReadInt(const std::string& section, const std::string& key, int fallback) const
{
    const auto value = ReadString(section, key);
    if (!value)
        return fallback;
    // Decimal only, as the profile functions read integers.
    return static_cast<int>(std::strtol(value->c_str(), nullptr, 10));
}

bool IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) const
{
    bool endsWithNewline = true;
    std::vector<std::string> lines = ReadLines(&endsWithNewline);
    // Keep the file's own line ends.
    const bool crlf = !lines.empty() && !lines.front().empty() && lines.front().back() == '\r';
    const std::string eol = crlf ? "\r" : "";

    const std::string newLine = key + "=" + value + eol;
    bool inSection = false;
    bool done = false;
    size_t sectionEnd = std::string::npos;  // index after the last line of the section
    for (size_t i = 0; i < lines.size() && !done; ++i) {
        std::string bare = lines[i];
        if (!bare.empty() && bare.back() == '\r')
            bare.pop_back();
        if (auto name = SectionName(bare)) {
            if (inSection)
                break;
            inSection = EqualNoCase(*name, section);
            if (inSection)
                sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (auto k = KeyName(bare); k && EqualNoCase(*k, key)) {
            lines[i] = newLine;
            done = true;
        } else if (!Trim(bare).empty()) {
            sectionEnd = i + 1;
        }
    }
    if (!done) {
        if (sectionEnd == std::string::npos) {
            if (!lines.empty() && !endsWithNewline)
                endsWithNewline = true;
            lines.push_back("[" + section + "]" + eol);
            lines.push_back(newLine);
        } else {
            lines.insert(lines.begin() + static_cast<long>(sectionEnd), newLine);
        }
    }

    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() || endsWithNewline)
            text += '\n';
    }

    return WriteFileAtomically(path_, text.data(), text.size());
}

}  // namespace morsk
