#include "hex_edit_cursor.h"

#include <algorithm>

namespace morsk::hexedit {

void HexEditCursor::SelectFromAnchor()
{
    SelectTo(caretIndex);
}

void HexEditCursor::SelectTo(uint32_t index)
{
    selBegin = std::min(anchor, index);
    selEnd = std::max(anchor, index);
}

std::pair<uint32_t, bool> HexEditCursor::MoveTarget(uint32_t from, int64_t delta, bool highDigit, uint32_t length)
{
    uint64_t target = from;
    if (delta > 0) {
        target = from + static_cast<uint64_t>(delta);
        if (target >= length) {
            target = length - 1;
            highDigit = false;
        }
    } else if (delta < 0) {
        if (static_cast<uint64_t>(-delta) > from) {
            target = 0;
            highDigit = true;
        } else {
            target = from - static_cast<uint64_t>(-delta);
        }
    }
    return {static_cast<uint32_t>(target), highDigit};
}

}  // namespace morsk::hexedit
