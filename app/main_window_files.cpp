// The main window's file and buffer menu items and the counters' reset:
// saving, the recent files, the buffer editor's round trip.
#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

#include <filesystem>

#include "tr.h"
#include "buffer_editor_dialog.h"
#include "control_table.h"
#include "hex_dump.h"
#include "main_window.h"
#include "program_file_saver.h"
#include "text_util.h"

namespace morsk {

void MainWindow::SaveFileFromDialog()
{
    // A name without an extension gets the loaded file's kind, else BIN.
    std::string suffix = app_.file.extension;
    for (char& c : suffix)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ProgramFileKindOf("x." + suffix) == ProgramFileKind::Unknown)
        suffix = kProgramFileDefaultExtension;
    const std::optional<std::string> path = saveDialog_.Choose(this, suffix);
    if (!path)
        return;
    const SaveResult result = SaveProgramFile(*path, app_.buffer, app_.profile);
    if (result != SaveResult::Saved) {
        ShowMessage(std::string(kSaveFailedText) + ": " + *path +
                        (result == SaveResult::UnknownFormat ? ": not a .bin, .hex or .eep file" : ""),
                    "", MessageIcon::None);
        return;
    }
    // The buffer now is that file.
    app_.file.fileName = FileNameOf(*path);
    app_.file.extension = UpperExtension(*path);
    app_.file.fullPath = app_.file.shownPath = *path;
    RefreshChecksum(app_);
    Remember(*path);
}

void MainWindow::SaveTextFromDialog()
{
    const std::optional<std::string> path = textDialog_.Choose(this, "txt");
    if (!path)
        return;
    const uint32_t used = UsedFlash(app_.profile) + UsedEeprom(app_.profile);
    const std::string text = FormatHexDump(std::span<const uint8_t>(app_.buffer.view).first(used));
    if (!WriteFileAtomically(*path, text.data(), text.size()))
        ShowMessage(std::string(kSaveFailedText) + ": " + *path, "", MessageIcon::None);
}

void MainWindow::Remember(const std::string& path)
{
    const std::string absolute = std::filesystem::absolute(path).string();
    RememberRecentFile(app_.settings, absolute);
    SaidIfNotSaved(app_, SaveRecentFiles(app_.paths, app_.settings));
    RebuildRecentMenu();
}

void MainWindow::LoadRecent(const std::string& path)
{
    // Loaded as 载入文件 does; one that can no longer be read (gone,
    // moved) has been said by the loader and leaves the list.
    const LoadResult result = morsk::LoadFile(app_, path);
    if (result == LoadResult::Loaded) {
        Remember(path);
    } else if (result == LoadResult::CannotOpen) {
        ForgetRecentFile(app_.settings, path);
        SaidIfNotSaved(app_, SaveRecentFiles(app_.paths, app_.settings));
        RebuildRecentMenu();
    }
}

void MainWindow::RebuildRecentMenu()
{
    recentMenu_->clear();
    int n = 0;
    for (const std::string& file : app_.settings.recentFiles) {
        ++n;
        QAction* action = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(n).arg(QString::fromStdString(file)));
        action->setObjectName(QStringLiteral("recent%1").arg(n));
        connect(action, &QAction::triggered, this, [this, file] { LoadRecent(file); });
    }
    // Empty, the submenu says so.
    if (n == 0)
        recentMenu_->addAction(Tr("(无)"))->setEnabled(false);
}

void MainWindow::EditBuffer()
{
    if (bufferEditor_->Open(app_.buffer, app_.profile, app_.settings.clearOnChipChange, app_.settings.clearOnLoad) !=
        QDialog::Accepted)
        return;
    ApplyEditedView(app_.buffer, app_.profile, bufferEditor_->edited());
    RefreshChecksum(app_);
    if (bufferEditor_->clearOnChipChange() != app_.settings.clearOnChipChange ||
        bufferEditor_->clearOnLoad() != app_.settings.clearOnLoad) {
        app_.settings.clearOnChipChange = bufferEditor_->clearOnChipChange();
        app_.settings.clearOnLoad = bufferEditor_->clearOnLoad();
        SaidIfNotSaved(app_, SaveBufferOptions(app_.paths, app_.settings));
    }
}

void MainWindow::ClearBufferFromMenu()
{
    ClearBuffer(app_);
}

void MainWindow::ResetCountersAsked()
{
    if (QMessageBox::question(this, QString::fromUtf8(kWindowCaption), Tr(kResetCountersQuestion),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes)
        ResetCounters(app_);
}

void MainWindow::ShowResetState()
{
    Control<QPushButton>(this, 1032)->setEnabled(app_.successCount != 0 || app_.failureCount != 0);
}

}  // namespace morsk
