#include "production_log.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace morsk {
namespace {

std::string Field(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

bool WriteAll(int fd, const std::string& text)
{
    // O_APPEND: the one write lands at the end whole; a short write (a
    // full disk) is an error rather than half a line followed by more.
    const ssize_t n = ::write(fd, text.data(), text.size());
    return n == static_cast<ssize_t>(text.size());
}

}  // namespace

std::string FormatLogLine(const LogEntry& e)
{
    const std::string fields[] = {e.time, e.host, e.port, e.chip, e.signature, e.file,
                                  e.checksum, e.steps, e.result, e.serial, std::to_string(e.durationMs)};
    std::string line;
    for (const std::string& f : fields)
        line += (line.empty() ? "" : ",") + Field(f);
    return line;
}

bool AppendLogLine(const std::string& path, const LogEntry& entry, std::string& error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    bool ok = true;
    while (::flock(fd, LOCK_EX) != 0)
        if (errno != EINTR) {
            ok = false;
            break;
        }
    struct stat st {};
    std::string text;
    if (ok && ::fstat(fd, &st) == 0 && st.st_size == 0)
        text = std::string(kLogHeader) + "\n";
    text += FormatLogLine(entry) + "\n";
    ok = ok && WriteAll(fd, text) && ::fsync(fd) == 0;
    if (!ok)
        error = path + ": " + std::strerror(errno);
    ::close(fd);
    return ok;
}

std::string IsoTimeNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    std::string out = text;
    // +0100 -> +01:00, the extended form that matches the rest.
    if (out.size() >= 5)
        out.insert(out.size() - 2, ":");
    return out;
}

std::string HostName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

}  // namespace morsk
