#include "tr.h"
#include "buffer_editor_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "control_table.h"
#include "hex_edit_base.h"
#include "text_util.h"

namespace morsk {
namespace {

const ControlSpec kControls[] = {
    {1046, ControlKind::Label, "ADDRESS", true, "", "地址"},
    {1044, ControlKind::Label, "CHKSUM", true, "", "效验和"},
    {1045, ControlKind::Label, "BUFFER", true, "", "数据缓冲区范围"},
    {1047, ControlKind::CheckBox, "在选择器件后清除缓冲区", true, "", ""},
    {1048, ControlKind::CheckBox, "载入新的文件时清除缓冲区", true, "", ""},
    {1049, ControlKind::CheckBox, "退出系统时保存缓冲区", false, "", ""},
    {1041, ControlKind::Button, "填充", true, "", ""},
    {1007, ControlKind::Button, "编辑", false, "", ""},
    {1, ControlKind::Button, "确定", true, "", ""},
    {2, ControlKind::DefaultButton, "取消", true, "", ""},
};

}  // namespace

std::string BufferRangeLine(uint32_t total)
{
    return "数据缓冲区范围: " + Format("00000000H - %08XH", total);
}

BufferEditorDialog::BufferEditorDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("EDITBUFFER"));
    CreateControls(kControls, this);
    editor_ = new CHexEditBase(this);
    editor_->setObjectName(ObjectNameFor(1040));
    editor_->setAccessibleName(Tr("数据"));
    checksum_ = Control<QLabel>(this, 1044);
    range_ = Control<QLabel>(this, 1045);
    address_ = Control<QLabel>(this, 1046);
    for (QLabel* label : {checksum_, range_, address_}) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setWordWrap(false);
    }

    auto* lines = new QGroupBox(this);
    auto* linesLayout = new QGridLayout(lines);
    linesLayout->addWidget(address_, 0, 0);
    linesLayout->addWidget(checksum_, 0, 1);
    linesLayout->addWidget(range_, 1, 0, 1, 2);
    auto* options = new QGroupBox(this);
    auto* optionsLayout = new QVBoxLayout(options);
    for (int id : {1047, 1048, 1049})
        optionsLayout->addWidget(Control<QCheckBox>(this, id));
    auto* middle = new QHBoxLayout;
    middle->addWidget(lines, 1);
    middle->addWidget(options);
    auto* buttons = new QHBoxLayout;
    for (int id : {1041, 1007})
        buttons->addWidget(Control<QPushButton>(this, id));
    buttons->addStretch();
    for (int id : {1, 2})
        buttons->addWidget(Control<QPushButton>(this, id));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(editor_, 1);
    layout->addLayout(middle);
    layout->addLayout(buttons);
    resize(760, 520);

    connect(Control<QPushButton>(this, 1), &QPushButton::clicked, this, &QDialog::accept);
    connect(Control<QPushButton>(this, 2), &QPushButton::clicked, this, &QDialog::reject);
    connect(Control<QPushButton>(this, 1041), &QPushButton::clicked, this, &BufferEditorDialog::Fill);
    connect(editor_, &CHexEditBase::caretMoved, this, &BufferEditorDialog::ShowAddress);
}

int BufferEditorDialog::Open(DataBuffer& buffer, const ChipProfile& profile, bool clearOnChipChange,
                             bool clearOnLoad)
{
    buffer_ = &buffer;
    profile_ = &profile;
    setWindowTitle(Tr("数据缓冲区"));
    const uint32_t total = ViewBytes();
    ShowChecksum();
    ShowText(range_, Tr(BufferRangeLine(total)));
    ShowAddress(0);
    Control<QCheckBox>(this, 1047)->setChecked(clearOnChipChange);
    Control<QCheckBox>(this, 1048)->setChecked(clearOnLoad);
    Control<QCheckBox>(this, 1049)->setChecked(false);
    editor_->SetAddressDigits(8);
    editor_->SetShowAddress(true);
    editor_->SetShowAscii(true);
    editor_->SetBytesPerRow(16, true);
    editor_->SetData(std::span<const uint8_t>(buffer.view).first(total));
    editor_->setFocus();
    return exec();
}

std::span<const uint8_t> BufferEditorDialog::edited() const
{
    return editor_->model().data();
}

bool BufferEditorDialog::clearOnChipChange() const
{
    return Control<QCheckBox>(this, 1047)->isChecked();
}

bool BufferEditorDialog::clearOnLoad() const
{
    return Control<QCheckBox>(this, 1048)->isChecked();
}

void BufferEditorDialog::ShowAddress(uint32_t index)
{
    ShowText(address_, Tr("地  址: ") + QString::fromStdString(Format("%08XH", index)));
}

uint32_t BufferEditorDialog::ViewBytes() const
{
    return UsedFlash(*profile_) + UsedEeprom(*profile_);
}

void BufferEditorDialog::ShowChecksum()
{
    buffer_->checksum = ComputeChecksum(*buffer_, *profile_);
    ShowText(checksum_, Tr(ChecksumText(buffer_->checksum)));
}

void BufferEditorDialog::Fill()
{
    ClearImages(*buffer_, *profile_, ClearSelector::All);
    const uint32_t total = ViewBytes();
    editor_->SetData(std::span<const uint8_t>(buffer_->view).first(total));
    ShowChecksum();
    emit Filled();
}

}  // namespace morsk
