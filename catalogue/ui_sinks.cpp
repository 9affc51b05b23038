#include "ui_sinks.h"

#include <cstdarg>
#include <cstdio>

namespace morsk {

void StderrDiagnostics::Write(const std::string& text)
{
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
}

NullUi& DefaultUi()
{
    static NullUi ui;
    return ui;
}

StderrDiagnostics& DefaultDiagnostics()
{
    static StderrDiagnostics diag;
    return diag;
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
