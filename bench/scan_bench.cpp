// The device scan against the paced simulated device (address 200 at 9600 baud): the
// current settings in one probe, the 247 addresses at 9600, and every rate by every address.
#include <chrono>
#include <cstdio>

#include "DeviceScan.h"
#include "DeviceServer.h"
#include "SerialPort.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<ScanProbe> oneRate(int baud) {
    std::vector<ScanProbe> probes;
    for (int a = kScanFirstAddress; a <= kScanLastAddress; ++a) {
        probes.push_back({baud, a});
    }
    return probes;
}

}  // namespace

int main() {
    DeviceServer server(DeviceServer::Options{.address = 200, .paceBaud = 9600, .lineBaud = 9600});
    if (!server.start()) {
        std::perror("korval scan bench: pseudo-terminal");
        return 1;
    }
    setPortPath(1, server.path());

    auto start = Clock::now();
    const ScanResult current = runDeviceScan({1, {9600, 200}, true, {}});
    std::printf("current settings: %zu probe(s), %zu found, %.3f s\n", current.probesSent,
                current.devices.size(), secondsSince(start));

    double whole = 0;
    size_t found = 0;
    for (const int baud : kScanBaudRates) {
        server.setPaceBaud(baud);  // the line runs at the rate the port is set to
        start = Clock::now();
        const ScanResult r = runDeviceScan({1, {baud, 1}, false, oneRate(baud)});
        const double s = secondsSince(start);
        whole += s;
        found += r.devices.size();
        std::printf(
            "%5d baud: 247 addresses in %6.2f s (goal at 9600: <= 10 s), %zu found, "
            "%zu rate(s) garbled\n",
            baud, s, r.devices.size(), r.garbledRates.size());
    }
    std::printf("whole scan 5 x 247: %.2f s (goal <= 100 s), %zu found\n", whole, found);
    server.stop();
    return found == 1 && current.probesSent == 1 ? 0 : 1;
}
