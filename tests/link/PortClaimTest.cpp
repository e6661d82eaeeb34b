// Who may have the port: flock and UUCP lock files, a holder killed outright, a failed open
// that must leave the port as it was, and the reasons a failed open reports.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "PortLock.h"
#include "PtyPortTest.h"

namespace {

namespace fs = std::filesystem;

// A child process that stays alive until killed: a holder whose process id is real.
class LiveProcess {
  public:
    LiveProcess() {
        m_pid = fork();
        if (m_pid == 0) {
            for (;;) {
                pause();
            }
        }
    }
    ~LiveProcess() { stop(); }
    pid_t pid() const { return m_pid; }
    void stop() {
        if (m_pid > 0) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }

  private:
    pid_t m_pid = -1;
};

// The process id of a process that has ended.
pid_t deadPid() {
    const pid_t pid = fork();
    if (pid == 0) {
        _exit(0);
    }
    waitpid(pid, nullptr, 0);
    return pid;
}

// Whether another program could take the flock now.
bool flockFree(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOCTTY | O_CLOEXEC);
    const bool free = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (fd >= 0) {
        close(fd);
    }
    return free;
}

bool exclusiveModeSet(int fd) {
    int set = -1;
    return ioctl(fd, TIOCGEXCL, &set) == 0 && set != 0;
}

void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

std::string asciiPid(pid_t pid) {
    char text[16];
    std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(pid));
    return text;
}

// The serial port on a pty, with its lock files in a directory of the test's own.
class PortClaim : public PtyPortTest {
  protected:
    void SetUp() override {
        PtyPortTest::SetUp();
        char dir[] = "/tmp/korval-locks-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        m_lockDir = dir;
        setPortLockDirectory(m_lockDir);
        lockFile = lockFilePath(pty.slavePath());
    }
    void TearDown() override {
        PtyPortTest::TearDown();
        setPortLockDirectory("/var/lock");
        fs::remove_all(m_lockDir);
    }

    // Opens the port in a child process, which then waits to be killed.
    pid_t holdInChild() {
        int ready[2];
        if (pipe(ready) != 0) {
            return -1;
        }
        const pid_t child = fork();
        if (child == 0) {
            close(ready[0]);
            const char opened = openPort() != nullptr ? '1' : '0';
            [[maybe_unused]] const ssize_t n = write(ready[1], &opened, 1);
            for (;;) {
                pause();
            }
        }
        close(ready[1]);
        char opened = '0';
        const bool told = read(ready[0], &opened, 1) == 1;
        close(ready[0]);
        return told && opened == '1' ? child : -1;
    }

    std::string m_lockDir;
    std::string lockFile;
};

TEST_F(PortClaim, AKilledHolderLeavesThePortUsable) {
    for (const bool withLockFiles : {true, false}) {
        setPortLockDirectory(withLockFiles ? m_lockDir : "");
        const pid_t child = holdInChild();
        ASSERT_GT(child, 0);
        EXPECT_EQ(openPort(), nullptr);  // held: refused, and the holder is named
        EXPECT_EQ(lastPortOpenError().reason, PortFailure::Busy);
        EXPECT_EQ(lastPortOpenError().holderPid, child);

        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        // Nothing of the dead holder is left on the terminal itself: exclusive mode would
        // refuse every later open by a user without CAP_SYS_ADMIN.
        const int probe = open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ASSERT_GE(probe, 0);
        EXPECT_FALSE(exclusiveModeSet(probe));
        close(probe);
        ASSERT_NE(openPort(), nullptr) << withLockFiles;
        if (withLockFiles) {
            EXPECT_EQ(lockFileOwner(lockFile), getpid());  // the stale lock was replaced
        }
        closeSerialPort();
        EXPECT_FALSE(fs::exists(lockFile));
    }
}

