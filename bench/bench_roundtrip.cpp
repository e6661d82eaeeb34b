// The full live read (121 registers: 8-byte request, 247-byte reply) against the paced
// korval-device program, through the program's exchange (with the traffic record on, as
// the program runs, and off) and through libmodbus's modbus_read_registers in the same run:
// time per exchange over time on the line, and CPU per exchange. Blocks of the three
// alternate so that all see the same machine. Then what recording costs an exchange.
#include <modbus.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "LinkSettings.h"
#include "ModbusExchange.h"
#include "ModbusFrame.h"
#include "ProcStatus.h"
#include "SerialPort.h"
#include "TrafficRecorder.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPort = 1;
constexpr size_t kRequestLength = 8;
constexpr size_t kReplyLength = 247;
constexpr int kRegisters = 121;
constexpr int kBlock = 10;

struct Rate {
    int baud;
    double goal;  // the program's ratio may be at most this
};
constexpr Rate kRates[] = {{9600, 1.002}, {19200, 1.003}};
// Recording may cost at most this share of the exchange time.
constexpr double kRecordingGoal = 0.01;

double lineTimeMs(int baud) {
    return static_cast<double>(kRequestLength + kReplyLength) * 10.0 * 1000.0 / baud;
}

double cpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// The device program on its own pseudo-terminal; its first line names the path.
struct Device {
    pid_t pid = -1;
    std::string path;
};

Device startDevice(int baud) {
    int out[2];
    if (pipe(out) != 0) {
        return {};
    }
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        const std::string pace = std::to_string(baud);
        execl(KORVAL_DEVICE_EXE, KORVAL_DEVICE_EXE, "--pace", pace.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string banner;
    char c = 0;
    pollfd p{out[0], POLLIN, 0};
    while (banner.find('\n') == std::string::npos && poll(&p, 1, 5000) > 0 &&
           read(out[0], &c, 1) == 1) {
        banner += c;
    }
    close(out[0]);
    const size_t at = banner.find(" on ");
    if (at == std::string::npos) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return {};
    }
    return {pid, banner.substr(at + 4, banner.find('\n') - at - 4)};
}

void stopDevice(const Device& device) {
    kill(device.pid, SIGTERM);
    waitpid(device.pid, nullptr, 0);
}

struct Tally {
    std::vector<double> ms;
    double cpu = 0;
    int failures = 0;

    void add(double took, bool ok) {
        if (ok) {
            ms.push_back(took);
        } else {
            ++failures;
        }
    }
    double mean() const {
        double sum = 0;
        for (double t : ms) {
            sum += t;
        }
        return ms.empty() ? 0 : sum / static_cast<double>(ms.size());
    }
    double median() const {
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0 : sorted[sorted.size() / 2];
    }
    double cpuPerExchange() const {
        const size_t n = ms.size() + static_cast<size_t>(failures);
        return n == 0 ? 0 : cpu / static_cast<double>(n);
    }
};

// Times `count` exchanges done by `one`, which says whether each succeeded.
void timeBlock(int count, const std::function<bool()>& one, Tally& tally) {
    const double cpuBefore = cpuMs();
    for (int i = 0; i < count; ++i) {
        const auto start = Clock::now();
        const bool ok = one();
        tally.add(std::chrono::duration<double, std::milli>(Clock::now() - start).count(), ok);
    }
    tally.cpu += cpuMs() - cpuBefore;
}

bool korvalBlock(int baud, int count, Tally& tally, bool recording) {
    trafficRecorder().setEnabled(recording);
    LinkSettings::deviceAddress = 1;
    if (openSerialPort(kPort, baud) == nullptr) {
        std::fprintf(stderr, "bench_roundtrip: cannot open %s\n", portPath(kPort).c_str());
        return false;
    }
    timeBlock(
        count,
        [] {
            Bytes reply;
            return ModbusExchange::exchange(readHoldingRequest(0, kRegisters), kReplyLength, 1000,
                                            reply) == ExchangeResult::Ok;
        },
        tally);
    closeSerialPort();
    return true;
}

bool libmodbusBlock(const std::string& path, int baud, int count, Tally& tally) {
    modbus_t* ctx = modbus_new_rtu(path.c_str(), baud, 'N', 8, 1);
    if (ctx == nullptr || modbus_set_slave(ctx, 1) != 0 || modbus_connect(ctx) != 0) {
        std::fprintf(stderr, "bench_roundtrip: libmodbus cannot open %s\n", path.c_str());
        modbus_free(ctx);
        return false;
    }
    timeBlock(
        count,
        [ctx] {
            uint16_t registers[kRegisters];
            return modbus_read_registers(ctx, 0, kRegisters, registers) == kRegisters;
        },
        tally);
    modbus_close(ctx);
    modbus_free(ctx);
    return true;
}

struct Tallies {
    Tally korval;     // recording on, as the program runs
    Tally korvalOff;  // recording off
    Tally libmodbus;
};

