// The production log: one CSV line per operation or auto run, appended by
// any number of processes at once. Each line goes in with one write on a
// file opened for appending, under an exclusive lock (so a new file gets
// its header exactly once), and is on disk before the call returns.
#pragma once

#include <string>
#include <vector>

namespace morsk {

struct LogEntry {
    std::string time;  // ISO 8601 with the zone: 2026-12-11T12:30:01+00:00
    std::string host;
    std::string port;
    std::string chip;       // ATMEL/ATMEGA8
    std::string signature;  // 1E 93 07, empty when none was read
    std::string file;
    std::string checksum;  // 0021DE00
    std::string steps;     // erase program verify
    std::string result;    // ok, or the first failure line
    std::string serial;    // empty when none was written
    long long durationMs = 0;
};

inline constexpr char kLogHeader[] = "time,host,port,chip,signature,file,checksum,steps,result,serial,duration_ms";

// The fields quoted where CSV needs it.
std::string FormatLogLine(const LogEntry& entry);
// False, with the reason, when the line could not be written or synced.
bool AppendLogLine(const std::string& path, const LogEntry& entry, std::string& error);

// The local time now, as the log writes it.
std::string IsoTimeNow();
std::string HostName();

}  // namespace morsk
