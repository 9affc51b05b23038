// The main window driven through its ids, as a user would.
#include <QCoreApplication>
#include <QDir>
#include <QCheckBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>

#include "auto_editor_dialog.h"
#include "device_dialog.h"
#include "gui_support.h"
#include "port_lock.h"
#include "virtual_programmer.h"

namespace morsk {
namespace {

using test::Click;
using test::Screenshot;
using test::ModalHand;
using test::WindowRig;
using Lines = std::vector<std::string>;

constexpr int kOperations[] = {1037, 1025, 1027, 1026, 1036, 1024};

TEST(MainWindow, ControlsMatchTheReferenceTable)
{
    // The reference, written out here: ids, captions and enabled states as
    // the window must show them, not read from the window's own table.
    WindowRig rig;
    struct Row {
        int id;
        const char* caption;
        bool enabled;
    } rows[] = {
        {1007, "选择器件", true}, {1008, "数据缓冲区", true}, {1021, "操作选项", true},
        {1031, "器件配置字", true}, {1018, "编辑自动烧录", true}, {1030, "编程参数", false},
        {1033, "器件特殊信息", true},  // identifies the chip in the socket {1037, "自  动", true}, {1025, "编  程", true},
        {1027, "读  取", true}, {1026, "效  验", true}, {1036, "查  空", true},
        {1024, "擦  除", true}, {1028, "取消", false}, {1032, "复位", false},
    };
    for (const Row& r : rows) {
        auto* button = Control<QPushButton>(rig.window.get(), r.id);
        ASSERT_NE(button, nullptr) << r.id;
        EXPECT_EQ(button->text().toStdString(), r.caption) << r.id;
        EXPECT_EQ(button->isEnabled(), r.enabled) << r.id;
        EXPECT_EQ(button->accessibleName(), button->text().remove(QLatin1Char(' '))) << r.id;
    }
    EXPECT_TRUE(Control<QPushButton>(rig.window.get(), 1037)->isDefault());
    // The operation buttons stand in this order from the top.
    for (size_t i = 1; i < std::size(kOperations); ++i)
        EXPECT_LT(Control<QPushButton>(rig.window.get(), kOperations[i - 1])->y(),
                  Control<QPushButton>(rig.window.get(), kOperations[i])->y()) << kOperations[i];
    EXPECT_FALSE(Control<QPushButton>(rig.window.get(), 1007)->toolTip().isEmpty());
    // Display-only widgets have short names a screen reader can speak.
    for (auto [id, name] : {std::pair{1022, "状态"}, {1023, "进度"}, {1042, "器件"}, {1043, "文件"},
                            {1029, "成功"}, {1034, "失败"}})
        EXPECT_EQ(Control<QWidget>(rig.window.get(), id)->accessibleName().toStdString(), name) << id;
    EXPECT_FALSE(Control<QLineEdit>(rig.window.get(), 1029)->isEnabled());

    // Every menu item is there and enabled.
    for (int id : {32771, 32781, kMenuBackup, kMenuRestore, 32783, 32772, 32773, 32775, 32776, 32777, kMenuIdentify,
                   32780, 1018, 32784}) {
        QAction* action = rig.window->MenuAction(id);
        ASSERT_NE(action, nullptr) << id;
        EXPECT_TRUE(action->isEnabled()) << id;
    }
}

TEST(MainWindow, FreshStartAndReadiness)
{
    struct Case {
        const char* ini;
        bool ready;
        const char* chipLine;
    } cases[] = {
        {"", true, " ATMEL ATMEGA8  2200H*8"},
        {"[SETUP]\nManufIndex=1\nDeviceIndex=0\n", false, " MICROCHIP PIC16F84A  740H*8"},
        {"[SETUP]\nManufIndex=2\nDeviceIndex=0\n", true, " NORDIC NRF24LE1  4000H*8"},
    };
    for (const Case& c : cases) {
        WindowRig rig(c.ini);
        EXPECT_EQ(rig.StatusLines(), Lines{c.ready ? kReadyLine : kUnsupportedLine}) << c.ini;
        EXPECT_EQ(rig.Text(1029), "0");
        EXPECT_EQ(rig.Text(1034), "0");
        EXPECT_EQ(rig.Text(1042), c.chipLine);
        EXPECT_EQ(rig.window->windowTitle().toStdString(), "Morsk Universal Programmer Ver1.0 - USB");
        for (int id : kOperations)
            EXPECT_EQ(rig.Enabled(id), c.ready) << id;
        // Setting buttons stay usable either way.
        for (int id : {1007, 1008, 1021, 1031, 1018})
            EXPECT_TRUE(rig.Enabled(id)) << id;
    }
    WindowRig simulated("", test::Simulated());
    EXPECT_EQ(simulated.window->windowTitle().toStdString(),
              "Morsk Universal Programmer Ver1.0 - USB (simulated)");
}

TEST(MainWindow, ChipChangeWithOkAndWithCancel)
{
    WindowRig rig;
    rig.hand.Then([](QWidget* dialog) {
        auto* devices = Control<QListWidget>(dialog, 1043);
        QTest::mouseClick(devices->viewport(), Qt::LeftButton, {}, devices->visualItemRect(devices->item(18)).center());
        Click(dialog, 1);
    });
    Click(rig.window.get(), 1007);
    EXPECT_EQ(rig.StatusLines(), (Lines{kReadyLine, kReadyLine}));
    EXPECT_EQ(rig.Text(1042), " ATMEL  ATTINY13  440H*8");
    EXPECT_EQ(test::ReadFile(rig.dir.File("setup.ini")), "[SETUP]\nManufIndex=0\nDeviceIndex=18\n");
    // The checksum is taken over the new chip's sizes; nothing is cleared.
    EXPECT_EQ(rig.Text(1043), ChecksumLine(0xFFu * (1024 + 64), ""));

    rig.hand.Then([](QWidget* dialog) {
        auto* devices = Control<QListWidget>(dialog, 1043);
        devices->setCurrentRow(0);
        Click(dialog, 2);
    });
    Click(rig.window.get(), 1007);
    EXPECT_EQ(rig.StatusLines().size(), 2u);
    EXPECT_EQ(test::ReadFile(rig.dir.File("setup.ini")), "[SETUP]\nManufIndex=0\nDeviceIndex=18\n");

    // The same chip again still adds its readiness line.
    rig.hand.Then([](QWidget* dialog) { Click(dialog, 1); });
    Click(rig.window.get(), 1007);
    EXPECT_EQ(rig.StatusLines().size(), 3u);
}

TEST(DeviceDialog, SelectionRulesAndLogos)
{
    WindowRig rig("[SETUP]\nManufIndex=0\nDeviceIndex=5\n");
    const auto logo = [](QWidget* dialog) {
        return static_cast<ManufacturerLogo>(Control<QLabel>(dialog, 1048)->property("logo").toInt());
    };
    std::vector<std::string> seen;
    rig.hand.Then([&](QWidget* dialog) {
        auto* manufacturers = Control<QListWidget>(dialog, 1042);
        auto* devices = Control<QListWidget>(dialog, 1043);
        // Lists in file order, the saved entries highlighted, the NORDIC
        // picture whatever is selected; search and type controls off.
        EXPECT_EQ(manufacturers->count(), 3);
        EXPECT_EQ(manufacturers->currentRow(), 0);
        EXPECT_EQ(devices->item(0)->text().toStdString(), "ATMEGA8");
        EXPECT_EQ(devices->currentRow(), 5);
        EXPECT_EQ(logo(dialog), ManufacturerLogo::Nordic);
        for (int id : {1005, 1044, 1045, 1046, 1047})
            EXPECT_FALSE(Control<QWidget>(dialog, id)->isEnabled()) << id;
        // MICROCHIP has three devices: the saved index 5 highlights none.
        QTest::mouseClick(manufacturers->viewport(), Qt::LeftButton, {},
                          manufacturers->visualItemRect(manufacturers->item(1)).center());
        EXPECT_EQ(logo(dialog), ManufacturerLogo::Microchip);
        EXPECT_EQ(devices->count(), 3);
        EXPECT_EQ(devices->currentRow(), -1);
        // NORDIC: the chosen device stays 5, so OK returns (2, 5).
        QTest::mouseClick(manufacturers->viewport(), Qt::LeftButton, {},
                          manufacturers->visualItemRect(manufacturers->item(2)).center());
        EXPECT_EQ(logo(dialog), ManufacturerLogo::Nordic);
        Click(dialog, 1);
    });
    Click(rig.window.get(), 1007);
    EXPECT_EQ(rig.window->deviceDialog().model().chosenManufacturer(), 2);
    EXPECT_EQ(rig.window->deviceDialog().model().chosenDevice(), 5);
    EXPECT_EQ(test::ReadFile(rig.dir.File("setup.ini")), "[SETUP]\nManufIndex=2\nDeviceIndex=5\n");
    EXPECT_EQ(rig.StatusLines().back(), kUnsupportedLine);  // NORDIC has no device 5

    // Reopening starts again from the saved indexes and the NORDIC picture.
    rig.hand.Then([&](QWidget* dialog) {
        EXPECT_EQ(Control<QListWidget>(dialog, 1042)->currentRow(), 2);
        EXPECT_EQ(Control<QListWidget>(dialog, 1043)->currentRow(), -1);
        auto* manufacturers = Control<QListWidget>(dialog, 1042);
        QTest::mouseClick(manufacturers->viewport(), Qt::LeftButton, {},
                          manufacturers->visualItemRect(manufacturers->item(0)).center());
        EXPECT_EQ(logo(dialog), ManufacturerLogo::Atmel);
        Click(dialog, 2);
    });
    Click(rig.window.get(), 1007);
}

TEST(AutoEditor, EditAndStore)
{
    WindowRig rig("[SETUP]\nAUTO=3512\n");
    const auto items = [](QWidget* dialog, int id) {
        std::vector<std::string> out;
        auto* list = Control<QListWidget>(dialog, id);
        for (int i = 0; i < list->count(); ++i)
            out.push_back(list->item(i)->text().toStdString());
        return out;
    };
    rig.hand.Then([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle().toStdString(), "编辑自动烧录方式");
        EXPECT_EQ(items(dialog, 1042), (Lines{"Program", "Read", "Verify", "Blank_Check", "Erase", "Security"}));
        EXPECT_EQ(items(dialog, 1043), (Lines{"Erase", "Program", "Read"}));
        auto* offered = Control<QListWidget>(dialog, 1042);
        offered->setCurrentRow(2);
        Click(dialog, 1007);  // add Verify
        // A double click: the first press selects, the second adds.
        const QPoint blankCheck = offered->visualItemRect(offered->item(3)).center();
        QTest::mouseClick(offered->viewport(), Qt::LeftButton, {}, blankCheck);
        QTest::mouseDClick(offered->viewport(), Qt::LeftButton, {}, blankCheck);
        auto* chosen = Control<QListWidget>(dialog, 1043);
        chosen->setCurrentRow(1);
        Click(dialog, 1018);  // delete Program
        EXPECT_EQ(items(dialog, 1043), (Lines{"Erase", "Read", "Verify", "Blank_Check"}));
        Click(dialog, 1);
    });
    Click(rig.window.get(), 1018);
    EXPECT_EQ(std::string(rig.app->settings.autoSequence), "45234");
    EXPECT_EQ(test::ReadFile(rig.dir.File("setup.ini")), "[SETUP]\nAUTO=45234\n");

