// korval serve's engine over a long run: 10 simulated devices on one RS-485 bus paced at
// 9600 baud, polled every --interval seconds (10) for --seconds (600 for the full run), the
// endpoint scraped over HTTP every second and MQTT published to a local mosquitto when one
// is installed. Prints the resident memory growth after the warm-up (goal < 1 MB) and the
// time of each scrape (goal <= 10 ms).
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "DeviceServer.h"
#include "EngineSupport.h"
#include "Gateway.h"
#include "MetricsExporter.h"
#include "ProcStatus.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kDevices = 10;

struct Settings {
    int seconds = 120;
    int interval = 10;
};

Settings parse(int argc, char** argv) {
    Settings s;
    for (int i = 1; i + 1 < argc; i += 2) {
        const int value = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--seconds") == 0 && value > 0) {
            s.seconds = value;
        } else if (std::strcmp(argv[i], "--interval") == 0 && value > 0) {
            s.interval = value;
        }
    }
    return s;
}

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
    const Settings settings = parse(argc, argv);
    DeviceServer::Options bus{.address = 1, .paceBaud = 9600};
    for (int a = 2; a <= kDevices; ++a) {
        bus.busAddresses.push_back(a);
    }
    DeviceServer server(bus);
    if (!server.start()) {
        std::perror("serve bench: pseudo-terminal");
        return 1;
    }
    ServeOptions options;
    options.ports = {{1, server.path()}};
    options.intervalSeconds = settings.interval;
    options.listen = "127.0.0.1:0";
    for (int a = 1; a <= kDevices; ++a) {
        options.devices.push_back({1, a, 9600, "bench", "s" + std::to_string(a)});
    }
    const auto dir = engine::scratchDir("serve-bench");
    engine::Process broker;
    if (const std::string mosquitto = engine::findProgram("mosquitto"); !mosquitto.empty()) {
        const int port = engine::freePort();
        engine::writeFile(dir / "mosquitto.conf", "listener " + std::to_string(port) +
                                                      " 127.0.0.1\nallow_anonymous true\n");
        broker.start({mosquitto, "-c", (dir / "mosquitto.conf").string()},
                     (dir / "mosquitto.log").string());
        options.mqtt = BrokerAddress{"127.0.0.1", port};
    }
    std::ostringstream log;
    Gateway gateway(options, log);
    if (const std::string error = gateway.start(); !error.empty()) {
        std::fprintf(stderr, "serve bench: %s\n", error.c_str());
        return 1;
    }
    const auto start = Clock::now();
    const auto warmUp = start + std::chrono::seconds(2 * settings.interval);
    const auto end = start + std::chrono::seconds(settings.seconds);
    double baseline = -1;
    std::vector<double> scrapes;
    size_t bytes = 0;
    while (Clock::now() < end) {
        const auto before = Clock::now();
        const auto body = engine::httpGet(gateway.metricsPort(), "/metrics");
        if (body) {
            scrapes.push_back(ms(Clock::now() - before));
            bytes = body->size();
        }
        if (baseline < 0 && Clock::now() >= warmUp) {
            baseline = residentMb();
            scrapes.clear();  // the first rounds fill the series in
        }
        std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    const double final = residentMb();
    // The same text without HTTP: how much of a scrape is the exposition itself.
    std::vector<double> texts;
    for (int i = 0; i < 200; ++i) {
        const auto before = Clock::now();
        bytes = std::max(bytes, gateway.metrics().text().size());
        texts.push_back(ms(Clock::now() - before));
    }
    std::sort(texts.begin(), texts.end());
    gateway.stop();
    broker.stop();
    server.stop();
    std::filesystem::remove_all(dir);
    if (scrapes.empty() || baseline < 0) {
        std::fprintf(stderr, "serve bench: too short a run (--seconds > 2 x --interval)\n");
        return 1;
    }
    std::sort(scrapes.begin(), scrapes.end());
    std::printf("%d devices on one bus at 9600 baud, every %d s for %d s%s\n", kDevices,
                settings.interval, settings.seconds, options.mqtt ? ", MQTT to mosquitto" : "");
    const auto over =
        std::count_if(scrapes.begin(), scrapes.end(), [](double t) { return t > 10; });
    std::printf(
        "scrapes over HTTP: %zu of %zu bytes, median %.2f ms, 99th percentile %.2f ms, "
        "max %.2f ms, %td over 10 ms (goal <= 10 ms)\n",
        scrapes.size(), bytes, scrapes[scrapes.size() / 2], scrapes[scrapes.size() * 99 / 100],
        scrapes.back(), over);
    std::printf(
        "the exposition text alone (collect and serialize, no HTTP): median %.2f ms, "
        "max %.2f ms\n",
        texts[texts.size() / 2], texts.back());
    std::printf(
        "resident memory: %.2f MB after the warm-up, %.2f MB at the end, growth %.3f MB "
        "(goal < 1 MB)\n",
        baseline, final, final - baseline);
    const bool allUp = log.str().find("没有应答") == std::string::npos;
    std::printf("every device answered every poll: %s\n", allUp ? "yes" : "no");
    return scrapes.back() <= 10 && final - baseline < 1 && allUp ? 0 : 1;
}
