// The korval-device program as a separate process: a third-party Modbus master (mbpoll)
// reads it through its --link path, it stops cleanly on SIGTERM (telling what it answered
// and spoiled), and it refuses bad input.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "LinkSettings.h"
#include "ModbusExchange.h"
#include "SerialPort.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kDevice = KORVAL_DEVICE_EXE;
constexpr const char* kMbpoll = "/usr/bin/mbpoll";

// A child process whose stdout and stderr come back through one pipe.
struct Child {
    pid_t pid = -1;
    int output = -1;
};

Child spawn(const std::vector<std::string>& argv) {
    int fds[2];
    if (pipe(fds) != 0) {
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        dup2(fds[1], STDERR_FILENO);
        close(fds[0]);
        close(fds[1]);
        std::vector<char*> args;
        for (const auto& arg : argv) {
            args.push_back(const_cast<char*>(arg.c_str()));
        }
        args.push_back(nullptr);
        execv(args[0], args.data());
        _exit(127);
    }
    close(fds[1]);
    return Child{pid, fds[0]};
}

// Reads until `stopAt` appears (empty: until end of output) or the time limit passes.
std::string readOutput(int fd, const std::string& stopAt, std::chrono::seconds limit) {
    std::string text;
    const auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline && (stopAt.empty() || text.find(stopAt) == std::string::npos)) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) {
            continue;
        }
        char buffer[4096];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0) {
            break;
        }
        text.append(buffer, static_cast<size_t>(n));
    }
    return text;
}

// The exit status, or -1 when the child did not end within the limit (it is then killed).
int waitExit(pid_t pid, std::chrono::seconds limit) {
    const auto deadline = Clock::now() + limit;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        usleep(10'000);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

struct RunResult {
    int status;
    std::string output;
};

RunResult runToEnd(const std::vector<std::string>& argv) {
    const Child child = spawn(argv);
    std::string output = readOutput(child.output, "", std::chrono::seconds(20));
    close(child.output);
    return RunResult{waitExit(child.pid, std::chrono::seconds(5)), output};
}

std::string tempPath(const char* name) {
    return ::testing::TempDir() + name + std::to_string(getpid());
}

bool isSymlink(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

size_t countLines(const std::string& text, const std::string& prefix) {
    size_t count = 0;
    for (size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at + 1)) {
        ++count;
    }
    return count;
}

TEST(DeviceProgramTest, MbpollReadsTheLiveBlockThroughTheLinkAndSigtermStopsCleanly) {
    ASSERT_EQ(access(kMbpoll, X_OK), 0)
        << "mbpoll is not installed (apt-get install mbpoll); this test needs it";
    const std::string link = tempPath("korval-device-link");
    symlink("/nonexistent-stale-target", link.c_str());  // left over by an earlier run

    const Child device = spawn({kDevice, "--link", link, "--records", "5"});
    const std::string banner = readOutput(device.output, "\n", std::chrono::seconds(10));
    ASSERT_NE(banner.find("korval-device: serving address 1 on /dev/"), std::string::npos)
        << banner;
    ASSERT_TRUE(isSymlink(link));

    const auto poll = runToEnd({kMbpoll, "-m", "rtu", "-a", "1", "-b", "9600", "-P", "none", "-t",
                                "4", "-r", "1", "-c", "121", "-1", link});
    EXPECT_EQ(poll.status, 0) << poll.output;
    EXPECT_EQ(countLines(poll.output, "\n["), 121u) << poll.output;
    EXPECT_NE(poll.output.find("[121]:"), std::string::npos);

    ASSERT_EQ(kill(device.pid, SIGTERM), 0);
    EXPECT_EQ(waitExit(device.pid, std::chrono::seconds(5)), 0);
    close(device.output);
    EXPECT_FALSE(isSymlink(link)) << "the link is removed at exit";
    unlink(link.c_str());
}

TEST(DeviceProgramTest, SigintStopsAnotherAddressCleanlyAndItAnswersOnlyThere) {
    const Child device = spawn({kDevice, "--address", "17", "--pace", "19200"});
    const std::string banner = readOutput(device.output, "\n", std::chrono::seconds(10));
    const auto at = banner.find(" on ");
    ASSERT_NE(banner.find("serving address 17"), std::string::npos) << banner;
    ASSERT_NE(at, std::string::npos);
    const std::string path = banner.substr(at + 4, banner.find('\n') - at - 4);

    if (access(kMbpoll, X_OK) == 0) {
        const auto poll = runToEnd({kMbpoll, "-m", "rtu", "-a", "17", "-b", "19200", "-P", "none",
                                    "-t", "4", "-r", "81", "-c", "1", "-1", path});
        EXPECT_EQ(poll.status, 0) << poll.output;
        const auto elsewhere =
            runToEnd({kMbpoll, "-m", "rtu", "-a", "1", "-b", "19200", "-P", "none", "-t", "4", "-r",
                      "81", "-c", "1", "-o", "0.3", "-1", path});
        EXPECT_NE(elsewhere.status, 0) << elsewhere.output;
    }
    ASSERT_EQ(kill(device.pid, SIGINT), 0);
    EXPECT_EQ(waitExit(device.pid, std::chrono::seconds(5)), 0);
    close(device.output);
}

TEST(DeviceProgramTest, RandomFaultsFailTheExchangesTheyHitAndAreCountedAtExit) {
    const Child device = spawn({kDevice, "--fault-rate", "100", "--fault-seed", "3"});
    const std::string banner = readOutput(device.output, "\n", std::chrono::seconds(10));
    const auto at = banner.find(" on ");
    ASSERT_NE(at, std::string::npos) << banner;
    setPortPath(1, banner.substr(at + 4, banner.find('\n') - at - 4));
    LinkSettings::deviceAddress = 1;
    ASSERT_NE(openSerialPort(1, 9600), nullptr);
    for (int i = 0; i < 3; ++i) {
        Bytes reply;
        EXPECT_EQ(ModbusExchange::exchange(readHoldingRequest(0x0050, 1), 7, 150, reply),
                  ExchangeResult::Failed);
    }
    closeSerialPort();
    clearPortPaths();
    ASSERT_EQ(kill(device.pid, SIGTERM), 0);
    const std::string report = readOutput(device.output, "", std::chrono::seconds(5));
    EXPECT_EQ(waitExit(device.pid, std::chrono::seconds(5)), 0);
    close(device.output);
    EXPECT_NE(report.find("answered 3 requests, 3 with an injected fault"), std::string::npos)
        << report;
}

TEST(DeviceProgramTest, BadCommandLinesExitWithStatusTwoAndOneLineOfExplanation) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {kDevice, "--bogus"}, {kDevice, "--address", "300"}, {kDevice, "--pace"}}) {
        const auto result = runToEnd(args);
        EXPECT_EQ(result.status, 2) << args[1];
        EXPECT_NE(result.output.find("korval-device: "), std::string::npos) << result.output;
        EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 1) << result.output;
    }
    const auto help = runToEnd({kDevice, "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("--link PATH"), std::string::npos);
}

TEST(DeviceProgramTest, TheLinkNeverReplacesARegularFile) {
    const std::string file = tempPath("korval-device-file");
    std::ofstream(file) << "keep me";
    const auto result = runToEnd({kDevice, "--link", file});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("not a symbolic link"), std::string::npos) << result.output;
    std::ifstream in(file);
    std::string content;
    std::getline(in, content);
    EXPECT_EQ(content, "keep me");
    unlink(file.c_str());
}

}  // namespace
