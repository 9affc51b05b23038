// The auto sequence: a count digit and up to 15 step codes, run with one
// button for production batches.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app_state.h"
#include "programmer_link.h"

namespace morsk {

inline constexpr int kMaxAutoSteps = 15;

inline constexpr char kAutoDoneLine[] = "自动已完成!";
// A run in which a step failed: counted as a failure.
inline constexpr char kAutoFailedLine[] = "自动烧录失败!";
// Nothing to run: no step with a chip command is stored.
inline constexpr char kAutoEmptyLine[] = "自动烧录步骤为空! 请用\"编辑自动烧录\"添加步骤";

// The first character as one hexadecimal digit; 0 for anything else.
int ParseStepCount(const char* text);

// The step codes of a stored sequence in order: as many as its count digit
// says, '\0' where the text ends early.
std::vector<char> SequenceCodes(const char* sequence);

// "Erase Program Verify": the names of a stored sequence's steps.
std::string AutoStepNames(const char* sequence);

// The editor's name of a step code "1".."7"; empty for anything else.
std::string StepName(char code);
// The code of a step name; '0' for a name that is none of them.
char StepCode(const std::string& name);

// One run of the stored sequence. A run counts as a success only when it
// reached its end and every step it performed succeeded; every other run
// counts as a failure. Both counters are shown at the end. A sequence with
// no chip step runs nothing and counts nothing.
bool RunAuto(AppState& app, ProgrammerLink& link);

}  // namespace morsk
