// The operation options dialog.
#pragma once

#include <QDialog>

class QCheckBox;

namespace morsk {

// Dialog 139 "操作选项": whether programming writes only the used part of
// the images. OK keeps the choice, Cancel forgets it.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit OptionsDialog(QWidget* parent = nullptr);

    // Shows the stored choice; after OK, skipBlank() is the new one.
    int Open(bool skipBlank);
    bool skipBlank() const;

private:
    QCheckBox* skipBlank_;
};

}  // namespace morsk
