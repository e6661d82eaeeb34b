// korval-device: runs the simulated monitoring device on a pseudo-terminal until SIGINT
// or SIGTERM, and prints the path a program opens as its serial port.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string_view>
#include <vector>

#include "DeviceCommandLine.h"
#include "DeviceServer.h"
#include "PathLink.h"

namespace {

constexpr int kVoltageGroups = 8;

void seedAll(DeviceServer& server, int records) {
    for (int group = 1; group <= kVoltageGroups; ++group) {
        server.seedVoltageRecords(group, records);
    }
    server.seedResistanceRecords(records);
    server.seedAlarmRecords(records);
}

// Blocked in every thread (the server's inherits the mask) and taken with sigwait, so
// nothing runs in a signal handler at all.
sigset_t blockStopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    return set;
}

int serve(const DeviceCommandLine& options) {
    const sigset_t stopSignals = blockStopSignals();
    DeviceServer server(DeviceServer::Options{options.address, options.paceBaud,
                                              options.faultRatePercent,
                                              static_cast<uint32_t>(options.faultSeed)});
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
    std::cout << "korval-device: serving address " << options.address << " on " << server.path()
              << std::endl;
    if (!options.linkPath.empty()) {
        std::cout << "korval-device: " << options.linkPath << " -> " << server.path() << std::endl;
    }
    int received = 0;
    while (sigwait(&stopSignals, &received) != 0) {
    }
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
