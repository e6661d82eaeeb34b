// Publishes the gateway's samples to an MQTT broker through libmosquitto's own network
// thread: the connection is made and remade there, publishes are QoS 0 and only queued,
// so the poller never waits on the broker. While the broker is away nothing is queued at
// all; a broker that reads too slowly gets new states dropped rather than piled up.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "DevicePoll.h"
#include "GatewayLog.h"
#include "MqttMessages.h"
#include "ServeOptions.h"

struct mosquitto;

class MqttPublisher {
  public:
    // At most this many publishes wait to go out; beyond that states are dropped.
    static constexpr int kMaxQueued = 1000;

    MqttPublisher(const ServeOptions& options, GatewayLog& log);
    ~MqttPublisher();
    MqttPublisher(const MqttPublisher&) = delete;
    MqttPublisher& operator=(const MqttPublisher&) = delete;

    // Starts the network thread and the connection; an error text when the client cannot be
    // set up at all (an absent broker is no error: it is tried again and again).
    std::string start();
    // Says "offline" on the status topic, disconnects and ends the network thread.
    void stop();

    // Thread-safe; never blocks on the broker.
    void update(size_t device, const DeviceSample& sample);

    bool connected() const { return m_connected; }
    int dropped() const { return m_dropped; }

  private:
    static void onConnect(mosquitto*, void* self, int rc);
    static void onDisconnect(mosquitto*, void* self, int rc);
    static void onPublish(mosquitto*, void* self, int mid);

    void announce();  // on every (re)connection: status, discovery, availability
    bool publish(const MqttMessage& message, bool mayDrop = false);

    ServeOptions m_options;
    GatewayLog& m_log;
    mosquitto* m_client = nullptr;

    std::mutex m_mutex;                    // guards m_available
    std::vector<signed char> m_available;  // per device: -1 not known yet, 0 offline, 1 online
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_everConnected{false};
    std::atomic<int> m_queued{0};
    std::atomic<int> m_dropped{0};
};
