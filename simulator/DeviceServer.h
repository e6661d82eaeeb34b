// The simulated monitoring device as a Modbus RTU slave on a pseudo-terminal, served on
// its own thread: framing, optional line pacing, fault injection and a request log.
// The log keeps the last kRequestLogLimit frames only (a continuous reading would otherwise
// grow it by some 11 MB a day); each frame carries its sequence number, so a reader that
// remembers where it stopped (the scenario runner) reads on from there.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "DeviceModel.h"
#include "FaultPlan.h"
#include "PtyEndpoint.h"

struct LoggedFrame {
    std::vector<uint8_t> bytes;
    std::chrono::steady_clock::time_point time;  // when the frame had arrived in full
    uint64_t sequence = 0;                       // counts every frame seen, from 0
    // What the device sent back for it, faults applied (queued when the frame was handled;
    // a late or paced reply leaves later); empty when it sent nothing.
    std::vector<uint8_t> reply;
};

// What the device did since it started: for checks that compare its view with a master's.
struct ServerCounters {
    uint64_t answered = 0;        // requests to this device that the model handled
    uint64_t faultsInjected = 0;  // of those, replies spoiled by a fault (queued or random)
};

class DeviceServer {
  public:
    struct Options {
        int address = 1;
        int paceBaud = 0;  // 0: replies leave at once, requests count as arrived at once
        // Percentage of replies spoiled by a random fault (0..100), of the kinds that fail
        // exactly the exchange they hit (see RandomFaults).
        int faultRatePercent = 0;
        uint32_t faultSeed = 0;  // the random faults' seed; 0: a different one each run
        // The device's own rate; 0: it hears whatever rate the port is set to. Otherwise a
        // request sent at another rate is noise to it, and what it says back reaches the
        // master as bytes that form no frame (only for requests to its address, so that a
        // test knows when to expect them).
        int lineBaud = 0;
        // Further devices on the same line (an RS-485 bus): each answers only its own
        // address, with a model of its own. Addresses equal to `address` or repeated are
        // ignored. Faults and pacing are the line's, whichever device answers.
        std::vector<int> busAddresses{};
    };

    // How many frames the request log keeps: the last ones seen.
    static constexpr size_t kRequestLogLimit = 4096;

    DeviceServer();
    explicit DeviceServer(Options options);
    ~DeviceServer();
    DeviceServer(const DeviceServer&) = delete;
    DeviceServer& operator=(const DeviceServer&) = delete;

    // Opens the pseudo-terminal and starts serving; false with errno kept on failure.
    bool start();
    // Stops serving and closes the pseudo-terminal. Harmless when not running.
    void stop();
    bool running() const;
    // The slave path a program opens as its serial port.
    std::string path() const;
    int address() const { return m_options.address; }

    // Registers and stores. Thread-safe.
    void setRegister(uint16_t reg, uint16_t value);  // sets and pins
    std::optional<uint16_t> registerValue(uint16_t reg) const;
    void seedVoltageRecords(int group, int count);
    void seedResistanceRecords(int count);
    void seedAlarmRecords(int count);
    // Anything else, under the same lock the server answers with.
    void withModel(const std::function<void(DeviceModel&)>& action);
    // The same for the device at `address` on the bus; false when there is none.
    bool withModelAt(int address, const std::function<void(DeviceModel&)>& action);
    // Every address that answers on this line, the first device's first, then ascending.
    std::vector<int> addresses() const;

    // A silenced device stops answering (as if its cable were pulled) until it is
    // un-silenced; the others on the bus go on. Unknown addresses are ignored.
    void silence(int address, bool silent = true);
    bool silenced(int address) const;

    // Each fault applies to the next `count` replies; faults queue in the order given.
    // `parameter`: Short/Long/Garbage byte count, Late delay in ms; negative: the default.
    void injectFault(FaultKind kind, int count = 1, int parameter = -1);
    void clearFaults();
    // The next `count` replies go out unchanged, ahead of faults injected after this.
    void passReplies(int count);

    // The frames seen on the line that the log still keeps, oldest first, whatever their
    // address, valid or not.
    std::vector<LoggedFrame> requests() const;
    // Those kept frames whose sequence number is `sequence` or later.
    std::vector<LoggedFrame> requestsSince(uint64_t sequence) const;
    // How many frames were ever seen: the sequence number the next one will get.
    uint64_t requestsSeen() const;
    // Empties the log; sequence numbers go on.
    void clearRequests();

    ServerCounters counters() const;

    // The pseudo-terminal goes away: a program holding it sees a hang-up, and reopening
    // the path fails. The registers survive for inspection.
    void vanish();
    bool vanished() const;

    // Paces the line at `baud` (10 bits a byte); 0 turns pacing off.
    void setPaceBaud(int baud);

    // Moves the running device to `address` and its own rate `lineBaud` (0: any rate, as
    // Options::lineBaud), its address and baud rate registers saying so: a device whose
    // settings the master does not know.
    void setLine(int address, int lineBaud);

    // How long the fully automatic probe registration keeps its reply back (default 3000
    // ms; negative counts as 0). Applies to requests that arrive afterwards.
    void setAutoRegistrationDelayMs(int delayMs);

  private:
    struct Line;

    void serve();
    void wake();
    void handleFrame(Line& line, std::vector<uint8_t> frame, bool truncated,
                     std::chrono::steady_clock::time_point firstByte);
    void stopThread();
    DeviceModel* modelAt(int address);  // under m_mutex; null for no device there

    Options m_options;
    mutable std::mutex m_mutex;  // guards the models, the faults and the log
    DeviceModel m_model;
    std::map<int, std::unique_ptr<DeviceModel>> m_busModels;  // the others on the line
    std::set<int> m_silenced;
    FaultPlan m_faults;
    RandomFaults m_randomFaults;
    std::deque<LoggedFrame> m_log;
    uint64_t m_requestsSeen = 0;
    ServerCounters m_counters;

    PtyEndpoint m_pty;
    int m_wakePipe[2] = {-1, -1};
    std::thread m_thread;
    std::atomic<bool> m_stopRequested{false};
    std::atomic<bool> m_vanished{false};
    std::atomic<int> m_paceBaud{0};
};
