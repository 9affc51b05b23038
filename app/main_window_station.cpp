// Serial numbers, the production log and station mode in the window.
#include "tr.h"
#include "main_window.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "auto_sequence.h"
#include "chip_watch.h"
#include "control_table.h"
#include "link_state.h"
#include "production_dialog.h"

namespace morsk {
namespace {

const QColor kPassColour(0, 150, 0);
const QColor kFailColour(200, 0, 0);
const QColor kWaitColour(120, 120, 120);

// The controls that would drive the programmer beside the station.
constexpr int kStationLocked[] = {1037, 1025, 1027, 1026, 1036, 1024, 1031, 1033, 1007};

}  // namespace

bool MainWindow::RunProduction(const std::string& steps, const std::function<bool(ProductionRun&)>& operation)
{
    return RunOperation([&] {
        ProductionRun run(station_, production_);
        run.AddStep(steps);
        bool ok = operation(run);
        // A stopped transfer is said before the run's log line is written,
        // so that the line names it.
        if (station_.EndOperation())
            ok = false;
        return run.Finish(ok);
    });
}

void MainWindow::EditProduction()
{
    if (productionDialog_->Open(production_) != QDialog::Accepted)
        return;
    production_ = productionDialog_->options();
    const bool saved = SaveSerialConfig(app_.paths.settingsFile, production_.serial) &&
                       SaveLogFile(app_.paths.settingsFile, production_.logFile);
    SaidIfNotSaved(app_, saved);
}

void MainWindow::ChooseLanguage(Language language)
{
    if (!SaidIfNotSaved(app_, SaveLanguage(app_.paths.settingsFile, language)))
        return;
    QMessageBox::information(this, QStringLiteral("语言 / Language"), QString::fromUtf8(kLanguageNextStart));
}

void MainWindow::ShowStationState(const QString& text, const QColor& background)
{
    stationLabel_->setText(text);
    QPalette palette = stationLabel_->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, Qt::white);
    stationLabel_->setPalette(palette);
}

void MainWindow::SetStationMode(bool on)
{
    QAction* item = MenuAction(kMenuStation);
    auto* cancel = Control<QPushButton>(this, 1028);
    if (on) {
        std::string error;
        if (!station_.Claim(error)) {
            app_.AddStatusLine(kProgrammerInUseLine);
            app_.link.diagnostics->Write("Warning: " + error + "\n");
            const QSignalBlocker block(item);
            item->setChecked(false);
            return;
        }
        station_.BeginOperation();
        watch_ = std::make_unique<ChipWatch>(station_, production_);
        for (int id : kStationLocked)
            Control<QPushButton>(this, id)->setEnabled(false);
        cancel->setEnabled(true);
        ShowStationState(Tr("连续自动烧录: 等待器件"), kWaitColour);
        stationHint_->setText(Tr("放入器件就开始自动烧录; 按\"取消\"停止"));
        stationLabel_->show();
        stationHint_->show();
        if (!watchTimer_) {
            watchTimer_ = new QTimer(this);
            connect(watchTimer_, &QTimer::timeout, this, [this] { StationTick(); });
        }
        watchTimer_->start(static_cast<int>(kWatchPollMs));
        return;
    }
    if (watchTimer_)
        watchTimer_->stop();
    watch_.reset();
    station_.Release();
    {
        const QSignalBlocker block(item);
        item->setChecked(false);
    }
    cancel->setEnabled(false);
    for (int id : kStationLocked)
        Control<QPushButton>(this, id)->setEnabled(true);
    SetOperationsEnabled(ChipCommandsAllowed(app_));
    // The last result stays readable, the state says it is over.
    stationHint_->setText(stationLabel_->text() + Tr("  ——  连续自动烧录已停止"));
    ShowStationState(Tr("连续自动烧录已停止"), kWaitColour);
}

void MainWindow::StationTick()
{
    if (!watch_ || busy_.busy())
        return;
    if (app_.link.CancelRequested()) {
        SetStationMode(false);
        return;
    }
    auto* cancel = Control<QPushButton>(this, 1028);
    WatchEvent event;
    {
        BusyGuard guard(busy_, {this});
        busy_.LetThrough(cancel);
        event = watch_->Poll();
        busy_.LetThrough(nullptr);
    }
    ShowStationEvent(event);
    if (app_.link.CancelRequested())
        SetStationMode(false);
}

void MainWindow::ShowStationEvent(const WatchEvent& e)
{
    const QString line = Tr(WatchLine(e, app_));
    switch (e.kind) {
    case WatchEvent::Kind::Passed:
        ShowStationState(Tr("通过  #%1").arg(e.chip) +
                             (e.serial ? Tr("   序列号 %1").arg(*e.serial) : QString()),
                         kPassColour);
        stationHint_->setText(Tr("请取出器件"));
        break;
    case WatchEvent::Kind::Failed:
        ShowStationState(Tr("失败  #%1").arg(e.chip), kFailColour);
        stationHint_->setText(Tr(e.detail) + Tr("  ——  请取出器件"));
        break;
    case WatchEvent::Kind::WrongChip:
        ShowStationState(Tr("不是所选的器件"), kFailColour);
        stationHint_->setText(line + Tr("  ——  请取出器件"));
        app_.AddStatusLine(line.toStdString());
        break;
    case WatchEvent::Kind::Removed:
        stationHint_->setText(Tr("请放入下一个器件"));
        break;
    case WatchEvent::Kind::ProgrammerLost:
        ShowStationState(Tr(kProgrammerInitFailedLine), kFailColour);
        stationHint_->setText(Tr("请检查编程器的连接"));
        app_.AddStatusLine(kProgrammerInitFailedLine);
        break;
    case WatchEvent::Kind::ProgrammerBack:
        ShowStationState(Tr("连续自动烧录: 等待器件"), kWaitColour);
        stationHint_->setText(Tr("放入器件就开始自动烧录; 按\"取消\"停止"));
        break;
    case WatchEvent::Kind::None:
        break;
    }
}

}  // namespace morsk
