// The end-to-end tests run the real libusb path, always inside the
// emulated bus that each test sets up (usb_emulation.h), never on the
// machine's own.
#include <gtest/gtest.h>

#include "private_lock_dir.h"

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv)
{
    morsk::test::PrivateLockDir locks;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
