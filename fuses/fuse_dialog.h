// "熔丝位设置": the lock byte and the three fuse bytes bit by bit, over
// FuseEditModel. Created once with the main window and shown each time.
#pragma once

#include <QDialog>

#include <array>
#include <functional>
#include <string>

#include "busy_guard.h"
#include "fuse_model.h"
#include "programmer_link.h"

class QCheckBox;
class QLineEdit;

namespace morsk {

class FuseDialog : public QDialog {
    Q_OBJECT
public:
    // The dialog has its own command object on the one link state; Read
    // counts into `failureCount`; while it reads or writes, `busy` keeps
    // this dialog and `owner` alive and deaf to input.
    FuseDialog(ChipProfile& profile, LinkState& link, uint8_t& failureCount, BusyFilter& busy,
               QWidget* owner);

    int Open();
    const FuseEditModel& model() const { return model_; }

    // Taken around every read and write, so that no other process drives
    // the programmer meanwhile: false (with the reason) sends nothing.
    void SetProgrammerGate(std::function<bool(std::string&)> claim, std::function<void()> release)
    {
        claim_ = std::move(claim);
        release_ = std::move(release);
    }

    // The box of a row's bit, and the ids of the boxes bit 0 to bit 7.
    QCheckBox* Box(FuseRow row, int bit) const { return boxes_[static_cast<size_t>(row)][static_cast<size_t>(bit)]; }
    static const std::array<std::array<int, 8>, kFuseRows>& BoxIds();

    void reject() override;

private:
    void Refresh();
    void ApplyLayout();
    void RowClicked(FuseRow row);
    void Read();
    void Write();
    void SayOutcome(FuseTransfer result, bool reading);
    // Runs a transfer with the busy rules and the programmer's lock; false
    // when the programmer is in use (the user has been told).
    bool Transfer(const std::function<FuseTransfer()>& transfer, FuseTransfer& result);

    FuseEditModel model_;
    ProgrammerLink link_;
    uint8_t& failureCount_;
    BusyFilter& busy_;
    QWidget* owner_;
    std::function<bool(std::string&)> claim_;
    std::function<void()> release_;
    std::array<std::array<QCheckBox*, 8>, kFuseRows> boxes_{};
    std::array<QLineEdit*, kFuseRows> values_{};
};

}  // namespace morsk
