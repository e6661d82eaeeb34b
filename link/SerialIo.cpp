// Reading, writing and queue handling on the open port, with the time-outs emulated by
// poll() against the monotonic clock. A vanished device ends every wait early.
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <thread>
#include <utility>

#include "SerialPort.h"
#include "SerialPortState.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr short kGone = POLLHUP | POLLERR | POLLNVAL;

bool isOpen(PortHandle handle) {
    return handle != nullptr && handle->fd >= 0;
}

Clock::time_point deadlineAfter(uint64_t ms) {
    return Clock::now() + milliseconds(std::min<uint64_t>(ms, INT_MAX));
}

// Whole milliseconds left, rounded up so a wait never spins on a zero time-out.
int msUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(left, 0, INT_MAX));
}

// Waits until `events` are possible on fd or the deadline passes; false on time-out or
// when the device is gone without offering `events`.
bool waitReady(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const int timeout = msUntil(deadline);
        if (timeout <= 0) {
            return false;
        }
        pollfd p{fd, events, 0};
        const int rc = poll(&p, 1, timeout);
        if (rc < 0 && errno == EINTR) {
            continue;
        }
        if (rc <= 0) {
            return false;
        }
        return (p.revents & events) != 0;
    }
}

bool peerGone(int fd) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, 0) > 0 && (p.revents & kGone) != 0;
}

uint64_t readBudgetMs(const PortTimeouts& t, size_t size) {
    return t.readTotalConstantMs + uint64_t{t.readTotalPerByteMs} * size;
}

uint64_t writeBudgetMs(const PortTimeouts& t, size_t size) {
    return t.writeTotalConstantMs + uint64_t{t.writeTotalPerByteMs} * size;
}

}  // namespace

size_t writePort(PortHandle handle, const uint8_t* data, size_t size) {
    if (!isOpen(handle) || data == nullptr) {
        return 0;
    }
    const auto deadline = deadlineAfter(writeBudgetMs(handle->timeouts, size));
    size_t done = 0;
    while (done < size) {
        const ssize_t n = write(handle->fd, data + done, size - done);
        if (n > 0) {
            done += static_cast<size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n == 0 || errno != EAGAIN) {
            break;  // EIO and the like: the device went away
        } else if (!waitReady(handle->fd, POLLOUT, deadline)) {
            break;
        }
    }
    return done;
}

// Gives up when the total budget is spent or, once bytes arrived, after an interval gap.
size_t readPort(PortHandle handle, uint8_t* data, size_t size) {
    if (!isOpen(handle) || data == nullptr) {
        return 0;
    }
    const PortTimeouts& t = handle->timeouts;
    const auto total = deadlineAfter(readBudgetMs(t, size));
    size_t got = 0;
    while (got < size) {
        const ssize_t n = read(handle->fd, data + got, size - got);
        if (n > 0) {
            got += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n == 0 || errno != EAGAIN) {
            break;  // hung up or failed: nothing more will come
        }
        auto deadline = total;
        if (got > 0) {
            deadline = std::min(deadline, deadlineAfter(t.readIntervalMs));
        }
        if (!waitReady(handle->fd, POLLIN, deadline)) {
            break;
        }
    }
    return got;
}

void purgePort(PortHandle handle) {
    if (isOpen(handle)) {
        tcflush(handle->fd, TCIOFLUSH);
    }
}

void discardRxBytes(PortHandle handle) {
    if (isOpen(handle)) {
        tcflush(handle->fd, TCIFLUSH);
    }
}

// A tty has no pending line errors to clear here: framing and parity errors arrive as
// bytes or are dropped by the driver.
uint32_t rxQueueLength(PortHandle handle) {
    int count = 0;
    if (!isOpen(handle) || ioctl(handle->fd, FIONREAD, &count) != 0 || count < 0) {
        return 0;
    }
    return static_cast<uint32_t>(count);
}

int portBaudRate(PortHandle handle) {
    return handle != nullptr ? handle->baudRate : 0;
}

namespace {
std::function<void()>& rxWaitHook() {
    static std::function<void()> hook;
    return hook;
}
}  // namespace

void setRxWaitHook(std::function<void()> hook) {
    rxWaitHook() = std::move(hook);
}

uint32_t waitForRxBytes(PortHandle handle, uint16_t wanted, uint32_t timeoutMs) {
    if (!isOpen(handle)) {
        return 0;
    }
    const auto deadline = Clock::now() + milliseconds(timeoutMs);
    for (;;) {
        const uint32_t count = rxQueueLength(handle);
        std::this_thread::sleep_for(milliseconds(2));
        if (count >= wanted || Clock::now() > deadline) {
            return count;
        }
        if (peerGone(handle->fd)) {
            return count;  // a hung-up device will send nothing more
        }
        if (const auto hook = rxWaitHook()) {  // a copy: the hook may replace itself
            hook();
        }
    }
}
