// morsk-cli's arguments come from scripts: any list of words must parse to
// a usage error, help, or options whose commands have their arguments.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "command_line.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            args.emplace_back();
        else
            args.back() += static_cast<char>(data[i]);
    }
    morsk::cli::Options options;
    std::string out, err;
    const int status = morsk::cli::ParseCommandLine(args, options, out, err);
    if (status < 0) {
        for (const std::vector<std::string>& cmd : options.commands) {
            const morsk::cli::CommandSpec* spec = morsk::cli::FindCommandSpec(cmd[0]);
            if (!spec || cmd.size() != static_cast<size_t>(spec->arguments) + 1)
                std::abort();
        }
    }
    return 0;
}
