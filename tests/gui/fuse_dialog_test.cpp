// The fuse dialog through its ids.
#include <QCheckBox>
#include <QDir>
#include <QPushButton>

#include "fuse_dialog.h"
#include "gui_support.h"
#include "virtual_programmer.h"

namespace morsk {
namespace {

using test::Click;
using test::WindowRig;

std::string Value(QWidget* dialog, int id)
{
    return Control<QLineEdit>(dialog, id)->text().toStdString();
}

TEST(FuseDialog, OpensWithTheChipsLayoutAndEditsInPlace)
{
    WindowRig rig("", test::Simulated());  // ATMEGA8
    rig.hand.Then([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle().toStdString(), "熔丝位设置");
        EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("warning"))->text().toStdString(),
                  "注意：请谨慎设置容丝位!");
        // The lock byte before Default: 0x00, all eight boxes checked.
        EXPECT_EQ(Value(dialog, 1018), "0x00");
        for (int id : {1055, 1056, 1057, 1058, 1059, 1060, 1061, 1062})
            EXPECT_TRUE(Control<QCheckBox>(dialog, id)->isChecked()) << id;
        EXPECT_EQ(Value(dialog, 1054), "0xE1");
        for (int id : {1027, 1028, 1029, 1030, 1031, 1032, 1033, 1034})
            EXPECT_EQ(Control<QCheckBox>(dialog, id)->isChecked(), id >= 1028 && id <= 1031) << id;
        // Captions of the chip's layout; a disabled RSTDISBL, no SPIEN.
        auto* rstdisbl = Control<QCheckBox>(dialog, 1045);
        EXPECT_EQ(rstdisbl->text().toStdString(), "RSTDISBL");
        EXPECT_FALSE(rstdisbl->isEnabled());
        EXPECT_EQ(Control<QCheckBox>(dialog, 1043)->text().toStdString(), "----");
        for (auto [id, caption] : {std::pair{1, "确  定"}, {2, "取  消"}, {1037, "默  认"}, {1038, "写  入"},
                                   {1039, "读  取"}})
            EXPECT_EQ(Control<QPushButton>(dialog, id)->text().toStdString(), caption) << id;
        test::Screenshot(dialog, "fuse-dialog.png");

        // A click on a high box changes only the high byte.
        auto* bootrst = Control<QCheckBox>(dialog, 1035);
        QTest::mouseClick(bootrst, Qt::LeftButton, {}, QPoint(8, bootrst->height() / 2));
        EXPECT_EQ(Value(dialog, 1016), "0xD8");
        EXPECT_EQ(Value(dialog, 1054), "0xE1");
        Click(dialog, 1037);  // Default
        EXPECT_EQ(Value(dialog, 1016), "0xD9");
        EXPECT_EQ(Value(dialog, 1018), "0xFF");
        QTest::mouseClick(bootrst, Qt::LeftButton, {}, QPoint(8, bootrst->height() / 2));
        Click(dialog, 1);  // OK keeps the edits
    });
    Click(rig.window.get(), 1031);
    EXPECT_EQ(rig.app->profile.fuseHigh, 0xD8);
    EXPECT_EQ(rig.app->profile.lock, 0xFF);

    // Cancel, and Esc, put back what the dialog opened with.
    for (bool escape : {false, true}) {
        rig.hand.Then([escape](QWidget* dialog) {
            Click(dialog, 1037);
            if (escape)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                Click(dialog, 2);
        });
        rig.window->MenuAction(32780)->trigger();
        EXPECT_EQ(rig.app->profile.fuseHigh, 0xD8);
    }
}

TEST(FuseDialog, ReadWriteAndTheGuard)
{
    WindowRig rig("", test::Simulated());
    VirtualProgrammer* sim = rig.window->session().simulator();
    sim->chip->fuses[0] = 0xE4;
    sim->record = true;
    rig.hand.Then([&](QWidget* dialog) {
        Click(dialog, 1039);
        EXPECT_EQ(Value(dialog, 1054), "0xE4");
        // Programming RSTDISBL asks first; "No" sends nothing.
        rig.app->profile.fuseHigh = 0x59;
        sim->packets.clear();
        rig.hand.answers.push_back(QMessageBox::No);
        Click(dialog, 1038);
        EXPECT_TRUE(sim->packets.empty());
        EXPECT_EQ(sim->chip->fuses[1], 0xD9);
        ASSERT_EQ(rig.hand.boxes.size(), 1u);
        EXPECT_NE(rig.hand.boxes[0].text.find("编程 RSTDISBL"), std::string::npos);
        // "Yes" writes.
        rig.hand.answers.push_back(QMessageBox::Yes);
        Click(dialog, 1038);
        EXPECT_EQ(sim->chip->fuses[1], 0x59);
        // With the socket empty, Read and Write say the chip did not answer.
        const auto chip = sim->chip;
        sim->chip.reset();
        Click(dialog, 1039);
        Click(dialog, 1038);
        ASSERT_EQ(rig.hand.boxes.size(), 4u);
        EXPECT_EQ(rig.hand.boxes[2].text,
                  "芯片没有应答（没有芯片、芯片型号不对或接触不良），显示的熔丝位数值不是从芯片读出的。");
        EXPECT_EQ(rig.hand.boxes[3].text, "芯片没有应答（没有芯片、芯片型号不对或接触不良），熔丝位没有写入芯片。");
        EXPECT_EQ(Value(dialog, 1054), "0xE4");
        sim->chip = chip;
        Click(dialog, 1);
    });
    Click(rig.window.get(), 1031);
    EXPECT_EQ(rig.app->failureCount, 0);
}

TEST(FuseDialog, ALayoutLeavesNothingOfTheLastOne)
{
    WindowRig rig("[SETUP]\nManufIndex=0\nDeviceIndex=16\n");  // ATMEGA2560: layout Y
    ASSERT_EQ(std::string(rig.app->profile.deviceName), "ATMEGA2560");
    rig.hand.Then([](QWidget* dialog) {
        EXPECT_EQ(Control<QCheckBox>(dialog, 1045)->text().toStdString(), "OCDEN");
        Click(dialog, 2);
    });
    Click(rig.window.get(), 1031);
    std::strcpy(rig.app->profile.deviceName, "ATTINY12");  // layout A
    rig.hand.Then([](QWidget* dialog) {
        auto* fuses = static_cast<FuseDialog*>(dialog);
        for (int row = 0; row < kFuseRows; ++row)
            for (int bit = 0; bit < 8; ++bit) {
                const FuseSlot& slot = FuseLayoutFor("ATTINY12").bits[static_cast<size_t>(row)][static_cast<size_t>(bit)];
                QCheckBox* box = fuses->Box(static_cast<FuseRow>(row), bit);
                EXPECT_EQ(box->text().toStdString(), slot.caption);
                EXPECT_EQ(box->isEnabled(), slot.enabled);
            }
        Click(dialog, 2);
    });
    Click(rig.window.get(), 1031);
}

}  // namespace
}  // namespace morsk
