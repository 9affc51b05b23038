// The few effects that the core shows to a person. The window implements
// them with widgets, the command line prints them, the tests record them.
#pragma once

#include <cstdint>
#include <string>

namespace morsk {

enum class MessageIcon { None, Information, Warning, Error };

// Message boxes (text, caption, icon). A box only blocks; it returns nothing
// the core looks at.
class Notifier {
public:
    virtual ~Notifier() = default;
    virtual void ShowMessage(const std::string& text, const std::string& caption,
                             MessageIcon icon) = 0;
};

// The main window's status list and its other display-only lines.
class StatusSink {
public:
    virtual ~StatusSink() = default;
    virtual void AddStatusLine(std::string text) = 0;
    virtual void SetChipLine(const std::string& /*text*/) {}
    virtual void SetFileLine(const std::string& /*text*/) {}
    virtual void ShowCounters(uint8_t /*success*/, uint8_t /*failure*/) {}
    virtual void SetOperationsEnabled(bool /*enabled*/) {}
};

// Position 0..100 of the progress bar; set after every block transfer.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void SetProgress(int percent) = 0;
};

// The diagnostics that go to the standard error stream.
class DiagnosticSink {
public:
    virtual ~DiagnosticSink() = default;
    virtual void Write(const std::string& text) = 0;
};

// Defaults for a state nobody watches: boxes and lines vanish, diagnostics
// still reach stderr.
class NullUi : public Notifier, public StatusSink, public ProgressSink {
public:
    void ShowMessage(const std::string&, const std::string&, MessageIcon) override {}
    void AddStatusLine(std::string) override {}
    void SetProgress(int) override {}
};

class StderrDiagnostics : public DiagnosticSink {
public:
    void Write(const std::string& text) override;
};

NullUi& DefaultUi();
StderrDiagnostics& DefaultDiagnostics();

}  // namespace morsk
