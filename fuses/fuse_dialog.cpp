#include "tr.h"
#include "fuse_dialog.h"
#include "text_util.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "control_table.h"

namespace morsk {
namespace {

// The dialog's caption, which its message boxes carry too.
QString Title()
{
    return Tr("熔丝位设置");
}

const std::array<std::array<int, 8>, kFuseRows> kBoxIds = {{
    {1056, 1057, 1058, 1059, 1060, 1061, 1062, 1055},  // lock byte, bit 0 first
    {1027, 1028, 1029, 1030, 1031, 1032, 1033, 1034},  // fuse low
    {1035, 1036, 1040, 1041, 1042, 1043, 1044, 1045},  // fuse high
    {1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053},  // extended fuse
}};

struct RowText {
    const char* group;
    const char* label;
    int valueId;
};
const RowText kRows[kFuseRows] = {
    {"Security", "Security:", 1018},
    {"Fuse Low Bits", "Fuse Low:", 1054},
    {"Fuse High Bits", "Fuse High:", 1016},
    {"Extended Fuse", "Extended Fuse:", 1017},
};

const ControlSpec kControls[] = {
    {1, ControlKind::Button, "确  定", true, "", ""},
    {2, ControlKind::Button, "取  消", true, "", ""},
    {1037, ControlKind::Button, "默  认", true, "", ""},
    {1038, ControlKind::Button, "写  入", true, "", ""},
    {1039, ControlKind::Button, "读  取", true, "", ""},
    {1054, ControlKind::Edit, "", true, "", "Fuse Low"},
    {1016, ControlKind::Edit, "", true, "", "Fuse High"},
    {1017, ControlKind::Edit, "", true, "", "Extended Fuse"},
    {1018, ControlKind::Edit, "", true, "", "Security"},
};

}  // namespace

const std::array<std::array<int, 8>, kFuseRows>& FuseDialog::BoxIds()
{
    return kBoxIds;
}

FuseDialog::FuseDialog(ChipProfile& profile, LinkState& link, uint8_t& failureCount, BusyFilter& busy,
                       QWidget* owner)
    : QDialog(owner), model_(profile), link_(link, profile), failureCount_(failureCount), busy_(busy), owner_(owner)
{
    setWindowTitle(Title());
    CreateControls(kControls, this);
    auto* rows = new QVBoxLayout;
    for (int row = 0; row < kFuseRows; ++row) {
        auto* group = new QGroupBox(Tr(kRows[row].group), this);
        auto* line = new QHBoxLayout(group);
        for (int bit = 7; bit >= 0; --bit) {
            ControlSpec spec{kBoxIds[static_cast<size_t>(row)][static_cast<size_t>(bit)], ControlKind::CheckBox,
                             "----", false, "", ""};
            auto* box = static_cast<QCheckBox*>(CreateControl(spec, group));
            box->setMinimumWidth(86);
            boxes_[static_cast<size_t>(row)][static_cast<size_t>(bit)] = box;
            line->addWidget(box);
            connect(box, &QCheckBox::clicked, this, [this, row] { RowClicked(static_cast<FuseRow>(row)); });
        }
        auto* value = Control<QLineEdit>(this, kRows[row].valueId);
        value->setReadOnly(true);
        value->setFixedWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0xFF")) + 24);
        values_[static_cast<size_t>(row)] = value;
        auto* label = new QLabel(Tr(kRows[row].label), group);
        label->setBuddy(value);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("Extended Fuse:")) + 4);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        line->addSpacing(12);
        line->addWidget(label);
        line->addWidget(value);
        rows->addWidget(group);
    }
    auto* buttons = new QHBoxLayout;
    auto* warning = new QLabel(Tr("注意：请谨慎设置容丝位!"), this);
    warning->setObjectName(QStringLiteral("warning"));
    buttons->addWidget(warning);
    buttons->addStretch();
    for (int id : {1037, 1039, 1038, 1, 2})
        buttons->addWidget(Control<QPushButton>(this, id));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addLayout(buttons);

    connect(Control<QPushButton>(this, 1), &QPushButton::clicked, this, &QDialog::accept);
    connect(Control<QPushButton>(this, 2), &QPushButton::clicked, this, &FuseDialog::reject);
    connect(Control<QPushButton>(this, 1037), &QPushButton::clicked, this, [this] {
        model_.Default();
        Refresh();
        ApplyLayout();
    });
    connect(Control<QPushButton>(this, 1039), &QPushButton::clicked, this, &FuseDialog::Read);
    connect(Control<QPushButton>(this, 1038), &QPushButton::clicked, this, &FuseDialog::Write);
}

