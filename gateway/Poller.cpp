// The polling thread: rounds on a fixed schedule, port by port, device by device.
#include "Poller.h"

#include <chrono>

#include "LinkSettings.h"
#include "RegisterLink.h"
#include "SerialPort.h"

namespace {

std::string portName(int port) {
    return "COM" + std::to_string(port) + "（" + portPath(port) + "）";
}

}  // namespace

Poller::Poller(ServeOptions options, Sink sink, GatewayLog& log)
    : m_options(std::move(options)),
      m_sink(std::move(sink)),
      m_log(log),
      m_memory(m_options.devices.size()),
      m_told(m_options.devices.size(), false) {
    for (const auto& [number, path] : m_options.ports) {
        setPortPath(number, path);
    }
    for (size_t i = 0; i < m_options.devices.size(); ++i) {
        const ServedDevice& device = m_options.devices[i];
        PortGroup* group = nullptr;
        for (PortGroup& g : m_groups) {
            group = g.port == device.port && g.baudRate == device.baudRate ? &g : group;
        }
        if (group == nullptr) {
            group = &m_groups.emplace_back(PortGroup{device.port, device.baudRate, {}, false});
        }
        group->devices.push_back(i);
    }
}

Poller::~Poller() {
    stop();
}

void Poller::start() {
    if (!m_thread.joinable()) {
        m_stop = false;
        m_thread = std::thread([this] { run(); });
    }
}

void Poller::stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

bool Poller::stopping() {
    std::lock_guard lock(m_mutex);
    return m_stop;
}

void Poller::run() {
    using Clock = std::chrono::steady_clock;
    const auto interval = std::chrono::seconds(m_options.intervalSeconds);
    auto next = Clock::now();
    while (!stopping()) {
        pollRound();
        // A round that took longer than the interval is followed at once, never by a burst.
        next = std::max(next + interval, Clock::now());
        std::unique_lock lock(m_mutex);
        m_wake.wait_until(lock, next, [this] { return m_stop; });
    }
}

void Poller::pollRound() {
    for (PortGroup& group : m_groups) {
        if (stopping()) {
            return;
        }
        pollGroup(group);
    }
}

void Poller::pollGroup(PortGroup& group) {
    LinkSettings::portNumber = group.port;
    LinkSettings::baudRate = group.baudRate;
    LinkPort port;
    if (!port.open()) {
        if (!group.failing) {
            m_log.say("没有发现此串口或此串口被占用：" + portName(group.port) + "\n" +
                      portOpenErrorDetails(lastPortOpenError()) + "\n每 " +
                      std::to_string(m_options.intervalSeconds) + " 秒重试一次");
        }
        group.failing = true;
        for (const size_t index : group.devices) {
            m_sink(index, unreachable(m_memory[index]));
        }
        return;
    }
    if (group.failing) {
        m_log.say(portName(group.port) + " 已能打开");
        group.failing = false;
    }
    for (const size_t index : group.devices) {
        if (stopping()) {
            return;
        }
        LinkSettings::deviceAddress = m_options.devices[index].address;
        const DeviceSample sample = pollDevice(port, m_memory[index], m_options.limitsEvery);
        tellDevice(index, sample.up);
        m_sink(index, sample);
    }
}

// A device's silence is told once, and again when it answers again.
void Poller::tellDevice(size_t index, bool up) {
    if (up == !m_told[index]) {
        return;
    }
    const ServedDevice& d = m_options.devices[index];
    m_log.say(d.site + "/" + d.string + "（COM" + std::to_string(d.port) + "，地址 " +
              std::to_string(d.address) + "）" + (up ? "又有应答了" : "没有应答，每轮重试"));
    m_told[index] = !up;
}
