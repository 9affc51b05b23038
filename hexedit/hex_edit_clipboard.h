// The clipboard forms of the hex editor: the selection as hex text lines,
// and the "BinaryData" block (a 32-bit little-endian count, then the bytes).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace morsk::hexedit {

// Bytes [begin, end] as hex, bytesPerRow a line, each line ended by "\n".
// A selection longer than a row starts at its byte's column of the dump,
// so that the columns line up.
std::string HexDumpText(std::span<const uint8_t> data, uint32_t begin, uint32_t end, uint32_t bytesPerRow);

std::vector<uint8_t> EncodeBinaryData(std::span<const uint8_t> bytes);

// The bytes a block carries: its count is trusted only as far as the block
// really reaches; empty for a block shorter than its count field.
std::span<const uint8_t> DecodeBinaryData(std::span<const uint8_t> block);

}  // namespace morsk::hexedit
