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
        filters << QString::fromUtf8(f.description) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')');
    }
    return filters;
}

OpenFileDialog::OpenFileDialog() = default;
OpenFileDialog::~OpenFileDialog() = default;

std::optional<std::string> OpenFileDialog::Choose(QWidget* parent)
{
    if (!dialog_) {
        dialog_ = std::make_unique<QFileDialog>(parent);
        dialog_->setObjectName(QStringLiteral("openFileDialog"));
        dialog_->setWindowTitle(QStringLiteral("打开"));
        dialog_->setAcceptMode(QFileDialog::AcceptOpen);
        dialog_->setFileMode(QFileDialog::ExistingFile);
        dialog_->setDefaultSuffix(QString::fromUtf8(kProgramFileDefaultExtension));
        // Our own dialog on every desktop: the same filters everywhere,
        // and the patterns in any case stay behind the descriptions.
        dialog_->setOption(QFileDialog::DontUseNativeDialog);
        dialog_->setOption(QFileDialog::HideNameFilterDetails);
        dialog_->setOption(QFileDialog::ReadOnly);
        dialog_->setNameFilters(ProgramFileNameFilters());
    }
    if (dialog_->exec() != QDialog::Accepted || dialog_->selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog_->selectedFiles().first();
    // Next time it opens where this file was, however it was named.
    dialog_->setDirectory(QFileInfo(chosen).absolutePath());
    return chosen.toStdString();
}

}  // namespace morsk
