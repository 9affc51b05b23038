#include "hex_edit_model.h"

#include <algorithm>
#include <cstdio>

#include "hex_edit_clipboard.h"

namespace morsk::hexedit {
namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
constexpr int kWheelNotch = 120;

}  // namespace

// --- data and configuration ----------------------------------------------

void HexEditModel::SetData(std::span<const uint8_t> bytes, bool hasData)
{
    cursor_.anchor = kNone;
    cursor_.ClearSelection();
    hasData_ = hasData;
    if (hasData)
        data_.assign(bytes.begin(), bytes.end());
    else
        data_.clear();
    Relayout();
    UpdateCaret(0, true);
}

void HexEditModel::SetBytesPerRow(uint32_t count, bool autoFit)
{
    if (count == configuredBytesPerRow_ && autoFit == autoFit_)
        return;
    configuredBytesPerRow_ = count;
    autoFit_ = autoFit;
    Relayout();
    PlaceCaret();
}

void HexEditModel::SetShowAddress(bool show)
{
    if (show == showAddress_)
        return;
    showAddress_ = show;
    Relayout();
    PlaceCaret();
}

void HexEditModel::SetShowAscii(bool show)
{
    if (show == showAscii_)
        return;
    showAscii_ = show;
    Relayout();
    PlaceCaret();
}

void HexEditModel::SetAddressDigits(uint32_t digits)
{
    addressDigits_ = digits % 256;
    Relayout();
    PlaceCaret();
}

void HexEditModel::SetSelection(uint32_t begin, uint32_t end, bool makeVisible)
{
    if (begin == cursor_.selBegin && end == cursor_.selEnd)
        return;
    // Without bytes there is nothing to select.
    const uint32_t last = length() == 0 ? kNone : length() - 1;
    if (begin != kNone && begin >= length())
        begin = last;
    if (end != kNone && end >= length())
        end = last;
    cursor_.selBegin = begin;
    cursor_.selEnd = end;
    if (makeVisible && HasSelection())
        MakeVisible(begin, end);
}

void HexEditModel::SetMultiLine(bool multiLine)
{
    multiLine_ = multiLine;
    Relayout();
}

void HexEditModel::SetMetrics(int charWidthPx, int lineHeightPx)
{
    charWidthPx_ = std::max(charWidthPx, 1);
    lineHeightPx_ = std::max(lineHeightPx, 1);
    Relayout();
}

void HexEditModel::SetClientRect(RectPx client)
{
    clientRect_ = client;
    Relayout();
    PlaceCaret();
}

void HexEditModel::SetFocus(bool focus)
{
    focus_ = focus;
    if (focus && hasData())
        PlaceCaret();
    else if (!focus)
        caret_.visible = false;
}

// --- layout -----------------------------------------------------------------

void HexEditModel::Relayout()
{
    LayoutInput in;
    in.client = clientRect_;
    in.charWidthPx = charWidthPx_;
    in.lineHeightPx = lineHeightPx_;
    in.multiLine = multiLine_;
    in.autoFit = autoFit_;
    in.showAddress = showAddress_;
    in.showAscii = showAscii_;
    in.configuredBytesPerRow = configuredBytesPerRow_;
    in.addressDigits = addressDigits_;
    in.length = length();
    layout_ = HexEditLayout::Compute(in);
    topRow_ = std::min(topRow_, layout_.maxTopRow);
    hOffsetPx_ = std::min(hOffsetPx_, layout_.maxHorizontalOffsetPx);
}

ScrollBarState HexEditModel::VerticalBar() const
{
    if (!multiLine_ || layout_.maxTopRow == 0)
        return {};
    return {true, static_cast<int>(layout_.maxTopRow), static_cast<int>(layout_.fullRows), static_cast<int>(topRow_)};
}

ScrollBarState HexEditModel::HorizontalBar() const
{
    if (!multiLine_ || layout_.maxHorizontalOffsetPx == 0)
        return {};
    return {true, layout_.maxHorizontalOffsetPx, layout_.dataRect.width(), hOffsetPx_};
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
    if (cursor_.selEnd < first || cursor_.selBegin >= last)
        return false;
    const uint64_t from = std::max<uint64_t>(cursor_.selBegin, first) - first;
    const uint64_t to = std::min<uint64_t>(cursor_.selEnd, last - 1) - first;
    c1 = static_cast<int>(3 * from);
    c2 = static_cast<int>(3 * to + 2);
    return true;
}

// --- caret ------------------------------------------------------------------

