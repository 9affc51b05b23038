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

// The filters of a whole-chip backup: Intel HEX, or any file.
QStringList BackupFileNameFilters();

class OpenFileDialog {
public:
    // ProgramFile: "载入文件"; Backup: "恢复器件".
    enum class Kind { ProgramFile, Backup };
    explicit OpenFileDialog(Kind kind = Kind::ProgramFile);
    ~OpenFileDialog();

    // The chosen file, or nothing when the user did not confirm.
    std::optional<std::string> Choose(QWidget* parent);

    QFileDialog* dialog() const { return dialog_.get(); }

private:
    Kind kind_;
    std::unique_ptr<QFileDialog> dialog_;
};

// "保存文件", "以文本保存" and "备份器件": a save dialog made on first use
// and kept, with the program file filters (or text files, or backups),
// asking before it overwrites a file.
class SaveFileDialog {
public:
    enum class Kind { ProgramFile, Text, Backup };
    explicit SaveFileDialog(Kind kind);
    ~SaveFileDialog();

    // The chosen name, or nothing when the user did not confirm.
    // `suffix`: the extension a name without one gets ("hex").
    std::optional<std::string> Choose(QWidget* parent, const std::string& suffix);

    QFileDialog* dialog() const { return dialog_.get(); }

private:
    Kind kind_;
    std::unique_ptr<QFileDialog> dialog_;
};

}  // namespace morsk
