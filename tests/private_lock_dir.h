// Each test process takes its programmers' locks in a folder of its own, so
// that tests running in parallel never see each other's virtual
// programmers as in use.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace morsk::test {

class PrivateLockDir {
public:
    PrivateLockDir()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "morsk-locks-XXXXXX").string();
        if (::mkdtemp(tmpl.data())) {
            path_ = tmpl;
            ::setenv("MORSK_LOCK_DIR", path_.c_str(), 1);
        }
    }
    ~PrivateLockDir()
    {
        std::error_code ec;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ec);
    }

private:
    std::string path_;
};

}  // namespace morsk::test
