// The window's items for the chip in the socket: identify it, back it up
// whole, restore a backup.
#include "tr.h"
#include "main_window.h"

#include <QInputDialog>
#include <QMessageBox>

#include "identify.h"
#include "text_util.h"

namespace morsk {

void MainWindow::IdentifyChipInWindow()
{
    IdentifyResult found;
    RunOperation([&] {
        found = IdentifyChipInSocket(app_);
        ReportIdentified(app_, found);
        return !found.matches.empty();
    });
    if (found.matches.empty())
        return;
    const QString caption = Tr(kIdentifyCaption);
    const ChipMatch* chosen = nullptr;
    if (found.matches.size() == 1) {
        const ChipMatch& m = found.matches[0];
        if (app_.profileLoaded && m.manufIndex == app_.settings.manufIndex && m.deviceIndex == app_.settings.deviceIndex)
            return;  // the selected chip already
        const QString question = Tr("插座中的器件是 %1/%2。\n选择这个器件吗?")
                                     .arg(QString::fromStdString(m.manufacturer), QString::fromStdString(m.device));
        if (QMessageBox::question(this, caption, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
            QMessageBox::Yes)
            chosen = &m;
    } else {
        // Chips that share a signature: the user knows which one it is.
        QStringList names;
        int current = 0;
        for (const ChipMatch& m : found.matches) {
            if (m.manufIndex == app_.settings.manufIndex && m.deviceIndex == app_.settings.deviceIndex)
                current = static_cast<int>(names.size());
            names << QString::fromStdString(m.manufacturer + "/" + m.device);
        }
        const uint8_t* id = found.signature;
        const QString label = Tr(
            Format("器件ID %02X %02X %02X 属于列表中的几种器件。\n插座中的器件是哪一种?", id[0], id[1], id[2]));
        bool ok = false;
        const QString picked = QInputDialog::getItem(this, caption, label, names, current, false, &ok);
        if (ok && names.contains(picked))
            chosen = &found.matches[static_cast<size_t>(names.indexOf(picked))];
    }
    if (!chosen)
        return;
    // Exactly as the device dialog's OK.
    ChangeChip(app_, chosen->manufIndex, chosen->deviceIndex);
    station_.session().SelectedChipChanged();
}

void MainWindow::BackupChip()
{
    const std::optional<std::string> path = backupDialog_.Choose(this, "hex");
    if (!path)
        return;
    RunOperation([&] { return station_.backups().BackupDevice(*path); });
}

void MainWindow::RestoreChip()
{
    const std::optional<std::string> path = restoreDialog_.Choose(this);
    if (!path)
        return;
    ChipBackupOperations& backups = station_.backups();
    RestoreResult result = RestoreResult::Failed;
    RunOperation([&] {
        result = backups.RestoreDevice(*path, false);
        return result == RestoreResult::Done;
    });
    if (result != RestoreResult::NeedsConsent)
        return;
    const QString question =
        Tr("恢复这个备份时: %1。\n器件以后可能不能再用这个编程器编程。\n仍然恢复吗?")
            .arg(Tr(backups.ConsentText()));
    if (QMessageBox::warning(this, Tr("恢复器件"), question, QMessageBox::Yes | QMessageBox::No,
                             QMessageBox::No) != QMessageBox::Yes)
        return;
    RunOperation([&] { return backups.RestoreDevice(*path, true) == RestoreResult::Done; });
}

}  // namespace morsk
