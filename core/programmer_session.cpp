#include "programmer_session.h"
#include <sstream>
#include <random>
#include "text_util.h"

#include <unistd.h>

#include <algorithm>

#include "programmer_ports.h"
#include "usb_transport.h"

namespace morsk {

ProgrammerSession::~ProgrammerSession()
{
    std::string ignored;
    Shutdown(ignored);
}

bool ProgrammerSession::Start(const ProgrammerOptions& options, std::string& error)
{
    if (!options.simulate) {
        if (options.realBackend)
            backend_ = options.realBackend();
        app_.link.backend = backend_.get();
        app_.link.filter = options.port;
        return true;
    }

    auto sim = std::make_unique<VirtualProgrammer>();
    sim->realtime = options.realtime;
    const size_t count = static_cast<size_t>(std::max(options.simProgrammers, 1));
    sim->programmers.assign(count, true);
    const std::string socket = options.simChip.value_or(app_.profile.deviceName);
    if (socket != "none") {
        ChipProfile chip = app_.profile;
        if (options.simChip) {
            std::vector<ManufacturerEntry> list;
            int m = 0, d = 0;
            if (!ReadDeviceNames(app_.paths.deviceList, list) || !FindDevice(list, "", socket, m, d) ||
                !LoadChipProfile(chip, app_.paths.deviceList, m, d, DefaultUi())) {
                error = "no enabled device " + socket + " in " + app_.paths.deviceList;
                return false;
            }
        }
        for (size_t i = 0; i < count; ++i) {
            std::optional<VirtualChip>& inSocket = sim->Socket(i);
            inSocket = VirtualChip::FromProfile(chip);
            if (!options.simState)
                continue;
            const std::string file = count == 1 ? *options.simState
                                                : *options.simState + "." + VirtualProgrammer::PortPath(i);
            stateFiles_.push_back(file);
            if (::access(file.c_str(), F_OK) == 0 && !inSocket->Load(file)) {
                error = file + " does not hold a " + socket + " chip";
                return false;
            }
        }
        simState_ = options.simState;
    }
    if (options.simSocket) {
        sim->socketFile = *options.simSocket;
        const ChipProfile fallback = app_.profile;
        const std::string deviceList = app_.paths.deviceList;
        const std::string defaultChip = socket;
        sim->makeChip = [fallback, deviceList, defaultChip](const std::string& text) -> std::optional<VirtualChip> {
            std::istringstream words(text);
            std::string word, name = defaultChip;
            bool random = false;
            while (words >> word) {
                if (word == "random")
                    random = true;
                else
                    name = word;
            }
            ChipProfile profile = fallback;
            std::vector<ManufacturerEntry> list;
            int m = 0, d = 0;
            if (name != fallback.deviceName &&
                !(ReadDeviceNames(deviceList, list) && FindDevice(list, "", name, m, d) &&
                  LoadChipProfile(profile, deviceList, m, d, DefaultUi())))
                return std::nullopt;  // a chip the list lacks: nothing answers
            VirtualChip chip = VirtualChip::FromProfile(profile);
            if (random) {
                std::random_device seed;
                std::mt19937 bytes(seed());
                for (uint8_t& b : chip.flash)
                    b = static_cast<uint8_t>(bytes());
                for (uint8_t& b : chip.eeprom)
                    b = static_cast<uint8_t>(bytes());
            }
            return chip;
        };
    }
    socketFollowsSelection_ = !options.simChip && !options.simState && !options.simSocket && count == 1;
    sim_ = sim.get();
    backend_ = std::move(sim);
    app_.link.backend = backend_.get();
    app_.link.filter = options.port;
    return true;
}

bool ProgrammerSession::LockProgrammer(std::string& error)
{
    UsbDeviceInfo target;
    if (!backend_ || !FindProgrammer(*backend_, app_.link.filter, target))
        return true;
    std::string name = target.portPath;
    if (name.empty())
        name = "bus" + std::to_string(target.busNumber) + "-addr" + std::to_string(target.address);
    // The virtual programmers have ports of their own.
    if (sim_)
        name = "sim-" + name;
    return lock_.Acquire(name, error);
}

std::string ProgrammerSession::PortName() const
{
    UsbDeviceInfo target;
    if (!backend_ || !FindProgrammer(*backend_, app_.link.filter, target))
        return {};
    if (!target.portPath.empty())
        return target.portPath;
    return Format("%03u:%03u", target.busNumber, target.address);
}

void ProgrammerSession::SelectedChipChanged()
{
    if (!sim_ || !socketFollowsSelection_ || !app_.profileLoaded)
        return;
    const std::string name = app_.profile.deviceName;
    if (sim_->chip && sim_->chip->name == name)
        return;
    if (sim_->chip)
        shelf_.insert_or_assign(sim_->chip->name, *sim_->chip);
    const auto kept = shelf_.find(name);
    sim_->chip = kept != shelf_.end() ? kept->second : VirtualChip::FromProfile(app_.profile);
}

bool ProgrammerSession::Shutdown(std::string& error)
{
    if (shutDown_ || !backend_)
        return true;
    shutDown_ = true;
    if (app_.link.backend == backend_.get()) {
        CloseLink(app_.link);
        app_.link.backend = nullptr;
    }
    // Only the chips this process used: other processes may own the rest.
    for (size_t i = 0; sim_ && i < stateFiles_.size(); ++i) {
        const std::optional<VirtualChip>& chip = sim_->Socket(i);
        if (chip && (stateFiles_.size() == 1 || sim_->Used(i)) && !chip->Save(stateFiles_[i])) {
            error = "cannot write " + stateFiles_[i];
            return false;
        }
    }
    return true;
}

}  // namespace morsk
