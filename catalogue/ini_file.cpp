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

IniFile::Text IniFile::ReadText() const
{
    Text text;
    std::ifstream in(path_, std::ios::binary);
    if (!in)
        return text;
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string content = ss.str();
    for (size_t start = 0; start < content.size();) {
        const size_t nl = content.find('\n', start);
        // A CR before the LF stays with its line; blank-trimming skips it.
        text.lines.push_back(content.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
        if (nl == std::string::npos) {
            text.endsWithNewline = false;
            break;
        }
        start = nl + 1;
    }
    return text;
}

std::optional<std::string> IniFile::ReadString(const std::string& section, const std::string& key) const
{
    bool inSection = false;
    for (const std::string& line : ReadText().lines) {
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
    Text text = ReadText();
    std::vector<std::string>& lines = text.lines;
    // New lines take the line end of the file's first line.
    const bool crlf = !lines.empty() && !lines[0].empty() && lines[0].back() == '\r';
    const std::string cr = crlf ? "\r" : "";
    const std::string newLine = key + "=" + value + cr;
    bool inSection = false;
    size_t sectionEnd = std::string::npos;  // index after the last non-blank line of the section
    bool done = false;
    for (size_t i = 0; i < lines.size() && !done; ++i) {
        if (auto name = SectionName(lines[i])) {
            if (inSection)
                break;
            inSection = EqualNoCase(*name, section);
            if (inSection)
                sectionEnd = i + 1;
        } else if (!inSection) {
            continue;
        } else if (auto k = KeyName(lines[i]); k && EqualNoCase(*k, key)) {
            lines[i] = newLine;
            done = true;
        } else if (!Trim(lines[i]).empty()) {
            sectionEnd = i + 1;
        }
    }
    if (!done && sectionEnd == std::string::npos) {
        lines.push_back("[" + section + "]" + cr);
        lines.push_back(newLine);
        text.endsWithNewline = true;
    } else if (!done) {
        lines.insert(lines.begin() + static_cast<long>(sectionEnd), newLine);
    }

    std::string out;
    for (size_t i = 0; i < lines.size(); ++i)
        out += lines[i] + (i + 1 < lines.size() || text.endsWithNewline ? "\n" : "");
    return WriteFileAtomically(path_, out.data(), out.size());
}

}  // namespace morsk