    // The menu item does the same; Cancel keeps everything.
    rig.hand.Then([&](QWidget* dialog) {
        EXPECT_EQ(items(dialog, 1043), (Lines{"Erase", "Read", "Verify", "Blank_Check"}));
        Click(dialog, 1021);
        Click(dialog, 1008);
        EXPECT_EQ(items(dialog, 1043).size(), 6u);
        Click(dialog, 2);
    });
    rig.window->MenuAction(1018)->trigger();
    EXPECT_EQ(std::string(rig.app->settings.autoSequence), "45234");
    EXPECT_EQ(test::ReadFile(rig.dir.File("setup.ini")), "[SETUP]\nAUTO=45234\n");
}

TEST(MainWindow, FilesFromTheDialogADropAndTheCommandLine)
{
    WindowRig rig;
    // Cancelling the dialog says so and changes nothing.
    rig.hand.Then([](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        EXPECT_EQ(files->nameFilters().size(), 5);
        EXPECT_EQ(files->defaultSuffix().toStdString(), "bin");
        files->reject();
    });
    const std::string before = rig.Text(1043);
    rig.window->MenuAction(32771)->trigger();
    EXPECT_EQ(rig.hand.boxes, (std::vector<ModalHand::Box>{{"文件打开失败 !!!", ""}}));
    EXPECT_EQ(rig.Text(1043), before);

    // Chosen in the dialog; a lower-case name matches the filter.
    test::WriteFile(rig.dir.File("fw.hex"), ":0400000001020304F2\n:00000001FF\n");
    rig.hand.Then([&](QWidget* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        // Typed into the name field, as a user may.
        auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(QString::fromStdString(rig.dir.File("fw.hex")));
        QMetaObject::invokeMethod(files, "accept");
    });
    rig.window->MenuAction(32771)->trigger();
    const uint32_t sum = 0xFFu * (8192 + 512) - 4 * 0xFF + 10;
    EXPECT_EQ(rig.Text(1043), ChecksumLine(sum, rig.dir.File("fw.hex")));
    // The dialog is kept and reopens in the same folder.
    EXPECT_EQ(rig.window->fileDialog().dialog()->directory().absolutePath().toStdString(),
              rig.dir.path().string());

    // A dropped file loads the same way, messages included.
    test::WriteFile(rig.dir.File("bad.hex"), "no colon\n");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(rig.dir.File("bad.hex")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(rig.window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(rig.window.get(), &drop);
    // Refused whole: the message names the file and the line, and the
    // window still shows the file that is loaded.
    EXPECT_EQ(rig.hand.boxes.back().text, "Error reading Hexfile: " + rig.dir.File("bad.hex") + ": line 1: no record (no ':')");
    EXPECT_EQ(rig.Text(1043), ChecksumLine(sum, rig.dir.File("fw.hex")));

    // Files that cannot be read, and data the chip cannot hold: one box
    // each, nothing changes.
    std::filesystem::create_directory(rig.dir.File("folder.hex"));
    test::WriteFile(rig.dir.File("big.hex"), ":0100000001FE\n:01300000AA25\n:00000001FF\n");
    const struct {
        std::string path;
        std::string box;
    } refused[] = {
        {rig.dir.File("gone.hex"), "文件打开错误 !!!: " + rig.dir.File("gone.hex") + ": No such file or directory"},
        {rig.dir.File("folder.hex"), "文件打开错误 !!!: " + rig.dir.File("folder.hex") + ": Is a directory"},
        {rig.dir.File("big.hex"), "Error reading Hexfile: " + rig.dir.File("big.hex") +
                                      ": data up to address 0x3000, but the flash of ATMEGA8 holds 8192 bytes"},
    };
    for (const auto& r : refused) {
        const size_t boxes = rig.hand.boxes.size();
        rig.window->LoadFile(r.path);
        ASSERT_EQ(rig.hand.boxes.size(), boxes + 1) << r.path;
        EXPECT_EQ(rig.hand.boxes.back().text, r.box);
        EXPECT_EQ(rig.Text(1043), ChecksumLine(sum, rig.dir.File("fw.hex")));
    }
}

TEST(MainWindow, EraseProgramVerifyThroughTheButtons)
{
    WindowRig rig("", test::Simulated());
    VirtualProgrammer* sim = rig.window->session().simulator();
    ASSERT_NE(sim, nullptr);
    sim->chip->flash[0] = 0x00;  // something to erase
    test::WriteFile(rig.dir.File("fw.hex"), ":0400000001020304F2\n:00000001FF\n");
    rig.window->LoadFile(rig.dir.File("fw.hex"));
    Click(rig.window.get(), 1024);
    Click(rig.window.get(), 1025);
    Click(rig.window.get(), 1026);
    EXPECT_EQ(rig.StatusLines(),
              (Lines{kReadyLine, "器件ID:1E 93 07", "擦除芯片...", "擦除芯片成功!", "器件ID:1E 93 07",
                     "编程FLASH...", "编程FLASH成功!", "编程EEPROM...", "编程EEPROM成功!", "编程器件完成!",
                     "器件ID:1E 93 07", "效验器件完成!"}));
    EXPECT_EQ(sim->chip->flash[3], 0x04);
    EXPECT_EQ(Control<QProgressBar>(rig.window.get(), 1023)->value(), 100);
    const auto* list = Control<QListWidget>(rig.window.get(), 1022);
    EXPECT_EQ(list->currentRow(), list->count() - 1);  // the newest line is selected

    // An auto run counts; the counters show it.
    SetAutoSequence(rig.app->settings, "13");
    Click(rig.window.get(), 1037);
    EXPECT_EQ(rig.StatusLines().back(), "自动已完成!");
    EXPECT_EQ(rig.Text(1029), "1");

    Screenshot(rig.window.get(), "main-window.png");
}

TEST(MainWindow, OptionsAboutAndTheSkipBlankOption)
{
    WindowRig rig;
    const std::string settings = test::ReadFile(rig.dir.File("setup.ini"));
    for (int button : {1, 2}) {
        rig.hand.Then([button](QWidget* dialog) {
            EXPECT_EQ(dialog->windowTitle().toStdString(), "操作选项");
            EXPECT_EQ(Control<QPushButton>(dialog, 1)->text().toStdString(), "OK");
            EXPECT_EQ(Control<QPushButton>(dialog, 2)->text().toStdString(), "Cancel");
            Click(dialog, button);
        });
        Click(rig.window.get(), 1021);
    }
    rig.hand.Then([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle().toStdString(), "关于 Tarvel");
        EXPECT_EQ(Control<QPushButton>(dialog, 1)->text().toStdString(), "确定");
        EXPECT_NE(dialog->findChild<QLabel*>(), nullptr);
        Screenshot(dialog, "about.png");
        Click(dialog, 1);
    });
    rig.window->MenuAction(32784)->trigger();
    rig.hand.Then([](QWidget* dialog) {
        Screenshot(dialog, "device-dialog.png");
        Click(dialog, 2);
    });
    Click(rig.window.get(), 1007);
    rig.hand.Then([](QWidget* dialog) {
        Screenshot(dialog, "auto-editor.png");
        Click(dialog, 2);
    });
    Click(rig.window.get(), 1018);
    EXPECT_EQ(rig.StatusLines().size(), 1u);
    EXPECT_EQ(test::ReadFile(rig.dir.File("setup.ini")), settings);

    // The one option: Cancel forgets a change, OK stores it.
    for (int button : {2, 1}) {
        rig.hand.Then([button](QWidget* dialog) {
            auto* box = Control<QCheckBox>(dialog, 1101);
            EXPECT_FALSE(box->isChecked());
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));  // on the box itself
            EXPECT_TRUE(box->isChecked());
            Screenshot(dialog, "options.png");
            Click(dialog, button);
        });
        Click(rig.window.get(), 1021);
        EXPECT_EQ(rig.app->settings.skipBlank, button == 1);
    }
    EXPECT_EQ(test::ReadFile(rig.dir.File("setup.ini")), "[SETUP]\nSkipBlank=1\n");
    rig.hand.Then([](QWidget* dialog) {
        EXPECT_TRUE(Control<QCheckBox>(dialog, 1101)->isChecked());  // shown as stored
        Click(dialog, 2);
    });
    Click(rig.window.get(), 1021);
}

