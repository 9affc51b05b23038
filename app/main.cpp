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
#include "qt_translations.h"
#include "programmer_options.h"

using namespace morsk;

namespace {

std::string Usage()
{
    return std::string("Usage: morsk [OPTIONS] [FILE]\n"
                       "\n"
                       "  FILE                 a program file (.bin, .hex, .eep) to load at start\n"
                       "  --home               work in ~/.morsk (or $MORSK_HOME), whose Device.csv is copied once\n"
                       "                       from the installed one; without it, in the current directory\n") +
           kProgrammerOptionsHelp +
           "\n"
           "For scripts and machines without a display, use morsk-cli.\n";
}

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
    const auto usageError = [](const std::string& why) {
        std::fprintf(stderr, "morsk: %s\n%s", why.c_str(), Usage().c_str());
        return 2;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string why;
        switch (ParseProgrammerOption(args, i, out.window.programmer, why)) {
        case OptionParse::Taken:
            continue;
        case OptionParse::Error:
            return usageError(why);
        case OptionParse::NotMine:
            break;
        }
        if (a == "--help") {
            std::fputs(Usage().c_str(), stdout);
            return 0;
        } else if (a == "--version") {
            std::puts("morsk 1.0");
            return 0;
        } else if (a == "--home") {
            out.home = true;
        } else if (a.rfind("--", 0) == 0) {
            return usageError("unknown option " + a);
        } else {
            out.files.push_back(a);
        }
    }
    if (const std::string why = CheckProgrammerOptions(out.window.programmer); !why.empty())
        return usageError(why);
    if (out.files.size() > 1)
        return usageError("one file at a time");
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
    // The language is known before the first widget is made: the stored
    // choice, or on a first start the locale's. Qt's own dialogs and
    // buttons speak it too.
    const Language language = StartLanguage(BuildPaths(".").settingsFile);
    SetLanguage(language);
    ApplyQtLanguage(qapp, language);

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