TEST_F(PortClaim, AFailedOpenLeavesAnotherHoldersClaimAsItWas) {
    // An older program: flock, exclusive mode on the terminal, its own line settings.
    const int other = open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    ASSERT_EQ(ioctl(other, TIOCEXCL), 0);
    termios before{};
    ASSERT_EQ(tcgetattr(other, &before), 0);
    cfsetspeed(&before, B2400);
    ASSERT_EQ(tcsetattr(other, TCSANOW, &before), 0);

    EXPECT_EQ(openPort(19200), nullptr);
    EXPECT_EQ(lastPortOpenError().reason, PortFailure::Busy);
    EXPECT_TRUE(exclusiveModeSet(other));
    termios after{};
    ASSERT_EQ(tcgetattr(other, &after), 0);
    EXPECT_EQ(cfgetospeed(&after), B2400);
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(after.c_lflag, before.c_lflag);
    EXPECT_FALSE(fs::exists(lockFile));  // ours was taken back
    close(other);
}

TEST_F(PortClaim, ALiveProgramsLockFileMakesThePortBusy) {
    LiveProcess holder;
    int32_t binary = holder.pid();
    const std::string forms[] = {asciiPid(holder.pid()), std::to_string(holder.pid()),
                                 std::string(reinterpret_cast<const char*>(&binary), 4)};
    for (const std::string& content : forms) {
        writeFile(lockFile, content);
        EXPECT_EQ(openPort(), nullptr);
        const PortOpenError& error = lastPortOpenError();
        EXPECT_EQ(error.reason, PortFailure::Busy);
        EXPECT_EQ(error.holderPid, holder.pid());
        EXPECT_EQ(error.lockFile, lockFile);
        EXPECT_TRUE(flockFree(pty.slavePath()));  // nothing of ours is left on it
        std::ifstream kept(lockFile, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), content);
    }
    holder.stop();  // now the same file is a leftover
    ASSERT_NE(openPort(), nullptr);
    EXPECT_EQ(lockFileOwner(lockFile), getpid());
}

TEST_F(PortClaim, StaleLockFilesAreReplaced) {
    const std::string stale[] = {asciiPid(deadPid()), asciiPid(getpid()), "garbage\n", ""};
    for (const std::string& content : stale) {
        writeFile(lockFile, content);
        if (lockFileOwner(lockFile) == 0) {
            // Names no process: a leftover only once it is older than a writer could be.
            EXPECT_EQ(openPort(), nullptr) << content;
            EXPECT_EQ(lastPortOpenError().holderPid, 0);
            const timeval old[2] = {{time(nullptr) - 60, 0}, {time(nullptr) - 60, 0}};
            ASSERT_EQ(utimes(lockFile.c_str(), old), 0);
        }
        ASSERT_NE(openPort(), nullptr) << content;
        std::ifstream ours(lockFile);
        std::string text;
        std::getline(ours, text);
        EXPECT_EQ(text + "\n", asciiPid(getpid()));  // HDB form: ten columns and a newline
        closeSerialPort();
        EXPECT_FALSE(fs::exists(lockFile));
    }
    EXPECT_TRUE(fs::is_empty(m_lockDir));  // no temporary file left behind either
}

TEST_F(PortClaim, WithoutALockDirectoryFlockAloneGuards) {
    for (const std::string& dir : {m_lockDir + "/missing", std::string("/proc/version")}) {
        setPortLockDirectory(dir);
        ASSERT_NE(openPort(), nullptr) << dir;
        EXPECT_FALSE(flockFree(pty.slavePath()));
        closeSerialPort();
        EXPECT_TRUE(flockFree(pty.slavePath()));
    }
}

TEST_F(PortClaim, ClosingLeavesAnotherProgramsLockFileAlone) {
    ASSERT_NE(openPort(), nullptr);
    LiveProcess other;
    writeFile(lockFile, asciiPid(other.pid()));  // someone removed ours and took it over
    closeSerialPort();
    EXPECT_EQ(lockFileOwner(lockFile), other.pid());
}

