// The hex editor control without a window: its copy of the bytes and its
// configuration, put together from the layout (HexEditLayout), the caret
// and selection (HexEditCursor), the input controllers (hex_edit_input.h)
// and the clipboard codec (hex_edit_clipboard.h), plus the scroll position.
// CHexEditBase paints what this says and forwards the toolkit's events;
// everything a test wants to check lives here.
//
// Units are in the names where several coexist: ...Px are pixels, index
// and ...Index are byte indices into the data, column/cell are character
// cells of a row's text.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "hex_edit_cursor.h"
#include "hex_edit_geometry.h"
#include "hex_edit_input.h"
#include "hex_edit_layout.h"

namespace morsk::hexedit {

class HexEditModel {
public:
    // --- data and configuration ----------------------------------------
    // Takes a copy; the caller's bytes are never written. No bytes (a null
    // span with hasData false) leaves the control empty.
    void SetData(std::span<const uint8_t> bytes, bool hasData = true);
    void SetBytesPerRow(uint32_t count, bool autoFit);
    void SetShowAddress(bool show);
    void SetShowAscii(bool show);
    void SetAddressDigits(uint32_t digits);
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // Ends past the data are clamped to the last byte; kNone stays none.
    void SetSelection(uint32_t begin, uint32_t end, bool makeVisible);
    bool HasSelection() const { return cursor_.HasSelection(); }
    void SetMultiLine(bool multiLine);

    // What the widget measures: the font's "0" and its client area.
    void SetMetrics(int charWidthPx, int lineHeightPx);
    void SetClientRect(RectPx client);
    void SetFocus(bool focus);

    const std::vector<uint8_t>& data() const { return data_; }
    uint32_t length() const { return static_cast<uint32_t>(data_.size()); }
    bool hasData() const { return hasData_ && !data_.empty(); }
    bool readOnly() const { return readOnly_; }
    bool multiLine() const { return multiLine_; }
    bool focus() const { return focus_; }
    bool showAddress() const { return showAddress_; }
    bool showAscii() const { return showAscii_; }
    uint32_t addressDigits() const { return addressDigits_; }

    // --- layout: always up to date with the configuration -------------------
    const HexEditLayout& layout() const { return layout_; }
    uint32_t bytesPerRow() const { return layout_.bytesPerRow; }
    uint32_t fullRows() const { return layout_.fullRows; }
    uint32_t visibleRows() const { return layout_.visibleRows; }
    int lastRowHeightPx() const { return layout_.lastRowHeightPx; }
    int lineHeightPx() const { return lineHeightPx_; }
    int charWidthPx() const { return charWidthPx_; }
    int addressWidthPx() const { return layout_.addressWidthPx; }
    int hexXPx() const { return layout_.hexXPx; }
    int hexWidthPx() const { return layout_.hexWidthPx; }
    int charXPx() const { return layout_.charXPx; }
    int charColumnWidthPx() const { return layout_.charColumnWidthPx; }
    const RectPx& dataRect() const { return layout_.dataRect; }
    uint32_t totalRows() const { return layout_.totalRows; }
    uint32_t topRow() const { return topRow_; }
    uint32_t maxTopRow() const { return layout_.maxTopRow; }
    int horizontalOffsetPx() const { return hOffsetPx_; }
    int maxHorizontalOffsetPx() const { return layout_.maxHorizontalOffsetPx; }
    ScrollBarState VerticalBar() const;
    ScrollBarState HorizontalBar() const;

    // --- painting --------------------------------------------------------
    // The rows on screen: from the top row through the last at least
    // partly visible one, stopping at the end of the data.
    uint32_t PaintedRows() const;
    std::string AddressText(uint32_t row) const;
    std::string HexText(uint32_t row) const;
    std::string CharText(uint32_t row) const;
    // The selected cells [c1, c2) of a row's hex text; false when the row
    // shows no selection.
    bool SelectedCells(uint32_t row, int& c1, int& c2) const;

    // --- caret -----------------------------------------------------------
    uint32_t caretIndex() const { return cursor_.caretIndex; }
    bool caretHigh() const { return cursor_.caretHigh; }
    const CaretBox& caret() const { return caret_; }
    void UpdateCaret(uint32_t index, bool highDigit);
    void MoveCaret(int64_t delta, bool highDigit, bool shift);
    uint32_t selectionBegin() const { return cursor_.selBegin; }
    uint32_t selectionEnd() const { return cursor_.selEnd; }
    uint32_t anchor() const { return cursor_.anchor; }

    // --- keys ------------------------------------------------------------
    // A key press; Tab is the widget's to handle (focus), the rest move.
    void KeyDown(Key key, bool shift);
    // A typed character; true when a byte changed (send the notification).
    bool Character(uint32_t code, bool shift);

    // --- mouse -----------------------------------------------------------
    std::pair<uint32_t, bool> PointToPosition(PointPx point) const;
    void ButtonDown(PointPx point, int dragDx, int dragDy);
    void PointerMove(PointPx point, bool buttonHeld);
    void ButtonUp();
    void DoubleClick(PointPx point);
    const RectPx& dragRect() const { return dragRect_; }

    // --- auto-scroll (the widget ticks it every kAutoScrollTickMs while it runs)
    bool autoScrollRunning() const { return autoScroll_.running; }
    int autoScrollDirection() const { return autoScroll_.direction; }
    uint16_t autoScrollReload() const { return autoScroll_.reload; }
    void Tick();

    // --- scrolling -------------------------------------------------------
    void MakeVisible(uint32_t begin, uint32_t end);
    void SetTopRow(uint32_t row);
    void SetHorizontalOffset(int64_t offsetPx);
    void ScrollRows(int64_t rows);
    void ScrollPixels(int64_t px);
    // The wheel's delta, as the platform reports it (one notch = 120).
    void Wheel(int delta);

    // --- clipboard and context menu ------------------------------------
    // The selection as hex text lines, each ended by "\n".
    std::string ClipboardText() const;
    // The "BinaryData" block: a 32-bit little-endian count, then the bytes.
    std::vector<uint8_t> BinaryDataBlock() const;
    // Overwrites from the selection's start (else the caret) with a
    // "BinaryData" block, cut to the room left; true when a byte was written.
    bool PasteBytes(std::span<const uint8_t> block);
    void SelectAll();
    // A right click: outside the selection it drops the selection and
    // moves the caret to the clicked byte.
    void ContextClick(PointPx point);
    bool CanCopy() const { return HasSelection(); }
    bool CanPaste(bool clipboardOffersBinaryData) const
    {
        return clipboardOffersBinaryData && !readOnly_ && hasData();
    }

private:
    // Recomputes the layout after a change of the configuration, then keeps
    // the scroll position inside it and the caret where it belongs.
    void Relayout();
    void PlaceCaret();
    void StartAutoScroll(PointPx point);

    // Data and configuration.
    std::vector<uint8_t> data_;
    bool hasData_ = false;
    bool multiLine_ = true;
    bool autoFit_ = false;
    bool showAddress_ = false;
    bool showAscii_ = false;
    bool readOnly_ = false;
    bool focus_ = false;
    uint32_t configuredBytesPerRow_ = 16;
    uint32_t addressDigits_ = 8;
    int charWidthPx_ = 8;
    int lineHeightPx_ = 16;
    RectPx clientRect_;

    HexEditLayout layout_;
    HexEditCursor cursor_;
    CaretBox caret_;
    uint32_t topRow_ = 0;
    int hOffsetPx_ = 0;
    RectPx dragRect_;
    AutoScroll autoScroll_;
};

}  // namespace morsk::hexedit
