// Serial numbers, the production log and the watch, as a production line
// runs them: several morsk-cli processes at once, chips going in and out.
#include <signal.h>

#include <chrono>
#include <set>
#include <thread>

#include "cli_runner.h"

namespace morsk::test {
namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> out;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> out;
    std::stringstream in(line);
    for (std::string f; std::getline(in, f, ',');)
        out.push_back(f);
    return out;
}

// Waits until `file` holds `text` (at most 20 s).
bool WaitFor(const std::string& file, const std::string& text, size_t count = 1)
{
    for (int i = 0; i < 2000; ++i) {
        const std::string content = ReadFile(file);
        size_t found = 0;
        for (size_t at = content.find(text); at != std::string::npos; at = content.find(text, at + 1))
            ++found;
        if (found >= count)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Eight programmers, eight processes at once: eight different numbers, no
// gap, and eight whole log lines.
TEST_F(Cli, EightParallelRunsGetEightNumbersAndEightLogLines)
{
    WriteFile(dir.File("setup.ini"), "[SETUP]\nAUTO=3513\n[SERIAL]\nEnabled=1\nMemory=EEPROM\nAddress=0x10\nSize=4\n"
                                     "Format=bin-be\nNext=1000\n[LOG]\nFile=line.csv\n");
    WriteFile(dir.File("fw.bin"), std::string(2048, '\x3C'));
    std::string all;
    for (int i = 1; i <= 8; ++i)
        all += "(" + Command("--simulate --sim-programmers 8 --port 1-" + std::to_string(i) +
                                 " --sim-state chip.state --chip ATMEL/ATMEGA8 --load fw.bin auto",
                             "run" + std::to_string(i)) +
               ") & ";
    ASSERT_EQ(std::system((all + "wait").c_str()), 0);

    std::set<std::string> numbers, ports;
    for (int i = 1; i <= 8; ++i) {
        const std::string out = ReadFile(dir.File("run" + std::to_string(i) + ".out"));
        EXPECT_NE(out.find("自动已完成!"), std::string::npos) << out;
        numbers.insert(out.substr(out.rfind("序列号: ") + std::string("序列号: ").size(), 4));
    }
    EXPECT_EQ(numbers, (std::set<std::string>{"1000", "1001", "1002", "1003", "1004", "1005", "1006", "1007"}));
    EXPECT_NE(ReadFile(dir.File("setup.ini")).find("Next=1008"), std::string::npos);

    const std::vector<std::string> log = Lines(ReadFile(dir.File("line.csv")));
    ASSERT_EQ(log.size(), 9u);
    EXPECT_EQ(log[0], "time,host,port,chip,signature,file,checksum,steps,result,serial,duration_ms");
    std::set<std::string> logged;
    for (size_t i = 1; i < log.size(); ++i) {
        const std::vector<std::string> f = Fields(log[i]);
        ASSERT_EQ(f.size(), 11u) << log[i];
        EXPECT_EQ(f[0].size(), std::string("2026-12-11T10:00:00+01:00").size()) << f[0];
        EXPECT_EQ(f[3], "ATMEL/ATMEGA8");
        EXPECT_EQ(f[4], "1E 93 07");
        EXPECT_EQ(f[5], "fw.bin");
        EXPECT_EQ(f[7], "auto: Erase Program Verify");
        EXPECT_EQ(f[8], "ok");
        ports.insert(f[2]);
        logged.insert(f[9]);
    }
    EXPECT_EQ(logged, numbers);
    EXPECT_EQ(ports.size(), 8u);

    // The chips carry their numbers, big-endian at 0x10 of the EEPROM.
    const std::string state = ReadFile(dir.File("chip.state.1-3"));
    EXPECT_NE(state.find("FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF000003E"), std::string::npos);

    // A failed call logs its first failure line and gives its number back.
    Result r = Run("--simulate --sim-chip none --chip ATMEL/ATMEGA8 --load fw.bin auto");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("序列号 1008 没有写入器件, 留给下一个"), std::string::npos) << r.out;
    EXPECT_EQ(Fields(Lines(ReadFile(dir.File("line.csv"))).back())[8], "找不到器件!");
    EXPECT_NE(ReadFile(dir.File("setup.ini")).find("Next=1008"), std::string::npos);
    // --serial-next for one call leaves the counter alone; --no-serial writes none.
    r = Run("--simulate --chip ATMEL/ATMEGA8 --load fw.bin --serial-next 5 program");
    EXPECT_NE(r.out.find("序列号: 5\n"), std::string::npos) << r.out;
    EXPECT_NE(ReadFile(dir.File("setup.ini")).find("Next=1008"), std::string::npos);
    r = Run("--simulate --chip ATMEL/ATMEGA8 --load fw.bin --no-serial program");
    EXPECT_EQ(r.out.find("序列号"), std::string::npos) << r.out;
}

// Chips going in and out of the socket: each matching chip is programmed
// exactly once, however long it stays in; a wrong chip is skipped; SIGTERM
// ends the station cleanly.
TEST_F(Cli, TheWatchProgramsEachInsertedChipOnce)
{
    WriteFile(dir.File("setup.ini"), "[SETUP]\nAUTO=3513\n[SERIAL]\nEnabled=1\nAddress=0x1FFC\nNext=1\n"
                                     "[LOG]\nFile=line.csv\n");
    WriteFile(dir.File("fw.bin"), std::string(2048, '\x3C'));
    const std::string socket = dir.File("socket");
    const std::string command =
        "(" + Command("--simulate --sim-socket socket --chip ATMEL/ATMEGA8 --load fw.bin watch") + ") & echo $! > '" + dir.File("watch.pid") + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string out = dir.File("cli.out");
    ASSERT_TRUE(WaitFor(out, "等待器件..."));

    WriteFile(socket, "random");  // a chip with old contents
    ASSERT_TRUE(WaitFor(out, "通过 #1"));
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));  // left in for several polls
    std::remove(socket.c_str());
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    WriteFile(socket, "ATMEGA16");
    ASSERT_TRUE(WaitFor(out, "不是所选的器件"));
    std::remove(socket.c_str());
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    WriteFile(socket, "");
    ASSERT_TRUE(WaitFor(out, "通过 #2"));

    const int pid = std::stoi(ReadFile(dir.File("watch.pid")));
    ::kill(pid, SIGTERM);
    ASSERT_TRUE(WaitFor(out, "已停止"));
    for (int i = 0; i < 500 && ::kill(pid, 0) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_NE(::kill(pid, 0), 0) << "the watch did not end";

    const std::vector<std::string> lines = Lines(ReadFile(out));
    ASSERT_EQ(lines.size(), 5u) << ReadFile(out);
    EXPECT_EQ(lines[1].substr(0, lines[1].find(" (")), "通过 #1 ATMEL/ATMEGA8 序列号: 1");
    EXPECT_EQ(lines[2], "不是所选的器件, 没有编程: 器件ID:1E 94 03 (ATMEL/ATMEGA16)");
    EXPECT_EQ(lines[3].substr(0, lines[3].find(" (")), "通过 #2 ATMEL/ATMEGA8 序列号: 2");
    EXPECT_EQ(lines[4], "已停止: 成功 2, 失败 0");
    EXPECT_EQ(ReadFile(dir.File("cli.err")), "");
    EXPECT_EQ(Lines(ReadFile(dir.File("line.csv"))).size(), 3u);  // header and two chips
    EXPECT_NE(ReadFile(dir.File("setup.ini")).find("Next=3"), std::string::npos);
}

