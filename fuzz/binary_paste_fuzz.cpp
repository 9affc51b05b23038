// A "BinaryData" block from the clipboard comes from any program: pasting
// it anywhere, with or without a selection, must stay inside the data.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "hex_edit_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    using morsk::hexedit::HexEditModel;
    static const std::vector<uint8_t> bytes(300, 0xEE);
    HexEditModel m;
    m.SetMetrics(8, 16);
    m.SetData(std::span<const uint8_t>(bytes).first(1 + data[0] % 300));
    m.SetClientRect({0, 0, 400, 200});
    m.UpdateCaret(data[1] * 2u, data[2] & 1);
    if (data[2] & 2)
        m.SetSelection(data[3], data[3] + data[1], data[2] & 4);
    m.SetReadOnly(data[2] & 8);
    m.PasteBytes(std::span<const uint8_t>(data + 4, size - 4));
    if (m.data().size() != m.length() || m.caretIndex() >= m.length())
        std::abort();
    m.ClipboardText();
    m.BinaryDataBlock();
    return 0;
}
