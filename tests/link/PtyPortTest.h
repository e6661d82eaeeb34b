// Fixture for tests that run the real serial layer on COM3, mapped to a pseudo-terminal.
#pragma once

#include <gtest/gtest.h>

#include <chrono>

#include "LinkSettings.h"
#include "PtyPair.h"
#include "SerialPort.h"

class PtyPortTest : public ::testing::Test {
  protected:
    static constexpr int kPort = 3;

    void SetUp() override {
        ASSERT_TRUE(pty.ok());
        clearPortPaths();
        setPortPath(kPort, pty.slavePath());
        LinkSettings::portHandle = nullptr;
    }
    void TearDown() override {
        closeSerialPort();
        clearPortPaths();
    }

    PortHandle openPort(int baudRate = 9600) { return openSerialPort(kPort, baudRate); }

    PtyPair pty;
};

// Milliseconds spent running `f`.
template <typename F>
long long elapsedMs(F&& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}
