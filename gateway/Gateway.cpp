// Wires the poller's samples to the endpoint and the broker.
#include "Gateway.h"

#include "MetricsExporter.h"
#include "MqttPublisher.h"
#include "Poller.h"

Gateway::Gateway(const ServeOptions& options, std::ostream& log)
    : m_options(options),
      m_log(log),
      m_metrics(std::make_unique<MetricsExporter>(options.devices)) {
    if (options.mqtt) {
        m_mqtt = std::make_unique<MqttPublisher>(options, m_log);
    }
    m_poller = std::make_unique<Poller>(
        options,
        [this](size_t device, const DeviceSample& sample) {
            m_metrics->update(device, sample);
            if (m_mqtt) {
                m_mqtt->update(device, sample);
            }
        },
        m_log);
}

Gateway::~Gateway() {
    stop();
}

std::string Gateway::start() {
    if (!m_options.listen.empty()) {
        if (auto error = m_metrics->listen(m_options.listen); !error.empty()) {
            return error;
        }
    }
    if (m_mqtt) {
        if (auto error = m_mqtt->start(); !error.empty()) {
            return error;
        }
    }
    m_poller->start();
    return {};
}

void Gateway::stop() {
    m_poller->stop();
    if (m_mqtt) {
        m_mqtt->stop();
    }
}

int Gateway::metricsPort() const {
    return m_metrics->port();
}
