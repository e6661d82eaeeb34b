// Pseudo-terminal for the serial tests, opened with posix_openpt (no extra library).
#include "PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

PtyPair::PtyPair() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        closeMaster();
        return;
    }
    const char* name = ptsname(m_master);
    if (name == nullptr) {
        closeMaster();
        return;
    }
    m_slavePath = name;
}

PtyPair::~PtyPair() {
    closeMaster();
}

void PtyPair::send(const Bytes& bytes) {
    size_t done = 0;
    while (m_master >= 0 && done < bytes.size()) {
        const ssize_t n = write(m_master, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        done += static_cast<size_t>(n);
    }
}

Bytes PtyPair::receive(size_t count, std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    Bytes got;
    while (m_master >= 0 && got.size() < count) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd p{m_master, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0 || (p.revents & POLLIN) == 0) {
            // EIO while no slave is open shows as POLLHUP; keep waiting for one.
            usleep(1000);
            continue;
        }
        uint8_t buffer[512];
        const ssize_t n = read(m_master, buffer, std::min(sizeof buffer, count - got.size()));
        if (n > 0) {
            got.insert(got.end(), buffer, buffer + n);
        }
    }
    return got;
}

void PtyPair::closeMaster() {
    if (m_master >= 0) {
        close(m_master);
        m_master = -1;
    }
}