TEST_F(PortClaim, FailuresSayWhyAndWhere) {
    setPortPath(5, "/dev/korval-no-such-port");
    EXPECT_EQ(openSerialPort(5, 9600), nullptr);
    EXPECT_EQ(lastPortOpenError().reason, PortFailure::NoSuchDevice);
    EXPECT_EQ(lastPortOpenError().portNumber, 5);
    EXPECT_EQ(lastPortOpenError().path, "/dev/korval-no-such-port");

    EXPECT_EQ(openPort(12345), nullptr);
    EXPECT_EQ(lastPortOpenError().reason, PortFailure::SettingsRejected);
    EXPECT_EQ(lastPortOpenError().baudRate, 12345);

    // Through a symbolic link, as /dev/serial/by-id names are: the real device is named too.
    const std::string link = m_lockDir + "/by-id-adapter";
    ASSERT_EQ(symlink(pty.slavePath().c_str(), link.c_str()), 0);
    setPortPath(6, link);
    const int other = open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(openSerialPort(6, 9600), nullptr);
    EXPECT_EQ(lastPortOpenError().reason, PortFailure::Busy);
    EXPECT_EQ(lastPortOpenError().device, pty.slavePath());
    EXPECT_EQ(lastPortOpenError().holderPid, getpid());  // found in /proc/locks
    close(other);

    ASSERT_NE(openSerialPort(6, 9600), nullptr);
    EXPECT_EQ(lastPortOpenError().reason, PortFailure::None);
}

TEST_F(PortClaim, APlainFileIsNoTerminal) {
    const std::string path = m_lockDir + "/plain";
    writeFile(path, "x");
    setPortPath(7, path);
    EXPECT_EQ(openSerialPort(7, 9600), nullptr);
    EXPECT_EQ(lastPortOpenError().reason, PortFailure::SettingsRejected);
    EXPECT_EQ(lastPortOpenError().systemError, ENOTTY);
    EXPECT_TRUE(flockFree(path));
}

TEST_F(PortClaim, PermissionDeniedIsToldApart) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root opens any file whatever its mode";
    }
    const std::string path = m_lockDir + "/locked-down";
    writeFile(path, "x");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    setPortPath(7, path);
    EXPECT_EQ(openSerialPort(7, 9600), nullptr);
    EXPECT_EQ(lastPortOpenError().reason, PortFailure::PermissionDenied);
    EXPECT_EQ(lastPortOpenError().systemError, EACCES);
}

TEST(PortErrorDetails, NameThePortThePathAndTheRemedy) {
    PortOpenError error;
    error.portNumber = 2;
    error.path = "/dev/serial/by-id/usb-FTDI";
    error.device = "/dev/ttyUSB0";

    error.reason = PortFailure::NoSuchDevice;
    const std::string missing = portOpenErrorDetails(error);
    EXPECT_NE(missing.find("COM2"), std::string::npos);
    EXPECT_NE(missing.find("/dev/serial/by-id/usb-FTDI"), std::string::npos);
    EXPECT_NE(missing.find("/dev/ttyUSB0"), std::string::npos);
    EXPECT_NE(missing.find("没有这个设备"), std::string::npos);

    error.reason = PortFailure::PermissionDenied;
    const std::string denied = portOpenErrorDetails(error);
    EXPECT_NE(denied.find("dialout"), std::string::npos);
    EXPECT_NE(denied.find("sudo usermod -aG dialout $USER"), std::string::npos);
    EXPECT_NE(denied.find("重新登录"), std::string::npos);

    error.reason = PortFailure::Busy;
    EXPECT_NE(portOpenErrorDetails(error).find("另一个程序占用"), std::string::npos);
    error.holderPid = 4321;
    error.lockFile = "/var/lock/LCK..ttyUSB0";
    const std::string busy = portOpenErrorDetails(error);
    EXPECT_NE(busy.find("4321"), std::string::npos);
    EXPECT_NE(busy.find("/var/lock/LCK..ttyUSB0"), std::string::npos);

    error.reason = PortFailure::SettingsRejected;
    error.baudRate = 12345;
    EXPECT_NE(portOpenErrorDetails(error).find("12345"), std::string::npos);
}

TEST(PortLockNames, FollowTheUucpConvention) {
    setPortLockDirectory("/var/lock");
    EXPECT_EQ(lockFilePath("/dev/ttyUSB0"), "/var/lock/LCK..ttyUSB0");
    EXPECT_EQ(lockFilePath("/dev/ttyS0"), "/var/lock/LCK..ttyS0");
    EXPECT_EQ(lockFilePath("/dev/pts/7"), "/var/lock/LCK..7");
}

}  // namespace
