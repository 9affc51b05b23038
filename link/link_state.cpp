#include "link_state.h"

#include <chrono>
#include <thread>

namespace morsk {

void SleepMilliseconds(unsigned ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void CloseLink(LinkState& state)
{
    if (state.backend && state.handleHeld)
        state.backend->Close(state.handle);
    state.handleHeld = false;
    state.handle = 0;
}

}  // namespace morsk
