// Runs the built morsk-cli as a user would, in a directory of its own.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <string>

#include "test_support.h"

namespace morsk::test {

struct Result {
    int status;
    std::string out;
    std::string err;
};

class Cli : public ::testing::Test {
protected:
    void SetUp() override { WriteFile(dir.File("Device.csv"), ReadFile(MORSK_DEVICE_LIST)); }

    // The command line that Run uses, for running several at once. The
    // program's real bus is an empty emulated one (umockdev-run), so a
    // programmer plugged into this machine is never reached; its preload
    // library goes before the sanitizer runtime.
    std::string Command(const std::string& args, const std::string& tag = "cli") const
    {
        return "cd '" + dir.path().string() + "' && MORSK_LOCK_DIR='" + dir.path().string() +
               "' ASAN_OPTIONS=\"$ASAN_OPTIONS:verify_asan_link_order=0\" umockdev-run -- '" MORSK_CLI "' " + args +
               " > " + tag + ".out 2> " + tag + ".err < /dev/null";
    }

    Result Run(const std::string& args)
    {
        const int raw = std::system(Command(args).c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(dir.File("cli.out")), ReadFile(dir.File("cli.err"))};
    }

    test::TempDir dir;
};

}  // namespace morsk::test
