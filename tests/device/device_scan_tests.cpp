// The device scan: its plan and time-outs, how a probe's bytes are judged, and whole scans
// against the simulated device over a real pseudo-terminal (another address and rate, a
// device that only garbles at a wrong rate, cancel, a missing port).
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>

#include "CliOptions.h"
#include "DeviceScan.h"
#include "ModbusCrc.h"
#include "ScanCommand.h"
#include "ServerTestSupport.h"

using namespace servertest;

namespace {

Bytes withCrc(Bytes body) {
    const uint16_t crc = modbusCrc16(body.data(), static_cast<int>(body.size()));
    body.push_back(static_cast<uint8_t>(crc >> 8));
    body.push_back(static_cast<uint8_t>(crc & 0xFF));
    return body;
}

}  // namespace

TEST(ScanPlan, CurrentSettingsFirstThenEveryRateAndAddressOnce) {
    const auto plan = scanPlan({9600, 5});
    ASSERT_EQ(plan.size(), 5u * 247u);
    EXPECT_EQ(plan.front(), (ScanProbe{9600, 5}));
    EXPECT_EQ(plan[1], (ScanProbe{1200, 1}));
    EXPECT_EQ(plan.back(), (ScanProbe{19200, 247}));
    std::set<std::pair<int, int>> seen;
    for (const auto& p : plan) {
        EXPECT_TRUE(seen.insert({p.baudRate, p.address}).second) << p.baudRate << "/" << p.address;
    }
    // Settings the device cannot have are still tried first, and nothing is left out.
    const auto odd = scanPlan({9600, 0});
    EXPECT_EQ(odd.size(), 5u * 247u + 1);
    EXPECT_EQ(odd.front(), (ScanProbe{9600, 0}));
}

