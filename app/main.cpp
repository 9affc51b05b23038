// morsk: the programmer's window. Works in the current directory, as the
// command line does: ./Device.csv and ./setup.ini.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "libusb_backend.h"
#include "main_window.h"

using namespace morsk;

namespace {

const char kUsage[] =
    "Usage: morsk [--simulate [--sim-chip NAME|none] [--sim-realtime]] [FILE]\n"
    "\n"
    "  FILE            a program file (.bin, .hex, .eep) to load at start\n"
    "  --simulate      use the virtual programmer instead of USB\n"
    "  --sim-chip NAME the chip in the virtual socket (default: the selected chip; none: empty)\n"
    "  --sim-realtime  the virtual programmer takes as long per transfer as the real one\n"
    "  --home          work in ~/.morsk (or $MORSK_HOME), whose Device.csv is copied once\n"
    "                  from the installed one; without it, in the current directory\n"
    "\n"
    "For scripts and machines without a display, use morsk-cli.\n";

struct Arguments {
    WindowOptions window;
    std::vector<std::string> files;
    bool home = false;
};

// The per-user folder of a window started from the desktop menu, which
// gives it no useful working directory: made on first use and seeded with
// the installed device list, never overwriting the user's own.
bool EnterHome(std::string& error)
{
    namespace fs = std::filesystem;
    const char* explicitHome = std::getenv("MORSK_HOME");
    const char* userHome = std::getenv("HOME");
    if (!(explicitHome && *explicitHome) && !(userHome && *userHome)) {
        error = "neither MORSK_HOME nor HOME is set";
        return false;
    }
    const fs::path dir = explicitHome && *explicitHome ? fs::path(explicitHome) : fs::path(userHome) / ".morsk";
    std::error_code ec;
    fs::create_directories(dir, ec);
    const fs::path list = dir / "Device.csv";
    if (!fs::exists(list, ec))
    {
        const char* data = std::getenv("MORSK_DATA_DIR");  // for a package not yet installed
        fs::copy_file(fs::path(data && *data ? data : MORSK_DATA_DIR) / "Device.csv", list, ec);
    }
    fs::current_path(dir, ec);
    if (ec) {
        error = "cannot work in " + dir.string() + ": " + ec.message();
        return false;
    }
    return true;
}

// -1 to go on, or an exit status.
int Parse(const std::vector<std::string>& args, Arguments& out)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "--version") {
            std::puts("morsk 1.0");
            return 0;
        } else if (a == "--simulate") {
            out.window.programmer.simulate = true;
        } else if (a == "--home") {
            out.home = true;
        } else if (a == "--sim-realtime") {
            out.window.programmer.realtime = true;
        } else if (a == "--sim-chip") {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "morsk: --sim-chip needs a value\n%s", kUsage);
                return 2;
            }
            out.window.programmer.simChip = args[++i];
        } else if (a.rfind("--", 0) == 0) {
            std::fprintf(stderr, "morsk: unknown option %s\n%s", a.c_str(), kUsage);
            return 2;
        } else {
            out.files.push_back(a);
        }
    }
    const ProgrammerOptions& p = out.window.programmer;
    if ((p.realtime || p.simChip) && !p.simulate) {
        std::fprintf(stderr, "morsk: --sim-chip and --sim-realtime need --simulate\n");
        return 2;
    }
    if (out.files.size() > 1) {
        std::fprintf(stderr, "morsk: one file at a time\n");
        return 2;
    }
    return -1;
}

bool HaveDisplay()
{
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv)
{
    Arguments args;
    if (const int status = Parse(std::vector<std::string>(argv + 1, argv + argc), args); status >= 0)
        return status;
    if (!HaveDisplay()) {
        std::fputs("morsk: the window needs a display (none is set in DISPLAY or WAYLAND_DISPLAY).\n"
                   "Use morsk-cli for the same operations without one, e.g. morsk-cli --help.\n",
                   stderr);
        return 1;
    }
    // A file named relative to where the user was stays findable.
    for (std::string& file : args.files)
        file = std::filesystem::absolute(file).string();
    if (args.home) {
        std::string error;
        if (!EnterHome(error)) {
            std::fprintf(stderr, "morsk: %s\n", error.c_str());
            return 2;
        }
    }
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("morsk"));
    QApplication::setDesktopFileName(QStringLiteral("morsk"));

    auto station = std::make_unique<Station>();
    auto window = std::make_unique<MainWindow>(*station);
    args.window.programmer.realBackend = MakeLibusbBackend;
    std::string error;
    if (!window->Start(args.window, error)) {
        std::fprintf(stderr, "morsk: %s\n", error.c_str());
        return 2;
    }
    if (!args.files.empty())
        window->LoadFile(args.files.front());
    // Closing the window ends the program; nothing is saved at closing.
    QObject::connect(window.get(), &QDialog::finished, &qapp, &QApplication::quit);
    window->show();
    return qapp.exec();
}
