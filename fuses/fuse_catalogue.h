// What every bit of a chip's lock byte and three fuse bytes is called, and
// whether the user may change it. Fixed data, looked up by device name.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace morsk {

// The four rows of the fuse dialog.
enum FuseRow : int { kRowLock = 0, kRowLow = 1, kRowHigh = 2, kRowExt = 3 };
inline constexpr int kFuseRows = 4;

struct FuseSlot {
    std::string caption;  // "----" when the chip has no such bit
    bool enabled = false;
};

struct FuseLayout {
    // 'A'..'Z' for the catalogue's layouts, '+' for ours beyond it, 0 for
    // the base layout.
    char letter = 0;
    // bits[row][bit]: bit 0 is the least significant.
    std::array<std::array<FuseSlot, 8>, kFuseRows> bits;
};

// Only Lock1 and Lock2 named and enabled.
const FuseLayout& BaseFuseLayout();

// The layout of a device by its exact, case-sensitive name; the base layout
// for every other name.
const FuseLayout& FuseLayoutFor(const std::string& deviceName);

// Every device name the catalogue knows, with its layout letter.
std::vector<std::pair<std::string, char>> FuseCatalogueNames();

}  // namespace morsk