TEST(ScanPlan, TimeOutFollowsTheBitTimeAndKeepsTheWholeScanShort) {
    EXPECT_EQ(lineTimeUs(15, 9600), 15625u);
    EXPECT_EQ(lineTimeUs(1, 0), 0u);
    // Request and reply at 1200 baud take 125 ms; the wait must cover them, with room.
    EXPECT_GT(probeTimeoutMs(1200), 125u);
    EXPECT_GT(probeTimeoutMs(19200), 8u);
    for (const int baud : kScanBaudRates) {
        EXPECT_GE(probeTimeoutMs(baud) * 1000, lineTimeUs(15, baud) * 3 / 2);
    }
    EXPECT_LT(probeTimeoutMs(2400), probeTimeoutMs(1200));
    uint64_t whole = 0;
    for (const auto& p : scanPlan({9600, 1})) {
        whole += probeTimeoutMs(p.baudRate);
    }
    EXPECT_LE(whole, 100'000u);
}

TEST(ProbeReplies, AnyValidFrameIsADeviceAndNoFrameIsAnotherRate) {
    EXPECT_EQ(judgeProbeReply({}).answer, ProbeAnswer::Silent);
    const Bytes reply = withCrc({0x07, 0x03, 0x02, 0x00, 0x6E});
    const auto normal = judgeProbeReply(reply);
    EXPECT_EQ(normal.answer, ProbeAnswer::Device);
    EXPECT_EQ(normal.version, 110);
    // An exception is a device too, with no version.
    const auto refused = judgeProbeReply(withCrc({0x07, 0x83, 0x02}));
    EXPECT_EQ(refused.answer, ProbeAnswer::Device);
    EXPECT_FALSE(refused.version.has_value());
    // Noise before a good reply still finds it.
    Bytes noisy{0xFF, 0x00};
    noisy.insert(noisy.end(), reply.begin(), reply.end());
    EXPECT_EQ(judgeProbeReply(noisy).version, 110);
    Bytes spoiled = reply;
    spoiled.back() ^= 0x01;
    EXPECT_EQ(judgeProbeReply(spoiled).answer, ProbeAnswer::Garbled);
    EXPECT_EQ(judgeProbeReply(Bytes{0xF8}).answer, ProbeAnswer::Garbled);
}

namespace {

class ScanTest : public DeviceLinkTest {
  protected:
    explicit ScanTest(DeviceServer::Options options) : DeviceLinkTest(options) {}
    ScanTest() : ScanTest(DeviceServer::Options{.address = 37, .lineBaud = 19200}) {}

    // The probes of one rate, with the current settings (`first`) ahead of them.
    static ScanRequest oneRate(int baud, ScanProbe first) {
        ScanRequest r{kPort, first, false, {first}};
        for (int a = kScanFirstAddress; a <= kScanLastAddress; ++a) {
            if (ScanProbe{baud, a} != first) {
                r.probes.push_back({baud, a});
            }
        }
        return r;
    }
};

}  // namespace

TEST_F(ScanTest, TheDeviceIsFoundAtItsAddressAndRateWithItsVersion) {
    m_server.setRegister(0x1004, 123);
    LinkSettings::baudRate = 1200;
    LinkSettings::deviceAddress = 9;
    std::vector<ScanProgress> steps;
    const ScanResult r = runDeviceScan(oneRate(19200, {9600, 1}),
                                       [&](const ScanProgress& p) { steps.push_back(p); });
    EXPECT_EQ(r.end, ScanEnd::Finished);
    ASSERT_EQ(r.devices.size(), 1u);
    EXPECT_EQ(r.devices[0], (FoundDevice{37, 19200, 123}));
    // At 9600 the device heard noise and garbled back: another rate, not a device.
    EXPECT_EQ(r.garbledRates, std::vector<int>{});
    EXPECT_EQ(r.probesSent, 248u);
    ASSERT_EQ(steps.size(), 248u);
    EXPECT_EQ(steps.back().done, 248u);
    EXPECT_EQ(steps.back().msLeft, 0u);
    EXPECT_GT(steps.front().msLeft, steps[100].msLeft);
    // The caller's settings come back, and the port is closed.
    EXPECT_EQ(LinkSettings::baudRate, 1200);
    EXPECT_EQ(LinkSettings::deviceAddress, 9);
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
}

// The window's way: one probe at a time, the port kept open at one rate in between, the
// link settings the caller's whenever it looks.
TEST_F(ScanTest, AStepwiseRunHoldsThePortBetweenProbesButNotTheSettings) {
    LinkSettings::baudRate = 1200;
    LinkSettings::deviceAddress = 9;
    DeviceScanRun run({kPort, {19200, 36}, false, {{19200, 36}, {19200, 37}, {9600, 1}}});
    EXPECT_EQ(run.next(), (ScanProbe{19200, 36}));
    EXPECT_TRUE(run.step());
    const PortHandle held = LinkSettings::portHandle;
    EXPECT_NE(held, nullptr);
    EXPECT_EQ(LinkSettings::baudRate, 1200);
    EXPECT_EQ(LinkSettings::deviceAddress, 9);
    EXPECT_TRUE(run.step());
    EXPECT_EQ(LinkSettings::portHandle, held) << "not reopened at the same rate";
    EXPECT_EQ(run.result().devices, (std::vector<FoundDevice>{{37, 19200, 110}}));
    EXPECT_EQ(run.progress().done, 2u);
    EXPECT_EQ(run.progress().msLeft, probeTimeoutMs(9600));
    run.cancel();
    EXPECT_TRUE(run.over());
    EXPECT_EQ(run.result().end, ScanEnd::Cancelled);
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    EXPECT_FALSE(run.step());
    EXPECT_EQ(m_server.requestsSeen(), 2u);
}

TEST_F(ScanTest, CurrentSettingsAreFoundInOneProbe) {
    const ScanRequest r{kPort, {19200, 37}, true, {}};
    const ScanResult result = runDeviceScan(r);
    EXPECT_EQ(result.probesSent, 1u);
    ASSERT_EQ(result.devices.size(), 1u);
    EXPECT_EQ(result.devices[0].baudRate, 19200);
}

TEST_F(ScanTest, BytesAtAWrongRateAreReportedAsAnotherRate) {
    const ScanResult r = runDeviceScan({kPort, {9600, 36}, false, {{9600, 36}, {9600, 37}}});
    EXPECT_TRUE(r.devices.empty());
    EXPECT_EQ(r.garbledRates, std::vector<int>{9600});
}

TEST_F(ScanTest, CancelStopsBeforeTheNextProbe) {
    std::atomic<bool> cancel{false};
    const ScanResult r = runDeviceScan(
        oneRate(19200, {19200, 1}), [&](const ScanProgress& p) { cancel = p.done >= 10; }, &cancel);
    EXPECT_EQ(r.end, ScanEnd::Cancelled);
    EXPECT_EQ(r.probesSent, 10u);
    EXPECT_EQ(m_server.requestsSeen(), 10u);
}

TEST_F(ScanTest, AnExceptionCountsAsADevice) {
    m_server.injectFault(FaultKind::Exception);
    const ScanResult r = runDeviceScan({kPort, {19200, 37}, true, {}});
    ASSERT_EQ(r.devices.size(), 1u);
    EXPECT_FALSE(r.devices[0].version.has_value());
}

TEST_F(ScanTest, AMissingPortEndsTheScanAndSaysSoOnTheCommandLine) {
    setPortPath(kPort, "/dev/korval-no-such-port");
    EXPECT_EQ(runDeviceScan({kPort, {19200, 37}, false, {}}).end, ScanEnd::PortFailed);
    CliOptions o;
    o.ports[kPort] = "/dev/korval-no-such-port";
    std::ostringstream out, err;
    EXPECT_EQ(runScan(o, out, err), 3);
    EXPECT_NE(err.str().find("没有发现此串口或此串口被占用"), std::string::npos);
}

TEST(ScanOutput, FormatsListWhatAnswered) {
    ScanResult r;
    r.devices = {{37, 4800, 110}, {2, 9600, std::nullopt}};
    r.garbledRates = {1200};
    EXPECT_EQ(formatScan(r, OutputFormat::Csv),
              "address,baud_rate,version\n37,4800,1.10\n2,9600,\n");
    EXPECT_EQ(formatScan(r, OutputFormat::Json),
              "{\"devices\":[{\"address\":37,\"baud_rate\":4800,\"version\":\"1.10\"},"
              "{\"address\":2,\"baud_rate\":9600,\"version\":null}],\"other_rate_noise\":[1200],"
              "\"complete\":true}\n");
    EXPECT_NE(formatScan(r, OutputFormat::Text).find("2\t9600\t未知"), std::string::npos);
}
