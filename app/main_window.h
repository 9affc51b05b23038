// The main window: a thin skin over the application state. It shows what
// the core reports through the sinks and runs one operation at a time from
// its buttons, staying alive while it works (BusyFilter).
#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app_state.h"
#include "busy_guard.h"
#include "chip_operations.h"
#include "open_file_dialog.h"
#include "programmer_link.h"
#include "production_run.h"
#include "programmer_session.h"
#include "station.h"
#include "ui_sinks.h"

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QProgressBar;
class QTimer;

namespace morsk {

class AboutDialog;
class ChipWatch;
class ProductionDialog;
struct WatchEvent;
class AutoEditorDialog;
class BufferEditorDialog;
class DeviceDialog;
class FuseDialog;
class OptionsDialog;

inline constexpr char kWindowCaption[] = "Morsk Universal Programmer Ver1.0 - USB";
inline constexpr char kCloseDuringRunQuestion[] = "操作正在进行中。要取消这个操作并退出吗?";
inline constexpr char kResetCountersQuestion[] = "把成功和失败计数都清零吗?";
inline constexpr char kSaveFailedText[] = "文件保存失败 !!!";

// Menu items of our own beside the original ones.
inline constexpr int kMenuBackup = 32790;
inline constexpr int kMenuRestore = 32791;
inline constexpr int kMenuIdentify = 32792;
inline constexpr int kMenuProduction = 32793;
inline constexpr int kMenuStation = 32794;
inline constexpr int kMenuLanguage = 32795;
inline constexpr char kLanguageNextStart[] = "重新启动后生效 / Takes effect at the next start";
inline constexpr char kIdentifyCaption[] = "识别器件";

struct WindowOptions {
    std::string workDir = ".";
    ProgrammerOptions programmer;
};

class MainWindow : public QDialog,
                   public StatusSink,
                   public Notifier,
                   public ProgressSink,
                   public DiagnosticSink {
    Q_OBJECT
public:
    explicit MainWindow(Station& station, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The start-up order of the window, then the programmer. False, with
    // the reason, when the programmer options cannot be met.
    bool Start(const WindowOptions& options, std::string& error);

    // Loads a program file exactly as "载入文件" does after its dialog.
    void LoadFile(const std::string& path);

    // --- the sinks the core reports through ---------------------------
    void AddStatusLine(std::string text) override;
    void SetChipLine(const std::string& text) override;
    void SetFileLine(const std::string& text) override;
    void ShowCounters(uint8_t success, uint8_t failure) override;
    void SetOperationsEnabled(bool enabled) override;
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    void SetProgress(int percent) override;
    void Write(const std::string& text) override;

    BusyFilter& busyFilter() { return busy_; }
    ProgrammerSession& session() { return station_.session(); }
    Station& station() { return station_; }
    DeviceDialog& deviceDialog() { return *deviceDialog_; }
    AutoEditorDialog& autoEditor() { return *autoEditor_; }
    FuseDialog& fuseDialog() { return *fuseDialog_; }
    BufferEditorDialog& bufferEditor() { return *bufferEditor_; }
    ProductionDialog& productionDialog() { return *productionDialog_; }
    // Station mode: a run of the auto sequence for each chip put in.
    bool stationMode() const { return watch_ != nullptr; }
    void SetStationMode(bool on);
    QLabel* stationLabel() const { return stationLabel_; }
    OpenFileDialog& fileDialog() { return fileDialog_; }
    OpenFileDialog& restoreDialog() { return restoreDialog_; }
    SaveFileDialog& backupDialog() { return backupDialog_; }
    SaveFileDialog& saveDialog() { return saveDialog_; }
    SaveFileDialog& textDialog() { return textDialog_; }
    QMenu* recentMenu() const { return recentMenu_; }
    QAction* MenuAction(int id) const;

    // Runs one operation with the busy rules and the programmer's lock; its
    // result.
    bool RunOperation(const std::function<bool()>& operation);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildLayout();
    void BuildMenu(QMenuBar* bar);
    void Connect();
    void ChooseDevice();
    void EditAutoSequence();
    void EditOptions();
    void LoadFileFromDialog();
    // The file menu's own items (main_window_files.cpp).
    void SaveFileFromDialog();
    void SaveTextFromDialog();
    void LoadRecent(const std::string& path);
    void Remember(const std::string& path);
    void RebuildRecentMenu();
    void EditBuffer();
    void ClearBufferFromMenu();
    void ResetCountersAsked();
    // The chip in the socket, whole-chip backup and restore
    // (main_window_chip.cpp).
    void IdentifyChipInWindow();
    void BackupChip();
    void RestoreChip();
    // Serial numbers, the production log and station mode
    // (main_window_station.cpp). An operation as a production run: its log
    // line, and a serial number when it programs.
    bool RunProduction(const std::string& steps, const std::function<bool(ProductionRun&)>& operation);
    void EditProduction();
    // Kept in setup.ini; the next start shows it.
    void ChooseLanguage(Language language);
    void StationTick();
    void ShowStationEvent(const WatchEvent& event);
    void ShowStationState(const QString& text, const QColor& background);
    void ShowResetState();

    Station& station_;
    AppState& app_;
    ProgrammerLink& link_;
    ChipOperations& ops_;
    BusyFilter busy_;
    DeviceDialog* deviceDialog_;
    AutoEditorDialog* autoEditor_;
    OptionsDialog* optionsDialog_;
    AboutDialog* aboutDialog_;
    FuseDialog* fuseDialog_;
    BufferEditorDialog* bufferEditor_;
    OpenFileDialog fileDialog_;
    SaveFileDialog saveDialog_{SaveFileDialog::Kind::ProgramFile};
    SaveFileDialog textDialog_{SaveFileDialog::Kind::Text};
    SaveFileDialog backupDialog_{SaveFileDialog::Kind::Backup};
    OpenFileDialog restoreDialog_{OpenFileDialog::Kind::Backup};
    QMenu* recentMenu_ = nullptr;
    ProductionDialog* productionDialog_;
    ProductionOptions production_;
    std::unique_ptr<ChipWatch> watch_;
    QTimer* watchTimer_ = nullptr;
    QLabel* stationLabel_ = nullptr;
    QLabel* stationHint_ = nullptr;

    QListWidget* statusList_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* chipLine_ = nullptr;
    QLabel* fileLine_ = nullptr;
    QLineEdit* success_ = nullptr;
    QLineEdit* failure_ = nullptr;
    QString diagnostics_;
};

}  // namespace morsk
