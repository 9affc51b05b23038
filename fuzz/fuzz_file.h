// One scratch file per fuzzing process, rewritten for every input, for the
// readers that take a path as a user gives it. Removed at exit.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace morsk::fuzz {

// In memory where the system has a RAM disk: every input is a new file.
inline std::string ScratchPath(const std::string& suffix)
{
    const char* dir = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/morsk-fuzz-" + std::to_string(::getpid()) + suffix;
}

inline bool WriteScratch(const std::string& path, const uint8_t* data, size_t size)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

}  // namespace morsk::fuzz
