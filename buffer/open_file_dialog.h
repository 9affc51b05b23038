// The open-file dialog of "载入文件": made on first use and kept, so that it
// opens again in the folder of the previous choice.
#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>

class QFileDialog;
class QWidget;

namespace morsk {

// The program file filters as the dialog shows them; every pattern
// matches its extension in any case ("*.BIN" also takes "fw.bin").
QStringList ProgramFileNameFilters();

class OpenFileDialog {
public:
    OpenFileDialog();
    ~OpenFileDialog();

    // The chosen file, or nothing when the user did not confirm.
    std::optional<std::string> Choose(QWidget* parent);

    QFileDialog* dialog() const { return dialog_.get(); }

private:
    std::unique_ptr<QFileDialog> dialog_;
};

}  // namespace morsk
