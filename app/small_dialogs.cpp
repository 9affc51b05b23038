#include "small_dialogs.h"

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

const ControlSpec kAboutControls[] = {
    {1, ControlKind::DefaultButton, "确定", true, "", ""},
};

}  // namespace

OptionsDialog::OptionsDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("操作选项"));
    CreateControls(kOptionsControls, this);
    skipBlank_ = Control<QCheckBox>(this, kSkipBlankId);
    auto* explanation = new QLabel(
        QStringLiteral("FLASH 只写到最后一个非空页为止，EEPROM 映像全为 0xFF 时不写入，大容量芯片编程快得多。"
                       "注意：未擦除的芯片上，EEPROM 中原有的数据因此会保留。"),
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

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("关于 Tarvel"));
    CreateControls(kAboutControls, this);
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/morsk.svg")).pixmap(48, 48));
    auto* lines = new QVBoxLayout;
    for (const char* text : {"Tarvel 1.0 版", "Morsk 编程器  2026", "作者：Morsk 开发组",
                             "相关链接：https://example.org/morsk"}) {
        auto* label = new QLabel(QString::fromUtf8(text), this);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);  // plain text, opens nothing
        lines->addWidget(label);
    }
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(lines);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Control<QPushButton>(this, 1), 0, Qt::AlignRight);
    connect(Control<QPushButton>(this, 1), &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace morsk
