// The main of every test binary. No test may ever reach a programmer on
// this machine's bus: a developer's or a production PC's chip would be
// overwritten. MORSK_USB=none makes the program use an empty virtual bus
// and makes the real backend abort if anything still constructs it; the
// variable is inherited by every morsk-cli the tests start.
#include <gtest/gtest.h>

#include <cstdlib>

#include "libusb_backend.h"

namespace {

class NoRealUsb : public ::testing::Environment {
public:
    void TearDown() override
    {
        EXPECT_EQ(morsk::LibusbBackend::Constructed(), 0) << "a test constructed the real USB backend";
    }
};

}  // namespace

int main(int argc, char** argv)
{
    ::setenv("MORSK_USB", "none", 1);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new NoRealUsb);
    return RUN_ALL_TESTS();
}
