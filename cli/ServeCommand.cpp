// korval serve: parses its options, starts the gateway, waits for a stop signal.
#include "ServeCommand.h"

#include <csignal>
#include <cstdio>
#include <iostream>

#include "Gateway.h"
#include "ServeOptions.h"
#include "StopSignals.h"
#include "Verdict.h"

namespace {

void tellStart(const ServeOptions& o, const Gateway& gateway) {
    std::cerr << "korval serve: 每 " << o.intervalSeconds << " 秒轮询 " << o.devices.size()
              << " 台设备";
    if (gateway.metricsPort() != 0) {
        const std::string host = o.listen.substr(0, o.listen.rfind(':'));
        std::cerr << "；Prometheus 接口 http://" << (host.empty() ? "0.0.0.0" : host) << ':'
                  << gateway.metricsPort() << "/metrics";
    }
    if (o.mqtt) {
        std::cerr << "；MQTT " << o.mqtt->host << ':' << o.mqtt->port << "，主题前缀 "
                  << o.mqttPrefix;
    }
    std::cerr << std::endl;
}

}  // namespace

int runServe(const std::vector<std::string>& args) {
    const ServeParse parsed = parseServeOptions(args);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "korval serve: %s\n", parsed.error.c_str());
        return static_cast<int>(Verdict::NoAnswer);
    }
    if (parsed.options.help) {
        std::fputs(kServeUsage, stdout);
        return 0;
    }
    const sigset_t stopSignals = blockStopSignals();
    Gateway gateway(parsed.options, std::cerr);
    if (const std::string error = gateway.start(); !error.empty()) {
        std::fprintf(stderr, "korval serve: %s\n", error.c_str());
        return static_cast<int>(Verdict::NoAnswer);
    }
    tellStart(parsed.options, gateway);
    int received = 0;
    while (sigwait(&stopSignals, &received) != 0) {
    }
    gateway.stop();
    std::cerr << "korval serve: 已停止" << std::endl;
    return 0;
}
