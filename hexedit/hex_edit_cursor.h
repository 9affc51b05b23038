// The caret and the selection of the hex editor as byte indices, and how a
// move lands inside the data.
#pragma once

#include <cstdint>
#include <utility>

namespace morsk::hexedit {

// "No byte": the value of an unset selection end or anchor.
inline constexpr uint32_t kNone = 0xFFFFFFFF;

struct HexEditCursor {
    uint32_t caretIndex = 0;
    bool caretHigh = true;  // on the byte's first digit
    uint32_t selBegin = kNone;
    uint32_t selEnd = kNone;
    uint32_t anchor = kNone;  // where a Shift or drag selection started

    bool HasSelection() const { return selBegin != kNone && selEnd != kNone; }
    void ClearSelection() { selBegin = selEnd = kNone; }
    // From the anchor to the caret, in either order.
    void SelectFromAnchor();
    void SelectTo(uint32_t index);

    // Where a move of `delta` bytes from `from` lands in `length` bytes and
    // on which digit: past the end is the last byte's low digit, before the
    // start the first byte's high digit.
    static std::pair<uint32_t, bool> MoveTarget(uint32_t from, int64_t delta, bool highDigit, uint32_t length);
};

}  // namespace morsk::hexedit
