// The operation options dialog and the About box: plain dialogs without
// handlers of their own.
#pragma once

#include <QDialog>

namespace morsk {

// Dialog 139 "操作选项": OK and Cancel; closing it changes nothing.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit OptionsDialog(QWidget* parent = nullptr);
};

// Dialog 100 "关于 Tarvel".
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace morsk
