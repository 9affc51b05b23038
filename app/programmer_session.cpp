#include "programmer_session.h"

#include <unistd.h>

#include "libusb_backend.h"
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
        if (RealUsbForbidden()) {
            // The test suites' empty bus: as if no programmer were plugged in.
            auto empty = std::make_unique<VirtualProgrammer>();
            empty->programmers.clear();
            backend_ = std::move(empty);
        } else {
            backend_ = std::make_unique<LibusbBackend>();
        }
        app_.link.backend = backend_.get();
        return true;
    }

    auto sim = std::make_unique<VirtualProgrammer>();
    sim->realtime = options.realtime;
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
        sim->chip = VirtualChip::FromProfile(chip);
        if (options.simState && ::access(options.simState->c_str(), F_OK) == 0 &&
            !sim->chip->Load(*options.simState)) {
            error = *options.simState + " does not hold a " + socket + " chip";
            return false;
        }
        simState_ = options.simState;
    }
    socketFollowsSelection_ = !options.simChip && !options.simState;
    sim_ = sim.get();
    backend_ = std::move(sim);
    app_.link.backend = backend_.get();
    return true;
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
    if (sim_ && sim_->chip && simState_ && !sim_->chip->Save(*simState_)) {
        error = "cannot write " + *simState_;
        return false;
    }
    return true;
}

}  // namespace morsk
