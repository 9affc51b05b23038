// Small text and file helpers shared by the readers and writers.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace morsk {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reads text the way the C library's fgets does on a text-mode stream:
// CR LF becomes LF, and a line comes in pieces of at most maxChars
// characters, line break included; the rest of a longer line is the next
// piece.
class LineReader {
public:
    LineReader(std::FILE* file, size_t maxChars) : file_(file), maxChars_(maxChars) {}
    bool Next(std::string& piece);

private:
    int GetChar();
    std::FILE* file_;
    size_t maxChars_;
    int pending_ = EOF;
    bool hasPending_ = false;
};

// Writes the bytes to a temporary file beside `path` and renames it over
// `path`, so a crash or a full disk never leaves a truncated file. False
// when anything failed; the old file is then untouched.
bool WriteFileAtomically(const std::string& path, const void* data, size_t length);

// printf-style formatting into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

// The part of a path after its last '/'.
std::string FileNameOf(const std::string& path);
// The extension of a path's file name (after its last '.') in capitals;
// empty when the name has no dot.
std::string UpperExtension(const std::string& path);

// 0..15 for "0"-"9", "A"-"F", "a"-"f"; -1 for anything else.
int HexDigitValue(char c);

}  // namespace morsk
