#include "tr.h"
#include "main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdio>

#include "auto_editor_dialog.h"
#include "auto_sequence.h"
#include "control_table.h"
#include "buffer_editor_dialog.h"
#include "device_dialog.h"
#include "fuse_dialog.h"
#include "status_outcome.h"
#include "about_dialog.h"
#include "options_dialog.h"
#include "production_dialog.h"
#include "chip_watch.h"

namespace morsk {
namespace {

// The controls of the main window. Image buttons carry tool tips.
const ControlSpec kControls[] = {
    {1007, ControlKind::Button, "选择器件", true, "选择要编程的器件", ""},
    {1008, ControlKind::Button, "数据缓冲区", true, "查看数据缓冲区的内容", ""},
    {1021, ControlKind::Button, "操作选项", true, "设置编程操作的选项", ""},
    {1018, ControlKind::Button, "编辑自动烧录", true, "编辑自动烧录的步骤", ""},
    {1031, ControlKind::Button, "器件配置字", true, "读写器件的熔丝位", ""},
    {1030, ControlKind::Button, "编程参数", false, "编程参数", ""},
    {1033, ControlKind::Button, "器件特殊信息", true, "识别插座中的器件", ""},
    {1037, ControlKind::DefaultButton, "自  动", true, "", ""},
    {1025, ControlKind::Button, "编  程", true, "", ""},
    {1027, ControlKind::Button, "读  取", true, "", ""},
    {1026, ControlKind::Button, "效  验", true, "", ""},
    {1036, ControlKind::Button, "查  空", true, "", ""},
    {1024, ControlKind::Button, "擦  除", true, "", ""},
    {1022, ControlKind::List, "", true, "", "状态"},
    {1023, ControlKind::Progress, "", true, "", "进度"},
    {1042, ControlKind::Label, "CHIP", true, "", "器件"},
    {1043, ControlKind::Label, "FILE", true, "", "文件"},
    {1029, ControlKind::Edit, "", false, "", "成功"},
    {1034, ControlKind::Edit, "", false, "", "失败"},
    {1028, ControlKind::Button, "取消", false, "", ""},
    {1032, ControlKind::Button, "复位", false, "", ""},
};

constexpr int kOperationButtons[] = {1037, 1025, 1027, 1026, 1036, 1024};

const QColor kFailureColour(200, 0, 0);
const QColor kSuccessColour(0, 140, 0);

// The menu bar: menu title, then items (caption, id); a null caption is a
// separator. 32783 is a submenu, the recent files.
struct MenuItem {
    const char* caption;
    int id;
};
struct MenuSpec {
    const char* title;
    std::vector<MenuItem> items;
};
const MenuSpec kMenus[] = {
    {"文件", {{"载入文件", 32771}, {"保存文件", 32781}, {nullptr, 0}, {"备份器件", kMenuBackup},
              {"恢复器件", kMenuRestore}, {nullptr, 0}, {"最近打开的项目", 32783}, {nullptr, 0}, {"退出", 32772}}},
    {"数据缓冲区", {{"编辑", 32773}, {nullptr, 0}, {"清除缓冲区", 32775}, {nullptr, 0}, {"以文本保存", 32776}}},
    {"器件", {{"选择器件", 32777}, {"识别器件", kMenuIdentify}, {nullptr, 0}, {"器件配置字", 32780}}},
    {"选项", {{"编程选项", 1018}, {nullptr, 0}, {"序列号和生产记录...", kMenuProduction}, {"连续自动烧录", kMenuStation}, {nullptr, 0},
              {"语言 / Language", kMenuLanguage}}},
    {"帮助", {{"关于...", 32784}}},
};

QFrame* Line(QFrame::Shape shape, QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

MainWindow::MainWindow(Station& station, QWidget* parent)
    : QDialog(parent),
      station_(station),
      app_(station.app()),
      link_(station.link()),
      ops_(station.ops()),
      busy_(this),
      deviceDialog_(new DeviceDialog(this)),
      autoEditor_(new AutoEditorDialog(this)),
      optionsDialog_(new OptionsDialog(this)),
      aboutDialog_(new AboutDialog(this)),
      fuseDialog_(new FuseDialog(app_.profile, app_.link, app_.failureCount, busy_, this)),
      bufferEditor_(new BufferEditorDialog(this)),
      productionDialog_(new ProductionDialog(this))
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setAcceptDrops(true);
    BuildLayout();
    Connect();
    fuseDialog_->SetProgrammerGate([this](std::string& error) { return station_.Claim(error); },
                                   [this] { station_.Release(); });
}

MainWindow::~MainWindow()
{
    std::string error;
    if (!station_.Shutdown(error))
        std::fprintf(stderr, "morsk: %s\n", error.c_str());
    app_.AttachUi(&DefaultUi(), &DefaultUi(), &DefaultUi(), &DefaultDiagnostics());
}

void MainWindow::BuildLayout()
{
    CreateControls(kControls, this);
    statusList_ = Control<QListWidget>(this, 1022);
    progress_ = Control<QProgressBar>(this, 1023);
    chipLine_ = Control<QLabel>(this, 1042);
    fileLine_ = Control<QLabel>(this, 1043);
    success_ = Control<QLineEdit>(this, 1029);
    failure_ = Control<QLineEdit>(this, 1034);
    for (QLabel* line : {chipLine_, fileLine_}) {
        line->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        line->setMinimumWidth(200);
        line->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    statusList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (QLineEdit* edit : {success_, failure_}) {
        edit->setAlignment(Qt::AlignRight);
        edit->setMaximumWidth(64);
    }
    Control<QPushButton>(this, 1007)->setIcon(QIcon(QStringLiteral(":/icons/chip.svg")));
    Control<QPushButton>(this, 1008)->setIcon(QIcon(QStringLiteral(":/icons/buffer.svg")));
    for (int id : {1007, 1008})
        Control<QPushButton>(this, id)->setIconSize(QSize(24, 24));

    auto* outer = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    BuildMenu(bar);
    outer->setMenuBar(bar);

    // Top row: the two image buttons, then the chip and file lines.
    auto* top = new QHBoxLayout;
    top->addWidget(Control<QPushButton>(this, 1007));
    top->addWidget(Control<QPushButton>(this, 1008));
    auto* lines = new QVBoxLayout;
    lines->addWidget(chipLine_);
    lines->addWidget(fileLine_);
    top->addLayout(lines, 1);
    outer->addLayout(top);
    outer->addWidget(Line(QFrame::HLine, this));

    // The setting buttons.
    auto* settings = new QHBoxLayout;
    for (int id : {1021, 1018, 1031, 1030, 1033})
        settings->addWidget(Control<QPushButton>(this, id));
    settings->addStretch();
    outer->addLayout(settings);
    outer->addWidget(Line(QFrame::HLine, this));
    // Station mode's result, large enough to read from the bench.
    stationLabel_ = new QLabel(this);
    stationLabel_->setObjectName(QStringLiteral("stationLabel"));
    stationLabel_->setAlignment(Qt::AlignCenter);
    stationLabel_->setMinimumHeight(64);
    QFont big = stationLabel_->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    stationLabel_->setFont(big);
    stationLabel_->setAutoFillBackground(true);
    stationHint_ = new QLabel(this);
    stationHint_->setObjectName(QStringLiteral("stationHint"));
    stationHint_->setAlignment(Qt::AlignCenter);
    stationLabel_->hide();
    stationHint_->hide();
    outer->addWidget(stationLabel_);
    outer->addWidget(stationHint_);

    // The operation column left of the status list.
    auto* middle = new QHBoxLayout;
    auto* operations = new QVBoxLayout;
    for (int id : kOperationButtons) {
        auto* button = Control<QPushButton>(this, id);
        button->setMinimumHeight(34);
        operations->addWidget(button);
    }
    operations->addStretch();
    middle->addLayout(operations);
    middle->addWidget(Line(QFrame::VLine, this));
    middle->addWidget(statusList_, 1);
    outer->addLayout(middle, 1);
    outer->addWidget(Line(QFrame::HLine, this));

    // Counters and progress along the bottom.
    auto* bottom = new QHBoxLayout;
    auto* successLabel = new QLabel(Tr("成功："), this);
    successLabel->setBuddy(success_);
    auto* failureLabel = new QLabel(Tr("失败："), this);
    failureLabel->setBuddy(failure_);
    bottom->addWidget(successLabel);
    bottom->addWidget(success_);
    bottom->addWidget(failureLabel);
    bottom->addWidget(failure_);
    bottom->addWidget(progress_, 1);
    bottom->addWidget(Control<QPushButton>(this, 1028));
    bottom->addWidget(Control<QPushButton>(this, 1032));
    outer->addLayout(bottom);

    resize(720, 560);
}

void MainWindow::BuildMenu(QMenuBar* bar)
{
    for (const MenuSpec& menu : kMenus) {
        QMenu* m = bar->addMenu(Tr(menu.title));
        for (const MenuItem& item : menu.items) {
            if (!item.caption) {
                m->addSeparator();
                continue;
            }
            QAction* action;
            if (item.id == 32783) {
                recentMenu_ = m->addMenu(Tr(item.caption));
                action = recentMenu_->menuAction();
            } else if (item.id == kMenuLanguage) {
                QMenu* languages = m->addMenu(QString::fromUtf8(item.caption));  // the same in both
                action = languages->menuAction();
                auto* group = new QActionGroup(languages);
                for (const auto& [language, name] : {std::pair{Language::Chinese, "中文"},
                                                     std::pair{Language::English, "English"}}) {
                    QAction* choice = languages->addAction(QString::fromUtf8(name));
                    choice->setObjectName(QStringLiteral("language-%1").arg(QString::fromUtf8(LanguageName(language))));
                    choice->setCheckable(true);
                    choice->setChecked(language == CurrentLanguage());
                    group->addAction(choice);
                    connect(choice, &QAction::triggered, this, [this, language] { ChooseLanguage(language); });
                }
            } else {
                action = m->addAction(Tr(item.caption));
            }
            action->setObjectName(QStringLiteral("menu%1").arg(item.id));
        }
    }
}

QAction* MainWindow::MenuAction(int id) const
{
    return findChild<QAction*>(QStringLiteral("menu%1").arg(id));
}

void MainWindow::Connect()
{
    const auto onClick = [this](int id, auto handler) {
        connect(Control<QPushButton>(this, id), &QPushButton::clicked, this, handler);
    };
    const auto onMenu = [this](int id, auto handler) {
        connect(MenuAction(id), &QAction::triggered, this, handler);
    };
    onClick(1037, [this] {
        RunProduction("auto: " + AutoStepNames(app_.settings.autoSequence),
                      [this](ProductionRun& run) { return RunNumberedAuto(run, app_, link_); });
    });
    onClick(1025, [this] {
        RunProduction("program", [this](ProductionRun& run) { return run.TakeSerial() && ops_.ProgramDevice(); });
    });
    const auto unnumbered = [this](const char* step, bool (ChipOperations::*operation)()) {
        RunProduction(step, [this, operation](ProductionRun&) { return (ops_.*operation)(); });
    };
    onClick(1027, [unnumbered] { unnumbered("read", &ChipOperations::ReadDevice); });
    onClick(1026, [unnumbered] { unnumbered("verify", &ChipOperations::VerifyDevice); });
    onClick(1036, [unnumbered] { unnumbered("blank", &ChipOperations::BlankCheckDevice); });
    onClick(1024, [unnumbered] { unnumbered("erase", &ChipOperations::EraseDevice); });
    onMenu(kMenuProduction, [this] { EditProduction(); });
    MenuAction(kMenuStation)->setCheckable(true);
    connect(MenuAction(kMenuStation), &QAction::toggled, this, [this](bool on) {
        if (on != stationMode())
            SetStationMode(on);
    });
    onClick(1007, [this] { ChooseDevice(); });
    onClick(1033, [this] { IdentifyChipInWindow(); });
    onMenu(kMenuIdentify, [this] { IdentifyChipInWindow(); });
    onMenu(kMenuBackup, [this] { BackupChip(); });
    onMenu(kMenuRestore, [this] { RestoreChip(); });
    onClick(1018, [this] { EditAutoSequence(); });
    onClick(1021, [this] { EditOptions(); });
    onClick(1008, [this] { EditBuffer(); });
    // A fill changes the data buffer at once, whatever button closes the
    // editor afterwards.
    connect(bufferEditor_, &BufferEditorDialog::Filled, this, [this] { ShowClearedBuffer(app_); });
    onClick(1031, [this] { fuseDialog_->Open(); });
    onMenu(32771, [this] { LoadFileFromDialog(); });
    onMenu(32781, [this] { SaveFileFromDialog(); });
    onMenu(32772, [this] { close(); });
    onMenu(32773, [this] { EditBuffer(); });
    onMenu(32775, [this] { ClearBufferFromMenu(); });
    onMenu(32776, [this] { SaveTextFromDialog(); });
    onMenu(32777, [this] { ChooseDevice(); });
    onClick(1028, [this] {
        station_.RequestCancel();
        if (stationMode() && !busy_.busy())
            SetStationMode(false);  // between two chips: stops at once
    });
    onClick(1032, [this] { ResetCountersAsked(); });
    onMenu(1018, [this] { EditAutoSequence(); });
    onMenu(32780, [this] { fuseDialog_->Open(); });
    onMenu(32784, [this] { aboutDialog_->exec(); });
}

bool MainWindow::Start(const WindowOptions& options, std::string& error)
{
    setWindowIcon(QIcon(QStringLiteral(":/icons/morsk.svg")));
    QString caption = QString::fromUtf8(kWindowCaption);
    if (options.programmer.simulate)
        caption += QStringLiteral(" (simulated)");
    setWindowTitle(caption);
    app_.AttachUi(this, this, this, this);
    station_.StartUp(options.workDir);
    RebuildRecentMenu();
    if (std::string why; !ReadProductionOptions(app_.paths.settingsFile, production_, why))
        app_.AddStatusLine("setup.ini: " + why);
    return station_.StartProgrammer(options.programmer, error);
}

bool MainWindow::RunOperation(const std::function<bool()>& operation)
{
    if (busy_.busy())
        return false;  // never two at once, whatever reaches us
    auto* cancel = Control<QPushButton>(this, 1028);
    bool ok;
    {
        BusyGuard guard(busy_, {this});
        busy_.LetThrough(cancel);
        cancel->setEnabled(true);
        ok = station_.RunClaimed(operation);
        cancel->setEnabled(false);
        busy_.LetThrough(nullptr);
    }
    return ok;
}

void MainWindow::ChooseDevice()
{
    if (deviceDialog_->Open(app_.paths.deviceList, app_.settings.manufIndex, app_.settings.deviceIndex) !=
        QDialog::Accepted)
        return;
    ChangeChip(app_, deviceDialog_->model().chosenManufacturer(), deviceDialog_->model().chosenDevice());
    station_.session().SelectedChipChanged();
}

void MainWindow::EditOptions()
{
    if (optionsDialog_->Open(app_.settings.skipBlank) != QDialog::Accepted ||
        optionsDialog_->skipBlank() == app_.settings.skipBlank)
        return;
    app_.settings.skipBlank = optionsDialog_->skipBlank();
    SaidIfNotSaved(app_, SaveSkipBlank(app_.paths, app_.settings));
}

void MainWindow::EditAutoSequence()
{
    if (autoEditor_->Open(app_.profile.family, app_.settings.autoSequence) != QDialog::Accepted)
        return;
    SetAutoSequence(app_.settings, autoEditor_->sequence());
    SaidIfNotSaved(app_, SaveAutoSequence(app_.paths, app_.settings));
}

void MainWindow::LoadFileFromDialog()
{
    const std::optional<std::string> path = fileDialog_.Choose(this);
    if (!path) {
        ShowMessage(kFileDialogCancelled, "", MessageIcon::None);
        return;
    }
    LoadFile(*path);
}

void MainWindow::LoadFile(const std::string& path)
{
    if (morsk::LoadFile(app_, path) == LoadResult::Loaded)
        Remember(path);
}

// --- sinks ---------------------------------------------------------------

void MainWindow::AddStatusLine(std::string text)
{
    // AppState counts the lines; it has already counted this one.
    const int row = app_.statusLineCount - 1;
    statusList_->insertItem(row, Tr(text));
    switch (ClassifyStatusLine(text)) {
    case LineOutcome::Failure: statusList_->item(row)->setForeground(kFailureColour); break;
    case LineOutcome::Success: statusList_->item(row)->setForeground(kSuccessColour); break;
    case LineOutcome::Neutral: break;
    }
    statusList_->setCurrentRow(row);
    statusList_->scrollToItem(statusList_->item(row));
    busy_.Pump();
}

void MainWindow::SetChipLine(const std::string& text)
{
    ShowText(chipLine_, QString::fromStdString(text));
}

void MainWindow::SetFileLine(const std::string& text)
{
    ShowText(fileLine_, Tr(text));
}

void MainWindow::ShowCounters(uint8_t success, uint8_t failure)
{
    success_->setText(QString::number(success));
    failure_->setText(QString::number(failure));
    ShowResetState();
}

void MainWindow::SetOperationsEnabled(bool enabled)
{
    for (int id : kOperationButtons)
        Control<QPushButton>(this, id)->setEnabled(enabled);
}

void MainWindow::ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon)
{
    QMessageBox box(BoxIcon(icon), Tr(caption), Tr(text),
                    QMessageBox::Ok, this);
    box.exec();
}

void MainWindow::SetProgress(int percent)
{
    if (progress_->value() == percent)
        return;
    progress_->setValue(percent);
    busy_.Pump();
}

void MainWindow::Write(const std::string& text)
{
    // Standard error for those who started us from a terminal, and the
    // status list's tool tip for everybody else.
    std::fputs(text.c_str(), stderr);
    diagnostics_ += QString::fromStdString(text);
    const qsizetype keep = 4000;
    if (diagnostics_.size() > keep)
        diagnostics_ = diagnostics_.right(keep);
    statusList_->setToolTip(diagnostics_.trimmed());
}

// --- window events -------------------------------------------------------

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (busy_.busy()) {
        event->ignore();
        // Not a silent wait of up to a minute: stop the run and close, or
        // let it finish.
        if (QMessageBox::question(this, QString::fromUtf8(kWindowCaption), Tr(kCloseDuringRunQuestion),
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes) {
            station_.RequestCancel();
            busy_.DeferClose(this);
        }
        return;
    }
    if (stationMode())
        SetStationMode(false);
    QDialog::closeEvent(event);
}

void MainWindow::reject()
{
    // Esc, or the close box of a dialog-styled window: the busy rules drop
    // Esc during a run, so only a close request gets here then.
    if (busy_.busy()) {
        close();
        return;
    }
    QDialog::reject();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!busy_.busy() && urls.size() == 1 && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (busy_.busy() || urls.size() != 1 || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    LoadFile(urls.first().toLocalFile().toStdString());
}

}  // namespace morsk
