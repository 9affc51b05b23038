#include "text_util.h"

#include <unistd.h>

#include <cctype>
#include <cstdarg>

namespace morsk {

int LineReader::GetChar()
{
    if (hasPending_) {
        hasPending_ = false;
        return pending_;
    }
    int c = std::fgetc(file_);
    if (c == '\r') {
        const int next = std::fgetc(file_);
        if (next == '\n')
            return '\n';
        pending_ = next;
        hasPending_ = true;
    }
    return c;
}

bool LineReader::Next(std::string& piece)
{
    piece.clear();
    while (piece.size() < maxChars_) {
        const int c = GetChar();
        if (c == EOF)
            break;
        piece.push_back(static_cast<char>(c));
        if (c == '\n')
            break;
    }
    return !piece.empty();
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t length)
{
    const std::string temp = path + ".tmp" + std::to_string(::getpid());
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f)
        return false;
    const bool written = std::fwrite(data, 1, length, f) == length;
    const bool flushed = std::fflush(f) == 0 && ::fsync(::fileno(f)) == 0;
    const bool closed = std::fclose(f) == 0;
    if (!written || !flushed || !closed || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

std::string Format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string out;
    if (needed > 0) {
        out.resize(static_cast<size_t>(needed) + 1);
        std::vsnprintf(out.data(), out.size(), fmt, args);
        out.resize(static_cast<size_t>(needed));
    }
    va_end(args);
    return out;
}

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string UpperExtension(const std::string& path)
{
    const std::string name = FileNameOf(path);
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos)
        return {};
    std::string ext = name.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ext;
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

}  // namespace morsk
