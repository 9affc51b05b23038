#include "hex_edit_input.h"

#include <algorithm>

namespace morsk::hexedit {

std::optional<CaretMove> KeyMove(Key key, bool caretHigh, uint32_t bytesPerRow, uint32_t visibleRows)
{
    const int64_t n = bytesPerRow;
    const int64_t page = (static_cast<int64_t>(visibleRows) - 1) * n;
    switch (key) {
    case Key::PageUp: return CaretMove{-page, caretHigh};
    case Key::PageDown: return CaretMove{page, caretHigh};
    case Key::End: return CaretMove{kFarStep, false};
    case Key::Home: return CaretMove{-kFarStep - 1, true};
    // Left and right go digit by digit.
    case Key::Left: return caretHigh ? CaretMove{-1, false} : CaretMove{0, true};
    case Key::Right: return caretHigh ? CaretMove{0, false} : CaretMove{1, true};
    case Key::Up: return CaretMove{-n, caretHigh};
    case Key::Down: return CaretMove{n, caretHigh};
    case Key::Tab:
    case Key::Other: break;
    }
    return std::nullopt;
}

int TypedDigit(uint32_t code)
{
    if (code >= '0' && code <= '9')
        return static_cast<int>(code - '0');
    if (code >= 'a' && code <= 'f')
        return static_cast<int>(code - 'a' + 10);
    if (code >= 'A' && code <= 'F')
        return static_cast<int>(code - 'A' + 10);
    return -1;
}

void AutoScroll::Start(PointPx at, int towards, uint16_t ticks)
{
    point = at;
    direction = towards;
    reload = ticks;
    if (!running) {
        running = true;
        countdown = ticks;
    }
}

bool AutoScroll::Tick()
{
    if (!running)
        return false;
    if (countdown > 0) {
        --countdown;
        return false;
    }
    countdown = reload;
    return true;
}

uint16_t AutoScroll::ReloadFor(int distancePx)
{
    const int steps = (distancePx + 1) / kPxPerSpeedStep;
    return static_cast<uint16_t>(kSlowestReload - std::min(steps, kSlowestReload - 1));
}

}  // namespace morsk::hexedit
