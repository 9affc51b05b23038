// The main of every unit-test binary. None of them links the real USB
// backend, so no test can reach a programmer on this machine's bus; the
// morsk-cli runs they start go through an empty emulated bus (cli_runner.h).
#include <gtest/gtest.h>

#include "private_lock_dir.h"

int main(int argc, char** argv)
{
    morsk::test::PrivateLockDir locks;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
