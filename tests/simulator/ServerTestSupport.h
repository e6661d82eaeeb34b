// Shared set-up for tests that talk to the simulated device over a real pseudo-terminal
// through the program's own serial layer, as the pages do.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "DeviceServer.h"
#include "LinkSettings.h"
#include "ModbusExchange.h"
#include "ModbusFrame.h"
#include "SerialPort.h"

namespace servertest {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

inline constexpr int kPort = 1;
inline constexpr uint32_t kTimeoutMs = 1000;
inline constexpr uint16_t kIrInterval = 0x1000;  // writable, any value
inline constexpr uint16_t kVoltLimits = 0x100F;  // writable pair with kIrLimit
inline constexpr size_t kLiveReplyLength = 247;  // 121 registers

// A device on its own pseudo-terminal, COM1 pointing at it, the link at 9600 baud, address 1.
class DeviceLinkTest : public ::testing::Test {
  protected:
    explicit DeviceLinkTest(DeviceServer::Options options = {}) : m_server(options) {}

    void SetUp() override {
        ASSERT_TRUE(m_server.start());
        setPortPath(kPort, m_server.path());
        LinkSettings::portNumber = kPort;
        LinkSettings::baudRate = 9600;
        LinkSettings::deviceAddress = 1;
    }

    void TearDown() override {
        closeSerialPort();
        clearPortPaths();
        m_server.stop();
    }

    bool open() { return openSerialPort(LinkSettings::portNumber, LinkSettings::baudRate); }

    ExchangeResult run(const Bytes& pdu, size_t replyLength, Bytes& reply) {
        return ModbusExchange::exchange(pdu, replyLength, kTimeoutMs, reply);
    }
    ExchangeResult run(const Bytes& pdu, size_t replyLength) {
        Bytes reply;
        return run(pdu, replyLength, reply);
    }
    ExchangeResult readLive() { return run(readHoldingRequest(0x0000, 121), kLiveReplyLength); }
    ExchangeResult readCurrent() { return run(readHoldingRequest(0x0050, 1), readReplyLength(1)); }

    // Open, one exchange, close: the way a button handler talks to the device.
    ExchangeResult command(const Bytes& pdu, size_t replyLength, Bytes& reply) {
        if (!open()) {
            return ExchangeResult::Failed;
        }
        const ExchangeResult result = run(pdu, replyLength, reply);
        closeSerialPort();
        return result;
    }

    // Polls the open port's receive queue until `count` bytes wait or `limit` passes.
    static uint32_t waitForQueue(uint32_t count, milliseconds limit) {
        const auto deadline = Clock::now() + limit;
        uint32_t queued = 0;
        while ((queued = rxQueueLength(LinkSettings::portHandle)) < count &&
               Clock::now() < deadline) {
            std::this_thread::sleep_for(milliseconds(5));
        }
        return queued;
    }

    DeviceServer m_server;
};

}  // namespace servertest