// Records the value the progress bar had each time it painted.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QProgressBar* bar) : bar_(bar) { bar->installEventFilter(this); }
    std::vector<int> painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted.push_back(bar_->value());
        return false;
    }

private:
    QProgressBar* bar_;
};

class Marker : public QObject {
public:
    bool handled = false;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) {
            handled = true;
            return true;
        }
        return QObject::event(e);
    }
};

TEST(MainWindow, AProgrammerThatAnotherProcessDrivesIsLeftAlone)
{
    WindowRig rig("", test::Simulated());
    VirtualProgrammer* sim = rig.window->session().simulator();
    sim->record = true;
    // What morsk-cli takes for the same programmer.
    PortLock other;
    std::string error;
    ASSERT_TRUE(other.Acquire("sim-" + VirtualProgrammer::PortPath(0), error)) << error;
    const uint64_t before = sim->transfers;
    Click(rig.window.get(), 1025);
    // The fuse dialog's read goes through the same lock.
    rig.hand.Then([](QWidget* dialog) {
        Click(dialog, 1039);
        Click(dialog, 2);
    });
    Click(rig.window.get(), 1031);
    EXPECT_EQ(rig.hand.boxes, (std::vector<ModalHand::Box>{{kProgrammerInUseLine, "熔丝位设置"}}));
    EXPECT_EQ(rig.StatusLines(), (Lines{kReadyLine, kProgrammerInUseLine}));
    EXPECT_EQ(sim->transfers, before);
    EXPECT_TRUE(sim->packets.empty());

    other.Release();
    Click(rig.window.get(), 1026);
    EXPECT_EQ(rig.StatusLines().back(), "效验器件完成!");
    // The window holds the lock only while it works: another process can
    // take it between two operations.
    EXPECT_TRUE(other.Acquire("sim-" + VirtualProgrammer::PortPath(0), error)) << error;
}

