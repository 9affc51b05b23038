// The hex editor's model alone: layout numbers, caret, keys, mouse,
// scrolling and clipboard forms, with a character width of 8 and a line
// height of 16 pixels.
#include <gtest/gtest.h>

#include <numeric>

#include "hex_edit_model.h"

namespace morsk::hexedit {
namespace {

struct Shape {
    uint32_t length = 100;
    int widthPx = 410;   // a data rectangle of 400 after the 5-pixel inset
    int heightPx = 90;   // 80: five full rows
    uint32_t perRow = 16;
    bool autoFit = false;
    bool address = false;
    bool ascii = false;
};

HexEditModel Make(const Shape& s)
{
    HexEditModel m;
    m.SetMetrics(8, 16);
    std::vector<uint8_t> bytes(s.length);
    std::iota(bytes.begin(), bytes.end(), 0);
    m.SetData(bytes);
    m.SetAddressDigits(8);
    m.SetShowAddress(s.address);
    m.SetShowAscii(s.ascii);
    m.SetBytesPerRow(s.perRow, s.autoFit);
    m.SetClientRect({0, 0, s.widthPx, s.heightPx});
    m.SetFocus(true);
    return m;
}

TEST(HexEditLayout, AutomaticFitRowsAndHeights)
{
    struct Case {
        Shape setup;
        uint32_t perRow, fullRows, visibleRows;
        int lastRowHeight;
    } cases[] = {
        // Address (8 digits: 69 px) and characters: a = 400 - 69 - 5 = 326, 326 / 32 = 10 rest 6.
        {{.autoFit = true, .address = true, .ascii = true}, 10, 5, 5, 16},
        // No character column: a = 331, 331 / 24 = 13 rest 19 >= 16, so 14.
        {{.autoFit = true, .address = true}, 14, 5, 5, 16},
        // Exactly 3n - 1 cells for n = 10 (232 px): the last byte needs no space.
        {{.widthPx = 242, .autoFit = true}, 10, 5, 5, 16},
        {{.widthPx = 241, .autoFit = true}, 9, 5, 5, 16},
        // Too narrow for anything: one byte a row.
        {{.widthPx = 40, .autoFit = true, .address = true}, 1, 5, 5, 16},
        // A height that does not divide: a partly visible sixth row of 5 px.
        {{.heightPx = 95}, 16, 5, 6, 5},
        {{.heightPx = 10}, 16, 0, 0, 16},
    };
    for (const Case& c : cases) {
        HexEditModel m = Make(c.setup);
        EXPECT_EQ(m.bytesPerRow(), c.perRow) << c.setup.widthPx;
        EXPECT_EQ(m.fullRows(), c.fullRows);
        EXPECT_EQ(m.visibleRows(), c.visibleRows);
        EXPECT_EQ(m.lastRowHeightPx(), c.lastRowHeight);
    }
    HexEditModel m = Make({.autoFit = true, .address = true, .ascii = true});
    EXPECT_EQ(m.addressWidthPx(), 69);
    EXPECT_EQ(m.hexXPx(), 69);
    EXPECT_EQ(m.hexWidthPx(), 8 * 29 + 5);
    EXPECT_EQ(m.charXPx(), 69 + 8 * 29 + 5);
    EXPECT_EQ(m.charColumnWidthPx(), 80);
}

TEST(HexEditLayout, RowsTopRowAndTexts)
{
    // 33 bytes, 16 a row: three rows, the last with one byte; two full rows
    // visible leave a maximum top row of 1.
    HexEditModel m = Make({.length = 33, .heightPx = 42, .address = true, .ascii = true});
    EXPECT_EQ(m.totalRows(), 3u);
    EXPECT_EQ(m.fullRows(), 2u);
    EXPECT_EQ(m.maxTopRow(), 1u);
    m.SetTopRow(7);
    EXPECT_EQ(m.topRow(), 1u);
    EXPECT_EQ(m.PaintedRows(), 2u);
    EXPECT_EQ(m.AddressText(1), "00000020");
    EXPECT_EQ(m.HexText(1), "20");
    EXPECT_EQ(m.HexText(0), "10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F");
    EXPECT_EQ(m.CharText(0), "................");
    m.SetTopRow(0);
    EXPECT_EQ(m.CharText(1).substr(0, 2), "..");
    HexEditModel text = Make({.length = 3});
    std::vector<uint8_t> abc = {'A', 0x7E, 0x7F};
    text.SetData(abc);
    EXPECT_EQ(text.CharText(0), "A~.");
    // Four address digits print wider values in full.
    HexEditModel wide = Make({.length = 0x20000, .perRow = 16, .address = true});
    wide.SetAddressDigits(4);
    wide.SetTopRow(0x1001);
    EXPECT_EQ(wide.AddressText(0), "10010");
    HexEditModel none;
    EXPECT_EQ(none.PaintedRows(), 0u);
}

TEST(HexEditCaret, KeyTable)
{
    struct Case {
        const char* name;
        uint32_t fromIndex;
        bool fromHigh;
        std::vector<Key> keys;
        bool shift;
        uint32_t index;
        bool high;
        uint32_t selBegin, selEnd;
    } cases[] = {
        {"Right on the last byte's low digit stays", 99, false, {Key::Right}, false, 99, false, kNone, kNone},
        {"Left on byte 0's high digit stays", 0, true, {Key::Left}, false, 0, true, kNone, kNone},
        {"Left from high goes to the low digit before", 5, true, {Key::Left}, false, 4, false, kNone, kNone},
        {"Right from low goes to the next high digit", 5, false, {Key::Right}, false, 6, true, kNone, kNone},
        {"End", 10, true, {Key::End}, false, 99, false, kNone, kNone},
        {"Home", 50, false, {Key::Home}, false, 0, true, kNone, kNone},
        {"Page Down: (5 visible - 1) rows", 0, true, {Key::PageDown}, false, 64, true, kNone, kNone},
        {"Page Up", 80, true, {Key::PageUp}, false, 16, true, kNone, kNone},
        {"Down past the end", 90, true, {Key::Down}, false, 99, false, kNone, kNone},
        {"Up", 40, false, {Key::Up}, false, 24, false, kNone, kNone},
        {"Shift+Right three times from 4", 4, true, {Key::Right, Key::Right, Key::Right}, true, 5, false, 4, 5},
        {"Shift+Left from 4", 4, true, {Key::Left}, true, 3, false, 3, 4},
    };
    for (const Case& c : cases) {
        HexEditModel m = Make({});
        m.UpdateCaret(c.fromIndex, c.fromHigh);
        for (Key k : c.keys)
            m.KeyDown(k, c.shift);
        EXPECT_EQ(m.caretIndex(), c.index) << c.name;
        EXPECT_EQ(m.caretHigh(), c.high) << c.name;
        EXPECT_EQ(m.selectionBegin(), c.selBegin) << c.name;
        EXPECT_EQ(m.selectionEnd(), c.selEnd) << c.name;
    }
    // Four full rows with nothing partly visible: Page Down moves 48.
    HexEditModel even = Make({.heightPx = 74});
    ASSERT_EQ(even.visibleRows(), 4u);
    even.KeyDown(Key::PageDown, false);
    EXPECT_EQ(even.caretIndex(), 48u);
    // A caret asked for past the data names the last byte, so that typing
    // never writes past it.
    HexEditModel past = Make({.length = 10});
    past.UpdateCaret(500, true);
    EXPECT_EQ(past.caretIndex(), 9u);
    EXPECT_TRUE(past.Character('a', false));
    EXPECT_EQ(past.data()[9], 0xA9);
    // A move without Shift drops the selection.
    HexEditModel m = Make({});
    m.SetSelection(3, 9, false);
    m.KeyDown(Key::Right, false);
    EXPECT_FALSE(m.HasSelection());
}

TEST(HexEditCaret, TypingDigits)
{
    HexEditModel m = Make({});
    std::vector<uint8_t> bytes(100, 0x12);
    m.SetData(bytes);
    EXPECT_TRUE(m.Character('f', false));
    EXPECT_EQ(m.data()[0], 0xF2);
    EXPECT_FALSE(m.caretHigh());
    EXPECT_TRUE(m.Character('0', false));
    EXPECT_EQ(m.data()[0], 0xF0);
    EXPECT_EQ(m.caretIndex(), 1u);
    EXPECT_TRUE(m.caretHigh());
    EXPECT_EQ(bytes[0], 0x12);  // the caller's bytes are a copy's source only
    // Not a digit, backspace, codes past 255: nothing.
    for (uint32_t code : {uint32_t('g'), 8u, 0x3A0u, uint32_t(' ')})
        EXPECT_FALSE(m.Character(code, false)) << code;
    // An upper-case digit typed with Shift extends the selection.
    m.KeyDown(Key::Other, true);
    EXPECT_TRUE(m.Character('A', true));
    EXPECT_TRUE(m.Character('B', true));
    EXPECT_EQ(m.data()[1], 0xAB);
    EXPECT_EQ(m.selectionBegin(), 1u);
    EXPECT_EQ(m.selectionEnd(), 2u);
    // On the last byte the caret stays on its low digit.
    m.UpdateCaret(99, false);
    EXPECT_TRUE(m.Character('1', false));
    EXPECT_EQ(m.caretIndex(), 99u);
    EXPECT_FALSE(m.caretHigh());
    m.SetReadOnly(true);
    EXPECT_FALSE(m.Character('1', false));
}

TEST(HexEditCaret, Geometry)
{
    HexEditModel m = Make({.address = true});
    m.UpdateCaret(17, false);  // row 1, column 1, low digit
    ASSERT_TRUE(m.caret().visible);
    EXPECT_EQ(m.caret().rect, (RectPx{5 + 69 + 8 * 4, 5 + 16 + 1, 5 + 69 + 8 * 5, 5 + 16 + 16}));
    m.SetFocus(false);
    EXPECT_FALSE(m.caret().visible);
    m.SetFocus(true);
    m.UpdateCaret(99, true);  // below the visible rows
    EXPECT_FALSE(m.caret().visible);
}

TEST(HexEditMouse, PointsDragsAndAutoScroll)
{
    HexEditModel m = Make({.address = true, .ascii = true});
    // In the hex column; in the character column (the row's last byte).
    EXPECT_EQ(m.PointToPosition({5 + 69 + 8 * 3, 5 + 20}), (std::pair<uint32_t, bool>{17, true}));
    EXPECT_EQ(m.PointToPosition({5 + 69 + 8 * 4, 5 + 20}), (std::pair<uint32_t, bool>{17, false}));
    EXPECT_EQ(m.PointToPosition({m.charXPx() + 20, 5 + 20}), (std::pair<uint32_t, bool>{31, false}));
    EXPECT_EQ(m.PointToPosition({0, 1000}), (std::pair<uint32_t, bool>{80, true}));
    HexEditModel small = Make({.length = 20});
    EXPECT_EQ(small.PointToPosition({400, 80}), (std::pair<uint32_t, bool>{19, false}));

    // A click's jitter within the drag size selects nothing.
    m.ButtonDown({5 + 69 + 8, 10}, 4, 4);
    EXPECT_EQ(m.anchor(), 0u);
    EXPECT_EQ(m.dragRect(), (RectPx{5 + 69 + 8 - 2, 8, 5 + 69 + 8 + 2, 12}));
    m.PointerMove({5 + 69 + 9, 11}, true);
    EXPECT_FALSE(m.HasSelection());
    m.PointerMove({5 + 69 + 8 * 7, 30}, true);
    EXPECT_EQ(m.selectionBegin(), 0u);
    EXPECT_EQ(m.selectionEnd(), 18u);
    m.ButtonUp();
    EXPECT_EQ(m.anchor(), 0u);  // Shift+keys go on from the click

    // Dragging above the rows scrolls up every reload + 1 ticks.
    for (auto [distance, every] : {std::pair{30, 2}, {3, 8}}) {
        HexEditModel d = Make({.length = 1000});
        d.SetTopRow(20);
        d.ButtonDown({20, 40}, 4, 4);
        d.PointerMove({20, 5 - distance}, true);
        ASSERT_TRUE(d.autoScrollRunning());
        EXPECT_EQ(d.autoScrollDirection(), -1);
        int ticks = 0;
        while (d.topRow() == 20 && ticks < 100) {
            d.Tick();
            ++ticks;
        }
        EXPECT_EQ(ticks, every) << distance;
        for (int i = 0; i < every; ++i)
            d.Tick();
        EXPECT_EQ(d.topRow(), 18u);
        // From the row now on top to the clicked byte, the anchor.
        EXPECT_EQ(d.selectionBegin(), 18u * 16);
        EXPECT_EQ(d.selectionEnd(), 22u * 16);
        d.PointerMove({20, 40}, true);  // back inside: stops
        EXPECT_FALSE(d.autoScrollRunning());
    }
    // Single-line: no auto-scroll.
    HexEditModel one = Make({.length = 10});
    one.SetMultiLine(false);
    one.ButtonDown({20, 8}, 4, 4);
    one.PointerMove({20, 200}, true);
    EXPECT_FALSE(one.autoScrollRunning());
}

TEST(HexEditScroll, WheelMakeVisibleAndBars)
{
    HexEditModel m = Make({.length = 1000});
    m.Wheel(-120);
    EXPECT_EQ(m.topRow(), 1u);
    m.Wheel(60);
    EXPECT_EQ(m.topRow(), 1u);
    m.Wheel(240);
    EXPECT_EQ(m.topRow(), 0u);

    struct Case {
        uint32_t top, begin, end, newTop;
    } cases[] = {
        {0, 10, 10, 0},      // already visible
        {0, 100, 100, 2},    // below: its row becomes the last full row
        {10, 20, 20, 1},     // above: its row becomes the top
        {2, 0, 999, 2},      // covers the whole view: left alone
        {0, 300, 700, 18},   // taller than the view, below: starts at begin
    };
    for (const Case& c : cases) {
        HexEditModel v = Make({.length = 1000});
        v.SetTopRow(c.top);
        v.MakeVisible(c.begin, c.end);
        EXPECT_EQ(v.topRow(), c.newTop) << c.begin << "-" << c.end;
    }
    // Horizontal: a narrow control scrolls to the caret's cells.
    HexEditModel narrow = Make({.widthPx = 110});
    narrow.MakeVisible(15, 15);
    EXPECT_GT(narrow.horizontalOffsetPx(), 0);
    EXPECT_EQ(narrow.maxHorizontalOffsetPx(), 8 * 47 - 100);
    EXPECT_TRUE(narrow.HorizontalBar().visible);
    narrow.MakeVisible(0, 0);
    EXPECT_EQ(narrow.horizontalOffsetPx(), 0);

    EXPECT_EQ(m.VerticalBar().maximum, 63 - 5);
    EXPECT_EQ(m.VerticalBar().page, 5);
    HexEditModel one = Make({.length = 1000});
    one.SetMultiLine(false);
    EXPECT_EQ(one.bytesPerRow(), 1000u);
    EXPECT_FALSE(one.VerticalBar().visible);
    one.ScrollRows(3);
    EXPECT_EQ(one.topRow(), 0u);
}

TEST(HexEditSelection, SetSelectionAndSelectedCells)
{
    HexEditModel m = Make({.length = 40});
    m.SetSelection(30, 500, false);
    EXPECT_EQ(m.selectionEnd(), 39u);
    m.SetSelection(kNone, 5, false);
    EXPECT_FALSE(m.HasSelection());
    EXPECT_EQ(m.selectionBegin(), kNone);
    m.SetSelection(14, 17, false);
    int c1 = 0, c2 = 0;
    ASSERT_TRUE(m.SelectedCells(0, c1, c2));
    EXPECT_EQ(c1, 42);
    EXPECT_EQ(c2, 47);
    ASSERT_TRUE(m.SelectedCells(1, c1, c2));
    EXPECT_EQ(c1, 0);
    EXPECT_EQ(c2, 5);
    EXPECT_FALSE(m.SelectedCells(2, c1, c2));
    // Single-line shows the selection only with the focus.
    m.SetMultiLine(false);
    m.SetFocus(false);
    EXPECT_FALSE(m.SelectedCells(0, c1, c2));
    HexEditModel empty;
    empty.SetSelection(0, 3, false);
    EXPECT_FALSE(empty.HasSelection());
    empty.SelectAll();
    EXPECT_FALSE(empty.HasSelection());
}

TEST(HexEditClipboard, TextAndBinaryData)
{
    HexEditModel m = Make({.length = 100});
    std::vector<uint8_t> bytes(100);
    std::iota(bytes.begin(), bytes.end(), 0);
    bytes[0] = 0x01;
    bytes[1] = 0xAB;
    bytes[2] = 0xFF;
    m.SetData(bytes);
    m.SetSelection(0, 2, false);
    EXPECT_EQ(m.ClipboardText(), "01 AB FF\n");
    EXPECT_EQ(m.BinaryDataBlock(), (std::vector<uint8_t>{3, 0, 0, 0, 0x01, 0xAB, 0xFF}));

    // 20 bytes from 0x12: aligned with the dump's columns.
    m.SetSelection(0x12, 0x12 + 19, false);
    EXPECT_EQ(m.ClipboardText(),
              "      12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F\n20 21 22 23 24 25\n");
    // 17 bytes from 0x0A (end - begin = 16, not more than n): from column 0.
    m.SetSelection(0x0A, 0x0A + 16, false);
    EXPECT_EQ(m.ClipboardText(), "0A 0B 0C 0D 0E 0F 10 11 12 13 14 15 16 17 18 19\n1A\n");
    m.SetSelection(kNone, kNone, false);
    EXPECT_EQ(m.ClipboardText(), "");
    EXPECT_TRUE(m.BinaryDataBlock().empty());
}

TEST(HexEditClipboard, Paste)
{
    const std::vector<uint8_t> ten = {10, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    struct Case {
        const char* name;
        std::vector<uint8_t> block;
        uint32_t caret, selBegin, selEnd;
        bool wrote;
        uint32_t firstWritten, lastWritten;
    } cases[] = {
        {"at 95 of 100: cut to the room left", ten, 95, kNone, kNone, true, 95, 99},
        {"exactly to the end", ten, 90, kNone, kNone, true, 90, 99},
        {"with a selection: from its start", ten, 3, 10, 20, true, 10, 19},
        {"a count past the block: only what is there", {200, 0, 0, 0, 7, 7}, 0, kNone, kNone, true, 0, 1},
        {"a short block", {1, 0}, 0, kNone, kNone, false, 0, 0},
        {"an empty block", {}, 0, kNone, kNone, false, 0, 0},
        {"a count of 0", {0, 0, 0, 0, 9}, 0, kNone, kNone, false, 0, 0},
    };
    for (const Case& c : cases) {
        HexEditModel m = Make({.length = 100});
        std::vector<uint8_t> zeros(100, 0xEE);
        m.SetData(zeros);
        m.UpdateCaret(c.caret, true);
        if (c.selBegin != kNone)
            m.SetSelection(c.selBegin, c.selEnd, false);
        EXPECT_EQ(m.PasteBytes(c.block), c.wrote) << c.name;
        EXPECT_EQ(m.data().size(), 100u);
        if (!c.wrote) {
            EXPECT_EQ(m.data(), zeros) << c.name;
            EXPECT_LT(m.caretIndex(), 100u);
            continue;
        }
        for (uint32_t i = 0; i < 100; ++i) {
            const bool written = i >= c.firstWritten && i <= c.lastWritten;
            EXPECT_EQ(m.data()[i] != 0xEE, written) << c.name << " byte " << i;
        }
        EXPECT_EQ(m.selectionBegin(), c.firstWritten) << c.name;
        EXPECT_EQ(m.selectionEnd(), c.lastWritten) << c.name;
        EXPECT_EQ(m.caretIndex(), c.lastWritten);
        EXPECT_FALSE(m.caretHigh());
    }
    HexEditModel ro = Make({.length = 100});
    ro.SetReadOnly(true);
    EXPECT_FALSE(ro.PasteBytes(ten));
    EXPECT_FALSE(ro.CanPaste(true));
    ro.SetSelection(1, 2, false);
    EXPECT_TRUE(ro.CanCopy());
    ro.SelectAll();
    EXPECT_EQ(ro.selectionEnd(), 99u);
}

TEST(HexEditMenu, RightClickOutsideTheSelection)
{
    HexEditModel m = Make({.length = 100});
    m.SetSelection(0, 3, false);
    m.UpdateCaret(2, false);
    m.ContextClick({5 + 8 * 4, 10});  // byte 1: inside, nothing changes
    EXPECT_TRUE(m.HasSelection());
    EXPECT_EQ(m.caretIndex(), 2u);
    m.ContextClick({5 + 8 * 3 * 10, 10});  // byte 10: outside
    EXPECT_FALSE(m.HasSelection());
    EXPECT_EQ(m.caretIndex(), 10u);
    EXPECT_TRUE(m.caretHigh());
    EXPECT_FALSE(m.CanCopy());
}

}  // namespace
}  // namespace morsk::hexedit
