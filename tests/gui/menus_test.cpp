// The file and buffer menus, the recent files, exit, cancel and reset, as a
// user reaches them.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>

#include "buffer_editor_dialog.h"
#include "gui_support.h"
#include "hex_edit_base.h"
#include "virtual_programmer.h"

namespace morsk {
namespace {

using test::Click;
constexpr auto Choose = test::ChooseFile;
using test::ModalHand;
using test::WindowRig;
using Lines = std::vector<std::string>;

TEST(Menus, SaveThenLoadGivesTheSameChecksum)
{
    WindowRig rig;
    for (uint32_t i = 0; i < 8192; i += 3)
        rig.app->buffer.flash[i] = static_cast<uint8_t>(i);
    for (uint32_t i = 0; i < 512; i += 5)
        rig.app->buffer.eeprom[i] = static_cast<uint8_t>(i ^ 0x5A);
    ComposeView(rig.app->buffer, rig.app->profile);
    RefreshChecksum(*rig.app);
    const DataBuffer saved = rig.app->buffer;
    for (const char* name : {"out.bin", "out.hex", "out.eep"}) {
        SCOPED_TRACE(name);
        rig.hand.Then(Choose(rig.dir.File(name)));
        rig.window->MenuAction(32781)->trigger();
        EXPECT_EQ(rig.Text(1043), ChecksumLine(saved.checksum, rig.dir.File(name)));  // names the saved file
    }
    // Loaded back into an erased buffer: the same images.
    ClearBuffer(*rig.app);
    for (const char* name : {"out.bin", "out.eep"})
        rig.window->LoadFile(rig.dir.File(name));
    EXPECT_EQ(rig.app->buffer.checksum, saved.checksum);
    ClearBuffer(*rig.app);
    for (const char* name : {"out.hex", "out.eep"})
        rig.window->LoadFile(rig.dir.File(name));
    EXPECT_EQ(rig.app->buffer.checksum, saved.checksum);
    EXPECT_EQ(rig.app->buffer.flash, saved.flash);

    // "以文本保存": a text dump of the view.
    rig.hand.Then(Choose(rig.dir.File("dump.txt")));
    rig.window->MenuAction(32776)->trigger();
    const std::string dump = test::ReadFile(rig.dir.File("dump.txt"));
    EXPECT_EQ(dump.substr(0, 60), "00000000  00 FF FF 03 FF FF 06 FF FF 09 FF FF 0C FF FF 0F  |");
    EXPECT_EQ(std::count(dump.begin(), dump.end(), '\n'), (8192 + 512) / 16);
}

TEST(Menus, TheRecentFilesSurviveARestartAndDropAVanishedFile)
{
    std::string ini;
    {
        WindowRig rig;
        for (const char* name : {"a.hex", "b.hex"}) {
            test::WriteFile(rig.dir.File(name), ":0100000001FE\n:00000001FF\n");
            rig.window->LoadFile(rig.dir.File(name));
        }
        rig.window->LoadFile(rig.dir.File("a.hex"));  // again: moves to the top, once
        ini = test::ReadFile(rig.dir.File("setup.ini"));
        EXPECT_NE(ini.find("[RECENT]\nFile1=" + rig.dir.File("a.hex") + "\nFile2=" + rig.dir.File("b.hex")),
                  std::string::npos) << ini;
        EXPECT_NE(ini.find("File3=\n"), std::string::npos);
        EXPECT_EQ(ini.find("[SETUP]"), std::string::npos);  // the specified keys are not touched
    }
    // A new window over the same folder finds the list.
    WindowRig rig(ini);
    test::WriteFile(rig.dir.File("a.hex"), ":0100000001FE\n:00000001FF\n");
    const std::string a = rig.dir.File("a.hex");
    // The list names files of the first folder, which is gone with it.
    QMenu* recent = rig.window->recentMenu();
    ASSERT_EQ(recent->actions().size(), 2);
    QAction* first = rig.window->findChild<QAction*>(QStringLiteral("recent1"));
    ASSERT_NE(first, nullptr);
    first->trigger();
    ASSERT_EQ(rig.hand.boxes.size(), 1u);
    EXPECT_NE(rig.hand.boxes[0].text.find("No such file or directory"), std::string::npos);
    EXPECT_EQ(recent->actions().size(), 1);  // dropped from the list
    rig.window->LoadFile(a);
    rig.window->findChild<QAction*>(QStringLiteral("recent1"))->trigger();  // loads as 载入文件 does
    EXPECT_EQ(rig.Text(1043), ChecksumLine(0xFFu * 8704 - 0xFE, a));
    test::Screenshot(rig.window.get(), "recent-menu-window.png");
}

TEST(Menus, ClearEditAndTheBufferOptions)
{
    WindowRig rig;
    test::WriteFile(rig.dir.File("fw.hex"), ":0100000000FF\n:00000001FF\n");
    rig.window->LoadFile(rig.dir.File("fw.hex"));
    rig.window->MenuAction(32775)->trigger();  // 清除缓冲区
    EXPECT_EQ(rig.Text(1043), ChecksumLine(0xFFu * 8704, ""));
    EXPECT_EQ(rig.app->buffer.flash[0], 0xFF);

    // An edit reaches both images on OK, and not on Cancel; the address
    // line follows the caret; the options are kept.
    for (const bool ok : {false, true}) {
        rig.hand.Then([ok](QWidget* dialog) {
            auto* editor = Control<CHexEditBase>(dialog, 1040);
            editor->setFocus();
            QTest::keyClicks(editor->viewport(), QStringLiteral("12"));
            // The last byte of the view is the EEPROM's last.
            QTest::keyClick(editor->viewport(), Qt::Key_End);
            EXPECT_EQ(Control<QLabel>(dialog, 1046)->text().toStdString(), "地  址: 000021FFH");
            QTest::keyClick(editor->viewport(), Qt::Key_Left);
            QTest::keyClicks(editor->viewport(), QStringLiteral("34"));
            Control<QCheckBox>(dialog, 1048)->setChecked(true);
            Click(dialog, ok ? 1 : 2);
        });
        rig.window->MenuAction(32773)->trigger();  // 编辑
        EXPECT_EQ(rig.app->buffer.flash[0], ok ? 0x12 : 0xFF);
        EXPECT_EQ(rig.app->buffer.eeprom[511], ok ? 0x34 : 0xFF);
        EXPECT_EQ(rig.app->settings.clearOnLoad, ok);
    }
    EXPECT_EQ(rig.Text(1043), ChecksumLine(0xFFu * 8702 + 0x12 + 0x34, ""));
    EXPECT_NE(test::ReadFile(rig.dir.File("setup.ini")).find("[BUFFER]\nClearOnChipChange=0\nClearOnLoad=1"),
              std::string::npos);
    // With it on, a load starts from an erased buffer.
    rig.window->LoadFile(rig.dir.File("fw.hex"));
    EXPECT_EQ(rig.app->buffer.eeprom[511], 0xFF);
    EXPECT_EQ(rig.app->buffer.flash[0], 0x00);
}

TEST(Menus, ExitAndTheDeviceItem)
{
    WindowRig rig;
    rig.hand.Then([](QWidget* dialog) { Click(dialog, 2); });
    rig.window->MenuAction(32777)->trigger();  // 选择器件 opens the device dialog
    EXPECT_EQ(rig.hand.boxes.size(), 0u);
    rig.window->MenuAction(32772)->trigger();  // 退出
    QTest::qWait(20);
    EXPECT_FALSE(rig.window->isVisible());
}

TEST(Menus, CancelStopsAWriteWithinOneBlock)
{
    for (const bool autoRun : {false, true}) {
        SCOPED_TRACE(autoRun ? "auto" : "program");
        WindowRig rig("", test::Simulated(true));
        VirtualProgrammer* sim = rig.window->session().simulator();
        sim->record = true;
        SetAutoSequence(rig.app->settings, "21");
        auto* bar = Control<QProgressBar>(rig.window.get(), 1023);
        auto* cancel = Control<QPushButton>(rig.window.get(), 1028);
        EXPECT_FALSE(cancel->isEnabled());
        size_t blocksAtCancel = 0;
        bool enabledDuringRun = false;
        QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
            if (value >= 20 && blocksAtCancel == 0 && rig.StatusLines().back() == "编程FLASH...") {
                enabledDuringRun = cancel->isEnabled();
                blocksAtCancel = std::count_if(sim->packets.begin(), sim->packets.end(),
                                               [](const SetupPacket& p) { return p.request == kRequestWriteFlash; });
                QTest::mouseClick(cancel, Qt::LeftButton);  // the one input the busy rules let through
            }
        });
        Click(rig.window.get(), autoRun ? 1037 : 1025);
        EXPECT_TRUE(enabledDuringRun);
        EXPECT_FALSE(cancel->isEnabled());
        const size_t blocks = std::count_if(sim->packets.begin(), sim->packets.end(),
                                            [](const SetupPacket& p) { return p.request == kRequestWriteFlash; });
        EXPECT_GT(blocksAtCancel, 0u);
        EXPECT_LE(blocks, blocksAtCancel + 1);
        EXPECT_EQ(sim->packets.back().request, kRequestDisconnect);  // programming mode left
        EXPECT_EQ(rig.StatusLines().back(), kCancelledPartlyWrittenLine);
        if (autoRun) {
            EXPECT_EQ(rig.Text(1034), "1");  // counted as failed
            EXPECT_EQ(rig.Text(1029), "0");
        }
        if (autoRun)
            test::Screenshot(rig.window.get(), "cancelled-window.png");
    }
}

