// korval serve's engine: the poller feeding the Prometheus endpoint and the MQTT publisher.
#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "GatewayLog.h"
#include "ServeOptions.h"

class MetricsExporter;
class MqttPublisher;
class Poller;

class Gateway {
  public:
    Gateway(const ServeOptions& options, std::ostream& log);
    ~Gateway();
    Gateway(const Gateway&) = delete;
    Gateway& operator=(const Gateway&) = delete;

    // Opens the endpoint, starts the MQTT client and the polling; an error text (Chinese)
    // when the endpoint cannot listen or the client cannot be set up.
    std::string start();
    void stop();

    int metricsPort() const;  // 0 without an endpoint
    const MetricsExporter& metrics() const { return *m_metrics; }
    const MqttPublisher* mqtt() const { return m_mqtt.get(); }

  private:
    ServeOptions m_options;
    GatewayLog m_log;
    std::unique_ptr<MetricsExporter> m_metrics;
    std::unique_ptr<MqttPublisher> m_mqtt;
    std::unique_ptr<Poller> m_poller;
};
