// Identifying the chip in the socket, and backing it up and restoring it,
// from the window.
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <random>

#include "chip_backup.h"
#include "gui_support.h"
#include "identify.h"
#include "sim_rig.h"

namespace morsk {
namespace {

using test::Click;
constexpr auto Choose = test::ChooseFile;
using test::WindowRig;
using Lines = std::vector<std::string>;

void Socket(VirtualProgrammer* sim, const std::string& device)
{
    if (device.empty()) {
        sim->chip.reset();
        return;
    }
    ChipProfile profile;
    ASSERT_TRUE(test::LoadShippedChip(device, profile)) << device;
    sim->chip = VirtualChip::FromProfile(profile);
}

std::vector<std::string> LastLines(const WindowRig& rig, size_t n)
{
    const std::vector<std::string> all = rig.StatusLines();
    return {all.end() - static_cast<std::ptrdiff_t>(std::min(n, all.size())), all.end()};
}

TEST(ChipMenu, IdentifyOffersTheChipOrLetsTheUserPick)
{
    WindowRig rig("", test::Simulated());
    VirtualProgrammer* sim = rig.window->session().simulator();

    // One match: asked, and yes selects it as the device dialog would.
    Socket(sim, "ATMEGA16");
    rig.hand.answers.push_back(QMessageBox::Yes);
    Click(rig.window.get(), 1033);
    ASSERT_EQ(rig.hand.boxes.size(), 1u);
    EXPECT_EQ(rig.hand.boxes[0].text, "插座中的器件是 ATMEL/ATMEGA16。\n选择这个器件吗?");
    EXPECT_EQ(LastLines(rig, 3), (Lines{"器件ID:1E 94 03", "插座中的器件是: ATMEL/ATMEGA16", "准备就绪！"}));
    EXPECT_STREQ(rig.app->profile.deviceName, "ATMEGA16");
    EXPECT_NE(test::ReadFile(rig.dir.File("setup.ini")).find("DeviceIndex="), std::string::npos);
    // Asked again with the chip selected: nothing to ask.
    rig.window->MenuAction(kMenuIdentify)->trigger();
    EXPECT_EQ(rig.hand.boxes.size(), 1u);

    // Chips that share a signature: a pick among them.
    Socket(sim, "NRF24LE1");
    rig.hand.Then([](QWidget* dialog) {
        auto* pick = qobject_cast<QInputDialog*>(dialog);
        ASSERT_NE(pick, nullptr);
        EXPECT_EQ(pick->comboBoxItems(),
                  (QStringList{QStringLiteral("NORDIC/NRF24LE1"), QStringLiteral("NORDIC/NRF24LU1P-F16"),
                               QStringLiteral("NORDIC/NRF24LU1P-F32")}));
        pick->setTextValue(QStringLiteral("NORDIC/NRF24LU1P-F32"));
        pick->accept();
    });
    rig.window->MenuAction(kMenuIdentify)->trigger();
    EXPECT_STREQ(rig.app->profile.deviceName, "NRF24LU1P-F32");

    // Nothing in the socket, and a signature that no chip of the list has:
    // said, nothing asked, the selection stays.
    Socket(sim, "");
    Click(rig.window.get(), 1033);
    EXPECT_EQ(LastLines(rig, 1), (Lines{"找不到器件!"}));
    Socket(sim, "ATMEGA8");
    sim->chip->signature[2] = 0x99;
    Click(rig.window.get(), 1033);
    EXPECT_EQ(LastLines(rig, 2), (Lines{"器件ID:1E 93 99", kNotInDeviceListLine}));
    EXPECT_EQ(rig.hand.boxes.size(), 1u);
    EXPECT_STREQ(rig.app->profile.deviceName, "NRF24LU1P-F32");
}

TEST(ChipMenu, BackupAndRestoreFromTheFileMenu)
{
    WindowRig rig("", test::Simulated());
    VirtualProgrammer* sim = rig.window->session().simulator();
    std::mt19937 random(4);
    for (uint8_t& b : sim->chip->flash)
        b = static_cast<uint8_t>(random());
    for (uint8_t& b : sim->chip->eeprom)
        b = static_cast<uint8_t>(random());
    sim->chip->fuses[0] = 0xE4;
    sim->chip->lock = 0xFE;
    const VirtualChip original = *sim->chip;
    const DataBuffer buffer = rig.app->buffer;
    const std::string file = rig.dir.File("m8.hex");

    rig.hand.Then(Choose(file));
    rig.window->MenuAction(kMenuBackup)->trigger();
    EXPECT_EQ(LastLines(rig, 1), (Lines{kBackupDoneLine + file}));
    EXPECT_EQ(rig.app->buffer.flash, buffer.flash);  // the data buffer is not touched

    // An erased chip; the lock byte asks first, and no keeps it erased.
    Socket(sim, "ATMEGA8");
    rig.hand.Then(Choose(file));
    rig.hand.answers.push_back(QMessageBox::No);
    rig.window->MenuAction(kMenuRestore)->trigger();
    ASSERT_EQ(rig.hand.boxes.size(), 1u);
    EXPECT_EQ(rig.hand.boxes[0].text, "恢复这个备份时: 锁定位 FE 将禁止再写入器件。\n器件以后可能不能再用这个编程器编程。\n仍然恢复吗?");
    EXPECT_EQ(sim->chip->eraseCount, 0u);

    rig.hand.Then(Choose(file));
    rig.hand.answers.push_back(QMessageBox::Yes);
    rig.window->MenuAction(kMenuRestore)->trigger();
    EXPECT_EQ(LastLines(rig, 1), (Lines{kRestoreDoneLine}));
    EXPECT_EQ(sim->chip->flash, original.flash);
    EXPECT_EQ(sim->chip->eeprom, original.eeprom);
    EXPECT_EQ(sim->chip->fuses[0], 0xE4);
    EXPECT_EQ(sim->chip->lock, 0xFE);
}

}  // namespace
}  // namespace morsk

