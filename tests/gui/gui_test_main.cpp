// The main of the widget tests: the offscreen platform and one application
// object. Like every unit test, they do not link the real USB backend.
#include <gtest/gtest.h>

#include "private_lock_dir.h"

#include <QApplication>

#include <cstdlib>

#include "qt_translations.h"

int main(int argc, char** argv)
{
    morsk::test::PrivateLockDir locks;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    morsk::ApplyQtLanguage(app, morsk::Language::Chinese);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
