// setup.ini is the user's: arbitrary bytes as a settings file, and as the
// AUTO text, must read to sane values, and the auto editor must list and
// rebuild whatever sequence they give.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "auto_editor_model.h"
#include "fuzz_file.h"
#include "settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = [] {
        std::atexit([] { std::remove(morsk::fuzz::ScratchPath(".ini").c_str()); });
        return morsk::fuzz::ScratchPath(".ini");
    }();
    if (!morsk::fuzz::WriteScratch(path, data, size))
        return 0;
    morsk::Settings settings;
    morsk::ReadSettings(path, settings);
    if (settings.manufIndex < 0 || settings.deviceIndex < 0)
        std::abort();

    // The same bytes as the AUTO value, as the editor and a run read it.
    morsk::SetAutoSequence(settings, std::string(reinterpret_cast<const char*>(data), size));
    morsk::AutoEditorModel editor;
    editor.Open(size ? data[0] % 3 : 0, settings.autoSequence);
    editor.Add(size > 1 ? data[1] % 8 - 1 : 0);
    const std::string rebuilt = editor.BuildSequence();
    if (rebuilt.size() > morsk::kAutoSequenceChars || morsk::SequenceCodes(settings.autoSequence).size() > 15)
        std::abort();
    return 0;
}
