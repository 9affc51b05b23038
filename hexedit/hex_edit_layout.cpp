#include "hex_edit_layout.h"

#include <algorithm>
#include <climits>

namespace morsk::hexedit {
namespace {

// Pixel widths stay far from int overflow however many bytes a row holds.
constexpr int64_t kWidthLimitPx = INT32_MAX / 4;

}  // namespace

HexEditLayout HexEditLayout::Compute(const LayoutInput& in)
{
    HexEditLayout l;
    const int cw = in.charWidthPx;
    const int lh = in.lineHeightPx;

    l.dataRect = in.client;
    if (in.multiLine) {
        l.dataRect.left += kInsetPx;
        l.dataRect.top += kInsetPx;
        l.dataRect.right -= kInsetPx;
        l.dataRect.bottom -= kInsetPx;
        l.dataRect.right = std::max(l.dataRect.right, l.dataRect.left);
        l.dataRect.bottom = std::max(l.dataRect.bottom, l.dataRect.top);
    }

    const int h = std::max(l.dataRect.height(), 0);
    l.fullRows = static_cast<uint32_t>(h / lh);
    const int remainder = h % lh;
    l.visibleRows = remainder > 0 ? l.fullRows + 1 : l.fullRows;
    l.lastRowHeightPx = remainder > 0 ? remainder : lh;

    l.addressWidthPx = in.showAddress ? static_cast<int>(in.addressDigits) * cw + kInsetPx : 0;

    int64_t n;
    if (!in.multiLine) {
        n = in.length;
    } else if (in.autoFit) {
        int64_t a = l.dataRect.width() - l.addressWidthPx;
        // A row of n bytes needs 3n - 1 hex cells, and with the character
        // column a gap and n more cells.
        const int64_t cellsPerByte = in.showAscii ? 4 : 3;
        if (in.showAscii)
            a -= kInsetPx;
        if (a < 0) {
            n = 1;
        } else {
            n = a / (cellsPerByte * cw);
            if (a % (cellsPerByte * cw) >= (cellsPerByte - 1) * cw)
                ++n;
        }
    } else {
        n = in.configuredBytesPerRow;
    }
    l.bytesPerRow = static_cast<uint32_t>(std::clamp<int64_t>(n, 1, UINT32_MAX));
    l.totalRows = static_cast<uint32_t>((static_cast<uint64_t>(in.length) + l.bytesPerRow - 1) / l.bytesPerRow);

    l.hexXPx = l.addressWidthPx;
    const int64_t hexCells = 3 * static_cast<int64_t>(l.bytesPerRow) - 1;
    l.hexWidthPx = static_cast<int>(std::min<int64_t>(cw * hexCells + kInsetPx, kWidthLimitPx));
    int64_t contentRight = l.hexXPx + cw * hexCells;
    if (in.showAscii) {
        l.charXPx = static_cast<int>(std::min<int64_t>(contentRight + kInsetPx, kWidthLimitPx));
        l.charColumnWidthPx =
            static_cast<int>(std::min<int64_t>(static_cast<int64_t>(cw) * l.bytesPerRow, kWidthLimitPx));
        contentRight += static_cast<int64_t>(cw) * l.bytesPerRow + kInsetPx;
    }

    l.maxTopRow = l.totalRows > l.fullRows ? l.totalRows - l.fullRows : 0;
    const int64_t overhang = contentRight - l.dataRect.width();
    l.maxHorizontalOffsetPx = static_cast<int>(std::clamp<int64_t>(overhang, 0, kWidthLimitPx));
    return l;
}

}  // namespace morsk::hexedit
