// The hex editor control and the buffer editor through the real widgets.
#include <QClipboard>
#include <QMimeData>
#include <QPushButton>

#include "buffer_editor_dialog.h"
#include "gui_support.h"
#include "hex_edit_base.h"

namespace morsk {
namespace {

using test::Click;
using test::WindowRig;

QPoint ByteCenter(const CHexEditBase& editor, uint32_t index)
{
    const auto& m = editor.model();
    const uint32_t n = m.bytesPerRow();
    const int x = m.dataRect().left + m.hexXPx() + static_cast<int>(index % n) * 3 * m.charWidthPx() + 2;
    const int y = m.dataRect().top + static_cast<int>(index / n - m.topRow()) * m.lineHeightPx() + m.lineHeightPx() / 2;
    return {x, y};
}

TEST(HexEditWidget, KeysMouseAndTheClipboard)
{
    CHexEditBase editor;
    editor.resize(600, 300);
    editor.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor));
    std::vector<uint8_t> bytes(4096);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i);
    editor.SetBytesPerRow(16, false);
    editor.SetData(bytes);
    int changes = 0;
    QObject::connect(&editor, &CHexEditBase::changed, [&changes] { ++changes; });
    editor.setFocus();

    // Keys: Right twice, then two digits on byte 1.
    QTest::keyClick(editor.viewport(), Qt::Key_Right);
    QTest::keyClick(editor.viewport(), Qt::Key_Right);
    EXPECT_EQ(editor.model().caretIndex(), 1u);
    QTest::keyClicks(editor.viewport(), QStringLiteral("c3"));
    EXPECT_EQ(editor.model().data()[1], 0xC3);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(bytes[1], 0x01);  // the caller's bytes are untouched

    // A mouse drag from byte 16 to byte 35 selects them.
    QTest::mousePress(editor.viewport(), Qt::LeftButton, {}, ByteCenter(editor, 16));
    QMouseEvent move(QEvent::MouseMove, ByteCenter(editor, 35), editor.viewport()->mapToGlobal(ByteCenter(editor, 35)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(editor.viewport(), &move);
    QTest::mouseRelease(editor.viewport(), Qt::LeftButton, {}, ByteCenter(editor, 35));
    EXPECT_EQ(editor.model().selectionBegin(), 16u);
    EXPECT_EQ(editor.model().selectionEnd(), 35u);

    // Copy puts both forms on the clipboard; Paste reads the raw one back.
    QTest::keyClick(editor.viewport(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(mime->hasFormat(QStringLiteral("BinaryData")));
    EXPECT_EQ(mime->data(QStringLiteral("BinaryData")).size(), 4 + 20);
    EXPECT_TRUE(mime->text().startsWith(QStringLiteral("10 11 12")));
    editor.SetSelection(hexedit::kNone, hexedit::kNone, false);
    QTest::keyClick(editor.viewport(), Qt::Key_End);
    QTest::keyClick(editor.viewport(), Qt::Key_Home);
    QTest::keyClick(editor.viewport(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor.model().data()[0], 0x10);
    EXPECT_EQ(editor.model().data()[19], 0x23);
    EXPECT_EQ(editor.model().selectionEnd(), 19u);
    EXPECT_EQ(changes, 3);

    // Text from elsewhere is not pasted.
    QApplication::clipboard()->setText(QStringLiteral("FF FF"));
    QTest::keyClick(editor.viewport(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(changes, 3);
    QTest::keyClick(editor.viewport(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(editor.model().selectionEnd(), 4095u);

    // The wheel: one notch toward the user scrolls down one row.
    QWheelEvent wheel(QPointF(50, 50), editor.mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(editor.viewport(), &wheel);
    EXPECT_EQ(editor.model().topRow(), 1u);
}

TEST(BufferEditor, ChecksumRangeEditsAndFill)
{
    WindowRig rig;  // ATMEGA8: 8192 + 512 bytes, all 0xFF
    const std::string fileLine = rig.Text(1043);
    rig.hand.Then([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle().toStdString(), "数据缓冲区");
        EXPECT_EQ(Control<QLabel>(dialog, 1044)->text().toStdString(), "效验和: 0021DE00H");
        EXPECT_EQ(Control<QLabel>(dialog, 1045)->text().toStdString(), "数据缓冲区范围: 00000000H - 00002200H");
        EXPECT_EQ(Control<QLabel>(dialog, 1046)->text().toStdString(), "地  址: 00000000H");
        EXPECT_FALSE(Control<QWidget>(dialog, 1049)->isEnabled());
        EXPECT_FALSE(Control<QWidget>(dialog, 1007)->isEnabled());
        EXPECT_TRUE(Control<QPushButton>(dialog, 2)->isDefault());
        auto* editor = Control<CHexEditBase>(dialog, 1040);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->model().length(), 8704u);
        // Typing changes the control's copy; Enter and Escape stay in it.
        editor->setFocus();
        QTest::keyClicks(editor->viewport(), QStringLiteral("00"));
        QTest::keyClick(editor->viewport(), Qt::Key_Return);
        QTest::keyClick(editor->viewport(), Qt::Key_Escape);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(editor->model().data()[0], 0x00);
        // Tab leaves the control for the next one, Shift+Tab comes back.
        QApplication::setActiveWindow(dialog);
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_Tab);
        EXPECT_FALSE(editor->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        EXPECT_TRUE(editor->hasFocus());
        Click(dialog, 1);
    });
    Click(rig.window.get(), 1008);
    // OK takes the edit into the images and the checksum line.
    EXPECT_EQ(rig.app->buffer.view[0], 0x00);
    EXPECT_EQ(rig.app->buffer.flash[0], 0x00);
    EXPECT_EQ(rig.Text(1043), ChecksumLine(0x21DD01, ""));

    // Fill then Cancel: the buffer stays filled, and the main window's line
    // says so at once, without the file that the buffer no longer holds.
    test::WriteFile(rig.dir.File("fw.hex"), ":0100000000FF\n:00000001FF\n");
    rig.window->LoadFile(rig.dir.File("fw.hex"));
    ASSERT_EQ(rig.Text(1043), ChecksumLine(0x21DD01, rig.dir.File("fw.hex")));
    std::string lineAfterFill;
    rig.hand.Then([&](QWidget* dialog) {
        EXPECT_EQ(Control<QLabel>(dialog, 1044)->text().toStdString(), "效验和: 0021DD01H");
        auto* editor = Control<CHexEditBase>(dialog, 1040);
        editor->SetSelection(3, 5, false);
        Click(dialog, 1041);
        lineAfterFill = rig.Text(1043);
        EXPECT_EQ(Control<QLabel>(dialog, 1044)->text().toStdString(), "效验和: 0021DE00H");
        // Screen readers get the content beside the short name.
        EXPECT_EQ(Control<QLabel>(dialog, 1044)->accessibleName().toStdString(), "效验和");
        EXPECT_EQ(Control<QLabel>(dialog, 1044)->accessibleDescription().toStdString(), "效验和: 0021DE00H");
        EXPECT_FALSE(editor->HasSelection());
        EXPECT_EQ(editor->model().caretIndex(), 0u);
        EXPECT_EQ(editor->model().data()[0], 0xFF);
        Click(dialog, 2);
    });
    Click(rig.window.get(), 1008);
    EXPECT_EQ(rig.app->buffer.flash[0], 0xFF);
    EXPECT_EQ(rig.app->buffer.view[0], 0xFF);
    EXPECT_EQ(lineAfterFill, fileLine);
    EXPECT_EQ(rig.Text(1043), fileLine);
    EXPECT_EQ(Control<QLabel>(rig.window.get(), 1043)->accessibleDescription().toStdString(), fileLine);
    EXPECT_EQ(Control<QLabel>(rig.window.get(), 1043)->accessibleName().toStdString(), "文件");
}

TEST(BufferEditor, ALoadedFileWithASelection)
{
    WindowRig rig;
    std::string hex;
    for (int line = 0; line < 16; ++line) {
        std::vector<uint8_t> record;
        for (int i = 0; i < 16; ++i)
            record.push_back(static_cast<uint8_t>("Morsk programmer"[i] + line));
        unsigned sum = 16 + 0 + static_cast<unsigned>(line * 16);
        std::string text = Format(":10%04X00", line * 16);
        for (uint8_t b : record) {
            text += Format("%02X", b);
            sum += b;
        }
        hex += text + Format("%02X\n", (0u - sum) & 0xFF);
    }
    test::WriteFile(rig.dir.File("firmware.hex"), hex + ":00000001FF\n");
    rig.window->LoadFile(rig.dir.File("firmware.hex"));
    rig.hand.Then([&](QWidget* dialog) {
        auto* editor = Control<CHexEditBase>(dialog, 1040);
        EXPECT_EQ(editor->model().data()[0], 'M');
        editor->SetSelection(0x24, 0x4B, true);
        test::Screenshot(dialog, "buffer-editor.png");
        Click(dialog, 2);
    });
    Click(rig.window.get(), 1008);
}

}  // namespace
}  // namespace morsk
