#include "identify.h"

#include <algorithm>
#include <cstring>

#include "chip_operations.h"
#include "programmer_link.h"
#include "text_util.h"

namespace morsk {

std::vector<ChipMatch> ChipsWithSignature(const std::string& deviceList, uint8_t family, const uint8_t signature[3])
{
    std::vector<ChipMatch> matches;
    std::vector<ManufacturerEntry> list;
    if (!ReadDeviceNames(deviceList, list))
        return matches;
    for (size_t m = 0; m < list.size(); ++m) {
        for (size_t d = 0; d < list[m].devices.size(); ++d) {
            ChipProfile chip;
            if (LoadChipProfile(chip, deviceList, static_cast<int>(m), static_cast<int>(d), DefaultUi()) != 1)
                continue;
            if (IsDrivenChip(chip) && chip.family == family && std::equal(signature, signature + 3, chip.signature))
                matches.push_back({list[m].name, list[m].devices[d], static_cast<int>(m), static_cast<int>(d)});
        }
    }
    return matches;
}

IdentifyResult IdentifyChipInSocket(AppState& app)
{
    IdentifyResult result;
    for (const uint8_t family : {kFamilyAvr, kFamilyAt89, kFamilyNordic}) {
        // A profile that only says which commands to send.
        ChipProfile probe;
        probe.family = family;
        std::strcpy(probe.manufacturer, family == kFamilyNordic ? kNordic : kAtmel);
        ProgrammerLink link(app.link, probe);
        if (link.EnterProgramming() != 1)
            return result;  // no programmer: no family will do better
        result.programmerStarted = true;
        uint8_t id[3] = {};
        const bool read = link.ReadSignature(id) == 1;
        link.LeaveProgramming();
        // An empty socket leaves the data line high: no chip answered.
        if (!read || (id[0] == 0xFF && id[1] == 0xFF && id[2] == 0xFF))
            continue;
        if (!result.signatureRead)
            std::copy_n(id, 3, result.signature);
        result.signatureRead = true;
        result.matches = ChipsWithSignature(app.paths.deviceList, family, id);
        if (!result.matches.empty()) {
            std::copy_n(id, 3, result.signature);
            return result;
        }
    }
    return result;
}

}  // namespace morsk

namespace morsk {

std::string ChipNames(const std::vector<ChipMatch>& matches)
{
    std::string names;
    for (const ChipMatch& m : matches)
        names += (names.empty() ? "" : "、") + m.manufacturer + "/" + m.device;
    return names;
}

void ReportIdentified(AppState& app, const IdentifyResult& found)
{
    if (!found.programmerStarted) {
        app.AddStatusLine(kProgrammerInitFailedLine);
        return;
    }
    if (!found.signatureRead) {
        app.AddStatusLine("找不到器件!");
        return;
    }
    const uint8_t* id = found.signature;
    app.AddStatusLine(ChipIdLine(id));
    app.AddStatusLine(found.matches.empty() ? std::string(kNotInDeviceListLine)
                                            : kSocketHoldsLine + ChipNames(found.matches));
}

}  // namespace morsk