TEST(MainWindow, BusyWindowPaintsButTakesNoInput)
{
    WindowRig rig("", test::Simulated());
    auto* bar = Control<QProgressBar>(rig.window.get(), 1023);
    PaintRecorder recorder(bar);
    Marker marker;
    bool markerHandledDuringRun = false;
    bool visibleAfterClose = false;
    int clickedDuringRun = 0;
    bool runEnded = false;

    // Driven by the write's own progress, not by the clock: at its first
    // step an event is posted from outside; half-way through the flash it
    // must have been handled, and a click on erase, Esc and a close
    // request arrive.
    bool posted = false;
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
        if (!posted && value > 0) {
            QCoreApplication::postEvent(&marker, new QEvent(QEvent::User));
            posted = true;
        } else if (posted && clickedDuringRun == 0 && value >= 50) {
            markerHandledDuringRun = marker.handled && !runEnded;
            ++clickedDuringRun;
            QTest::mouseClick(Control<QPushButton>(rig.window.get(), 1024), Qt::LeftButton);
            QTest::keyClick(rig.window.get(), Qt::Key_Escape);
            rig.window->close();
            visibleAfterClose = rig.window->isVisible();
        }
    });
    rig.hand.answers.push_back(QMessageBox::No);
    Click(rig.window.get(), 1025);
    runEnded = true;

    EXPECT_EQ(clickedDuringRun, 1);
    EXPECT_TRUE(markerHandledDuringRun);
    EXPECT_TRUE(visibleAfterClose);
    EXPECT_TRUE(rig.window->isVisible());  // the run ended first
    EXPECT_GE(rig.window->busyFilter().dropped(), 2);
    // Only the program run's lines: the erase click was dropped, not queued.
    EXPECT_EQ(rig.StatusLines(),
              (Lines{kReadyLine, "器件ID:1E 93 07", "编程FLASH...", "编程FLASH成功!", "编程EEPROM...",
                     "编程EEPROM成功!", "编程器件完成!"}));
    // The bar painted values between 0 and 100 while it ran.
    const bool intermediate = std::any_of(recorder.painted.begin(), recorder.painted.end(),
                                          [](int v) { return v > 0 && v < 100; });
    EXPECT_TRUE(intermediate) << recorder.painted.size() << " paints";
    // The close request asked whether to cancel; "No" let the run finish
    // and keeps the window open.
    ASSERT_EQ(rig.hand.boxes.size(), 1u);
    EXPECT_EQ(rig.hand.boxes[0].text, kCloseDuringRunQuestion);
    QTest::qWait(50);
    EXPECT_TRUE(rig.window->isVisible());
    EXPECT_EQ(rig.StatusLines().size(), 7u);
}

}  // namespace
}  // namespace morsk
