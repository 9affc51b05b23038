#include "device_selection.h"

namespace morsk {

ManufacturerLogo LogoFor(const std::string& manufacturer)
{
    if (manufacturer == kAtmel)
        return ManufacturerLogo::Atmel;
    if (manufacturer == "MICROCHIP")
        return ManufacturerLogo::Microchip;
    if (manufacturer == kNordic)
        return ManufacturerLogo::Nordic;
    return ManufacturerLogo::None;
}

void DeviceSelectionModel::Open(const std::string& deviceList, int savedManufIndex, int savedDeviceIndex)
{
    // The opening picture is always the NORDIC one, whatever is selected;
    // it follows the manufacturer from the first change on.
    logo_ = ManufacturerLogo::Nordic;
    savedManuf_ = chosenManuf_ = savedManufIndex;
    savedDevice_ = chosenDevice_ = savedDeviceIndex;
    if (!ReadDeviceNames(deviceList, list_))
        list_.clear();
    manufacturers_.clear();
    for (const ManufacturerEntry& m : list_)
        manufacturers_.push_back(m.name);
    FillDevices(savedManufIndex);
}

void DeviceSelectionModel::FillDevices(int manufacturer)
{
    devices_.clear();
    if (manufacturer >= 0 && static_cast<size_t>(manufacturer) < list_.size())
        devices_ = list_[static_cast<size_t>(manufacturer)].devices;
}

void DeviceSelectionModel::SelectManufacturer(int position)
{
    if (position < 0 || static_cast<size_t>(position) >= manufacturers_.size())
        return;
    FillDevices(position);
    chosenManuf_ = position;
    logo_ = LogoFor(manufacturers_[static_cast<size_t>(position)]);
}

void DeviceSelectionModel::SelectDevice(int position)
{
    if (position < 0 || static_cast<size_t>(position) >= devices_.size())
        return;
    chosenDevice_ = position;
}

}  // namespace morsk
