// The window and every dialog in English: no Chinese character anywhere a
// user reads; in Chinese, the texts as they always were. And how the
// language is chosen and kept.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

#include <regex>

#include "gui_support.h"
#include "main_window.h"
#include "qt_translations.h"
#include "settings.h"
#include "sim_rig.h"

namespace morsk {
namespace {

using test::Click;
using test::WindowRig;

// The language names stay in their own language in both.
const QStringList kOwnNames = {QStringLiteral("语言 / Language"), QStringLiteral("中文")};

bool HasCjk(const QString& text)
{
    for (const QChar c : text)
        if ((c.unicode() >= 0x3000 && c.unicode() <= 0x303F) || (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF) ||
            (c.unicode() >= 0xFF00 && c.unicode() <= 0xFFEF))
            return true;
    return false;
}

// Every text of a window a user can read: title, captions, labels, group
// titles, tool tips, accessible names, list and combo items, table
// headers, menu items, placeholders.
QStringList TextsOf(QWidget* root)
{
    QStringList out = {root->windowTitle()};
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets << root;
    for (QWidget* w : widgets) {
        out << w->toolTip() << w->accessibleName();
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            out << b->text();
        if (auto* l = qobject_cast<QLabel*>(w))
            out << l->text();
        if (auto* g = qobject_cast<QGroupBox*>(w))
            out << g->title();
        if (auto* e = qobject_cast<QLineEdit*>(w))
            out << e->placeholderText();
        if (auto* c = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < c->count(); ++i)
                out << c->itemText(i);
        if (auto* list = qobject_cast<QListWidget*>(w))
            for (int i = 0; i < list->count(); ++i)
                out << list->item(i)->text();
        if (auto* table = qobject_cast<QTableWidget*>(w))
            for (int i = 0; i < table->columnCount(); ++i)
                if (table->horizontalHeaderItem(i))
                    out << table->horizontalHeaderItem(i)->text();
    }
    for (QAction* a : root->findChildren<QAction*>())
        out << a->text() << a->toolTip();
    return out;
}

void ExpectNoCjk(QWidget* root, const std::string& where)
{
    for (const QString& text : TextsOf(root))
        if (!kOwnNames.contains(text)) {
            EXPECT_FALSE(HasCjk(text)) << where << ": " << text.toStdString();
        }
}

// English for the length of a test.
struct InEnglish {
    InEnglish()
    {
        SetLanguage(Language::English);
        ApplyQtLanguage(*qApp, Language::English);
    }
    ~InEnglish()
    {
        SetLanguage(Language::Chinese);
        ApplyQtLanguage(*qApp, Language::Chinese);
    }
};

TEST(Language, EveryWindowAndDialogInEnglishHasNoChineseText)
{
    InEnglish english;
    WindowRig rig("", test::Simulated());
    MainWindow* w = rig.window.get();
    // A few operations, so that the status list holds their lines.
    Click(w, 1024);
    Click(w, 1026);
    rig.window->session().simulator()->chip.reset();
    Click(w, 1027);
    ExpectNoCjk(w, "main window");
    EXPECT_EQ(Control<QPushButton>(w, 1025)->text().toStdString(), "Program");
    EXPECT_EQ(rig.StatusLines().back(), "No chip found!");

    // Each dialog as the user opens it, looked at, then closed.
    const auto look = [&](const std::string& name, std::function<void()> open) {
        rig.hand.Then([name](QWidget* dialog) {
            ExpectNoCjk(dialog, name);
            qobject_cast<QDialog*>(dialog)->reject();
        });
        open();
        QTest::qWait(20);
    };
    look("device dialog", [&] { Click(w, 1007); });
    look("auto editor", [&] { Click(w, 1018); });
    look("options", [&] { Click(w, 1021); });
    look("fuse dialog", [&] { Click(w, 1031); });
    look("buffer editor", [&] { Click(w, 1008); });
    look("about", [&] { w->MenuAction(32784)->trigger(); });
    look("serial numbers", [&] { w->MenuAction(kMenuProduction)->trigger(); });
    look("load", [&] { w->MenuAction(32771)->trigger(); });
    look("save", [&] { w->MenuAction(32781)->trigger(); });
    look("save as text", [&] { w->MenuAction(32776)->trigger(); });
    look("backup", [&] { w->MenuAction(kMenuBackup)->trigger(); });
    look("restore", [&] { w->MenuAction(kMenuRestore)->trigger(); });

    // A message box: the identify question.
    ChipProfile m16;
    ASSERT_TRUE(test::LoadShippedChip("ATMEGA16", m16));
    rig.window->session().simulator()->chip = VirtualChip::FromProfile(m16);
    rig.hand.answers.push_back(QMessageBox::No);
    Click(w, 1033);
    ASSERT_EQ(rig.hand.boxes.size(), 2u);
    // The load dialog closed without a file says so, as in Chinese.
    EXPECT_EQ(rig.hand.boxes[0].text, "The file could not be opened !!!");
    EXPECT_EQ(rig.hand.boxes[1].text, "The chip in the socket is ATMEL/ATMEGA16.\nSelect this chip?");
    for (const auto& box : rig.hand.boxes)
        EXPECT_FALSE(HasCjk(QString::fromStdString(box.text + box.caption))) << box.text;
    ExpectNoCjk(w, "main window after the boxes");
    EXPECT_EQ(rig.StatusLines().back(), "The chip in the socket is: ATMEL/ATMEGA16");
}

// Chinese is the reference: in Chinese every text of the sources is shown
// exactly as written, whatever the English table holds.
TEST(Language, ChineseTextsStayAsTheyAre)
{
    ASSERT_EQ(CurrentLanguage(), Language::Chinese);
    for (size_t i = 0; i < kEnglishTextCount; ++i)
        EXPECT_EQ(Translate(kEnglishTexts[i].chinese), kEnglishTexts[i].chinese);
    WindowRig rig;
    EXPECT_EQ(Control<QPushButton>(rig.window.get(), 1025)->text().toStdString(), "编  程");
    EXPECT_EQ(rig.window->MenuAction(32771)->text().toStdString(), "载入文件");
    EXPECT_EQ(rig.StatusLines().back(), "准备就绪！");
}

TEST(Language, FirstStartFollowsTheLocaleAndTheChoiceIsKept)
{
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        Language language;
    } const cases[] = {
        {nullptr, nullptr, nullptr, Language::Chinese},       // no locale at all
        {"", "", "C", Language::Chinese},
        {nullptr, nullptr, "POSIX", Language::Chinese},
        {nullptr, nullptr, "C.UTF-8", Language::Chinese},
        {nullptr, nullptr, "zh_CN.UTF-8", Language::Chinese},
        {nullptr, nullptr, "zh_TW.UTF-8", Language::Chinese},
        {nullptr, nullptr, "en_US.UTF-8", Language::English},
        {nullptr, nullptr, "de_DE.UTF-8", Language::English},
        {"zh_CN.UTF-8", nullptr, "en_US.UTF-8", Language::Chinese},  // LC_ALL first
        {nullptr, "fr_FR.UTF-8", "zh_CN.UTF-8", Language::English},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LanguageForLocale(c.lcAll, c.lcMessages, c.lang), c.language)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lcMessages ? c.lcMessages : "-") << " " << (c.lang ? c.lang : "-");

    // Chosen in the menu: kept in setup.ini beside the other sections.
    WindowRig rig("[SETUP]\nManufIndex=0\nDeviceIndex=1\n");
    auto* english = rig.window->findChild<QAction*>(QStringLiteral("language-en"));
    ASSERT_NE(english, nullptr);
    english->trigger();
    ASSERT_EQ(rig.hand.boxes.size(), 1u);
    EXPECT_EQ(rig.hand.boxes[0].text, kLanguageNextStart);
    const std::string ini = test::ReadFile(rig.dir.File("setup.ini"));
    EXPECT_NE(ini.find("[LANGUAGE]\nLanguage=en"), std::string::npos) << ini;
    EXPECT_NE(ini.find("DeviceIndex=1"), std::string::npos);
    EXPECT_EQ(StartLanguage(rig.dir.File("setup.ini")), Language::English);
    EXPECT_EQ(CurrentLanguage(), Language::Chinese);  // at the next start
}

}  // namespace
}  // namespace morsk
