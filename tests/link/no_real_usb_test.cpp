#include <gtest/gtest.h>

#include "libusb_backend.h"

namespace morsk {
namespace {

TEST(NoRealUsb, TheRealBackendRefusesToStartInTests)
{
    ASSERT_TRUE(RealUsbForbidden());
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH({ LibusbBackend backend; }, "refusing to open the real USB bus");
    EXPECT_EQ(LibusbBackend::Constructed(), 0);
}

}  // namespace
}  // namespace morsk
