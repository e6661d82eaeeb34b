// Opening and closing the one serial port: exclusive, raw 8N1 at the caller's rate, and
// why an open failed.
#include "SerialPort.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <utility>

#include "PortLock.h"
#include "SerialPortState.h"

namespace {

std::optional<speed_t> speedConstant(int baudRate) {
    static constexpr std::pair<int, speed_t> kSpeeds[] = {
        {50, B50},           {75, B75},           {110, B110},         {134, B134},
        {150, B150},         {200, B200},         {300, B300},         {600, B600},
        {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
        {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
        {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
        {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
        {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
        {3500000, B3500000}, {4000000, B4000000},
    };
    for (const auto& [rate, constant] : kSpeeds) {
        if (rate == baudRate) {
            return constant;
        }
    }
    return std::nullopt;
}

// Raw bytes, 8N1, no flow control, modem lines ignored. VMIN 1 with O_NONBLOCK makes an
// empty queue read as EAGAIN, so a read of 0 bytes can only mean the device hung up.
void makeRaw(termios& tio) {
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR |
                                          ICRNL | IXON | IXOFF | IXANY);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
}

// tcsetattr succeeds when any part was applied, so read the settings back.
bool configureLine(int fd, speed_t speed) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        return false;
    }
    makeRaw(tio);
    if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0) {
        return false;
    }
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        return false;
    }
    termios applied{};
    return tcgetattr(fd, &applied) == 0 && cfgetospeed(&applied) == speed &&
           (applied.c_cflag & CSIZE) == CS8 && (applied.c_cflag & PARENB) == 0;
}

PortOpenError& lastError() {
    static PortOpenError error;
    return error;
}

// Records why the open failed; returns null for the caller to pass on.
PortHandle fail(PortFailure reason, int systemError = 0) {
    lastError().reason = reason;
    lastError().systemError = systemError;
    return nullptr;
}

PortFailure openFailure(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case ENXIO:
        case ENODEV:
        case EIO:  // a ttyS node without a UART behind it
            return PortFailure::NoSuchDevice;
        case EACCES:
        case EPERM:
        case EROFS:
            return PortFailure::PermissionDenied;
        case EBUSY:  // another program put the terminal in exclusive mode
            return PortFailure::Busy;
        default:
            return PortFailure::Other;
    }
}

// Everything an open took, given back in reverse; the terminal's settings are restored by
// the caller before, so a failed open leaves no trace on the port.
struct Claim {
    std::string lockFile;
    int fd = -1;

    void undo() {
        if (fd >= 0) {
            close(fd);  // also drops the flock
            fd = -1;
        }
        releaseLockFile(lockFile);
        lockFile.clear();
    }
};

// The lock file first, so that a port another program announced is not even opened (an
// open raises DTR on a real line); then the flock, which the kernel drops with its holder.
PortHandle openAt(const std::string& path, int baudRate) {
    const std::optional<speed_t> speed = speedConstant(baudRate);
    if (!speed) {
        return fail(PortFailure::SettingsRejected);
    }
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr) {
        const int error = errno;
        return fail(openFailure(error), error);
    }
    const std::string device = resolved;
    if (device != path) {
        lastError().device = device;
    }
    Claim claim;
    const LockAttempt lock = takeLockFile(device);
    if (lock.outcome == LockAttempt::Outcome::Held) {
        lastError().holderPid = lock.holder;
        lastError().lockFile = lock.lockFile;
        return fail(PortFailure::Busy);
    }
    if (lock.outcome == LockAttempt::Outcome::Taken) {
        claim.lockFile = lock.lockFile;
    }
    claim.fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (claim.fd < 0) {
        const int error = errno;
        claim.undo();
        if (error == EBUSY) {
            lastError().holderPid = flockHolder(device);  // if it locks as well
        }
        return fail(openFailure(error), error);
    }
    if (flock(claim.fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        const bool busy = error == EWOULDBLOCK;
        lastError().holderPid = busy ? flockHolder(device) : 0;
        claim.undo();
        return fail(busy ? PortFailure::Busy : PortFailure::Other, error);
    }
    termios original{};
    if (tcgetattr(claim.fd, &original) != 0) {
        const int error = errno;  // ENOTTY: not a terminal at all
        claim.undo();
        return fail(PortFailure::SettingsRejected, error);
    }
    if (!configureLine(claim.fd, *speed)) {
        const int error = errno;
        tcsetattr(claim.fd, TCSANOW, &original);
        claim.undo();
        return fail(PortFailure::SettingsRejected, error);
    }
    int dtr = TIOCM_DTR;
    ioctl(claim.fd, TIOCMBIC, &dtr);  // DTR off; a pseudo-terminal refuses, which is fine
    tcflush(claim.fd, TCIOFLUSH);
    auto* port = new SerialPort;
    port->fd = claim.fd;
    port->baudRate = baudRate;
    port->lockFile = std::move(claim.lockFile);
    return port;
}

}  // namespace

// At most one port is open in the process: a port still open is closed first rather than
// leaked with its lock held.
PortHandle openSerialPort(int portNumber, int baudRate) {
    closeSerialPort();
    lastError() = PortOpenError{};
    lastError().portNumber = portNumber;
    lastError().path = portPath(portNumber);
    lastError().baudRate = baudRate;
    LinkSettings::portHandle = openAt(lastError().path, baudRate);
    if (LinkSettings::portHandle != nullptr) {
        lastError().reason = PortFailure::None;
    }
    return LinkSettings::portHandle;
}

const PortOpenError& lastPortOpenError() {
    return lastError();
}

void closeSerialPort() {
    PortHandle handle = std::exchange(LinkSettings::portHandle, nullptr);
    if (handle == nullptr) {
        return;
    }
    close(handle->fd);  // also drops the flock
    releaseLockFile(handle->lockFile);
    delete handle;
}