TEST(Menus, ResetAsksThenZeroesBothCounters)
{
    WindowRig rig("", test::Simulated());
    auto* reset = Control<QPushButton>(rig.window.get(), 1032);
    EXPECT_FALSE(reset->isEnabled());
    SetAutoSequence(rig.app->settings, "15");
    Click(rig.window.get(), 1037);
    rig.window->session().simulator()->chip.reset();
    Click(rig.window.get(), 1037);
    EXPECT_EQ(rig.Text(1029), "1");
    EXPECT_EQ(rig.Text(1034), "1");
    EXPECT_TRUE(reset->isEnabled());
    rig.hand.answers.push_back(QMessageBox::No);
    Click(rig.window.get(), 1032);
    EXPECT_EQ(rig.Text(1029), "1");
    rig.hand.answers.push_back(QMessageBox::Yes);
    Click(rig.window.get(), 1032);
    EXPECT_EQ(rig.Text(1029), "0");
    EXPECT_EQ(rig.Text(1034), "0");
    EXPECT_FALSE(reset->isEnabled());
    ASSERT_EQ(rig.hand.boxes.size(), 2u);
    EXPECT_EQ(rig.hand.boxes[1].text, kResetCountersQuestion);
}

TEST(Menus, OutcomesInColourAndDialogsInChinese)
{
    WindowRig rig("", test::Simulated());
    Click(rig.window.get(), 1026);  // verify of a blank image: passes
    rig.window->session().simulator()->chip.reset();
    Click(rig.window.get(), 1024);
    const auto* list = Control<QListWidget>(rig.window.get(), 1022);
    const auto colourOf = [list](const std::string& text) {
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->text().toStdString() == text)
                return list->item(i)->foreground().color();
        return QColor();
    };
    EXPECT_EQ(colourOf("效验器件完成!").green() > 100 && colourOf("效验器件完成!").red() < 50, true);
    EXPECT_EQ(colourOf("找不到器件!").red() > 150 && colourOf("找不到器件!").green() < 50, true);
    EXPECT_EQ(list->item(0)->foreground().style(), Qt::NoBrush);  // the readiness line as it was

    // Qt's own file dialog speaks Chinese.
    rig.hand.Then([](QWidget* dialog) {
        auto* box = dialog->findChild<QDialogButtonBox*>();
        ASSERT_NE(box, nullptr);
        QStringList texts;
        for (QAbstractButton* b : box->buttons())
            texts << b->text();
        EXPECT_TRUE(texts.join(QLatin1Char(' ')).contains(QStringLiteral("取消"))) << texts.join(QLatin1Char(' ')).toStdString();
        qobject_cast<QDialog*>(dialog)->reject();
    });
    rig.window->MenuAction(32771)->trigger();
}

}  // namespace
}  // namespace morsk
