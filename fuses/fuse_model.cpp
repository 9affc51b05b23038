#include "fuse_model.h"

#include "text_util.h"

namespace morsk {

std::vector<FuseRisk> RiskyFuseChanges(const FuseLayout& layout, const uint8_t before[3], const uint8_t after[3])
{
    std::vector<FuseRisk> risks;
    for (int i = 0; i < 3; ++i) {
        const auto& row = layout.bits[static_cast<size_t>(kRowLow + i)];
        for (int bit = 7; bit >= 0; --bit) {  // in the order the dialog shows them
            const std::string& name = row[static_cast<size_t>(bit)].caption;
            const bool wasProgrammed = !(before[i] >> bit & 1);
            const bool isProgrammed = !(after[i] >> bit & 1);
            if ((name == "RSTDISBL" || name == "DWEN") && !wasProgrammed && isProgrammed)
                risks.push_back({name, true});
            else if (name == "SPIEN" && wasProgrammed && !isProgrammed)
                risks.push_back({name, false});
        }
    }
    return risks;
}

std::string RiskQuestion(const std::vector<FuseRisk>& risks)
{
    std::string changes;
    for (const FuseRisk& r : risks) {
        if (!changes.empty())
            changes += "、";
        changes += (r.programs ? "编程 " : "取消编程 ") + r.bit;
    }
    return "这次写入将" + changes + "，写入后本编程器可能再也无法对这块芯片编程，仍要写入吗？";
}

namespace {

// The profile's byte behind a row, for a const or a mutable profile.
template <typename Profile>
auto& RowByte(Profile& profile, FuseRow row)
{
    switch (row) {
    case kRowLock: return profile.lock;
    case kRowLow: return profile.fuseLow;
    case kRowHigh: return profile.fuseHigh;
    case kRowExt: break;
    }
    return profile.fuseExt;
}

}  // namespace

uint8_t FuseEditModel::Value(FuseRow row) const
{
    return RowByte(profile_, row);
}

uint8_t& FuseEditModel::Ref(FuseRow row)
{
    return RowByte(profile_, row);
}

void FuseEditModel::Open()
{
    layout_ = &FuseLayoutFor(profile_.deviceName);
    for (int row = 0; row < kFuseRows; ++row)
        saved_[static_cast<size_t>(row)] = Value(static_cast<FuseRow>(row));
    TakeBaseline();
}

void FuseEditModel::TakeBaseline()
{
    baseline_[0] = profile_.fuseLow;
    baseline_[1] = profile_.fuseHigh;
    baseline_[2] = profile_.fuseExt;
}

std::string FuseEditModel::ValueText(FuseRow row) const
{
    return Format("0x%02X", Value(row));
}

void FuseEditModel::SetRow(FuseRow row, const std::array<bool, 8>& checked)
{
    uint8_t value = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (!checked[static_cast<size_t>(bit)])
            value |= static_cast<uint8_t>(1u << bit);
    Ref(row) = value;
}

void FuseEditModel::Default()
{
    profile_.fuseLow = profile_.fuseLowDefault;
    profile_.fuseHigh = profile_.fuseHighDefault;
    profile_.fuseExt = profile_.fuseExtDefault;
    profile_.lock = profile_.lockDefault;
    layout_ = &FuseLayoutFor(profile_.deviceName);
}

FuseTransfer FuseEditModel::Read(uint8_t& failureCount, ProgrammerLink& link)
{
    const FuseTransfer result = ReadFuseBytes(profile_, failureCount, link);
    if (result == FuseTransfer::Done) {
        TakeBaseline();
    }
    return result;
}

std::vector<FuseRisk> FuseEditModel::WriteRisks() const
{
    const uint8_t after[3] = {profile_.fuseLow, profile_.fuseHigh, profile_.fuseExt};
    return RiskyFuseChanges(*layout_, baseline_, after);
}

FuseTransfer FuseEditModel::Write(ProgrammerLink& link)
{
    const FuseTransfer result = WriteFuseBytes(profile_, link);
    if (result == FuseTransfer::Done) {
        // The chip holds them now: the next write compares with these.
        TakeBaseline();
    }
    return result;
}

void FuseEditModel::Cancel()
{
    for (int row = 0; row < kFuseRows; ++row)
        Ref(static_cast<FuseRow>(row)) = saved_[static_cast<size_t>(row)];
}

}  // namespace morsk
