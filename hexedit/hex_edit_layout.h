// Where everything of the hex editor goes, as numbers only: rows that fit,
// bytes per row, the x positions and widths of the address, hex and
// character columns, and how far the view can scroll. Computed from the
// configuration alone; it moves nothing.
#pragma once

#include <cstdint>

#include "hex_edit_geometry.h"

namespace morsk::hexedit {

// The margin around the data in multi-line mode, and the gap after each
// column.
inline constexpr int kInsetPx = 5;

struct LayoutInput {
    RectPx client;
    int charWidthPx = 8;
    int lineHeightPx = 16;
    bool multiLine = true;
    bool autoFit = false;
    bool showAddress = false;
    bool showAscii = false;
    uint32_t configuredBytesPerRow = 16;
    uint32_t addressDigits = 8;
    uint32_t length = 0;  // bytes of data
};

struct HexEditLayout {
    RectPx dataRect;
    uint32_t fullRows = 0;
    uint32_t visibleRows = 0;  // a partly visible last row included
    int lastRowHeightPx = 0;
    uint32_t bytesPerRow = 1;
    uint32_t totalRows = 0;
    int addressWidthPx = 0;  // with its gap
    int hexXPx = 0;
    int hexWidthPx = 0;      // with its gap
    int charXPx = 0;
    int charColumnWidthPx = 0;
    uint32_t maxTopRow = 0;
    int maxHorizontalOffsetPx = 0;

    static HexEditLayout Compute(const LayoutInput& in);
};

}  // namespace morsk::hexedit
