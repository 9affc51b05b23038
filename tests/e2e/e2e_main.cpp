// The end-to-end tests run the real libusb path, so they lift the guard
// against the real bus, but only for an emulated one: MORSK_USB=umockdev
// makes the real backend refuse to start outside a umockdev testbed.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    ::setenv("MORSK_USB", "umockdev", 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
