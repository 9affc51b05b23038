#include "ui_sinks.h"

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

}  // namespace morsk
