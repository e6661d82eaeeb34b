// `korval read` in each format: the 40 cells, the bank current and the verdict.
#include <array>

#include "CliReports.h"
#include "OutputText.h"
#include "RegisterCoding.h"
#include "ValueText.h"

namespace {

constexpr int kQuantities = 4;

struct QuantityInfo {
    const char* json;    // key in json and csv
    const char* unit;    // csv
    const char* metric;  // prometheus
    const char* help;
    const char* format;      // json, csv: the page's decimals
    double prometheusScale;  // to the metric's base unit
    const char* metricFormat;
};

const QuantityInfo kInfo[kQuantities] = {
    {"voltage", "V", "korval_cell_voltage_volts", "Cell voltage.", "%.3f", 1, "%.3f"},
    {"resistance", "mOhm", "korval_cell_resistance_ohms", "Cell internal resistance.", "%.2f",
     0.001, "%.5f"},
    {"temperature", "degC", "korval_cell_temperature_celsius", "Cell temperature.", "%.1f", 1,
     "%.1f"},
    {"current", "A", "korval_bank_current_amperes", "Bank total current.", "%.1f", 1, "%.1f"},
};

const QuantityInfo& info(Quantity q) {
    return kInfo[static_cast<int>(q)];
}

const CellValues& cellValues(const LiveReadings& live, Quantity q) {
    switch (q) {
        case Quantity::Voltage:
            return live.voltages;
        case Quantity::Resistance:
            return live.resistances;
        default:
            break;
    }
    return live.temperatures;
}

// The verdict of each value: cells 1..40 at their index, the current at 0.
using Verdicts = std::array<std::array<Verdict, kCellCount + 1>, kQuantities>;
Verdicts valueVerdicts(const Judgement& judgement) {
    Verdicts verdicts{};
    for (auto& row : verdicts) {
        row.fill(Verdict::Ok);
    }
    for (const Finding& f : judgement.findings) {
        verdicts[static_cast<size_t>(f.quantity)][static_cast<size_t>(f.cell)] = f.verdict;
    }
    return verdicts;
}

constexpr Quantity kCellQuantities[] = {Quantity::Voltage, Quantity::Resistance,
                                        Quantity::Temperature};

std::string number(Quantity q, double value) {
    return formatText(info(q).format, value);
}

std::string text(const ReadReport& r) {
    std::string out = "电池组总电流：" + formatText("%.1fA", r.live.current) + "\n";
    out += "名称\t电压\t内阻\t温度\n";
    for (int k = 0; k < kCellCount; ++k) {
        const auto i = static_cast<size_t>(k);
        out += channelLabel(k + 1) + formatText("\t%.3fV\t%.2fmΩ\t%.1f℃\n", r.live.voltages[i],
                                                r.live.resistances[i], r.live.temperatures[i]);
    }
    out += std::string("判定：") + verdictText(r.judgement.verdict) + "\n";
    for (const Finding& f : r.judgement.findings) {
        out += "  " + findingText(f) + "\n";
    }
    return out;
}

std::string json(const ReadReport& r) {
    std::string out = formatText("{\"address\": %d, \"verdict\": \"%s\", \"current\": %s,\n",
                                 r.address, verdictName(r.judgement.verdict),
                                 number(Quantity::Current, r.live.current).c_str());
    out += " \"cells\": [\n";
    for (int k = 0; k < kCellCount; ++k) {
        const auto i = static_cast<size_t>(k);
        out += formatText(
            "  {\"cell\": %d, \"voltage\": %s, \"resistance\": %s, "
            "\"temperature\": %s}%s\n",
            k + 1, number(Quantity::Voltage, r.live.voltages[i]).c_str(),
            number(Quantity::Resistance, r.live.resistances[i]).c_str(),
            number(Quantity::Temperature, r.live.temperatures[i]).c_str(),
            k + 1 < kCellCount ? "," : "");
    }
    out += " ],\n \"findings\": [";
    for (size_t n = 0; n < r.judgement.findings.size(); ++n) {
        const Finding& f = r.judgement.findings[n];
        out += formatText(
            "%s\n  {\"quantity\": \"%s\", \"cell\": %d, \"value\": %s, "
            "\"limit\": %g, \"side\": \"%s\", \"verdict\": \"%s\", \"text\": %s}",
            n == 0 ? "" : ",", info(f.quantity).json, f.cell, number(f.quantity, f.value).c_str(),
            f.limit, f.upper ? "upper" : "lower", verdictName(f.verdict),
            jsonString(findingText(f)).c_str());
    }
    return out + (r.judgement.findings.empty() ? "]}\n" : "\n ]}\n");
}

std::string csv(const ReadReport& r) {
    const Verdicts verdicts = valueVerdicts(r.judgement);
    std::string out = "quantity,cell,value,unit,verdict\n";
    for (Quantity q : kCellQuantities) {
        const CellValues& values = cellValues(r.live, q);
        for (int k = 0; k < kCellCount; ++k) {
            out += formatText("%s,%d,%s,%s,%s\n", info(q).json, k + 1,
                              number(q, values[static_cast<size_t>(k)]).c_str(), info(q).unit,
                              verdictName(verdicts[static_cast<size_t>(q)][k + 1u]));
        }
    }
    const Quantity c = Quantity::Current;
    out += formatText("%s,,%s,%s,%s\n", info(c).json, number(c, r.live.current).c_str(),
                      info(c).unit, verdictName(verdicts[static_cast<size_t>(c)][0]));
    return out;
}

std::string prometheus(const ReadReport& r) {
    std::string out = prometheusUp(r.address, true);
    for (Quantity q : kCellQuantities) {
        const QuantityInfo& i = info(q);
        out += prometheusHeader(i.metric, i.help);
        const CellValues& values = cellValues(r.live, q);
        for (int k = 0; k < kCellCount; ++k) {
            out += formatText("%s{address=\"%d\",cell=\"%d\"} ", i.metric, r.address, k + 1) +
                   formatText(i.metricFormat, values[static_cast<size_t>(k)] * i.prometheusScale) +
                   "\n";
        }
    }
    const QuantityInfo& c = info(Quantity::Current);
    out += prometheusHeader(c.metric, c.help) +
           formatText("%s{address=\"%d\"} %.1f\n", c.metric, r.address, r.live.current);
    out += prometheusHeader("korval_verdict",
                            "Worst value against the alarm limits: 0 ok, 1 warning, 2 fail.") +
           formatText("korval_verdict{address=\"%d\"} %d\n", r.address,
                      static_cast<int>(r.judgement.verdict));
    return out;
}

}  // namespace

std::string formatRead(const ReadReport& report, OutputFormat format) {
    return writeAs(report, format, FormatWriters<ReadReport>{text, json, csv, prometheus});
}

std::string formatNoAnswer(int address, OutputFormat format) {
    if (format != OutputFormat::Prometheus) {
        return {};
    }
    return prometheusUp(address, false);
}
