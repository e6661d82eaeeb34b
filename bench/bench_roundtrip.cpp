// Round trip of the full live read (121 registers: 8-byte request, 247-byte reply) through
// the program's link layer against the paced simulated device, compared with line time.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "DeviceServer.h"
#include "LinkSettings.h"
#include "ModbusExchange.h"
#include "ModbusFrame.h"
#include "SerialPort.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPort = 1;
constexpr size_t kRequestLength = 8;
constexpr size_t kReplyLength = 247;
constexpr double kTarget = 1.03;

struct Figures {
    int baud = 0;
    int failures = 0;
    double bestMs = 0;
    double meanMs = 0;
    double worstMs = 0;
    double lineMs = 0;
};

double lineTimeMs(int baud) {
    return static_cast<double>(kRequestLength + kReplyLength) * 10.0 * 1000.0 / baud;
}

// One timed exchange; negative when it failed.
double roundTripMs() {
    Bytes reply;
    const auto start = Clock::now();
    const auto result =
        ModbusExchange::exchange(readHoldingRequest(0x0000, 121), kReplyLength, 1000, reply);
    const std::chrono::duration<double, std::milli> took = Clock::now() - start;
    return result == ExchangeResult::Ok ? took.count() : -1.0;
}

bool measure(int baud, int rounds, Figures& figures) {
    DeviceServer server(DeviceServer::Options{1, baud});
    if (!server.start()) {
        std::perror("bench_roundtrip: cannot start the device");
        return false;
    }
    setPortPath(kPort, server.path());
    LinkSettings::deviceAddress = 1;
    if (openSerialPort(kPort, baud) == nullptr) {
        std::fprintf(stderr, "bench_roundtrip: cannot open %s\n", server.path().c_str());
        return false;
    }
    figures = Figures{baud, 0, 0, 0, 0, lineTimeMs(baud)};
    roundTripMs();  // warm-up: first touches of the terminal and the model
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const double ms = roundTripMs();
        if (ms < 0) {
            ++figures.failures;
        } else {
            times.push_back(ms);
        }
    }
    closeSerialPort();
    server.stop();
    if (!times.empty()) {
        double sum = 0;
        for (double t : times) {
            sum += t;
        }
        figures.meanMs = sum / static_cast<double>(times.size());
        figures.bestMs = *std::min_element(times.begin(), times.end());
        figures.worstMs = *std::max_element(times.begin(), times.end());
    }
    return true;
}

void printTable(const std::vector<Figures>& rows, int rounds) {
    std::printf("Round trip of a 121-register read (8 + 247 bytes), %d rounds per rate\n", rounds);
    std::printf("%7s %9s %9s %9s %9s %10s %10s %7s %s\n", "baud", "line ms", "best ms", "mean ms",
                "worst ms", "mean/line", "worst/line", "failed", "mean within 1.03");
    for (const auto& row : rows) {
        const double meanRatio = row.meanMs / row.lineMs;
        std::printf("%7d %9.2f %9.2f %9.2f %9.2f %10.4f %10.4f %7d %s\n", row.baud, row.lineMs,
                    row.bestMs, row.meanMs, row.worstMs, meanRatio, row.worstMs / row.lineMs,
                    row.failures, meanRatio <= kTarget && row.failures == 0 ? "yes" : "NO");
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    std::vector<Figures> rows;
    for (int baud : {9600, 19200}) {
        Figures figures;
        if (!measure(baud, rounds, figures)) {
            return 1;
        }
        rows.push_back(figures);
    }
    printTable(rows, rounds);
    return 0;
}
