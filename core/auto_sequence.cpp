#include "auto_sequence.h"

#include <algorithm>
#include <cstring>

#include "chip_operations.h"
#include "text_util.h"

namespace morsk {
namespace {

// Codes "1" to "7" in this order.
const char* const kStepNames[] = {"Program", "Read", "Verify", "Blank_Check", "Erase", "Security", "Protect"};
constexpr int kStepCount = 7;

}  // namespace

std::vector<char> SequenceCodes(const char* sequence)
{
    const size_t length = std::strlen(sequence);
    const int steps = ParseStepCount(sequence);
    std::vector<char> codes;
    for (int i = 1; i <= steps; ++i)
        codes.push_back(static_cast<size_t>(i) < length ? sequence[i] : '\0');
    return codes;
}

int ParseStepCount(const char* text)
{
    return text ? std::max(HexDigitValue(text[0]), 0) : 0;
}

std::string AutoStepNames(const char* sequence)
{
    std::string names;
    for (char code : SequenceCodes(sequence))
        if (!StepName(code).empty())
            names += (names.empty() ? "" : " ") + StepName(code);
    return names;
}

std::string StepName(char code)
{
    if (code >= '1' && code < '1' + kStepCount)
        return kStepNames[code - '1'];
    return {};
}

char StepCode(const std::string& name)
{
    for (int i = 0; i < kStepCount; ++i)
        if (name == kStepNames[i])
            return static_cast<char>('1' + i);
    return '0';
}

bool RunAuto(AppState& app, ProgrammerLink& link)
{
    const std::vector<char> codes = SequenceCodes(app.settings.autoSequence);
    // "Security", "Protect" and unknown codes have no chip command: a
    // sequence of only those would count a chip that nothing was done to.
    if (std::none_of(codes.begin(), codes.end(), [](char c) { return c >= '1' && c <= '5'; })) {
        app.AddStatusLine(kAutoEmptyLine);
        return false;
    }
    ChipOperations ops(app, link);
    auto countFailure = [&app] {
        ++app.failureCount;
        app.ShowCounters();
        return false;
    };
    // Every chip is identified first, so that no step reads, writes or
    // judges an empty socket or another chip.
    if (!ops.InitProgrammer() || !ops.IdentifyChip())
        return countFailure();

    bool allOk = true;
    for (const char code : codes) {
        if (app.link.cancelled)
            break;
        switch (code) {
        case '1':
            allOk &= ops.ProgramFlashStep() && ops.WriteSerialEepromStep();
            break;
        case '2':
            allOk &= ops.ReadChip(ChipOperations::ReadLines::AutoStep);
            break;
        case '3':
            allOk &= ops.VerifyStep() && ops.VerifySerialEepromStep();
            break;
        case '4':
            allOk &= ops.BlankCheckStep();
            break;
        case '5':
            allOk &= ops.EraseStep();
            break;
        default:
            break;
        }
    }
    if (app.link.cancelled) {
        ops.ReportCancelled();
        return countFailure();
    }
    link.LeaveProgramming();
    app.AddStatusLine(allOk ? kAutoDoneLine : kAutoFailedLine);
    if (allOk)
        ++app.successCount;
    else
        ++app.failureCount;
    app.ShowCounters();
    return allOk;
}

}  // namespace morsk
