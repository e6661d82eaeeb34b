// UUCP lock files and the flock holder of a port. A lock file is written in full under a
// temporary name and then linked into place, so no reader ever sees it half written.
#include "PortLock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <utility>

namespace {

// A lock file that names no process may be one another program is still writing; only
// after this long is it taken for a leftover.
constexpr time_t kUnreadableLockGraceSeconds = 5;
// Another program may replace a stale lock at the same moment; give up after this many tries.
constexpr int kLockAttempts = 3;

std::string& lockDirectory() {
    static std::string directory = "/var/lock";
    return directory;
}

// ASCII (HDB UUCP: ten columns and a newline, leading blanks allowed) or, in files of
// exactly four bytes that are not ASCII digits, the process id in binary.
pid_t parsePid(const char* text, size_t size) {
    if (size == 4) {
        bool ascii = true;
        for (size_t i = 0; i < size; ++i) {
            const char c = text[i];
            ascii = ascii && (c == ' ' || c == '\n' || (c >= '0' && c <= '9'));
        }
        if (!ascii) {
            int32_t binary = 0;
            std::memcpy(&binary, text, sizeof binary);
            return binary > 0 ? binary : 0;
        }
    }
    size_t i = 0;
    while (i < size && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    long long pid = 0;
    const size_t first = i;
    for (; i < size && text[i] >= '0' && text[i] <= '9'; ++i) {
        pid = pid * 10 + (text[i] - '0');
        if (pid > 0x7FFFFFFF) {
            return 0;
        }
    }
    return i > first ? static_cast<pid_t>(pid) : 0;
}

enum class LockState { Missing, Live, Stale };

struct Inspection {
    LockState state = LockState::Missing;
    pid_t holder = 0;
};

bool processAlive(pid_t pid) {
    return kill(pid, 0) == 0 || errno == EPERM;  // EPERM: alive, owned by someone else
}

Inspection inspect(const std::string& lockFile) {
    const int fd = open(lockFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        // Present but unreadable, or a link where a file belongs: held, by whom we cannot tell.
        const bool present = errno == EACCES || errno == ELOOP;
        return present ? Inspection{LockState::Live, 0} : Inspection{};
    }
    char text[64];
    const ssize_t n = read(fd, text, sizeof text);
    struct stat st {};
    const bool haveStat = fstat(fd, &st) == 0;
    close(fd);
    const pid_t pid = n > 0 ? parsePid(text, static_cast<size_t>(n)) : 0;
    if (pid > 0) {
        // A lock naming this process is a leftover: it holds at most one port, and releases
        // it before opening another.
        const bool live = pid != getpid() && processAlive(pid);
        return {live ? LockState::Live : LockState::Stale, pid};
    }
    const bool old = haveStat && time(nullptr) - st.st_mtime > kUnreadableLockGraceSeconds;
    return {old ? LockState::Stale : LockState::Live, 0};
}

bool writePidFile(const std::string& path, pid_t pid) {
    unlink(path.c_str());  // a leftover of an earlier process with the same id
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) {
        return false;
    }
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(pid));
    const bool written = write(fd, text, static_cast<size_t>(length)) == length;
    if (close(fd) != 0 || !written) {
        unlink(path.c_str());
        return false;
    }
    return true;
}

}  // namespace

void setPortLockDirectory(std::string directory) {
    lockDirectory() = std::move(directory);
}

std::string portLockDirectory() {
    return lockDirectory();
}

std::string lockFilePath(const std::string& device) {
    const size_t slash = device.find_last_of('/');
    const std::string name = slash == std::string::npos ? device : device.substr(slash + 1);
    return portLockDirectory() + "/LCK.." + name;
}

pid_t lockFileOwner(const std::string& lockFile) {
    const int fd = open(lockFile.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return 0;
    }
    char text[64];
    const ssize_t n = read(fd, text, sizeof text);
    close(fd);
    return n > 0 ? parsePid(text, static_cast<size_t>(n)) : 0;
}

LockAttempt takeLockFile(const std::string& device) {
    using Outcome = LockAttempt::Outcome;
    if (portLockDirectory().empty()) {
        return {};
    }
    const std::string lockFile = lockFilePath(device);
    const std::string temp = portLockDirectory() + "/LTMP." + std::to_string(getpid());
    // Where no lock file can be written, an existing one is still honoured.
    const bool writable = writePidFile(temp, getpid());
    LockAttempt result{Outcome::Held, lockFile, 0};
    for (int attempt = 0; attempt < kLockAttempts; ++attempt) {
        if (writable && link(temp.c_str(), lockFile.c_str()) == 0) {
            result = {Outcome::Taken, lockFile, 0};
            break;
        }
        if (writable && errno != EEXIST) {
            result.outcome = Outcome::Unusable;
            break;
        }
        const Inspection found = inspect(lockFile);
        result.holder = found.holder;
        if (found.state == LockState::Live) {
            break;
        }
        if (!writable) {
            result.outcome = Outcome::Unusable;
            break;
        }
        if (found.state == LockState::Stale && unlink(lockFile.c_str()) != 0 && errno != ENOENT) {
            result.outcome = Outcome::Unusable;  // a leftover we may not remove
            break;
        }
    }
    if (writable) {
        unlink(temp.c_str());
    }
    if (result.outcome == Outcome::Unusable) {
        result.lockFile.clear();
    }
    return result;
}

void releaseLockFile(const std::string& lockFile) {
    if (!lockFile.empty() && lockFileOwner(lockFile) == getpid()) {
        unlink(lockFile.c_str());
    }
}

pid_t flockHolder(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        return 0;
    }
    std::ifstream locks("/proc/locks");
    std::string line;
    // "1: FLOCK  ADVISORY  WRITE 1234 00:19:3 0 EOF"; waiting requests carry a "->".
    while (std::getline(locks, line)) {
        std::istringstream fields(line);
        std::string id, type, mode, access, where;
        long long pid = 0;
        if (!(fields >> id >> type) || type != "FLOCK" ||
            !(fields >> mode >> access >> pid >> where)) {
            continue;
        }
        unsigned devMajor = 0, devMinor = 0;
        unsigned long long inode = 0;
        if (std::sscanf(where.c_str(), "%x:%x:%llu", &devMajor, &devMinor, &inode) == 3 &&
            devMajor == major(st.st_dev) && devMinor == minor(st.st_dev) && inode == st.st_ino &&
            pid > 0) {
            return static_cast<pid_t>(pid);
        }
    }
    return 0;
}
