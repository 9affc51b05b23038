#include "tr.h"
#include "production_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "text_util.h"

namespace morsk {
ProductionDialog::ProductionDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("productionDialog"));
    setWindowTitle(Tr("序列号和生产记录"));
    enabled_ = new QCheckBox(Tr("给每个编程的器件写入序列号"), this);
    memory_ = new QComboBox(this);
    memory_->addItems({QStringLiteral("FLASH"), QStringLiteral("EEPROM")});
    address_ = new QLineEdit(this);
    address_->setPlaceholderText(QStringLiteral("0x1FFC"));
    size_ = new QSpinBox(this);
    size_->setRange(1, 8);
    format_ = new QComboBox(this);
    for (SerialFormat f : {SerialFormat::BinLe, SerialFormat::BinBe, SerialFormat::AsciiDec, SerialFormat::AsciiHex})
        format_->addItem(QString::fromUtf8(SerialFormatName(f)));
    next_ = new QLineEdit(this);
    step_ = new QSpinBox(this);
    step_->setRange(1, 1000000);
    logFile_ = new QLineEdit(this);
    logFile_->setPlaceholderText(Tr("不记录"));
    auto* browse = new QPushButton(Tr("浏览..."), this);
    for (const auto& [widget, name] : std::initializer_list<std::pair<QWidget*, const char*>>{
             {enabled_, "serialEnabled"}, {memory_, "serialMemory"}, {address_, "serialAddress"},
             {size_, "serialSize"}, {format_, "serialFormat"}, {next_, "serialNext"}, {step_, "serialStep"},
             {logFile_, "logFile"}})
        widget->setObjectName(QString::fromUtf8(name));

    auto* serial = new QGroupBox(Tr("序列号"), this);
    auto* form = new QFormLayout(serial);
    form->addRow(enabled_);
    form->addRow(Tr("存储区:"), memory_);
    form->addRow(Tr("地址:"), address_);
    form->addRow(Tr("字节数:"), size_);
    form->addRow(Tr("格式:"), format_);
    form->addRow(Tr("下一个序列号:"), next_);
    form->addRow(Tr("步长:"), step_);

    auto* log = new QGroupBox(Tr("生产记录 (CSV, 每次操作一行)"), this);
    auto* logRow = new QHBoxLayout(log);
    logRow->addWidget(logFile_, 1);
    logRow->addWidget(browse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(serial);
    layout->addWidget(log);
    layout->addStretch();
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &ProductionDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getSaveFileName(this, Tr("生产记录"), logFile_->text(),
                                                            QStringLiteral("CSV (*.csv)"), nullptr,
                                                            QFileDialog::DontUseNativeDialog |
                                                                QFileDialog::DontConfirmOverwrite);
        if (!chosen.isEmpty())
            logFile_->setText(chosen);
    });
}

int ProductionDialog::Open(const ProductionOptions& options)
{
    options_ = options;
    const SerialConfig& s = options.serial;
    enabled_->setChecked(s.enabled);
    memory_->setCurrentIndex(s.memory == MemoryKind::Flash ? 0 : 1);
    address_->setText(QString::fromStdString(Format("0x%X", s.address)));
    size_->setValue(s.size);
    format_->setCurrentText(QString::fromUtf8(SerialFormatName(s.format)));
    next_->setText(QString::number(s.next));
    step_->setValue(static_cast<int>(std::min<uint64_t>(s.step, 1000000)));
    logFile_->setText(QString::fromStdString(options.logFile));
    return exec();
}

void ProductionDialog::accept()
{
    SerialConfig s = options_.serial;
    uint64_t address = 0, next = 0;
    if (!ParseSerialNumber(address_->text().trimmed().toStdString(), address) || address > UINT32_MAX) {
        QMessageBox::warning(this, windowTitle(), Tr("地址不是一个数: %1").arg(address_->text()));
        address_->setFocus();
        return;
    }
    if (!ParseSerialNumber(next_->text().trimmed().toStdString(), next)) {
        QMessageBox::warning(this, windowTitle(), Tr("下一个序列号不是一个数: %1").arg(next_->text()));
        next_->setFocus();
        return;
    }
    s.enabled = enabled_->isChecked();
    s.memory = memory_->currentIndex() == 0 ? MemoryKind::Flash : MemoryKind::Eeprom;
    s.address = static_cast<uint32_t>(address);
    s.size = size_->value();
    s.format = ParseSerialFormat(format_->currentText().toStdString()).value_or(SerialFormat::BinLe);
    s.next = next;
    s.step = static_cast<uint64_t>(step_->value());
    options_.serial = s;
    options_.logFile = logFile_->text().trimmed().toStdString();
    QDialog::accept();
}

}  // namespace morsk
