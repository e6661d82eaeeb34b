// Opening and closing the one serial port: exclusive, raw 8N1 at the caller's rate.
#include "SerialPort.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <optional>
#include <utility>

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

void releaseFd(int fd) {
    ioctl(fd, TIOCNXCL);  // so the next opener is not refused by our leftover flag
    close(fd);            // also drops the flock
}

// Another program holding the port fails the open: flock for cooperating programs,
// TIOCEXCL for those that open the tty without locking.
bool takeExclusive(int fd) {
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        return false;
    }
    return ioctl(fd, TIOCEXCL) == 0;
}

PortHandle openAt(const std::string& path, int baudRate) {
    const std::optional<speed_t> speed = speedConstant(baudRate);
    if (!speed) {
        return nullptr;
    }
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    if (!takeExclusive(fd) || !configureLine(fd, *speed)) {
        releaseFd(fd);
        return nullptr;
    }
    int dtr = TIOCM_DTR;
    ioctl(fd, TIOCMBIC, &dtr);  // DTR off; a pseudo-terminal refuses, which is fine
    tcflush(fd, TCIOFLUSH);
    return new SerialPort{fd, baudRate, PortTimeouts{}};
}

}  // namespace

// At most one port is open in the process: a port still open is closed first rather than
// leaked with its lock held.
PortHandle openSerialPort(int portNumber, int baudRate) {
    closeSerialPort();
    LinkSettings::portHandle = openAt(portPath(portNumber), baudRate);
    return LinkSettings::portHandle;
}

void closeSerialPort() {
    PortHandle handle = std::exchange(LinkSettings::portHandle, nullptr);
    if (handle == nullptr) {
        return;
    }
    releaseFd(handle->fd);
    delete handle;
}
