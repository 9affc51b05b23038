// "数据缓冲区": the combined view of the data buffer in the hex editor, its
// checksum and range, Fill, and the two buffer options. The editor works on
// its own copy: what is typed or pasted reaches the data buffer only when
// the owner takes edited() after OK.
#pragma once

#include <QDialog>

#include "chip_profile.h"
#include "data_buffer.h"

#include <span>

class QLabel;

namespace morsk {

class CHexEditBase;

class BufferEditorDialog : public QDialog {
    Q_OBJECT
public:
    explicit BufferEditorDialog(QWidget* parent = nullptr);

    // Shows the buffer for the chip's sizes and the options as stored;
    // after OK the caller takes edited() and the options.
    int Open(DataBuffer& buffer, const ChipProfile& profile, bool clearOnChipChange, bool clearOnLoad);
    std::span<const uint8_t> edited() const;
    bool clearOnChipChange() const;
    bool clearOnLoad() const;

    CHexEditBase* editor() const { return editor_; }

signals:
    // "填充" has set the data buffer to 0xFF.
    void Filled();

private:
    uint32_t ViewBytes() const;
    void ShowChecksum();
    void Fill();
    void ShowAddress(uint32_t index);

    CHexEditBase* editor_;
    QLabel* checksum_;
    QLabel* range_;
    QLabel* address_;
    DataBuffer* buffer_ = nullptr;
    const ChipProfile* profile_ = nullptr;
};

// "数据缓冲区范围: 00000000H - %08XH" of the byte count (not the last address).
std::string BufferRangeLine(uint32_t total);

}  // namespace morsk