// A failed chip makes the session's exit status 1, whatever follows.
TEST_F(Cli, TheWatchExitsWithFailureAfterAFailedChip)
{
    WriteFile(dir.File("setup.ini"), "[SETUP]\nAUTO=213\n");  // program, verify: no erase
    WriteFile(dir.File("fw.bin"), std::string(2048, '\x3C'));
    WriteFile(dir.File("socket"), "random");  // old contents: its verify fails
    const std::string script = "(" + Command("--simulate --sim-socket socket --chip ATMEL/ATMEGA8 --load fw.bin watch") +
                               ") & pid=$!; for i in $(seq 1 2000); do grep -q '已停止\\|#1' '" + dir.File("cli.out") +
                               "' 2> /dev/null && break; sleep 0.01; done; kill -TERM $pid; wait $pid";
    const int raw = std::system(script.c_str());
    ASSERT_TRUE(WIFEXITED(raw));
    EXPECT_EQ(WEXITSTATUS(raw), 1);
    const std::vector<std::string> lines = Lines(ReadFile(dir.File("cli.out")));
    ASSERT_EQ(lines.size(), 3u) << ReadFile(dir.File("cli.out"));
    EXPECT_EQ(lines[1].substr(0, lines[1].find(" (")), "失败 #1 ATMEL/ATMEGA8: 效验器件失败!");
    EXPECT_EQ(lines[2], "已停止: 成功 0, 失败 1");
}

}  // namespace
}  // namespace morsk::test
