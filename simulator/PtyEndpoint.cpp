// Pseudo-terminal set-up for the simulated device.
#include "PtyEndpoint.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

// Raw bytes both ways: no echo, no line editing, no translation.
bool makeRaw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        return false;
    }
    cfmakeraw(&settings);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

bool openMaster(int& master, std::string& slavePath) {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) {
        return false;
    }
    if (grantpt(master) != 0 || unlockpt(master) != 0) {
        return false;
    }
    const char* name = ptsname(master);
    if (name == nullptr) {
        return false;
    }
    slavePath = name;
    const int flags = fcntl(master, F_GETFL);
    return flags >= 0 && fcntl(master, F_SETFL, flags | O_NONBLOCK) == 0 &&
           fcntl(master, F_SETFD, FD_CLOEXEC) == 0;
}

}  // namespace

PtyEndpoint::~PtyEndpoint() {
    close();
}

bool PtyEndpoint::open() {
    close();
    bool ok = openMaster(m_master, m_slavePath);
    if (ok) {
        m_ownSlave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        ok = m_ownSlave >= 0 && makeRaw(m_ownSlave);
    }
    if (!ok) {
        const int error = errno;
        close();
        errno = error;
    }
    return ok;
}

void PtyEndpoint::close() {
    if (m_ownSlave >= 0) {
        ::close(m_ownSlave);
        m_ownSlave = -1;
    }
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}
