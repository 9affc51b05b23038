#include "tr.h"
#include "open_file_dialog.h"

#include <QFileDialog>
#include <QFileInfo>

#include "program_file.h"

namespace morsk {
namespace {

// "*.BIN" -> "*.[Bb][Ii][Nn]": file names on Linux are case-sensitive,
// the loader is not.
QString AnyCase(const QString& pattern)
{
    QString out;
    for (const QChar c : pattern) {
        if (c.isLetter())
            out += QLatin1Char('[') + c.toUpper() + c.toLower() + QLatin1Char(']');
        else
            out += c;
    }
    return out;
}

}  // namespace

QStringList ProgramFileNameFilters()
{
    QStringList filters;
    for (const FileFilter& f : kProgramFileFilters) {
        QStringList patterns;
        for (const QString& p : QString::fromUtf8(f.patterns).split(QLatin1Char(';')))
            patterns << (p == QStringLiteral("*.*") ? QStringLiteral("*") : AnyCase(p));
        filters << Tr(f.description) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters;
}

QStringList BackupFileNameFilters()
{
    return {Tr("器件备份(*.HEX) (*.[Hh][Ee][Xx])"), Tr("所有文件(*.*) (*)")};
}

OpenFileDialog::OpenFileDialog(Kind kind) : kind_(kind) {}
OpenFileDialog::~OpenFileDialog() = default;

std::optional<std::string> OpenFileDialog::Choose(QWidget* parent)
{
    if (!dialog_) {
        dialog_ = std::make_unique<QFileDialog>(parent);
        const bool backup = kind_ == Kind::Backup;
        dialog_->setObjectName(backup ? QStringLiteral("restoreDialog") : QStringLiteral("openFileDialog"));
        dialog_->setWindowTitle(backup ? Tr("恢复器件") : Tr("打开"));
        dialog_->setAcceptMode(QFileDialog::AcceptOpen);
        dialog_->setFileMode(QFileDialog::ExistingFile);
        dialog_->setDefaultSuffix(QString::fromUtf8(kProgramFileDefaultExtension));
        // Our own dialog on every desktop: the same filters everywhere,
        // and the patterns in any case stay behind the descriptions.
        dialog_->setOption(QFileDialog::DontUseNativeDialog);
        dialog_->setOption(QFileDialog::HideNameFilterDetails);
        dialog_->setOption(QFileDialog::ReadOnly);
        dialog_->setNameFilters(backup ? BackupFileNameFilters() : ProgramFileNameFilters());
    }
    if (dialog_->exec() != QDialog::Accepted || dialog_->selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog_->selectedFiles().first();
    // Next time it opens where this file was, however it was named.
    dialog_->setDirectory(QFileInfo(chosen).absolutePath());
    return chosen.toStdString();
}

SaveFileDialog::SaveFileDialog(Kind kind) : kind_(kind) {}
SaveFileDialog::~SaveFileDialog() = default;

std::optional<std::string> SaveFileDialog::Choose(QWidget* parent, const std::string& suffix)
{
    if (!dialog_) {
        dialog_ = std::make_unique<QFileDialog>(parent);
        static const char* const kNames[] = {"saveFileDialog", "saveTextDialog", "backupDialog"};
        static const char* const kTitles[] = {"保存文件", "以文本保存", "备份器件"};
        dialog_->setObjectName(QString::fromUtf8(kNames[static_cast<int>(kind_)]));
        dialog_->setWindowTitle(Tr(kTitles[static_cast<int>(kind_)]));
        dialog_->setAcceptMode(QFileDialog::AcceptSave);
        dialog_->setFileMode(QFileDialog::AnyFile);
        dialog_->setOption(QFileDialog::DontUseNativeDialog);
        dialog_->setOption(QFileDialog::HideNameFilterDetails);
        if (kind_ == Kind::Text) {
            dialog_->setNameFilters({Tr("文本文件(*.TXT) (*.[Tt][Xx][Tt])"), Tr("所有文件(*.*) (*)")});
        } else if (kind_ == Kind::Backup) {
            dialog_->setNameFilters(BackupFileNameFilters());
        } else {
            // What can be written back: BIN, Intel HEX and EEPROM HEX.
            const QStringList all = ProgramFileNameFilters();
            dialog_->setNameFilters({all[1], all[3], all[2]});
        }
    }
    dialog_->setDefaultSuffix(QString::fromStdString(suffix));
    if (dialog_->exec() != QDialog::Accepted || dialog_->selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog_->selectedFiles().first();
    dialog_->setDirectory(QFileInfo(chosen).absolutePath());
    return chosen.toStdString();
}

}  // namespace morsk
