// The gateway's values as Prometheus series, served on an HTTP endpoint (/metrics). A device
// that does not answer keeps its korval_up (0), last success and counters; its cell, current
// and verdict series are removed, so that they go stale instead of freezing at old values,
// and come back when it answers again.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "DevicePoll.h"
#include "ServeOptions.h"

namespace prometheus {
class Registry;
class Exposer;
}  // namespace prometheus

class MetricsExporter {
  public:
    explicit MetricsExporter(const std::vector<ServedDevice>& devices);
    ~MetricsExporter();
    MetricsExporter(const MetricsExporter&) = delete;
    MetricsExporter& operator=(const MetricsExporter&) = delete;

    // Serves /metrics on `address` (HOST:PORT, port 0: any free one). An error text in
    // Chinese when it cannot listen there, empty on success.
    std::string listen(const std::string& address);
    // The port the endpoint listens on; 0 before listen().
    int port() const;

    // Thread-safe against scrapes; called by one polling thread.
    void update(size_t device, const DeviceSample& sample);

    // The exposition text a scrape gets, without HTTP.
    std::string text() const;

  private:
    struct Families;
    struct DeviceSeries;

    std::shared_ptr<prometheus::Registry> m_registry;
    std::unique_ptr<Families> m_families;
    std::vector<DeviceSeries> m_devices;
    std::unique_ptr<prometheus::Exposer> m_exposer;
};
