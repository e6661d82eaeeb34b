// `korval read` in each format: the 40 cells, the bank current, the verdict and the worst
// cells with their reasons.
#include <array>

#include "CliReports.h"
#include "OutputText.h"
#include "RegisterCoding.h"
#include "ValueText.h"

namespace {

// The cell quantities in the analysis's order, then the bank current.
enum class Value { Voltage, Resistance, Temperature, Current };
constexpr int kValues = 4;

struct ValueInfo {
    const char* json;    // key in json and csv
    const char* unit;    // csv
    const char* metric;  // prometheus
    const char* help;
    const char* format;      // json, csv: the page's decimals
    double prometheusScale;  // to the metric's base unit
    const char* metricFormat;
};

const ValueInfo kInfo[kValues] = {
    {"voltage", "V", "korval_cell_voltage_volts", "Cell voltage.", "%.3f", 1, "%.3f"},
    {"resistance", "mOhm", "korval_cell_resistance_ohms", "Cell internal resistance.", "%.2f",
     0.001, "%.5f"},
    {"temperature", "degC", "korval_cell_temperature_celsius", "Cell temperature.", "%.1f", 1,
     "%.1f"},
    {"current", "A", "korval_bank_current_amperes", "Bank total current.", "%.1f", 1, "%.1f"},
};

const ValueInfo& info(Value v) {
    return kInfo[static_cast<int>(v)];
}

Value valueOf(analysis::Quantity q) {
    return static_cast<Value>(static_cast<int>(q));
}

const CellValues& cellValues(const LiveReadings& live, Value v) {
    switch (v) {
        case Value::Voltage:
            return live.voltages;
        case Value::Resistance:
            return live.resistances;
        default:
            break;
    }
    return live.temperatures;
}

constexpr analysis::Quantity kCellQuantities[] = {
    analysis::Quantity::Voltage, analysis::Quantity::Resistance, analysis::Quantity::Temperature};

std::string number(Value v, double value) {
    return formatText(info(v).format, value);
}

// The rank (1 = worst) of `cell` among the worst cells for quantity `q`; 0 when not there.
int worstRank(const Judgement& j, int cell, analysis::Quantity q) {
    const auto& worst = j.report.worst;
    for (size_t n = 0; n < worst.size(); ++n) {
        if (worst[n].cell != cell) {
            continue;
        }
        for (const analysis::Reason& reason : worst[n].reasons) {
            if (reason.quantity == q) {
                return static_cast<int>(n) + 1;
            }
        }
    }
    return 0;
}

std::string text(const ReadReport& r) {
    std::string out = "电池组总电流：" + formatText("%.1fA", r.live.current) + "\n";
    out += "名称\t电压\t内阻\t温度\n";
    for (int k = 0; k < kCellCount; ++k) {
        const auto i = static_cast<size_t>(k);
        out += channelLabel(k + 1) + formatText("\t%.3fV\t%.2fmΩ\t%.1f℃\n", r.live.voltages[i],
                                                r.live.resistances[i], r.live.temperatures[i]);
    }
    const Judgement& j = r.judgement;
    out += std::string("判定：") + verdictText(j.verdict) + "\n";
    if (const std::string current = currentText(j, r.live.current); !current.empty()) {
        out += "  " + current + "\n";
    }
    if (!j.report.verdict.judged) {
        out += "  设备没有设置报警阀值，无法判定是否超限\n";
    }
    if (j.unmeasured > 0) {
        out += formatText("  %d个报警通道没有测得数值\n", j.unmeasured);
    }
    if (!j.report.worst.empty()) {
        out += "最差的电池：\n";
    }
    for (const analysis::WorstCell& w : j.report.worst) {
        for (const analysis::Reason& reason : w.reasons) {
            out += "  " + reasonText(w.cell, reason, j.limits) + "\n";
        }
    }
    return out;
}

std::string jsonReason(int cell, const analysis::Reason& reason, const analysis::Limits& limits) {
    const Value v = valueOf(reason.quantity);
    return formatText(
        "{\"quantity\": \"%s\", \"band\": \"%s\", \"value\": %s, \"deviation_percent\": %s, "
        "\"text\": %s}",
        info(v).json, bandName(reason.band), number(v, reason.value).c_str(),
        reason.deviationPercent ? formatText("%.1f", *reason.deviationPercent).c_str() : "null",
        jsonString(reasonText(cell, reason, limits)).c_str());
}

std::string json(const ReadReport& r) {
    const Judgement& j = r.judgement;
    std::string out = formatText(
        "{\"address\": %d, \"verdict\": \"%s\", \"current\": %s, \"current_band\": \"%s\",\n",
        r.address, verdictName(j.verdict), number(Value::Current, r.live.current).c_str(),
        bandName(j.report.currentBand));
    out +=
        formatText(" \"over_limit\": %d, \"warnings\": %d, \"unmeasured\": %d, \"judged\": %s,\n",
                   j.report.verdict.overLimit, j.report.verdict.warnings, j.unmeasured,
                   j.report.verdict.judged ? "true" : "false");
    out += " \"cells\": [\n";
    for (int k = 0; k < kCellCount; ++k) {
        const auto i = static_cast<size_t>(k);
        out += formatText(
            "  {\"cell\": %d, \"voltage\": %s, \"resistance\": %s, "
            "\"temperature\": %s}%s\n",
            k + 1, number(Value::Voltage, r.live.voltages[i]).c_str(),
            number(Value::Resistance, r.live.resistances[i]).c_str(),
            number(Value::Temperature, r.live.temperatures[i]).c_str(),
            k + 1 < kCellCount ? "," : "");
    }
    out += " ],\n \"worst\": [";
    for (size_t n = 0; n < j.report.worst.size(); ++n) {
        const analysis::WorstCell& w = j.report.worst[n];
        out += formatText("%s\n  {\"cell\": %d, \"reasons\": [", n == 0 ? "" : ",", w.cell);
        for (size_t k = 0; k < w.reasons.size(); ++k) {
            out += (k == 0 ? "" : ", ") + jsonReason(w.cell, w.reasons[k], j.limits);
        }
        out += "]}";
    }
    return out + (j.report.worst.empty() ? "]}\n" : "\n ]}\n");
}

std::string csv(const ReadReport& r) {
    const Judgement& j = r.judgement;
    std::string out = "quantity,cell,value,unit,verdict,worst_rank\n";
    for (analysis::Quantity q : kCellQuantities) {
        const Value v = valueOf(q);
        const CellValues& values = cellValues(r.live, v);
        const analysis::QuantityReport& judged = j.report.of(q);
        for (int k = 0; k < kCellCount; ++k) {
            const int rank = worstRank(j, k + 1, q);
            out += formatText("%s,%d,%s,%s,%s,%s\n", info(v).json, k + 1,
                              number(v, values[static_cast<size_t>(k)]).c_str(), info(v).unit,
                              bandName(judged.cells[static_cast<size_t>(k)].band),
                              rank > 0 ? formatText("%d", rank).c_str() : "");
        }
    }
    const Value c = Value::Current;
    out += formatText("%s,,%s,%s,%s,\n", info(c).json, number(c, r.live.current).c_str(),
                      info(c).unit, bandName(j.report.currentBand));
    return out + formatText("bank,,,,%s,\n", verdictName(j.verdict));
}

std::string prometheusWorst(const ReadReport& r) {
    const Judgement& j = r.judgement;
    std::string out =
        prometheusHeader("korval_worst_cell", "The worst cells and why, by rank: 1 is the worst.");
    for (size_t n = 0; n < j.report.worst.size(); ++n) {
        const analysis::WorstCell& w = j.report.worst[n];
        for (const analysis::Reason& reason : w.reasons) {
            out += formatText(
                "korval_worst_cell{address=\"%d\",cell=\"%d\",quantity=\"%s\",band=\"%s\"} %zu\n",
                r.address, w.cell, info(valueOf(reason.quantity)).json, bandName(reason.band),
                n + 1);
        }
    }
    return out;
}

std::string prometheus(const ReadReport& r) {
    std::string out = prometheusUp(r.address, true);
    for (analysis::Quantity q : kCellQuantities) {
        const ValueInfo& i = info(valueOf(q));
        out += prometheusHeader(i.metric, i.help);
        const CellValues& values = cellValues(r.live, valueOf(q));
        for (int k = 0; k < kCellCount; ++k) {
            out += formatText("%s{address=\"%d\",cell=\"%d\"} ", i.metric, r.address, k + 1) +
                   formatText(i.metricFormat, values[static_cast<size_t>(k)] * i.prometheusScale) +
                   "\n";
        }
    }
    const ValueInfo& c = info(Value::Current);
    out += prometheusHeader(c.metric, c.help) +
           formatText("%s{address=\"%d\"} %.1f\n", c.metric, r.address, r.live.current);
    out += prometheusHeader("korval_bank_verdict",
                            "The bank judged against the alarm limits: 0 ok, 1 warning, 2 fail.") +
           formatText("korval_bank_verdict{address=\"%d\"} %d\n", r.address,
                      static_cast<int>(r.judgement.verdict));
    return out + prometheusWorst(r);
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
