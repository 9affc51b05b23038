#include "fuse_model.h"

#include "text_util.h"

namespace morsk {

std::string RiskQuestion(const std::vector<FuseRisk>& risks)
{
    return "这次写入将" + DescribeRisks(risks) + "，写入后本编程器可能再也无法对这块芯片编程，仍要写入吗？";
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
    const FuseTransfer result = ReadFuseBytes(profile_, failureCount, link, &chipId_);
    if (result == FuseTransfer::Done) {
        TakeBaseline();
    }
    return result;
}

std::vector<FuseRisk> FuseEditModel::WriteRisks() const
{
    const uint8_t after[3] = {profile_.fuseLow, profile_.fuseHigh, profile_.fuseExt};
    return RiskyFuseChanges(profile_.deviceName, baseline_, after);
}

FuseTransfer FuseEditModel::Write(ProgrammerLink& link)
{
    const FuseTransfer result = WriteFuseBytes(profile_, link, &chipId_);
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
