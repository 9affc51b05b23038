// "序列号和生产记录": the serial number written into every programmed chip
// and the production log file, kept in setup.ini ([SERIAL], [LOG]).
#pragma once

#include <QDialog>

#include "production_run.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace morsk {

class ProductionDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProductionDialog(QWidget* parent = nullptr);

    // Shows `options`; after OK, options() holds the new ones.
    int Open(const ProductionOptions& options);
    const ProductionOptions& options() const { return options_; }

    void accept() override;

private:
    ProductionOptions options_;
    QCheckBox* enabled_;
    QComboBox* memory_;
    QLineEdit* address_;
    QSpinBox* size_;
    QComboBox* format_;
    QLineEdit* next_;
    QSpinBox* step_;
    QLineEdit* logFile_;
};

}  // namespace morsk
