#include "tr.h"
#include "auto_editor_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "control_table.h"

namespace morsk {
namespace {

const ControlSpec kControls[] = {
    {1042, ControlKind::List, "", true, "", "器件功能选项"},
    {1043, ControlKind::List, "", true, "", "自动烧录方式"},
    {1007, ControlKind::Button, "增加", true, "", ""},
    {1008, ControlKind::Button, "全部增加", true, "", ""},
    {1018, ControlKind::Button, "删除", true, "", ""},
    {1021, ControlKind::Button, "全部删除", true, "", ""},
    {1, ControlKind::DefaultButton, "确定", true, "", ""},
    {2, ControlKind::Button, "取消", true, "", ""},
};

}  // namespace

AutoEditorDialog::AutoEditorDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(Tr("编辑自动烧录方式"));
    CreateControls(kControls, this);
    offered_ = Control<QListWidget>(this, 1042);
    chosen_ = Control<QListWidget>(this, 1043);
    auto* offeredLabel = new QLabel(Tr("器件功能选项："), this);
    offeredLabel->setBuddy(offered_);
    auto* chosenLabel = new QLabel(Tr("自动烧录方式："), this);
    chosenLabel->setBuddy(chosen_);

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    for (int id : {1007, 1008, 1018, 1021})
        middle->addWidget(Control<QPushButton>(this, id));
    middle->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(Control<QPushButton>(this, 1));
    bottom->addWidget(Control<QPushButton>(this, 2));

    auto* grid = new QGridLayout(this);
    grid->addWidget(offeredLabel, 0, 0);
    grid->addWidget(chosenLabel, 0, 2);
    grid->addWidget(offered_, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(chosen_, 1, 2);
    grid->addLayout(bottom, 2, 0, 1, 3);
    resize(460, 340);

    const auto add = [this] {
        model_.Add(SelectedRow(offered_));
        ShowChosen();
    };
    const auto remove = [this] {
        model_.Delete(SelectedRow(chosen_));
        ShowChosen();
    };
    connect(Control<QPushButton>(this, 1007), &QPushButton::clicked, this, add);
    connect(offered_, &QListWidget::itemDoubleClicked, this, add);
    connect(Control<QPushButton>(this, 1008), &QPushButton::clicked, this, [this] {
        model_.AddAll();
        ShowChosen();
    });
    connect(Control<QPushButton>(this, 1018), &QPushButton::clicked, this, remove);
    connect(chosen_, &QListWidget::itemDoubleClicked, this, remove);
    connect(Control<QPushButton>(this, 1021), &QPushButton::clicked, this, [this] {
        model_.DeleteAll();
        ShowChosen();
    });
    connect(Control<QPushButton>(this, 1), &QPushButton::clicked, this, &QDialog::accept);
    connect(Control<QPushButton>(this, 2), &QPushButton::clicked, this, &QDialog::reject);
}

int AutoEditorDialog::SelectedRow(const QListWidget* list)
{
    return list->selectedItems().isEmpty() ? -1 : list->currentRow();
}

int AutoEditorDialog::Open(uint8_t family, const char* sequence)
{
    model_.Open(family, sequence);
    offered_->clear();
    for (const std::string& step : model_.offered())
        offered_->addItem(QString::fromStdString(step));
    ShowChosen();
    return exec();
}

void AutoEditorDialog::ShowChosen()
{
    chosen_->clear();
    for (const std::string& step : model_.chosen())
        chosen_->addItem(QString::fromStdString(step));
}

}  // namespace morsk
