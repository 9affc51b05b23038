// The list logic of the auto sequence's editor: offered and chosen steps.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "auto_sequence.h"

namespace morsk {

class AutoEditorModel {
public:
    // Fills both lists: the offered steps for the family and the stored
    // sequence's steps (codes that are not "1".."7" are left out).
    void Open(uint8_t family, const char* sequence);
    // Appends offered step `offeredIndex` while room remains; an index
    // that selects nothing appends nothing.
    bool Add(int offeredIndex);
    void AddAll();
    void Delete(int chosenIndex);
    void DeleteAll();
    // "%X" of the count, then the codes.
    std::string BuildSequence() const;

    const std::vector<std::string>& offered() const { return offered_; }
    const std::vector<std::string>& chosen() const { return chosen_; }

private:
    std::vector<std::string> offered_;
    std::vector<std::string> chosen_;
};

}  // namespace morsk
