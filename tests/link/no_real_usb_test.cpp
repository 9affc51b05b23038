#include <gtest/gtest.h>

#include "libusb_backend.h"

namespace morsk {
namespace {

TEST(NoRealUsb, TheRealBackendRefusesToStartInTests)
{
    ASSERT_TRUE(RealUsbForbidden());
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH({ LibusbBackend backend; }, "refusing to open the real USB bus");
    // The end-to-end tests' setting is refused too outside an emulated bus.
    ::setenv("MORSK_USB", "umockdev", 1);
    ::unsetenv("UMOCKDEV_DIR");
    EXPECT_TRUE(RealUsbForbidden());
    ::setenv("MORSK_USB", "none", 1);
    EXPECT_EQ(LibusbBackend::Constructed(), 0);
}

}  // namespace
}  // namespace morsk
