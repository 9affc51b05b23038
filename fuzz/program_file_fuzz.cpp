// A program file as a user loads it: the first byte picks the extension
// (in any case, or none the loader knows) and the chip's sizes, the rest is
// the file. Nothing may land past the images or the view.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_file.h"
#include "program_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const char* const kExtensions[] = {".bin", ".HEX", ".hex", ".eep", ".Eep", ".txt", "", ".BIN"};
    static morsk::DataBuffer buffer;
    if (size == 0)
        return 0;
    const std::string path = morsk::fuzz::ScratchPath(kExtensions[data[0] & 7]);
    if (!morsk::fuzz::WriteScratch(path, data + 1, size - 1))
        return 0;
    morsk::ChipProfile profile;
    static const uint32_t kFlash[] = {1024, 8192, 262144, 300000};
    static const uint32_t kEeprom[] = {0, 512, 4096, 5000};
    profile.flashSize = kFlash[(data[0] >> 3) & 3];
    profile.eepromSize = kEeprom[(data[0] >> 5) & 3];
    morsk::ProgramFileState file;
    morsk::Notifier& quiet = morsk::DefaultUi();
    morsk::LoadProgramFile(path, file, buffer, profile, quiet, morsk::DefaultUi());
    std::remove(path.c_str());
    return 0;
}