namespace morsk {
namespace {

// Station mode: a pass, the chip out, a failing chip in, stopped with 取消.
TEST(StationMode, APassAFailAndCancel)
{
    WindowRig rig("[SETUP]\nAUTO=213\n[SERIAL]\nEnabled=1\nAddress=0x1FF0\nNext=7\n", test::Simulated());
    VirtualProgrammer* sim = rig.window->session().simulator();
    rig.window->MenuAction(kMenuStation)->trigger();
    ASSERT_TRUE(rig.window->stationMode());
    EXPECT_FALSE(Control<QPushButton>(rig.window.get(), 1025)->isEnabled());
    EXPECT_TRUE(Control<QPushButton>(rig.window.get(), 1028)->isEnabled());
    QLabel* label = rig.window->stationLabel();
    auto* hint = rig.window->findChild<QLabel*>(QStringLiteral("stationHint"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return label->text().startsWith(QStringLiteral("通过")); }, 5000));
    EXPECT_EQ(label->text().toStdString(), "通过  #1   序列号 7");
    EXPECT_EQ(sim->chip->flash[0x1FF0], 7);
    EXPECT_EQ(hint->text().toStdString(), "请取出器件");
    // Left in: not programmed again.
    QTest::qWait(800);
    EXPECT_EQ(rig.app->successCount, 1);

    sim->chip.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return hint->text() == QStringLiteral("请放入下一个器件"); }, 5000));
    Socket(sim, "ATMEGA8");
    std::fill(sim->chip->flash.begin(), sim->chip->flash.end(), 0x00);  // not erased: its verify fails
    ASSERT_TRUE(QTest::qWaitFor([&] { return label->text().startsWith(QStringLiteral("失败")); }, 5000));
    EXPECT_EQ(label->text().toStdString(), "失败  #2");
    EXPECT_EQ(hint->text().toStdString(), "效验器件失败!  ——  请取出器件");
    EXPECT_EQ(rig.app->failureCount, 1);
    EXPECT_NE(test::ReadFile(rig.dir.File("setup.ini")).find("Next=8\n"), std::string::npos);  // 8 went back

    Click(rig.window.get(), 1028);
    EXPECT_FALSE(rig.window->stationMode());
    EXPECT_FALSE(rig.window->MenuAction(kMenuStation)->isChecked());
    EXPECT_TRUE(Control<QPushButton>(rig.window.get(), 1025)->isEnabled());
}

}  // namespace
}  // namespace morsk
