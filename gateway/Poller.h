// Polls every device of the gateway on its own thread, round after round on the interval.
// One command at a time: the ports are opened one after another (with their locks, as every
// other command of the program takes them), and the devices of a port are asked one after
// another on that one opening. A port that does not open is told on the log and tried again
// next round; so is a device that stops answering.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "DevicePoll.h"
#include "GatewayLog.h"
#include "ServeOptions.h"

class Poller {
  public:
    // Called on the polling thread after each device's poll, with the device's index.
    using Sink = std::function<void(size_t device, const DeviceSample&)>;

    Poller(ServeOptions options, Sink sink, GatewayLog& log);
    ~Poller();
    Poller(const Poller&) = delete;
    Poller& operator=(const Poller&) = delete;

    // Rounds every interval, the first at once, until stop().
    void start();
    // Ends the round under way after the device being asked, and waits for the thread.
    void stop();
    // One round on the calling thread (for a program that drives the rounds itself).
    void pollRound();

  private:
    struct PortGroup {
        int port = 0;
        int baudRate = 0;
        std::vector<size_t> devices;
        bool failing = false;  // told on the log already
    };

    void run();
    void pollGroup(PortGroup& group);
    void tellDevice(size_t index, bool up);
    bool stopping();

    ServeOptions m_options;
    Sink m_sink;
    GatewayLog& m_log;
    std::vector<PortGroup> m_groups;
    std::vector<DeviceMemory> m_memory;
    std::vector<bool> m_told;  // the device's "no answer" is on the log

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread;
};
