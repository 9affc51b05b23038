// morsk-cli's face: status lines on standard output; message boxes,
// diagnostics and (on a terminal) a progress bar on standard error.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <string>

#include "translate.h"
#include "ui_sinks.h"

namespace morsk::cli {

class ConsoleUi : public StatusSink, public Notifier, public ProgressSink, public DiagnosticSink {
public:
    ConsoleUi() : showBar_(::isatty(STDERR_FILENO) == 1) {}

    void AddStatusLine(std::string text) override
    {
        if (quiet)
            return;
        EndBar();
        std::printf("%s\n", Translate(text).c_str());
        std::fflush(stdout);
    }
    void SetFileLine(const std::string& text) override { fileLine = text; }
    void SetChipLine(const std::string& text) override { chipLine = text; }
    void ShowMessage(const std::string& text, const std::string&, MessageIcon) override
    {
        EndBar();
        std::fprintf(stderr, "%s\n", Translate(text).c_str());
    }
    void SetProgress(int percent) override
    {
        if (quiet || !showBar_ || (barShown_ && percent == lastPercent_))
            return;
        lastPercent_ = percent;
        const int filled = percent * 40 / 100;
        std::fprintf(stderr, "\r[%s%s] %3d%%", std::string(static_cast<size_t>(filled), '#').c_str(),
                     std::string(static_cast<size_t>(40 - filled), ' ').c_str(), percent);
        barShown_ = true;
    }
    void Write(const std::string& text) override
    {
        EndBar();
        std::fputs(text.c_str(), stderr);
    }
    void EndBar()
    {
        if (barShown_)
            std::fputc('\n', stderr);
        barShown_ = false;
    }

    std::string fileLine;
    std::string chipLine;
    // The watch prints lines of its own instead.
    bool quiet = false;

private:
    bool showBar_;
    bool barShown_ = false;
    int lastPercent_ = -1;
};

}  // namespace morsk::cli
