// The main of the widget tests: the offscreen platform, one application
// object, and the same guard against the real USB bus as every test.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

#include "libusb_backend.h"

int main(int argc, char** argv)
{
    ::setenv("MORSK_USB", "none", 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    if (morsk::LibusbBackend::Constructed() != 0) {
        std::fprintf(stderr, "a test constructed the real USB backend\n");
        return 1;
    }
    return status;
}
