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
#include <ctime>
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
    size_t got = std::min(size, handle->held.size());
    std::copy_n(handle->held.begin(), got, data);
    handle->held.erase(handle->held.begin(),
                       handle->held.begin() + static_cast<std::ptrdiff_t>(got));
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
        handle->held.clear();
        tcflush(handle->fd, TCIOFLUSH);
    }
}

void discardRxBytes(PortHandle handle) {
    if (isOpen(handle)) {
        handle->held.clear();
        tcflush(handle->fd, TCIFLUSH);
    }
}

void takeRxBytes(PortHandle handle, std::vector<uint8_t>& into) {
    if (!isOpen(handle)) {
        return;
    }
    into.insert(into.end(), handle->held.begin(), handle->held.end());
    handle->held.clear();
    uint8_t chunk[256];
    for (;;) {
        const ssize_t n = read(handle->fd, chunk, sizeof chunk);
        if (n > 0) {
            into.insert(into.end(), chunk, chunk + n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return;  // empty (EAGAIN), hung up or failed
        }
    }
}

// A tty has no pending line errors to clear here: framing and parity errors arrive as
// bytes or are dropped by the driver. The queue is what a wait took off the line plus
// what the terminal still holds.
uint32_t rxQueueLength(PortHandle handle) {
    int count = 0;
    if (!isOpen(handle) || ioctl(handle->fd, FIONREAD, &count) != 0 || count < 0) {
        count = 0;
    }
    return isOpen(handle) ? static_cast<uint32_t>(handle->held.size() + static_cast<size_t>(count))
                          : 0;
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

std::function<void()> currentRxWaitHook() {
    return rxWaitHook();
}

namespace {

// Bytes at the end of a reply that are waited for one by one rather than slept through.
constexpr uint32_t kCatchUpBytes = 8;

// The time one byte takes on the line: start bit, 8 data bits, stop bit.
Clock::duration byteTime(int baudRate) {
    if (baudRate <= 0) {
        return Clock::duration::zero();
    }
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::nanoseconds(10'000'000'000LL / baudRate));
}

// Moves what the terminal holds into the port's own buffer until `limit` bytes are held;
// what lies beyond stays in the terminal, where FIONREAD still counts it. False when the
// device hung up or failed: nothing more will arrive.
bool takeArrived(SerialPort& port, size_t limit) {
    uint8_t chunk[256];
    while (port.held.size() < limit) {
        const ssize_t n = read(port.fd, chunk, std::min(sizeof chunk, limit - port.held.size()));
        if (n > 0) {
            port.held.insert(port.held.end(), chunk, chunk + n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return n < 0 && errno == EAGAIN;
        }
    }
    return true;
}

// Waits until `until`, or until `events` are possible on fd; a hang-up always ends the wait.
// Returns the events seen, 0 when the time ran out.
short pollUntil(int fd, short events, Clock::time_point until) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::nanoseconds>(until - Clock::now());
        if (left.count() <= 0) {
            return 0;
        }
        const timespec timeout{static_cast<time_t>(left.count() / 1'000'000'000),
                               static_cast<long>(left.count() % 1'000'000'000)};
        pollfd p{fd, events, 0};
        const int rc = ppoll(&p, 1, &timeout, nullptr);
        if (rc < 0 && errno == EINTR) {
            continue;
        }
        return rc < 0 ? static_cast<short>(POLLERR) : (rc == 0 ? 0 : p.revents);
    }
}

}  // namespace

// Bytes still missing cannot all be there before the line has carried them: with m missing,
// the last one is at least (m - 1) byte times away however far the next one has come. So the
// wait sleeps most of that time (only a hang-up wakes it), then sleeps on the line's
// readability until the last byte lands. Whatever arrives meanwhile is taken off the line so
// that readability means new bytes. The last few bytes are waited for one by one, because
// a sender (or an adapter) that fell behind catches up in a burst, faster than the line.
// A paced reply thus costs a dozen wake-ups, and the one that completes it comes within the
// scheduler's latency of its last byte.
uint32_t waitForRxBytes(PortHandle handle, uint16_t wanted, uint32_t timeoutMs) {
    if (!isOpen(handle)) {
        return 0;
    }
    const auto deadline = Clock::now() + milliseconds(timeoutMs);
    const Clock::duration perByte = byteTime(handle->baudRate);
    for (;;) {
        const bool alive = takeArrived(*handle, wanted);
        const uint32_t count = rxQueueLength(handle);
        const auto now = Clock::now();
        if (count >= wanted || now >= deadline || !alive) {
            return count;
        }
        auto until = deadline;
        if (rxWaitHook()) {
            until = std::min(until, now + milliseconds(kRxWaitHookPeriodMs));
        }
        const uint32_t missing = wanted - count;
        const auto onLine =
            perByte *
            static_cast<long>(missing > kCatchUpBytes + 1 ? missing - kCatchUpBytes - 1 : 0);
        const bool quiet = count > 0 && onLine > Clock::duration::zero();
        const short events = pollUntil(handle->fd, quiet ? short{0} : short{POLLIN},
                                       quiet ? std::min(until, now + onLine) : until);
        if ((events & kGone) != 0) {
            takeArrived(*handle, wanted);
            return rxQueueLength(handle);  // a hung-up device will send nothing more
        }
        if (const auto hook = rxWaitHook()) {  // a copy: the hook may replace itself
            hook();
        }
    }
}
