// Series per device and per cell, kept while the device answers and removed when it does not.
#include "MetricsExporter.h"

#include <prometheus/counter.h>
#include <prometheus/exposer.h>
#include <prometheus/family.h>
#include <prometheus/gauge.h>
#include <prometheus/registry.h>
#include <prometheus/text_serializer.h>

#include <sstream>

using prometheus::Counter;
using prometheus::Family;
using prometheus::Gauge;
using prometheus::Labels;

struct MetricsExporter::Families {
    explicit Families(prometheus::Registry& r)
        : up(gauge(r, "korval_up", "1 when the device answered its last poll, else 0")),
          lastSuccess(gauge(r, "korval_last_success_timestamp_seconds",
                            "Unix time of the device's last answered poll")),
          pollDuration(
              gauge(r, "korval_poll_duration_seconds", "How long the device's last poll took")),
          polls(counter(r, "korval_polls_total", "Polls of the device")),
          failures(counter(r, "korval_poll_failures_total",
                           "Polls the device did not answer (or its port did not open)")),
          current(gauge(r, "korval_bank_current_amperes",
                        "Bank current; positive while charging, negative while discharging")),
          verdict(gauge(r, "korval_bank_verdict",
                        "Judgement of the bank against the device's limits: 0 ok, 1 warning, "
                        "2 fail")),
          limitsKnown(gauge(r, "korval_bank_limits_known",
                            "1 when the verdict was judged against limits read from the device")),
          voltage(gauge(r, "korval_cell_voltage_volts", "Cell voltage")),
          resistance(gauge(r, "korval_cell_resistance_ohms", "Cell internal resistance")),
          temperature(gauge(r, "korval_cell_temperature_celsius", "Cell temperature")) {}

    static Family<Gauge>& gauge(prometheus::Registry& r, const char* name, const char* help) {
        return prometheus::BuildGauge().Name(name).Help(help).Register(r);
    }
    static Family<Counter>& counter(prometheus::Registry& r, const char* name, const char* help) {
        return prometheus::BuildCounter().Name(name).Help(help).Register(r);
    }

    Family<Gauge>& up;
    Family<Gauge>& lastSuccess;
    Family<Gauge>& pollDuration;
    Family<Counter>& polls;
    Family<Counter>& failures;
    Family<Gauge>& current;
    Family<Gauge>& verdict;
    Family<Gauge>& limitsKnown;
    Family<Gauge>& voltage;
    Family<Gauge>& resistance;
    Family<Gauge>& temperature;
};

using CellGauges = std::array<Gauge*, kCellCount>;

struct MetricsExporter::DeviceSeries {
    Labels labels;
    std::array<Labels, kCellCount> cellLabels;
    Gauge* up = nullptr;
    Gauge* lastSuccess = nullptr;
    Gauge* pollDuration = nullptr;
    Counter* polls = nullptr;
    Counter* failures = nullptr;
    Gauge* current = nullptr;
    Gauge* verdict = nullptr;
    Gauge* limitsKnown = nullptr;
    CellGauges voltage{};
    CellGauges resistance{};
    CellGauges temperature{};
};

namespace {

// Sets the series in `slot` to `value`, adding it first; no value removes it.
void place(Family<Gauge>& family, Gauge*& slot, const Labels& labels, std::optional<double> value) {
    if (!value) {
        if (slot != nullptr) {
            family.Remove(slot);
            slot = nullptr;
        }
        return;
    }
    if (slot == nullptr) {
        slot = &family.Add(labels);
    }
    slot->Set(*value);
}

void placeCells(Family<Gauge>& family, CellGauges& slots,
                const std::array<Labels, kCellCount>& labels, const analysis::OptionalCells* values,
                double scale = 1) {
    for (int k = 0; k < kCellCount; ++k) {
        std::optional<double> value = values != nullptr ? (*values)[k] : std::nullopt;
        if (value) {
            *value *= scale;
        }
        place(family, slots[k], labels[k], value);
    }
}

}  // namespace

MetricsExporter::MetricsExporter(const std::vector<ServedDevice>& devices)
    : m_registry(std::make_shared<prometheus::Registry>()),
      m_families(std::make_unique<Families>(*m_registry)),
      m_devices(devices.size()) {
    for (size_t i = 0; i < devices.size(); ++i) {
        DeviceSeries& s = m_devices[i];
        s.labels = {{"site", devices[i].site}, {"string", devices[i].string}};
        for (int k = 0; k < kCellCount; ++k) {
            s.cellLabels[k] = s.labels;
            s.cellLabels[k].emplace("cell", std::to_string(k + 1));
        }
        s.up = &m_families->up.Add(s.labels);
        s.lastSuccess = &m_families->lastSuccess.Add(s.labels);
        s.pollDuration = &m_families->pollDuration.Add(s.labels);
        s.polls = &m_families->polls.Add(s.labels);
        s.failures = &m_families->failures.Add(s.labels);
    }
}

MetricsExporter::~MetricsExporter() = default;

std::string MetricsExporter::listen(const std::string& address) {
    try {
        // ":PORT" is every address; the web server takes that as the port alone.
        const std::string bind = address.starts_with(':') ? address.substr(1) : address;
        m_exposer = std::make_unique<prometheus::Exposer>(bind, 2);
        m_exposer->RegisterCollectable(m_registry);
    } catch (const std::exception& e) {
        m_exposer.reset();
        return "无法在 " + address + " 上提供 Prometheus 接口（地址不对，或端口已被占用）：" +
               e.what();
    }
    return {};
}

int MetricsExporter::port() const {
    if (!m_exposer) {
        return 0;
    }
    const auto ports = m_exposer->GetListeningPorts();
    return ports.empty() ? 0 : ports.front();
}

void MetricsExporter::update(size_t device, const DeviceSample& sample) {
    DeviceSeries& s = m_devices.at(device);
    Families& f = *m_families;
    s.up->Set(sample.up ? 1 : 0);
    s.polls->Increment();
    s.pollDuration->Set(sample.pollSeconds);
    if (!sample.up) {
        s.failures->Increment();
    } else {
        s.lastSuccess->Set(std::chrono::duration<double>(sample.time.time_since_epoch()).count());
    }
    const analysis::BankValues* values = sample.up ? &sample.values : nullptr;
    place(f.current, s.current, s.labels, values ? values->current : std::nullopt);
    place(f.verdict, s.verdict, s.labels,
          sample.verdict ? std::optional<double>(static_cast<int>(*sample.verdict)) : std::nullopt);
    place(f.limitsKnown, s.limitsKnown, s.labels,
          sample.up ? std::optional<double>(sample.limitsKnown ? 1 : 0) : std::nullopt);
    placeCells(f.voltage, s.voltage, s.cellLabels, values ? &values->voltages : nullptr);
    // Prometheus wants base units: the device's mOhm go out in ohms, as korval read gives them.
    placeCells(f.resistance, s.resistance, s.cellLabels, values ? &values->resistances : nullptr,
               0.001);
    placeCells(f.temperature, s.temperature, s.cellLabels,
               values ? &values->temperatures : nullptr);
}

std::string MetricsExporter::text() const {
    std::ostringstream out;
    prometheus::TextSerializer().Serialize(out, m_registry->Collect());
    return out.str();
}
