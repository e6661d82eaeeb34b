// What the gateway tests need to run the real engines beside it on localhost: free ports,
// an HTTP scrape, engine programs started and stopped by the test, waiting for a condition
// with a generous deadline (never a timed assertion), and an MQTT subscriber.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace engine {

using namespace std::chrono_literals;

inline int freePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size);
    close(fd);
    return ntohs(a.sin_port);
}

// GET http://127.0.0.1:port/path; the body, or nullopt when nothing answered.
inline std::optional<std::string> httpGet(int port, const std::string& path) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    timeval limit{10, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        close(fd);
        return std::nullopt;
    }
    const std::string request =
        "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    if (write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size())) {
        close(fd);
        return std::nullopt;
    }
    std::string response;
    char buffer[8192];
    ssize_t n = 0;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) {
        response.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    const size_t body = response.find("\r\n\r\n");
    if (response.rfind("HTTP/1.", 0) != 0 || response.find(" 200 ") == std::string::npos ||
        body == std::string::npos) {
        return std::nullopt;
    }
    return response.substr(body + 4);
}

// The program on the PATH, or empty.
inline std::string findProgram(const std::string& name) {
    for (const char* dir : {"/usr/sbin", "/usr/bin", "/usr/local/bin", "/usr/local/sbin"}) {
        const std::string path = std::string(dir) + "/" + name;
        if (access(path.c_str(), X_OK) == 0) {
            return path;
        }
    }
    return {};
}

// A program the test started; SIGTERM and a wait when it goes out of scope.
class Process {
  public:
    Process() = default;
    Process(const std::vector<std::string>& argv, const std::string& output) {
        start(argv, output);
    }
    ~Process() { stop(); }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    void start(const std::vector<std::string>& argv, const std::string& output) {
        m_pid = fork();
        if (m_pid == 0) {
            const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(fd, 1);
            dup2(fd, 2);
            std::vector<char*> args;
            for (const auto& a : argv) {
                args.push_back(const_cast<char*>(a.c_str()));
            }
            args.push_back(nullptr);
            execv(args[0], args.data());
            _exit(127);
        }
    }
    void stop() {
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            int status = 0;
            waitpid(m_pid, &status, 0);
            m_pid = -1;
        }
    }
    bool running() const { return m_pid > 0; }

  private:
    pid_t m_pid = -1;
};

// Waits until `done` holds, checking every 100 ms; false after `limit`.
inline bool eventually(const std::function<bool()>& done,
                       std::chrono::steady_clock::duration limit = 60s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(100ms);
    }
    return true;
}

// A fresh directory for one test's files.
inline std::filesystem::path scratchDir(const std::string& name) {
    auto dir = std::filesystem::temp_directory_path() /
               ("korval-" + name + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path) << text;
}

// The exit status of `command` run by the shell, with its output in `output`.
inline int shell(const std::string& command, std::string& output) {
    output.clear();
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.append(buffer, n);
    }
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A value of one series in an exposition text: the line that starts with `series` + ' '.
inline std::optional<double> sampleValue(const std::string& text, const std::string& series) {
    const std::string start = series + " ";
    size_t at = text.rfind("\n" + start) != std::string::npos ? text.rfind("\n" + start) + 1
                                                              : std::string::npos;
    if (at == std::string::npos && text.rfind(start, 0) == 0) {
        at = 0;
    }
    if (at == std::string::npos) {
        return std::nullopt;
    }
    return std::strtod(text.c_str() + at + start.size(), nullptr);
}

}  // namespace engine
