// The device selection dialog without its widgets: the two name lists in
// file order, which entries are highlighted, the chosen indexes and the
// logo. The dialog shows what this says and forwards the user's clicks.
#pragma once

#include <string>
#include <vector>

#include "chip_profile.h"

namespace morsk {

// The three logo pictures of the program, and no picture.
enum class ManufacturerLogo { None, Atmel, Microchip, Nordic };
ManufacturerLogo LogoFor(const std::string& manufacturer);

class DeviceSelectionModel {
public:
    // Starts from the saved indexes; a missing device list gives empty
    // lists and no message.
    void Open(const std::string& deviceList, int savedManufIndex, int savedDeviceIndex);

    // The user selected a manufacturer: its devices are listed with the
    // saved device index highlighted, the chosen device index stays.
    void SelectManufacturer(int position);
    void SelectDevice(int position);

    const std::vector<std::string>& manufacturers() const { return manufacturers_; }
    const std::vector<std::string>& devices() const { return devices_; }
    // The highlighted entries, -1 for none.
    int manufacturerHighlight() const { return Highlight(savedManuf_, manufacturers_.size()); }
    int deviceHighlight() const { return Highlight(savedDevice_, devices_.size()); }

    int chosenManufacturer() const { return chosenManuf_; }
    int chosenDevice() const { return chosenDevice_; }
    ManufacturerLogo logo() const { return logo_; }

private:
    static int Highlight(int index, size_t count)
    {
        return index >= 0 && static_cast<size_t>(index) < count ? index : -1;
    }
    void FillDevices(int manufacturer);

    std::vector<ManufacturerEntry> list_;
    std::vector<std::string> manufacturers_;
    std::vector<std::string> devices_;
    int savedManuf_ = 0;
    int savedDevice_ = 0;
    int chosenManuf_ = 0;
    int chosenDevice_ = 0;
    ManufacturerLogo logo_ = ManufacturerLogo::Nordic;
};

}  // namespace morsk
