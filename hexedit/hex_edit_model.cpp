#include "hex_edit_model.h"

#include <algorithm>
#include <cstdio>

namespace morsk::hexedit {
namespace {

constexpr int kInsetPx = 5;  // around the data in multi-line mode, and the gaps between columns
constexpr char kDigits[] = "0123456789ABCDEF";

}  // namespace

// --- data and configuration ----------------------------------------------

void HexEditModel::SetData(std::span<const uint8_t> bytes, bool hasData)
{
    anchor_ = kNone;
    ClearSelection();
    hasData_ = hasData;
    if (hasData)
        data_.assign(bytes.begin(), bytes.end());
    else
        data_.clear();
    layoutDirty_ = true;
    UpdateCaret(0, true);
}

void HexEditModel::SetBytesPerRow(uint32_t count, bool autoFit)
{
    if (count == configuredBytesPerRow_ && autoFit == autoFit_)
        return;
    configuredBytesPerRow_ = count;
    autoFit_ = autoFit;
    layoutDirty_ = true;
    UpdateCaret(caretIndex_, caretHigh_);
}

void HexEditModel::SetShowAddress(bool show)
{
    if (show == showAddress_)
        return;
    showAddress_ = show;
    layoutDirty_ = true;
    UpdateCaret(caretIndex_, caretHigh_);
}

void HexEditModel::SetShowAscii(bool show)
{
    if (show == showAscii_)
        return;
    showAscii_ = show;
    layoutDirty_ = true;
    UpdateCaret(caretIndex_, caretHigh_);
}

void HexEditModel::SetAddressDigits(uint32_t digits)
{
    addressDigits_ = digits % 256;
    layoutDirty_ = true;
    UpdateCaret(caretIndex_, caretHigh_);
}

void HexEditModel::SetSelection(uint32_t begin, uint32_t end, bool makeVisible)
{
    if (begin == selBegin_ && end == selEnd_)
        return;
    // Without bytes there is nothing to select.
    const uint32_t last = length() == 0 ? kNone : length() - 1;
    if (begin != kNone && begin >= length())
        begin = last;
    if (end != kNone && end >= length())
        end = last;
    selBegin_ = begin;
    selEnd_ = end;
    if (makeVisible && HasSelection())
        MakeVisible(begin, end);
}

void HexEditModel::SetMultiLine(bool multiLine)
{
    multiLine_ = multiLine;
    layoutDirty_ = true;
}

void HexEditModel::SetMetrics(int charWidthPx, int lineHeightPx)
{
    charWidthPx_ = std::max(charWidthPx, 1);
    lineHeightPx_ = std::max(lineHeightPx, 1);
    layoutDirty_ = true;
}

void HexEditModel::SetClientRect(RectPx client)
{
    clientRect_ = client;
    RecalcLayout();
    UpdateCaret(caretIndex_, caretHigh_);
}

void HexEditModel::SetFocus(bool focus)
{
    focus_ = focus;
    if (focus && hasData())
        UpdateCaret(caretIndex_, caretHigh_);
    else if (!focus)
        caret_.visible = false;
}

void HexEditModel::ClearSelection()
{
    selBegin_ = selEnd_ = kNone;
}

void HexEditModel::SelectFromAnchor()
{
    selBegin_ = std::min(anchor_, caretIndex_);
    selEnd_ = std::max(anchor_, caretIndex_);
}

// --- layout -----------------------------------------------------------------

void HexEditModel::EnsureLayout() const
{
    // The layout is a cache of the configuration; filling it is no change.
    if (layoutDirty_)
        const_cast<HexEditModel*>(this)->RecalcLayout();
}

void HexEditModel::RecalcLayout()
{
    layoutDirty_ = false;
    const int cw = charWidthPx_;
    const int lh = lineHeightPx_;

    dataRect_ = clientRect_;
    if (multiLine_) {
        dataRect_.left += kInsetPx;
        dataRect_.top += kInsetPx;
        dataRect_.right -= kInsetPx;
        dataRect_.bottom -= kInsetPx;
        dataRect_.right = std::max(dataRect_.right, dataRect_.left);
        dataRect_.bottom = std::max(dataRect_.bottom, dataRect_.top);
    }

    const int h = std::max(dataRect_.height(), 0);
    fullRows_ = static_cast<uint32_t>(h / lh);
    const int remainder = h % lh;
    if (remainder > 0) {
        visibleRows_ = fullRows_ + 1;
        lastRowHeightPx_ = remainder;
    } else {
        visibleRows_ = fullRows_;
        lastRowHeightPx_ = lh;
    }

    addressWidthPx_ = showAddress_ ? static_cast<int>(addressDigits_) * cw + kInsetPx : 0;

    int64_t n;
    if (!multiLine_) {
        n = length();
    } else if (autoFit_) {
        int64_t a = dataRect_.width() - addressWidthPx_;
        // A row of n bytes needs 3n - 1 hex cells, and with the character
        // column 5 pixels and n more cells.
        const int64_t cellsPerByte = showAscii_ ? 4 : 3;
        if (showAscii_)
            a -= kInsetPx;
        if (a < 0) {
            n = 1;
        } else {
            n = a / (cellsPerByte * cw);
            if (a % (cellsPerByte * cw) >= (cellsPerByte - 1) * cw)
                ++n;
        }
    } else {
        n = configuredBytesPerRow_;
    }
    bytesPerRow_ = static_cast<uint32_t>(std::clamp<int64_t>(n, 1, UINT32_MAX));

    hexXPx_ = addressWidthPx_;
    const int64_t hexCells = 3 * static_cast<int64_t>(bytesPerRow_) - 1;
    hexWidthPx_ = static_cast<int>(std::min<int64_t>(cw * hexCells + kInsetPx, INT32_MAX / 4));
    int64_t contentRight = hexXPx_ + cw * hexCells;
    if (showAscii_) {
        charXPx_ = static_cast<int>(std::min<int64_t>(contentRight + kInsetPx, INT32_MAX / 4));
        charColumnWidthPx_ = static_cast<int>(std::min<int64_t>(static_cast<int64_t>(cw) * bytesPerRow_, INT32_MAX / 4));
        contentRight += static_cast<int64_t>(cw) * bytesPerRow_ + kInsetPx;
    } else {
        charXPx_ = 0;
        charColumnWidthPx_ = 0;
    }

    const uint32_t rows = totalRows();
    maxTopRow_ = rows > fullRows_ ? rows - fullRows_ : 0;
    topRow_ = std::min(topRow_, maxTopRow_);
    const int64_t overhang = contentRight - dataRect_.width();
    maxHOffsetPx_ = static_cast<int>(std::clamp<int64_t>(overhang, 0, INT32_MAX / 4));
    hOffsetPx_ = std::min(hOffsetPx_, maxHOffsetPx_);
}

uint32_t HexEditModel::totalRows() const
{
    const uint64_t n = bytesPerRow();
    return static_cast<uint32_t>((length() + n - 1) / n);
}

ScrollBarState HexEditModel::VerticalBar() const
{
    EnsureLayout();
    if (!multiLine_ || maxTopRow_ == 0)
        return {};
    return {true, static_cast<int>(maxTopRow_), static_cast<int>(fullRows_), static_cast<int>(topRow_)};
}

ScrollBarState HexEditModel::HorizontalBar() const
{
    EnsureLayout();
    if (!multiLine_ || maxHOffsetPx_ == 0)
        return {};
    return {true, maxHOffsetPx_, dataRect_.width(), hOffsetPx_};
}

// --- painting ---------------------------------------------------------------

uint32_t HexEditModel::PaintedRows() const
{
    if (!hasData())
        return 0;
    const uint32_t rows = totalRows();
    return topRow_ >= rows ? 0 : std::min(visibleRows(), rows - topRow_);
}

std::string HexEditModel::AddressText(uint32_t row) const
{
    const uint64_t first = static_cast<uint64_t>(topRow_ + row) * bytesPerRow();
    char text[32];
    std::snprintf(text, sizeof text, "%0*llX", static_cast<int>(std::min<uint32_t>(addressDigits_, 31)),
                  static_cast<unsigned long long>(first));
    return text;
}

std::string HexEditModel::HexText(uint32_t row) const
{
    const uint64_t n = bytesPerRow();
    const uint64_t first = (static_cast<uint64_t>(topRow_) + row) * n;
    std::string text;
    for (uint64_t i = first; i < std::min<uint64_t>(first + n, length()); ++i) {
        if (i != first)
            text += ' ';
        text += kDigits[data_[i] >> 4];
        text += kDigits[data_[i] & 0x0F];
    }
    return text;
}

std::string HexEditModel::CharText(uint32_t row) const
{
    const uint64_t n = bytesPerRow();
    const uint64_t first = (static_cast<uint64_t>(topRow_) + row) * n;
    std::string text;
    for (uint64_t i = first; i < std::min<uint64_t>(first + n, length()); ++i)
        text += data_[i] >= 0x20 && data_[i] <= 0x7E ? static_cast<char>(data_[i]) : '.';
    return text;
}

bool HexEditModel::SelectedCells(uint32_t row, int& c1, int& c2) const
{
    if (!HasSelection() || !(focus_ || multiLine_))
        return false;
    const uint64_t n = bytesPerRow();
    const uint64_t first = (static_cast<uint64_t>(topRow_) + row) * n;
    const uint64_t last = std::min<uint64_t>(first + n, length());
    if (selEnd_ < first || selBegin_ >= last)
        return false;
    const uint64_t from = std::max<uint64_t>(selBegin_, first) - first;
    const uint64_t to = std::min<uint64_t>(selEnd_, last - 1) - first;
    c1 = static_cast<int>(3 * from);
    c2 = static_cast<int>(3 * to + 2);
    return true;
}

// --- caret ------------------------------------------------------------------

void HexEditModel::UpdateCaret(uint32_t index, bool highDigit)
{
    // The caret always names a byte: typing writes where it stands.
    if (length() > 0 && index >= length())
        index = length() - 1;
    caretIndex_ = index;
    caretHigh_ = highDigit;
    caret_.visible = false;
    if (!hasData())
        return;
    EnsureLayout();
    const uint64_t n = bytesPerRow_;
    const uint64_t firstShown = static_cast<uint64_t>(topRow_) * n;
    if (!focus_ || index < firstShown || index >= firstShown + static_cast<uint64_t>(visibleRows_) * n)
        return;
    const uint64_t rel = index - firstShown;
    const uint32_t row = static_cast<uint32_t>(rel / n);
    const uint64_t column = rel % n;
    const int height = (row == visibleRows_ - 1 ? lastRowHeightPx_ : lineHeightPx_) - 1;
    const int64_t cell = 3 * static_cast<int64_t>(column) + (highDigit ? 0 : 1);
    int64_t x = dataRect_.left - hOffsetPx_ + hexXPx_ + charWidthPx_ * cell;
    const int y = dataRect_.top + static_cast<int>(row) * lineHeightPx_ + 1;
    const int64_t clip = dataRect_.left - 2;
    if (x + charWidthPx_ <= clip || x > dataRect_.right)
        return;
    int64_t width = charWidthPx_;
    if (x < clip) {
        width -= clip - x;
        x = clip;
    }
    if (x + width > dataRect_.right + 2)
        width = dataRect_.right + 2 - x;
    caret_.visible = true;
    caret_.rect = {static_cast<int>(x), y, static_cast<int>(x + width), y + height};
}

void HexEditModel::MoveCaret(int64_t delta, bool highDigit, bool shift)
{
    if (!hasData())
        return;
    if (!shift) {
        anchor_ = kNone;
        ClearSelection();
    }
    uint64_t target = caretIndex_;
    if (delta > 0) {
        target = caretIndex_ + static_cast<uint64_t>(delta);
        if (target >= length()) {
            target = length() - 1;
            highDigit = false;
        }
    } else if (delta < 0) {
        if (static_cast<uint64_t>(-delta) > caretIndex_) {
            target = 0;
            highDigit = true;
        } else {
            target = caretIndex_ - static_cast<uint64_t>(-delta);
        }
    }
    const uint32_t t = static_cast<uint32_t>(target);
    if (shift && anchor_ != kNone) {
        selBegin_ = std::min(anchor_, t);
        selEnd_ = std::max(anchor_, t);
    }
    MakeVisible(t, t);
    UpdateCaret(t, highDigit);
}

// --- keys -------------------------------------------------------------------

void HexEditModel::KeyDown(Key key, bool shift)
{
    if (shift && anchor_ == kNone)
        anchor_ = caretIndex_;
    const int64_t n = bytesPerRow();
    const int64_t page = (static_cast<int64_t>(visibleRows()) - 1) * n;
    switch (key) {
    case Key::PageUp: MoveCaret(-page, caretHigh_, shift); break;
    case Key::PageDown: MoveCaret(page, caretHigh_, shift); break;
    case Key::End: MoveCaret(0x7FFFFFF, false, shift); break;
    case Key::Home: MoveCaret(-0x8000000, true, shift); break;
    case Key::Left:
        if (caretHigh_)
            MoveCaret(-1, false, shift);
        else
            MoveCaret(0, true, shift);
        break;
    case Key::Right:
        if (caretHigh_)
            MoveCaret(0, false, shift);
        else
            MoveCaret(1, true, shift);
        break;
    case Key::Up: MoveCaret(-n, caretHigh_, shift); break;
    case Key::Down: MoveCaret(n, caretHigh_, shift); break;
    case Key::Tab:
    case Key::Other: break;
    }
}

bool HexEditModel::Character(uint32_t code, bool shift)
{
    if (code == 8 || code > 255 || !hasData() || readOnly_)
        return false;
    const char c = static_cast<char>(code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code);
    int value;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else
        return false;
    uint8_t& byte = data_[caretIndex_];
    if (caretHigh_) {
        byte = static_cast<uint8_t>((byte & 0x0F) | (value << 4));
        MoveCaret(0, false, shift);
    } else {
        byte = static_cast<uint8_t>((byte & 0xF0) | value);
        MoveCaret(1, true, shift);
    }
    return true;
}

// --- mouse ------------------------------------------------------------------

std::pair<uint32_t, bool> HexEditModel::PointToPosition(PointPx point) const
{
    EnsureLayout();
    int64_t x = static_cast<int64_t>(point.x) + hOffsetPx_ + charWidthPx_ / 2 - (multiLine_ ? kInsetPx : 0);
    x = std::clamp<int64_t>(x, hexXPx_, static_cast<int64_t>(hexXPx_) + hexWidthPx_ - kInsetPx);
    const int64_t y = std::clamp<int64_t>(point.y - dataRect_.top, 0,
                                          static_cast<int64_t>(lineHeightPx_) * visibleRows_);
    const int64_t c = (x - hexXPx_) / charWidthPx_;
    bool high = c % 3 == 0;
    uint64_t index = (static_cast<uint64_t>(y / lineHeightPx_) + topRow_) * bytesPerRow_ + static_cast<uint64_t>(c / 3);
    if (index >= length()) {
        index = length() == 0 ? 0 : length() - 1;
        high = false;
    }
    return {static_cast<uint32_t>(index), high};
}

void HexEditModel::ButtonDown(PointPx point, int dragDx, int dragDy)
{
    focus_ = true;
    if (!hasData())
        return;
    const auto [index, high] = PointToPosition(point);
    UpdateCaret(index, high);
    dragRect_ = {point.x - dragDx / 2, point.y - dragDy / 2, point.x + dragDx / 2 + dragDx % 2,
                 point.y + dragDy / 2 + dragDy % 2};
    selBegin_ = kNone;
    anchor_ = caretIndex_;
}

void HexEditModel::PointerMove(PointPx point, bool buttonHeld)
{
    if (!hasData() || !buttonHeld || anchor_ == kNone)
        return;
    const RectPx stillDrag{-1, -1, -1, -1};
    if (!(dragRect_ == stillDrag)) {
        if (dragRect_.Contains(point))
            return;  // a click's jitter is no drag
        dragRect_ = stillDrag;
    }
    EnsureLayout();
    const bool outside = !dataRect_.Contains(point);
    if (outside && multiLine_) {
        if (point.y < dataRect_.top) {
            const int k = (dataRect_.top - point.y + 1) / 5;
            StartAutoScroll(point, -1, static_cast<uint16_t>(7 - std::min(k, 6)));
        } else if (point.y >= dataRect_.bottom) {
            const int k = (point.y - dataRect_.bottom + 1) / 5;
            StartAutoScroll(point, +1, static_cast<uint16_t>(7 - std::min(k, 6)));
        }
        autoScroll_.point = point;
    } else {
        StopAutoScroll();
    }
    const auto [index, high] = PointToPosition(point);
    UpdateCaret(index, high);
    SelectFromAnchor();
}

void HexEditModel::ButtonUp()
{
    StopAutoScroll();
}

void HexEditModel::DoubleClick(PointPx point)
{
    focus_ = true;
    if (!hasData())
        return;
    const auto [index, high] = PointToPosition(point);
    UpdateCaret(index, high);
    selBegin_ = selEnd_ = caretIndex_;
}

void HexEditModel::StartAutoScroll(PointPx point, int direction, uint16_t reload)
{
    if (!hasData())
        return;
    autoScroll_.point = point;
    autoScroll_.direction = direction;
    autoScroll_.reload = reload;
    if (!autoScroll_.running && multiLine_) {
        autoScroll_.running = true;
        autoScroll_.countdown = reload;
    }
}

void HexEditModel::Tick()
{
    if (!hasData() || !autoScroll_.running)
        return;
    if (autoScroll_.countdown > 0) {
        --autoScroll_.countdown;
        return;
    }
    autoScroll_.countdown = autoScroll_.reload;
    ScrollRows(autoScroll_.direction);
    const auto [index, high] = PointToPosition(autoScroll_.point);
    UpdateCaret(index, high);
    if (anchor_ != kNone)
        SelectFromAnchor();
}

// --- scrolling ----------------------------------------------------------------

void HexEditModel::MakeVisible(uint32_t begin, uint32_t end)
{
    EnsureLayout();
    const uint64_t n = bytesPerRow_;
    const uint64_t first = static_cast<uint64_t>(topRow_) * n;
    const uint64_t view = static_cast<uint64_t>(fullRows_) * n;
    const uint64_t last = first + view;
    const auto lastFullRowFor = [&](uint64_t e) { return static_cast<uint32_t>((e + n - std::min(view, e + n)) / n); };
    if (!(begin <= first && end >= last)) {
        if (end - static_cast<uint64_t>(begin) > view) {
            if (begin > first)
                SetTopRow(static_cast<uint32_t>(begin / n));
            else if (end < last)
                SetTopRow(lastFullRowFor(end));
        } else {
            if (begin < first)
                SetTopRow(static_cast<uint32_t>(begin / n));
            else if (end > last)
                SetTopRow(lastFullRowFor(end));
        }
    }
    const int64_t base = dataRect_.left - hOffsetPx_ + hexXPx_;
    int64_t t = base + static_cast<int64_t>(begin % n) * 3 * charWidthPx_;
    int64_t r = base + (static_cast<int64_t>(end % n) * 3 + 2) * charWidthPx_;
    if (t > r)
        std::swap(t, r);
    if (t > dataRect_.left) {
        if (r >= dataRect_.right)
            SetHorizontalOffset(hOffsetPx_ + r - dataRect_.right + dataRect_.left);
    } else if (r < dataRect_.right && t < dataRect_.left) {
        SetHorizontalOffset(hOffsetPx_ + t - dataRect_.left);
    }
}

void HexEditModel::SetTopRow(uint32_t row)
{
    if (!multiLine_)
        return;
    EnsureLayout();
    topRow_ = std::min(row, maxTopRow_);
    UpdateCaret(caretIndex_, caretHigh_);
}

void HexEditModel::SetHorizontalOffset(int64_t offsetPx)
{
    EnsureLayout();
    hOffsetPx_ = static_cast<int>(std::clamp<int64_t>(offsetPx, 0, maxHOffsetPx_));
    UpdateCaret(caretIndex_, caretHigh_);
}

void HexEditModel::ScrollRows(int64_t rows)
{
    const int64_t row = std::max<int64_t>(static_cast<int64_t>(topRow_) + rows, 0);
    SetTopRow(static_cast<uint32_t>(std::min<int64_t>(row, UINT32_MAX)));
}

void HexEditModel::ScrollPixels(int64_t px)
{
    SetHorizontalOffset(std::max<int64_t>(hOffsetPx_ + px, 0));
}

void HexEditModel::Wheel(int delta)
{
    ScrollRows(static_cast<int16_t>(delta) / -120);
}

// --- clipboard ------------------------------------------------------------------

std::string HexEditModel::ClipboardText() const
{
    if (!HasSelection())
        return {};
    const uint64_t n = bytesPerRow();
    const uint64_t begin = selBegin_;
    const uint64_t end = selEnd_;
    // The first line starts at the byte's column of the dump when the
    // selection is longer than a row, so that the columns line up.
    uint64_t column = end - begin > n ? begin % n : 0;
    std::string text(3 * column, ' ');
    bool lineStart = true;
    for (uint64_t i = begin; i <= end; ++i) {
        if (!lineStart)
            text += ' ';
        lineStart = false;
        text += kDigits[data_[i] >> 4];
        text += kDigits[data_[i] & 0x0F];
        if (++column == n || i == end) {
            text += '\n';
            column = 0;
            lineStart = true;
        }
    }
    return text;
}

std::vector<uint8_t> HexEditModel::BinaryDataBlock() const
{
    if (!HasSelection())
        return {};
    const uint32_t count = selEnd_ - selBegin_ + 1;
    std::vector<uint8_t> block = {static_cast<uint8_t>(count), static_cast<uint8_t>(count >> 8),
                                  static_cast<uint8_t>(count >> 16), static_cast<uint8_t>(count >> 24)};
    block.insert(block.end(), data_.begin() + selBegin_, data_.begin() + selEnd_ + 1);
    return block;
}

bool HexEditModel::PasteBytes(std::span<const uint8_t> block)
{
    if (readOnly_ || !hasData() || block.size() < 4)
        return false;
    const uint32_t pos = HasSelection() ? selBegin_ : caretIndex_;
    if (pos >= length())
        return false;
    const uint64_t counted = static_cast<uint64_t>(block[0]) | static_cast<uint64_t>(block[1]) << 8 |
                             static_cast<uint64_t>(block[2]) << 16 | static_cast<uint64_t>(block[3]) << 24;
    // The count is trusted only as far as the block really reaches, and
    // the bytes go no further than the end of the data.
    const uint64_t n = std::min({counted, static_cast<uint64_t>(block.size() - 4), static_cast<uint64_t>(length() - pos)});
    if (n == 0)
        return false;  // nothing written: caret and selection stay
    std::copy_n(block.begin() + 4, n, data_.begin() + pos);
    const uint32_t last = pos + static_cast<uint32_t>(n) - 1;
    SetSelection(pos, last, true);
    UpdateCaret(last, false);
    return true;
}

void HexEditModel::SelectAll()
{
    if (length() > 0)
        SetSelection(0, length() - 1, false);
}

void HexEditModel::ContextClick(PointPx point)
{
    if (!hasData())
        return;
    const auto [index, high] = PointToPosition(point);
    (void)high;
    if (!HasSelection() || index < selBegin_ || index > selEnd_) {
        if (HasSelection())
            SetSelection(kNone, kNone, false);
        UpdateCaret(index, true);
    }
}

}  // namespace morsk::hexedit