bool measure(int baud, int rounds, Tallies& tallies) {
    const Device device = startDevice(baud);
    if (device.pid < 0) {
        std::fprintf(stderr, "bench_roundtrip: cannot start %s\n", KORVAL_DEVICE_EXE);
        return false;
    }
    setPortPath(kPort, device.path);
    Tally warmUp;
    bool ok = korvalBlock(baud, 2, warmUp, true) && libmodbusBlock(device.path, baud, 2, warmUp);
    for (int done = 0; ok && done < rounds; done += kBlock) {
        const int count = std::min(kBlock, rounds - done);
        ok = korvalBlock(baud, count, tallies.korval, true) &&
             korvalBlock(baud, count, tallies.korvalOff, false) &&
             libmodbusBlock(device.path, baud, count, tallies.libmodbus);
    }
    trafficRecorder().setEnabled(true);
    stopDevice(device);
    return ok;
}

void printRow(const char* who, int baud, const Tally& tally, double goal) {
    const double ratio = tally.mean() / lineTimeMs(baud);
    std::printf(
        "%-10s %6d %9.2f %9.2f %9.5f %9.5f %8.3f %7d  %s\n", who, baud, lineTimeMs(baud),
        tally.mean(), ratio, tally.median() / lineTimeMs(baud), tally.cpuPerExchange(),
        tally.failures,
        goal <= 0 ? "" : (ratio <= goal && tally.failures == 0 ? "within goal" : "OVER GOAL"));
}

struct RecordingCost {
    double ns = 0;       // per live read recorded
    double ringMb = 0;   // resident memory the ring takes when made
    double grownMb = 0;  // and what filling it three times over adds
};

// What recording adds to one live read, alone: the copies of its 8 + 247 bytes, two clock
// readings and a ring kept full (each record pushes the oldest out); and the ring's memory.
RecordingCost recordingCost() {
    constexpr int kRecords = 3 * static_cast<int>(TrafficRecorder::kCapacity);
    RecordingCost cost;
    const double before = residentMb();
    TrafficRecorder recorder;
    cost.ringMb = residentMb() - before;
    const Bytes request = frameRequest(1, readHoldingRequest(0, kRegisters));
    const Bytes reply(kReplyLength, 0x5A);
    const auto start = Clock::now();
    for (int i = 0; i < kRecords; ++i) {
        TrafficRecord record;
        record.time = std::chrono::system_clock::now();
        record.request.assign(request.begin(), request.end());
        record.reply.assign(reply.begin(), reply.end());
        record.onLine = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
        recorder.add(record);
    }
    cost.ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / kRecords;
    cost.grownMb = residentMb() - before - cost.ringMb;
    return cost;
}

// Recording's share of the exchange time, from the two korval rows of the same run.
bool printRecordingCost(int baud, const Tallies& t) {
    const double extraMs = t.korval.mean() - t.korvalOff.mean();
    const double share = extraMs / t.korvalOff.mean();
    std::printf("recording at %6d: %+.3f ms per exchange (%+.3f%%), cpu %+.4f ms per exchange\n",
                baud, extraMs, 100.0 * share,
                t.korval.cpuPerExchange() - t.korvalOff.cpuPerExchange());
    return share < kRecordingGoal;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    std::printf(
        "121-register read (8 + 247 bytes) against korval-device --pace BAUD, %d rounds "
        "each,\nalternating blocks of %d. ratio = mean exchange time / line time (p50: median);\n"
        "cpu ms = CPU time of this process per exchange. korval records the traffic, as the\n"
        "program does; korval-off does not.\n",
        rounds, kBlock);
    std::printf("%-10s %6s %9s %9s %9s %9s %8s %7s  %s\n", "master", "baud", "line ms", "mean ms",
                "ratio", "p50 ratio", "cpu ms", "failed", "goal");
    bool allWithin = true;
    std::vector<std::pair<int, Tallies>> results;
    for (const Rate& rate : kRates) {
        Tallies tallies;
        if (!measure(rate.baud, rounds, tallies)) {
            return 1;
        }
        printRow("korval", rate.baud, tallies.korval, rate.goal);
        printRow("korval-off", rate.baud, tallies.korvalOff, 0);
        printRow("libmodbus", rate.baud, tallies.libmodbus, 0);
        allWithin = allWithin && tallies.korval.failures == 0 &&
                    tallies.korval.mean() / lineTimeMs(rate.baud) <= rate.goal;
        results.emplace_back(rate.baud, tallies);
    }
    for (const auto& [baud, tallies] : results) {
        allWithin = printRecordingCost(baud, tallies) && allWithin;
    }
    const RecordingCost cost = recordingCost();
    const int fastest = kRates[std::size(kRates) - 1].baud;
    std::printf("recording alone: %.0f ns per live read recorded (%.5f%% of its line time at %d)\n",
                cost.ns, 100.0 * cost.ns / 1e6 / lineTimeMs(fastest), fastest);
    std::printf("ring of %zu: %.1f MB resident when made, %+.1f MB after 3 x %zu live reads\n",
                TrafficRecorder::kCapacity, cost.ringMb, cost.grownMb, TrafficRecorder::kCapacity);
    std::printf(
        "goals: korval ratio <= 1.002 at 9600, <= 1.003 at 19200; recording < 1%% of the "
        "exchange time\n");
    return allWithin ? 0 : 1;
}
