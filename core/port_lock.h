// One process at a time per programmer: an advisory lock file named after
// the programmer's port, held for the whole run.
#pragma once

#include <string>

namespace morsk {

class PortLock {
public:
    PortLock() = default;
    ~PortLock();
    PortLock(const PortLock&) = delete;
    PortLock& operator=(const PortLock&) = delete;

    // False, with the reason, when another process holds it or the lock
    // file cannot be made. The file lives in $MORSK_LOCK_DIR, else
    // $XDG_RUNTIME_DIR, else /tmp.
    bool Acquire(const std::string& name, std::string& error);
    void Release();
    const std::string& path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace morsk