int FuseDialog::Open()
{
    setWindowTitle(Title());
    model_.Open();
    Refresh();
    ApplyLayout();
    return exec();
}

void FuseDialog::Refresh()
{
    for (int row = 0; row < kFuseRows; ++row) {
        const auto r = static_cast<FuseRow>(row);
        for (int bit = 0; bit < 8; ++bit)
            Box(r, bit)->setChecked(model_.Checked(r, bit));
        ShowText(values_[static_cast<size_t>(row)], QString::fromStdString(model_.ValueText(r)));
    }
}

void FuseDialog::ApplyLayout()
{
    for (int row = 0; row < kFuseRows; ++row) {
        for (int bit = 0; bit < 8; ++bit) {
            const FuseSlot& slot = model_.layout().bits[static_cast<size_t>(row)][static_cast<size_t>(bit)];
            QCheckBox* box = Box(static_cast<FuseRow>(row), bit);
            box->setText(QString::fromStdString(slot.caption));
            box->setAccessibleName(QString::fromStdString(slot.caption));
            box->setEnabled(slot.enabled);
        }
    }
    update();
}

void FuseDialog::RowClicked(FuseRow row)
{
    std::array<bool, 8> checked{};
    for (int bit = 0; bit < 8; ++bit)
        checked[static_cast<size_t>(bit)] = Box(row, bit)->isChecked();
    model_.SetRow(row, checked);
    ShowText(values_[static_cast<size_t>(row)], QString::fromStdString(model_.ValueText(row)));
}

bool FuseDialog::Transfer(const std::function<FuseTransfer()>& transfer, FuseTransfer& result)
{
    BusyGuard guard(busy_, {this, owner_});
    std::string error;
    if (claim_ && !claim_(error)) {
        link_.state().diagnostics->Write("Warning: " + error + "\n");
        QMessageBox::warning(this, Title(), Tr(kProgrammerInUseLine));
        return false;
    }
    result = transfer();
    if (release_)
        release_();
    return true;
}

void FuseDialog::Read()
{
    FuseTransfer result;
    if (!Transfer([this] { return model_.Read(failureCount_, link_); }, result))
        return;
    Refresh();
    SayOutcome(result, true);
}

void FuseDialog::Write()
{
    const std::vector<FuseRisk> risks = model_.WriteRisks();
    if (!risks.empty() &&
        QMessageBox::warning(this, Title(), Tr(RiskQuestion(risks)),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    FuseTransfer result;
    if (!Transfer([this] { return model_.Write(link_); }, result))
        return;
    Refresh();
    SayOutcome(result, false);
}

void FuseDialog::SayOutcome(FuseTransfer result, bool reading)
{
    QString cause;
    switch (result) {
    case FuseTransfer::Done:
        return;
    case FuseTransfer::NoProgrammer:
        cause = Tr(kProgrammerInitFailedLine);
        break;
    case FuseTransfer::NoAnswer:
        cause = Tr("芯片没有应答（没有芯片、芯片型号不对或接触不良）");
        break;
    case FuseTransfer::WrongChip:
        cause = Tr(WrongChipLine(model_.chipId().bytes));
        break;
    }
    const QString text = cause + (reading ? Tr("，显示的熔丝位数值不是从芯片读出的。")
                                          : Tr("，熔丝位没有写入芯片。"));
    QMessageBox::warning(this, Title(), text);
}

void FuseDialog::reject()
{
    if (busy_.busy())
        return;
    model_.Cancel();
    QDialog::reject();
}

}  // namespace morsk
