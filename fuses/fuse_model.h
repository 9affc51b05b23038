// The fuse dialog without its widgets: the four bytes of the chip profile
// as 32 boxes (checked = bit 0 = programmed), the layout's captions, and
// Default, Read, Write and Cancel. The dialog shows what this says.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "chip_profile.h"
#include "fuse_catalogue.h"
#include "fuse_transfer.h"
#include "lockout_bits.h"

namespace morsk {

// One sentence asking whether to write anyway.
std::string RiskQuestion(const std::vector<FuseRisk>& risks);

class FuseEditModel {
public:
    explicit FuseEditModel(ChipProfile& profile) : profile_(profile) {}

    // Takes the saved copy and the chip's layout.
    void Open();

    uint8_t Value(FuseRow row) const;
    bool Checked(FuseRow row, int bit) const { return !(Value(row) >> bit & 1); }
    // "0x%02X".
    std::string ValueText(FuseRow row) const;
    const FuseLayout& layout() const { return *layout_; }

    // A click on any box of the row: the byte is rebuilt from all eight
    // boxes (checked clears the bit), so disabled boxes keep what they show.
    void SetRow(FuseRow row, const std::array<bool, 8>& checked);

    // The list's defaults and lock 0xFF, then the layout again.
    void Default();

    // Read counts a failure when the programmer cannot be started.
    FuseTransfer Read(uint8_t& failureCount, ProgrammerLink& link);
    // What Write would risk, compared with the values shown at opening,
    // or read or written since.
    std::vector<FuseRisk> WriteRisks() const;
    FuseTransfer Write(ProgrammerLink& link);
    // The signature the last read or write found (for a wrong chip).
    const FuseChipId& chipId() const { return chipId_; }

    // Puts the four values back as they were at opening.
    void Cancel();

private:
    uint8_t& Ref(FuseRow row);
    // What the chip is known to hold: at opening, and after a read or write.
    void TakeBaseline();

    ChipProfile& profile_;
    const FuseLayout* layout_ = &BaseFuseLayout();
    std::array<uint8_t, kFuseRows> saved_{};
    FuseChipId chipId_;
    uint8_t baseline_[3] = {};  // low, high, extended the user last saw from the chip or at opening
};

}  // namespace morsk
