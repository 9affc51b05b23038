// Recorders and small file helpers shared by the tests.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "text_util.h"
#include "ui_sinks.h"

namespace morsk::test {

struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon;
    bool operator==(const Message&) const = default;
};

class RecordingUi : public StatusSink, public Notifier, public ProgressSink, public DiagnosticSink {
public:
    void AddStatusLine(std::string text) override { lines.push_back(std::move(text)); }
    void SetChipLine(const std::string& text) override { chipLine = text; }
    void SetFileLine(const std::string& text) override { fileLine = text; }
    void ShowCounters(uint8_t s, uint8_t f) override { counters.push_back({s, f}); }
    void SetOperationsEnabled(bool e) override { enabled = e; }
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override
    {
        messages.push_back({text, caption, icon});
    }
    void SetProgress(int percent) override { progress.push_back(percent); }
    void Write(const std::string& text) override { diagnostics += text; }

    std::vector<std::string> MessageTexts() const
    {
        std::vector<std::string> out;
        for (const Message& m : messages)
            out.push_back(m.text);
        return out;
    }

    std::vector<std::string> lines;
    std::vector<Message> messages;
    std::vector<int> progress;
    std::vector<std::pair<int, int>> counters;
    std::string diagnostics;
    std::string chipLine;
    std::string fileLine;
    bool enabled = false;
};

// A fresh directory under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "morsk-test-XXXXXX").string();
        path_ = ::mkdtemp(tmpl.data());
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace morsk::test
