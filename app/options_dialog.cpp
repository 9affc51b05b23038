#include "tr.h"
#include "options_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "control_table.h"

namespace morsk {
namespace {

constexpr int kSkipBlankId = 1101;

const ControlSpec kOptionsControls[] = {
    {kSkipBlankId, ControlKind::CheckBox, "只编程数据缓冲区中已用的部分", true, "", ""},
    {1, ControlKind::DefaultButton, "OK", true, "", ""},
    {2, ControlKind::Button, "Cancel", true, "", ""},
};

}  // namespace

OptionsDialog::OptionsDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(Tr("操作选项"));
    CreateControls(kOptionsControls, this);
    skipBlank_ = Control<QCheckBox>(this, kSkipBlankId);
    auto* explanation = new QLabel(
        Tr("FLASH 只写到最后一个非空页为止，EEPROM 映像全为 0xFF 时不写入，大容量芯片编程快得多。") +
            (CurrentLanguage() == Language::Chinese ? QString() : QStringLiteral(" ")) +
            Tr("注意：未擦除的芯片上，EEPROM 中原有的数据因此会保留。"),
        this);
    explanation->setWordWrap(true);
    explanation->setIndent(20);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Control<QPushButton>(this, 1));
    buttons->addWidget(Control<QPushButton>(this, 2));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(skipBlank_);
    layout->addWidget(explanation);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(420, 180);
    connect(Control<QPushButton>(this, 1), &QPushButton::clicked, this, &QDialog::accept);
    connect(Control<QPushButton>(this, 2), &QPushButton::clicked, this, &QDialog::reject);
}

int OptionsDialog::Open(bool skipBlank)
{
    skipBlank_->setChecked(skipBlank);
    return exec();
}

bool OptionsDialog::skipBlank() const
{
    return skipBlank_->isChecked();
}

}  // namespace morsk
