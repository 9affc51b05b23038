// "数据缓冲区": the combined view of the data buffer in the hex editor, its
// checksum and range, and Fill. The editor works on its own copy: nothing
// typed or pasted there reaches the data buffer.
#pragma once

#include <QDialog>

#include "chip_profile.h"
#include "data_buffer.h"

class QLabel;

namespace morsk {

class CHexEditBase;

class BufferEditorDialog : public QDialog {
    Q_OBJECT
public:
    explicit BufferEditorDialog(QWidget* parent = nullptr);

    // Shows the buffer for the chip's sizes; the caller refreshes its
    // checksum line after OK.
    int Open(DataBuffer& buffer, const ChipProfile& profile);

    CHexEditBase* editor() const { return editor_; }

signals:
    // "填充" has set the data buffer to 0xFF.
    void Filled();

private:
    uint32_t ViewBytes() const;
    void ShowChecksum();
    void Fill();

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
