// The input controllers of the hex editor: which caret move a key means,
// which digit a typed character is, and the auto-scroll that a drag above
// or below the data starts.
#pragma once

#include <cstdint>
#include <optional>

#include "hex_edit_geometry.h"

namespace morsk::hexedit {

enum class Key { Tab, PageUp, PageDown, End, Home, Left, Right, Up, Down, Other };

// A move of the caret by `delta` bytes onto the high or the low digit.
struct CaretMove {
    int64_t delta;
    bool highDigit;
};

// Far enough to reach either end of any data: Home and End move this far.
inline constexpr int64_t kFarStep = 0x7FFFFFF;

// What a key does to the caret; nothing for Tab (the widget's, for the
// focus) and keys that do not move.
std::optional<CaretMove> KeyMove(Key key, bool caretHigh, uint32_t bytesPerRow, uint32_t visibleRows);

// 0..15 for a typed hexadecimal digit (either case), -1 for anything else.
int TypedDigit(uint32_t code);

// The widget ticks the auto-scroll this often while it runs.
inline constexpr int kAutoScrollTickMs = 5;

struct AutoScroll {
    PointPx point;
    int direction = 0;    // -1 up, +1 down
    uint16_t reload = 0;  // ticks between two steps
    uint16_t countdown = 0;
    bool running = false;

    void Start(PointPx at, int towards, uint16_t ticks);
    void Stop() { running = false; }
    // One tick; true when a step of one row is due.
    bool Tick();

    // Farther from the data scrolls faster: one tick less between steps
    // every kPxPerSpeedStep pixels, down to a step every tick.
    static constexpr int kPxPerSpeedStep = 5;
    static constexpr int kSlowestReload = 7;
    static uint16_t ReloadFor(int distancePx);
};

}  // namespace morsk::hexedit
