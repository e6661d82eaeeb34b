// A test's MQTT client on libmosquitto: subscribes to everything and keeps, per topic, the
// last payload and how many messages came.
#pragma once

#include <mosquitto.h>

#include <map>
#include <mutex>
#include <string>

namespace engine {

class MqttSubscriber {
  public:
    explicit MqttSubscriber(int port) {
        mosquitto_lib_init();
        m_client = mosquitto_new(nullptr, true, this);
        mosquitto_message_callback_set(m_client, onMessage);
        mosquitto_connect_callback_set(m_client, [](mosquitto* m, void*, int rc) {
            if (rc == 0) {
                mosquitto_subscribe(m, nullptr, "#", 0);
            }
        });
        mosquitto_loop_start(m_client);
        mosquitto_connect_async(m_client, "127.0.0.1", port, 30);
    }
    ~MqttSubscriber() {
        mosquitto_disconnect(m_client);
        mosquitto_loop_stop(m_client, false);
        mosquitto_destroy(m_client);
    }
    MqttSubscriber(const MqttSubscriber&) = delete;
    MqttSubscriber& operator=(const MqttSubscriber&) = delete;

    std::string last(const std::string& topic) const {
        std::lock_guard lock(m_mutex);
        const auto found = m_last.find(topic);
        return found == m_last.end() ? "" : found->second;
    }
    int count(const std::string& topic) const {
        std::lock_guard lock(m_mutex);
        const auto found = m_count.find(topic);
        return found == m_count.end() ? 0 : found->second;
    }
    int topicsUnder(const std::string& prefix) const {
        std::lock_guard lock(m_mutex);
        int n = 0;
        for (const auto& entry : m_last) {
            n += entry.first.rfind(prefix, 0) == 0 ? 1 : 0;
        }
        return n;
    }

  private:
    static void onMessage(mosquitto*, void* self, const mosquitto_message* m) {
        auto& s = *static_cast<MqttSubscriber*>(self);
        std::lock_guard lock(s.m_mutex);
        s.m_last[m->topic] =
            std::string(static_cast<const char*>(m->payload), static_cast<size_t>(m->payloadlen));
        ++s.m_count[m->topic];
    }

    mosquitto* m_client = nullptr;
    mutable std::mutex m_mutex;
    std::map<std::string, std::string> m_last;
    std::map<std::string, int> m_count;
};

}  // namespace engine
