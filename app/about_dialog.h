// The About box.
#pragma once

#include <QDialog>

namespace morsk {

// Dialog 100 "关于 Tarvel".
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace morsk
