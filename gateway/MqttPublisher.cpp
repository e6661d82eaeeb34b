// The MQTT side of the gateway on libmosquitto's threaded interface.
#include "MqttPublisher.h"

#include <mosquitto.h>
#include <unistd.h>

#include <mutex>

namespace {

constexpr int kKeepAliveSeconds = 30;
constexpr unsigned kReconnectMinSeconds = 1;
constexpr unsigned kReconnectMaxSeconds = 30;

void initLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

std::string clientId() {
    char host[64] = {};
    gethostname(host, sizeof host - 1);
    return "korval-serve-" + std::string(host) + "-" + std::to_string(getpid());
}

}  // namespace

MqttPublisher::MqttPublisher(const ServeOptions& options, GatewayLog& log)
    : m_options(options), m_log(log), m_available(options.devices.size(), -1) {}

MqttPublisher::~MqttPublisher() {
    stop();
}

std::string MqttPublisher::start() {
    initLibrary();
    const auto& broker = *m_options.mqtt;
    m_client = mosquitto_new(clientId().c_str(), true, this);
    if (m_client == nullptr) {
        return "无法建立 MQTT 客户端";
    }
    const std::string status = statusTopic(m_options.mqttPrefix);
    mosquitto_will_set(m_client, status.c_str(),
                       static_cast<int>(std::char_traits<char>::length(kOffline)), kOffline, 0,
                       true);
    mosquitto_reconnect_delay_set(m_client, kReconnectMinSeconds, kReconnectMaxSeconds, true);
    mosquitto_connect_callback_set(m_client, onConnect);
    mosquitto_disconnect_callback_set(m_client, onDisconnect);
    mosquitto_publish_callback_set(m_client, onPublish);
    if (mosquitto_loop_start(m_client) != MOSQ_ERR_SUCCESS) {
        mosquitto_destroy(m_client);
        m_client = nullptr;
        return "无法启动 MQTT 网络线程";
    }
    // A broker that is not there yet is tried again by the network thread.
    if (mosquitto_connect_async(m_client, broker.host.c_str(), broker.port, kKeepAliveSeconds) !=
        MOSQ_ERR_SUCCESS) {
        m_log.say("暂时连不上 MQTT 服务器 " + broker.host + ":" + std::to_string(broker.port) +
                  "，稍后自动重连");
    }
    return {};
}

void MqttPublisher::stop() {
    if (m_client == nullptr) {
        return;
    }
    const bool wasConnected = m_connected;
    if (wasConnected) {
        publish({statusTopic(m_options.mqttPrefix), kOffline, true});
    }
    mosquitto_disconnect(m_client);
    // A thread between reconnection attempts is cancelled; a connected one ends by itself
    // once the disconnection is out.
    mosquitto_loop_stop(m_client, !wasConnected);
    m_connected = false;
    mosquitto_destroy(m_client);
    m_client = nullptr;
}

void MqttPublisher::update(size_t device, const DeviceSample& sample) {
    const ServedDevice& d = m_options.devices.at(device);
    {
        // Under the lock, so that a (re)connection's announcement cannot overtake it with
        // the availability it had before.
        std::lock_guard lock(m_mutex);
        const signed char now = sample.up ? 1 : 0;
        if (m_available[device] != now) {
            m_available[device] = now;
            publish({deviceTopic(m_options.mqttPrefix, d, "availability"),
                     sample.up ? kOnline : kOffline, true});
        }
    }
    if (sample.up) {
        publish({deviceTopic(m_options.mqttPrefix, d, "state"), statePayload(sample), false}, true);
    }
}

bool MqttPublisher::publish(const MqttMessage& m, bool mayDrop) {
    if (m_client == nullptr || !m_connected) {
        return false;
    }
    if (mayDrop && m_queued >= kMaxQueued) {
        ++m_dropped;
        return false;
    }
    const int rc =
        mosquitto_publish(m_client, nullptr, m.topic.c_str(), static_cast<int>(m.payload.size()),
                          m.payload.data(), 0, m.retain);
    if (rc == MOSQ_ERR_SUCCESS) {
        ++m_queued;
    }
    return rc == MOSQ_ERR_SUCCESS;
}

void MqttPublisher::announce() {
    publish({statusTopic(m_options.mqttPrefix), kOnline, true});
    for (size_t i = 0; i < m_options.devices.size(); ++i) {
        for (const MqttMessage& m : discoveryMessages(m_options.devices[i], m_options.mqttPrefix,
                                                      m_options.discoveryPrefix)) {
            publish(m);
        }
        std::lock_guard lock(m_mutex);
        if (m_available[i] >= 0) {
            publish({deviceTopic(m_options.mqttPrefix, m_options.devices[i], "availability"),
                     m_available[i] ? kOnline : kOffline, true});
        }
    }
}

void MqttPublisher::onConnect(mosquitto*, void* self, int rc) {
    auto& p = *static_cast<MqttPublisher*>(self);
    if (rc != 0) {
        p.m_log.say("MQTT 服务器拒绝了连接：" + std::string(mosquitto_connack_string(rc)));
        return;
    }
    p.m_queued = 0;
    p.m_connected = true;
    const auto& b = *p.m_options.mqtt;
    p.m_log.say(
        (p.m_everConnected.exchange(true) ? "已重新连上 MQTT 服务器 " : "已连上 MQTT 服务器 ") +
        b.host + ":" + std::to_string(b.port));
    p.announce();
}

void MqttPublisher::onDisconnect(mosquitto*, void* self, int rc) {
    auto& p = *static_cast<MqttPublisher*>(self);
    const bool was = p.m_connected.exchange(false);
    if (was && rc != 0) {
        p.m_log.say("与 MQTT 服务器的连接断开了，稍后自动重连");
    }
}

void MqttPublisher::onPublish(mosquitto*, void* self, int) {
    auto& p = *static_cast<MqttPublisher*>(self);
    if (p.m_queued > 0) {
        --p.m_queued;
    }
}