void HexEditModel::PlaceCaret()
{
    UpdateCaret(cursor_.caretIndex, cursor_.caretHigh);
}

void HexEditModel::UpdateCaret(uint32_t index, bool highDigit)
{
    // The caret always names a byte: typing writes where it stands.
    if (length() > 0 && index >= length())
        index = length() - 1;
    cursor_.caretIndex = index;
    cursor_.caretHigh = highDigit;
    caret_.visible = false;
    if (!hasData())
        return;
    const HexEditLayout& l = layout_;
    const uint64_t n = l.bytesPerRow;
    const uint64_t firstShown = static_cast<uint64_t>(topRow_) * n;
    if (!focus_ || index < firstShown || index >= firstShown + static_cast<uint64_t>(l.visibleRows) * n)
        return;
    const uint64_t rel = index - firstShown;
    const uint32_t row = static_cast<uint32_t>(rel / n);
    const uint64_t column = rel % n;
    const int height = (row == l.visibleRows - 1 ? l.lastRowHeightPx : lineHeightPx_) - 1;
    const int64_t cell = 3 * static_cast<int64_t>(column) + (highDigit ? 0 : 1);
    int64_t x = l.dataRect.left - hOffsetPx_ + l.hexXPx + charWidthPx_ * cell;
    const int y = l.dataRect.top + static_cast<int>(row) * lineHeightPx_ + 1;
    const int64_t clip = l.dataRect.left - 2;
    if (x + charWidthPx_ <= clip || x > l.dataRect.right)
        return;
    int64_t width = charWidthPx_;
    if (x < clip) {
        width -= clip - x;
        x = clip;
    }
    if (x + width > l.dataRect.right + 2)
        width = l.dataRect.right + 2 - x;
    caret_.visible = true;
    caret_.rect = {static_cast<int>(x), y, static_cast<int>(x + width), y + height};
}

void HexEditModel::MoveCaret(int64_t delta, bool highDigit, bool shift)
{
    if (!hasData())
        return;
    if (!shift) {
        cursor_.anchor = kNone;
        cursor_.ClearSelection();
    }
    const auto [target, high] = HexEditCursor::MoveTarget(cursor_.caretIndex, delta, highDigit, length());
    if (shift && cursor_.anchor != kNone)
        cursor_.SelectTo(target);
    MakeVisible(target, target);
    UpdateCaret(target, high);
}

// --- keys -------------------------------------------------------------------

void HexEditModel::KeyDown(Key key, bool shift)
{
    if (shift && cursor_.anchor == kNone)
        cursor_.anchor = cursor_.caretIndex;
    if (const auto move = KeyMove(key, cursor_.caretHigh, bytesPerRow(), visibleRows()))
        MoveCaret(move->delta, move->highDigit, shift);
}

