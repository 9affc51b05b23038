#include "auto_editor_model.h"

#include "chip_profile.h"
#include "text_util.h"

namespace morsk {

void AutoEditorModel::Open(uint8_t family, const char* sequence)
{
    // The five common steps, then the family's own sixth.
    offered_.clear();
    for (char code = '1'; code <= '5'; ++code)
        offered_.push_back(StepName(code));
    offered_.push_back(family == kFamilyAvr ? StepName('6') : StepName('7'));
    chosen_.clear();
    for (const char code : SequenceCodes(sequence)) {
        const std::string name = StepName(code);
        if (!name.empty())
            chosen_.push_back(name);
    }
}

bool AutoEditorModel::Add(int offeredIndex)
{
    if (offeredIndex < 0 || static_cast<size_t>(offeredIndex) >= offered_.size() ||
        chosen_.size() >= kMaxAutoSteps)
        return false;
    chosen_.push_back(offered_[static_cast<size_t>(offeredIndex)]);
    return true;
}

void AutoEditorModel::AddAll()
{
    for (const std::string& step : offered_)
        if (chosen_.size() < kMaxAutoSteps)
            chosen_.push_back(step);
}

void AutoEditorModel::Delete(int chosenIndex)
{
    if (chosenIndex >= 0 && static_cast<size_t>(chosenIndex) < chosen_.size())
        chosen_.erase(chosen_.begin() + chosenIndex);
}

void AutoEditorModel::DeleteAll()
{
    chosen_.clear();
}

std::string AutoEditorModel::BuildSequence() const
{
    std::string text = Format("%X", static_cast<unsigned>(chosen_.size()));
    for (const std::string& step : chosen_)
        text += StepCode(step);
    return text;
}

}  // namespace morsk
