// The serial layer over a real pseudo-terminal: opening, exclusivity, time-outs, and a
// device that vanishes.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <string>
#include <thread>

#include "PtyPortTest.h"

namespace {

using namespace std::chrono_literals;

// Holds a path the way another program would: its own descriptor with the lock taken.
class ForeignHolder {
  public:
    explicit ForeignHolder(const std::string& path) {
        m_fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        m_locked = m_fd >= 0 && flock(m_fd, LOCK_EX | LOCK_NB) == 0;
    }
    ~ForeignHolder() {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    bool locked() const { return m_locked; }

  private:
    int m_fd = -1;
    bool m_locked = false;
};

TEST(PortPaths, ComNumbersMapToTtySUnlessAssigned) {
    clearPortPaths();
    EXPECT_EQ(portPath(1), "/dev/ttyS0");
    EXPECT_EQ(portPath(12), "/dev/ttyS11");
    setPortPath(12, "/dev/ttyUSB0");
    EXPECT_EQ(portPath(12), "/dev/ttyUSB0");
    EXPECT_EQ(portPath(11), "/dev/ttyS10");
    clearPortPaths();
    EXPECT_EQ(portPath(12), "/dev/ttyS11");
}

using SerialOpen = PtyPortTest;

TEST_F(SerialOpen, OpensAndStoresTheHandle) {
    const PortHandle handle = openPort(19200);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(LinkSettings::portHandle, handle);
    EXPECT_EQ(portBaudRate(handle), 19200);
    closeSerialPort();
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    closeSerialPort();  // twice, and with nothing open: harmless
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
}

TEST_F(SerialOpen, OpenPortIsHeldExclusively) {
    ASSERT_NE(openPort(), nullptr);
    EXPECT_FALSE(ForeignHolder(pty.slavePath()).locked());
    closeSerialPort();
    EXPECT_TRUE(ForeignHolder(pty.slavePath()).locked());
}

TEST_F(SerialOpen, PortHeldByAnotherProgramFailsAndLeavesHandleNull) {
    ForeignHolder holder(pty.slavePath());
    ASSERT_TRUE(holder.locked());
    LinkSettings::portHandle = openPort();
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
}

TEST_F(SerialOpen, OpeningAgainReleasesThePortOpenBefore) {
    PtyPair other;
    ASSERT_TRUE(other.ok());
    setPortPath(4, other.slavePath());
    ASSERT_NE(openPort(), nullptr);
    ASSERT_NE(openSerialPort(4, 9600), nullptr);
    EXPECT_TRUE(ForeignHolder(pty.slavePath()).locked());
    EXPECT_FALSE(ForeignHolder(other.slavePath()).locked());
}

TEST_F(SerialOpen, RateWithoutConstantFailsAndPortStaysFree) {
    for (int rate : {12345, 0, -9600}) {
        EXPECT_EQ(openPort(rate), nullptr) << rate;
        EXPECT_EQ(LinkSettings::portHandle, nullptr);
        EXPECT_TRUE(ForeignHolder(pty.slavePath()).locked()) << rate;
    }
    EXPECT_NE(openPort(1200), nullptr);
}

TEST_F(SerialOpen, MissingDeviceOrNonTerminalFails) {
    setPortPath(5, "/dev/korval-no-such-port");
    EXPECT_EQ(openSerialPort(5, 9600), nullptr);

    // A plain file opens and locks but is no terminal: the open must undo itself.
    char path[] = "/tmp/korval-link-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    setPortPath(6, path);
    EXPECT_EQ(openSerialPort(6, 9600), nullptr);
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    EXPECT_TRUE(ForeignHolder(path).locked());
    std::remove(path);
}

TEST(SerialNoPort, OperationsOnNullHandleAreHarmless) {
    uint8_t buffer[4] = {};
    EXPECT_EQ(writePort(nullptr, buffer, sizeof buffer), 0u);
    EXPECT_EQ(readPort(nullptr, buffer, sizeof buffer), 0u);
    EXPECT_EQ(rxQueueLength(nullptr), 0u);
    EXPECT_EQ(portBaudRate(nullptr), 0);
    purgePort(nullptr);
    discardRxBytes(nullptr);
    EXPECT_LT(elapsedMs([] { EXPECT_EQ(waitForRxBytes(nullptr, 7, 10000), 0u); }), 5000);
}

using SerialIo = PtyPortTest;

TEST_F(SerialIo, BytesTravelBothWays) {
    const PortHandle handle = openPort();
    ASSERT_NE(handle, nullptr);
    const Bytes request{0x01, 0x03, 0x00, 0x50, 0x00, 0x01, 0x84, 0x1B};
    EXPECT_EQ(writePort(handle, request.data(), request.size()), request.size());
    EXPECT_EQ(pty.receive(request.size(), 5s), request);

    // Raw mode: CR, LF, XON/XOFF and 0xFF pass through untouched.
    const Bytes reply{0x0D, 0x0A, 0x11, 0x13, 0xFF, 0x00, 0x03};
    pty.send(reply);
    ASSERT_EQ(waitForRxBytes(handle, 7, 5000), 7u);
    Bytes got(7);
    EXPECT_EQ(readPort(handle, got.data(), got.size()), 7u);
    EXPECT_EQ(got, reply);
    EXPECT_EQ(rxQueueLength(handle), 0u);
}

TEST_F(SerialIo, WaitReturnsAsSoonAsEnoughBytesWait) {
    const PortHandle handle = openPort();
    ASSERT_NE(handle, nullptr);
    pty.send(Bytes(7, 0x55));
    EXPECT_EQ(waitForRxBytes(handle, 7, 10000), 7u);
    purgePort(handle);
    EXPECT_EQ(rxQueueLength(handle), 0u);

    pty.send(Bytes(9, 0x55));  // more than wanted: the whole count is reported
    EXPECT_EQ(waitForRxBytes(handle, 7, 10000), 9u);
}

TEST_F(SerialIo, WaitTimesOutWithThePartialCount) {
    const PortHandle handle = openPort();
    ASSERT_NE(handle, nullptr);
    uint32_t count = 99;
    const long long waited = elapsedMs([&] { count = waitForRxBytes(handle, 7, 1000); });
    EXPECT_EQ(count, 0u);
    EXPECT_GE(waited, 1000);
    EXPECT_LT(waited, 4000);

    pty.send(Bytes(3, 0x01));
    EXPECT_EQ(waitForRxBytes(handle, 7, 300), 3u);
}

TEST_F(SerialIo, ReadGivesUpAfterItsBudget) {
    const PortHandle handle = openPort();
    ASSERT_NE(handle, nullptr);
    Bytes buffer(7);
    const long long waited = elapsedMs([&] { EXPECT_EQ(readPort(handle, buffer.data(), 7), 0u); });
    EXPECT_GE(waited, 40);  // 5 + 5 * 7 ms
    EXPECT_LT(waited, 3000);

    pty.send(Bytes{1, 2, 3});
    ASSERT_EQ(waitForRxBytes(handle, 3, 5000), 3u);
    EXPECT_EQ(readPort(handle, buffer.data(), 7), 3u);
}

TEST_F(SerialIo, ReadStopsAtAGapBetweenBytes) {
    const PortHandle handle = openPort();
    ASSERT_NE(handle, nullptr);
    auto peer = std::async(std::launch::async, [this] {
        pty.send(Bytes{1, 2, 3});
        std::this_thread::sleep_for(1500ms);  // far beyond the 100 ms interval
        pty.send(Bytes{4, 5, 6, 7});
    });
    ASSERT_EQ(waitForRxBytes(handle, 3, 5000), 3u);
    Bytes buffer(400);  // a budget of 2005 ms: only the gap can end the read early
    EXPECT_EQ(readPort(handle, buffer.data(), buffer.size()), 3u);
    peer.get();
}

TEST_F(SerialIo, DiscardDropsOnlyWhatWaits) {
    const PortHandle handle = openPort();
    ASSERT_NE(handle, nullptr);
    pty.send(Bytes(5, 0xEE));
    ASSERT_EQ(waitForRxBytes(handle, 5, 5000), 5u);
    discardRxBytes(handle);
    EXPECT_EQ(rxQueueLength(handle), 0u);
    pty.send(Bytes{0x42});
    EXPECT_EQ(waitForRxBytes(handle, 1, 5000), 1u);
}

TEST_F(SerialIo, BytesTakenByAWaitAreReadInOrderWithTheRest) {
    const PortHandle handle = openPort();
    ASSERT_NE(handle, nullptr);
    pty.send(Bytes{1, 2, 3});
    EXPECT_EQ(waitForRxBytes(handle, 7, 200), 3u);  // times out with what came
    EXPECT_EQ(rxQueueLength(handle), 3u);
    pty.send(Bytes{4, 5, 6, 7, 8});
    EXPECT_EQ(waitForRxBytes(handle, 7, 5000), 8u);  // one more than wanted: all counted
    Bytes got(4);
    ASSERT_EQ(readPort(handle, got.data(), got.size()), 4u);
    EXPECT_EQ(got, (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(rxQueueLength(handle), 4u);
    got.assign(4, 0);
    ASSERT_EQ(readPort(handle, got.data(), got.size()), 4u);
    EXPECT_EQ(got, (Bytes{5, 6, 7, 8}));

    pty.send(Bytes{9, 9});
    EXPECT_EQ(waitForRxBytes(handle, 5, 100), 2u);
    discardRxBytes(handle);  // drops what the wait took as well
    EXPECT_EQ(rxQueueLength(handle), 0u);
    pty.send(Bytes{0x42});
    ASSERT_EQ(waitForRxBytes(handle, 1, 5000), 1u);
    EXPECT_EQ(readPort(handle, got.data(), 1), 1u);
    EXPECT_EQ(got[0], 0x42);
}

TEST_F(SerialIo, AReplyTricklingInIsWaitedForWhole) {
    const PortHandle handle = openPort(19200);
    ASSERT_NE(handle, nullptr);
    const Bytes reply{0x01, 0x03, 0x02, 0x80, 0x7B, 0x99, 0x5A};
    auto peer = std::async(std::launch::async, [&] {
        for (uint8_t byte : reply) {  // slower than the line: the wait must not give up early
            pty.send(Bytes{byte});
            std::this_thread::sleep_for(15ms);
        }
    });
    EXPECT_EQ(waitForRxBytes(handle, 7, 5000), 7u);
    peer.get();
    Bytes got(7);
    EXPECT_EQ(readPort(handle, got.data(), got.size()), 7u);
    EXPECT_EQ(got, reply);
}

TEST_F(SerialIo, TheWaitHookRunsThroughoutALongWait) {
    const PortHandle handle = openPort();
    ASSERT_NE(handle, nullptr);
    int calls = 0;
    setRxWaitHook([&] { ++calls; });
    pty.send(Bytes{1});  // a reply that started and then stalled
    EXPECT_EQ(waitForRxBytes(handle, 7, 400), 1u);
    setRxWaitHook({});
    // Every 10 ms over 400 ms; far fewer would mean the hook waits for bytes or the end.
    EXPECT_GE(calls, 10);
    const int before = calls;
    EXPECT_EQ(waitForRxBytes(handle, 7, 50), 1u);
    EXPECT_EQ(calls, before);  // cleared: no longer called
}

TEST_F(SerialIo, VanishedDeviceNeverHangs) {
    const PortHandle handle = openPort();
    ASSERT_NE(handle, nullptr);
    pty.closeMaster();
    uint8_t buffer[64] = {};
    const long long waited = elapsedMs([&] {
        EXPECT_EQ(waitForRxBytes(handle, 7, 20000), 0u);
        EXPECT_EQ(readPort(handle, buffer, sizeof buffer), 0u);
        EXPECT_LT(writePort(handle, buffer, sizeof buffer), sizeof buffer);
        EXPECT_EQ(rxQueueLength(handle), 0u);
        purgePort(handle);
    });
    EXPECT_LT(waited, 5000);
    closeSerialPort();
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
}

}  // namespace