bool HexEditModel::Character(uint32_t code, bool shift)
{
    if (!hasData() || readOnly_)
        return false;
    const int value = TypedDigit(code);
    if (value < 0)
        return false;
    uint8_t& byte = data_[cursor_.caretIndex];
    if (cursor_.caretHigh) {
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
    const HexEditLayout& l = layout_;
    int64_t x = static_cast<int64_t>(point.x) + hOffsetPx_ + charWidthPx_ / 2 - (multiLine_ ? kInsetPx : 0);
    x = std::clamp<int64_t>(x, l.hexXPx, static_cast<int64_t>(l.hexXPx) + l.hexWidthPx - kInsetPx);
    const int64_t y = std::clamp<int64_t>(point.y - l.dataRect.top, 0,
                                          static_cast<int64_t>(lineHeightPx_) * l.visibleRows);
    const int64_t c = (x - l.hexXPx) / charWidthPx_;
    bool high = c % 3 == 0;
    uint64_t index = (static_cast<uint64_t>(y / lineHeightPx_) + topRow_) * l.bytesPerRow + static_cast<uint64_t>(c / 3);
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
    cursor_.selBegin = kNone;
    cursor_.anchor = cursor_.caretIndex;
}

void HexEditModel::PointerMove(PointPx point, bool buttonHeld)
{
    if (!hasData() || !buttonHeld || cursor_.anchor == kNone)
        return;
    const RectPx stillDrag{-1, -1, -1, -1};
    if (!(dragRect_ == stillDrag)) {
        if (dragRect_.Contains(point))
            return;  // a click's jitter is no drag
        dragRect_ = stillDrag;
    }
    if (!layout_.dataRect.Contains(point) && multiLine_)
        StartAutoScroll(point);
    else
        autoScroll_.Stop();
    const auto [index, high] = PointToPosition(point);
    UpdateCaret(index, high);
    cursor_.SelectFromAnchor();
}

void HexEditModel::ButtonUp()
{
    autoScroll_.Stop();
}

void HexEditModel::DoubleClick(PointPx point)
{
    focus_ = true;
    if (!hasData())
        return;
    const auto [index, high] = PointToPosition(point);
    UpdateCaret(index, high);
    cursor_.selBegin = cursor_.selEnd = cursor_.caretIndex;
}

void HexEditModel::StartAutoScroll(PointPx point)
{
    const RectPx& data = layout_.dataRect;
    if (point.y < data.top)
        autoScroll_.Start(point, -1, AutoScroll::ReloadFor(data.top - point.y));
    else if (point.y >= data.bottom)
        autoScroll_.Start(point, +1, AutoScroll::ReloadFor(point.y - data.bottom));
    autoScroll_.point = point;
}

void HexEditModel::Tick()
{
    if (!hasData() || !autoScroll_.Tick())
        return;
    ScrollRows(autoScroll_.direction);
    const auto [index, high] = PointToPosition(autoScroll_.point);
    UpdateCaret(index, high);
    if (cursor_.anchor != kNone)
        cursor_.SelectFromAnchor();
}

// --- scrolling ----------------------------------------------------------------

void HexEditModel::MakeVisible(uint32_t begin, uint32_t end)
{
    const HexEditLayout& l = layout_;
    const uint64_t n = l.bytesPerRow;
    const uint64_t first = static_cast<uint64_t>(topRow_) * n;
    const uint64_t view = static_cast<uint64_t>(l.fullRows) * n;
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
    const int64_t base = l.dataRect.left - hOffsetPx_ + l.hexXPx;
    int64_t t = base + static_cast<int64_t>(begin % n) * 3 * charWidthPx_;
    int64_t r = base + (static_cast<int64_t>(end % n) * 3 + 2) * charWidthPx_;
    if (t > r)
        std::swap(t, r);
    if (t > l.dataRect.left) {
        if (r >= l.dataRect.right)
            SetHorizontalOffset(hOffsetPx_ + r - l.dataRect.right + l.dataRect.left);
    } else if (r < l.dataRect.right && t < l.dataRect.left) {
        SetHorizontalOffset(hOffsetPx_ + t - l.dataRect.left);
    }
}

void HexEditModel::SetTopRow(uint32_t row)
{
    if (!multiLine_)
        return;
    topRow_ = std::min(row, layout_.maxTopRow);
    PlaceCaret();
}

void HexEditModel::SetHorizontalOffset(int64_t offsetPx)
{
    hOffsetPx_ = static_cast<int>(std::clamp<int64_t>(offsetPx, 0, layout_.maxHorizontalOffsetPx));
    PlaceCaret();
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
    ScrollRows(static_cast<int16_t>(delta) / -kWheelNotch);
}

// --- clipboard ------------------------------------------------------------------

std::string HexEditModel::ClipboardText() const
{
    if (!HasSelection())
        return {};
    return HexDumpText(data_, cursor_.selBegin, cursor_.selEnd, bytesPerRow());
}

std::vector<uint8_t> HexEditModel::BinaryDataBlock() const
{
    if (!HasSelection())
        return {};
    return EncodeBinaryData(std::span<const uint8_t>(data_).subspan(cursor_.selBegin,
                                                                    cursor_.selEnd - cursor_.selBegin + 1));
}

bool HexEditModel::PasteBytes(std::span<const uint8_t> block)
{
    if (readOnly_ || !hasData() || block.size() < 4)
        return false;
    const uint32_t pos = HasSelection() ? cursor_.selBegin : cursor_.caretIndex;
    if (pos >= length())
        return false;
    // The bytes go no further than the end of the data.
    const std::span<const uint8_t> bytes = DecodeBinaryData(block);
    const uint64_t n = std::min<uint64_t>(bytes.size(), length() - pos);
    if (n == 0)
        return false;  // nothing written: caret and selection stay
    std::copy_n(bytes.begin(), n, data_.begin() + pos);
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
    const uint32_t index = PointToPosition(point).first;
    if (!HasSelection() || index < cursor_.selBegin || index > cursor_.selEnd) {
        if (HasSelection())
            SetSelection(kNone, kNone, false);
        UpdateCaret(index, true);
    }
}

}  // namespace morsk::hexedit
