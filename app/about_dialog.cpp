#include "tr.h"
#include "about_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "control_table.h"

namespace morsk {
namespace {

const ControlSpec kAboutControls[] = {
    {1, ControlKind::DefaultButton, "确定", true, "", ""},
};

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(Tr("关于 Tarvel"));
    CreateControls(kAboutControls, this);
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/morsk.svg")).pixmap(48, 48));
    auto* lines = new QVBoxLayout;
    for (const char* text : {"Tarvel 1.0 版", "Morsk 编程器  2026", "作者：Morsk 开发组",
                             "相关链接：https://example.org/morsk"}) {
        auto* label = new QLabel(Tr(text), this);
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
