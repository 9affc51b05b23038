#include "port_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace morsk {
namespace {

std::string LockDirectory()
{
    for (const char* name : {"MORSK_LOCK_DIR", "XDG_RUNTIME_DIR"}) {
        const char* dir = std::getenv(name);
        if (dir && *dir)
            return dir;
    }
    return "/tmp";
}

}  // namespace

PortLock::~PortLock()
{
    Release();
}

bool PortLock::Acquire(const std::string& name, std::string& error)
{
    Release();
    std::string file = "morsk-programmer-";
    for (char c : name)
        file += std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' ? c : '_';
    path_ = LockDirectory() + "/" + file + ".lock";
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        error = "cannot create the lock file " + path_ + ": " + std::strerror(errno);
        return false;
    }
    // The kernel drops the lock with the process, however it ends.
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        error = errno == EWOULDBLOCK ? "the programmer on " + name + " is in use by another process"
                                     : "cannot lock " + path_ + ": " + std::strerror(errno);
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    return true;
}

void PortLock::Release()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

}  // namespace morsk
