#include "tr.h"
#include "device_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "control_table.h"

namespace morsk {
namespace {

const ControlSpec kControls[] = {
    {1, ControlKind::DefaultButton, "确定", true, "", ""},
    {2, ControlKind::Button, "取消", true, "", ""},
    {1042, ControlKind::List, "", true, "", "厂商名"},
    {1043, ControlKind::List, "", true, "", "器件名"},
    {1048, ControlKind::Picture, "", true, "", "厂商标志"},
    {1005, ControlKind::Edit, "", false, "", "查找"},
    {1044, ControlKind::Radio, "全部", false, "", ""},
    {1045, ControlKind::Radio, "EEPROM", false, "", ""},
    {1046, ControlKind::Radio, "MCU", false, "", ""},
    {1047, ControlKind::Radio, "PLD", false, "", ""},
};

QString LogoPath(ManufacturerLogo logo)
{
    switch (logo) {
    case ManufacturerLogo::Atmel: return QStringLiteral(":/icons/logo-atmel.svg");
    case ManufacturerLogo::Microchip: return QStringLiteral(":/icons/logo-microchip.svg");
    case ManufacturerLogo::Nordic: return QStringLiteral(":/icons/logo-nordic.svg");
    case ManufacturerLogo::None: break;
    }
    return {};
}

void Highlight(QListWidget* list, int row)
{
    const QSignalBlocker block(list);
    list->clearSelection();
    list->setCurrentRow(row);  // -1 leaves nothing highlighted
}

}  // namespace

DeviceDialog::DeviceDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(Tr("选择器件"));
    CreateControls(kControls, this);
    manufacturers_ = Control<QListWidget>(this, 1042);
    devices_ = Control<QListWidget>(this, 1043);
    logo_ = Control<QLabel>(this, 1048);
    logo_->setFixedSize(160, 48);
    logo_->setAlignment(Qt::AlignCenter);

    auto* manufLabel = new QLabel(Tr("厂商名："), this);
    manufLabel->setBuddy(manufacturers_);
    auto* deviceLabel = new QLabel(Tr("器件名："), this);
    deviceLabel->setBuddy(devices_);

    auto* search = new QGroupBox(Tr("查找"), this);
    auto* searchLayout = new QVBoxLayout(search);
    searchLayout->addWidget(Control<QLineEdit>(this, 1005));
    auto* types = new QGroupBox(Tr("器件类型"), this);
    auto* typesLayout = new QVBoxLayout(types);
    for (int id = 1044; id <= 1047; ++id)
        typesLayout->addWidget(Control<QWidget>(this, id));

    auto* side = new QVBoxLayout;
    side->addWidget(logo_);
    side->addWidget(search);
    side->addWidget(types);
    side->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Control<QPushButton>(this, 1));
    buttons->addWidget(Control<QPushButton>(this, 2));
    side->addLayout(buttons);

    auto* grid = new QGridLayout(this);
    grid->addWidget(manufLabel, 0, 0);
    grid->addWidget(deviceLabel, 0, 1);
    grid->addWidget(manufacturers_, 1, 0);
    grid->addWidget(devices_, 1, 1);
    grid->addLayout(side, 0, 2, 2, 1);
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 3);
    resize(600, 400);

    connect(Control<QPushButton>(this, 1), &QPushButton::clicked, this, &QDialog::accept);
    connect(Control<QPushButton>(this, 2), &QPushButton::clicked, this, &QDialog::reject);
    connect(manufacturers_, &QListWidget::currentRowChanged, this, [this](int row) {
        model_.SelectManufacturer(row);
        ShowDevices();
        ShowLogo();
    });
    connect(devices_, &QListWidget::currentRowChanged, this, [this](int row) { model_.SelectDevice(row); });
}

int DeviceDialog::Open(const std::string& deviceList, int savedManufIndex, int savedDeviceIndex)
{
    model_.Open(deviceList, savedManufIndex, savedDeviceIndex);
    {
        const QSignalBlocker block(manufacturers_);
        manufacturers_->clear();
        for (const std::string& name : model_.manufacturers())
            manufacturers_->addItem(QString::fromStdString(name));
    }
    Highlight(manufacturers_, model_.manufacturerHighlight());
    ShowDevices();
    ShowLogo();
    return exec();
}

void DeviceDialog::ShowDevices()
{
    {
        const QSignalBlocker block(devices_);
        devices_->clear();
        for (const std::string& name : model_.devices())
            devices_->addItem(QString::fromStdString(name));
    }
    Highlight(devices_, model_.deviceHighlight());
}

void DeviceDialog::ShowLogo()
{
    const QString path = LogoPath(model_.logo());
    logo_->setPixmap(path.isEmpty() ? QPixmap() : QPixmap(path));
    logo_->setProperty("logo", static_cast<int>(model_.logo()));
}

}  // namespace morsk
