// korval-device: runs the simulated monitoring device on a pseudo-terminal until SIGINT
// or SIGTERM, and prints the path a program opens as its serial port.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string_view>
#include <vector>

#include "DeviceCommandLine.h"
#include "DeviceServer.h"
#include "PathLink.h"
#include "StopSignals.h"

namespace {

constexpr int kVoltageGroups = 8;

void seedAll(DeviceServer& server, int records) {
    for (int group = 1; group <= kVoltageGroups; ++group) {
        server.seedVoltageRecords(group, records);
    }
    server.seedResistanceRecords(records);
    server.seedAlarmRecords(records);
}

// Waits for SIGINT or SIGTERM, silencing devices on the bus when their time comes.
void waitForStop(const sigset_t& stopSignals, DeviceServer& server,
                 std::vector<DeviceCommandLine::Silence> silences) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    while (true) {
        const auto now = Clock::now();
        auto next = Clock::time_point::max();
        for (auto it = silences.begin(); it != silences.end();) {
            const auto due = start + std::chrono::seconds(it->afterSeconds);
            if (due <= now) {
                server.silence(it->address);
                std::cout << "korval-device: address " << it->address << " silenced" << std::endl;
                it = silences.erase(it);
            } else {
                next = std::min(next, due);
                ++it;
            }
        }
        if (next == Clock::time_point::max()) {
            int received = 0;
            while (sigwait(&stopSignals, &received) != 0) {
            }
            return;
        }
        const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(next - now);
        const timespec timeout{static_cast<time_t>(wait.count() / 1'000'000'000),
                               static_cast<long>(wait.count() % 1'000'000'000)};
        if (sigtimedwait(&stopSignals, nullptr, &timeout) >= 0) {
            return;
        }
    }
}

int serve(const DeviceCommandLine& options) {
    const sigset_t stopSignals = blockStopSignals();
    DeviceServer::Options serverOptions{options.address, options.paceBaud, options.faultRatePercent,
                                        static_cast<uint32_t>(options.faultSeed)};
    serverOptions.busAddresses = options.busAddresses;
    DeviceServer server(serverOptions);
    server.setAutoRegistrationDelayMs(options.probeDelayMs);
    if (options.records >= 0) {
        seedAll(server, options.records);
    }
    if (options.weakCell > 0) {
        server.withModel([&](DeviceModel& model) { model.setWeakCell(options.weakCell); });
    }
    if (!server.start()) {
        std::cerr << "korval-device: cannot open a pseudo-terminal: " << std::strerror(errno)
                  << '\n';
        return 1;
    }
    PathLink link;
    std::string error;
    if (!options.linkPath.empty() && !link.create(options.linkPath, server.path(), error)) {
        std::cerr << "korval-device: " << error << '\n';
        return 1;
    }
    std::cout << "korval-device: serving address";
    for (const int address : server.addresses()) {
        std::cout << ' ' << address;
    }
    std::cout << " on " << server.path() << std::endl;
    if (!options.linkPath.empty()) {
        std::cout << "korval-device: " << options.linkPath << " -> " << server.path() << std::endl;
    }
    waitForStop(stopSignals, server, options.silences);
    server.stop();
    const ServerCounters counters = server.counters();
    std::cout << "korval-device: answered " << counters.answered << " requests, "
              << counters.faultsInjected << " with an injected fault" << std::endl;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const auto parsed = parseDeviceCommandLine(args);
    if (!parsed.error.empty()) {
        std::cerr << parsed.error << '\n';
        return 2;
    }
    if (parsed.options.help) {
        std::cout << deviceUsage();
        return 0;
    }
    return serve(parsed.options);
}
