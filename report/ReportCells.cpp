// The per-cell table, the worst cells, and the resistance records as table and chart.
#include <algorithm>
#include <cmath>

#include "ReportTables.h"
#include "ReportText.h"

namespace report::detail {

namespace {

using analysis::Band;
using analysis::Quantity;

int severity(Band band) {
    return band == Band::OverLimit ? 2 : band == Band::Warning ? 1 : 0;
}

// A channel the device watches for none of the three quantities.
bool unwatched(const Judged& judged, int index) {
    const auto& m = judged.masks;
    return m && !m->voltage[index] && !m->resistance[index] && !m->temperature[index];
}

// "超限：电压、内阻变化", "注意：温度", "正常", "未判定", "缺失" or "未监测", from the cell's
// bands.
std::string cellVerdict(const Judged& judged, int index) {
    std::vector<std::pair<std::string, Band>> bands;
    bool anyValue = false;
    bool anyJudged = false;
    for (const Quantity q : {Quantity::Voltage, Quantity::Resistance, Quantity::Temperature}) {
        const auto& cell = judged.bank->of(q).cells[index];
        anyValue = anyValue || cell.value.has_value();
        anyJudged = anyJudged || cell.band != Band::Unjudged;
        bands.emplace_back(text::quantityWord(q), cell.band);
    }
    const auto& change = judged.change->cells[index];
    anyJudged = anyJudged || change.band != Band::Unjudged;
    bands.emplace_back("内阻变化", change.band);
    int worst = 0;
    for (const auto& [word, band] : bands) {
        worst = std::max(worst, severity(band));
    }
    if (worst == 0) {
        if (!anyValue) {
            return unwatched(judged, index) ? "未监测" : "缺失";
        }
        return anyJudged ? "正常" : "未判定";
    }
    std::string words;
    for (const auto& [word, band] : bands) {
        if (severity(band) == worst) {
            words += (words.empty() ? "" : "、") + word;
        }
    }
    return (worst == 2 ? "超限：" : "注意：") + words;
}

std::string changeText(const analysis::CellChange& change) {
    std::string text = text::number(change.percent, 1, true);
    if (change.percent && change.reference == analysis::ChangeReference::StringMedian) {
        text += "*";
    }
    return text;
}

std::string reasonText(const analysis::Reason& r) {
    const int d = text::decimals(r.quantity);
    std::string text = text::quantityWord(r.quantity) + " " + text::number(r.value, d) + " " +
                       text::unit(r.quantity);
    if (r.band == Band::Warning || r.band == Band::OverLimit) {
        text += " " + text::bandWord(r.band);
    }
    if (r.deviation) {
        text += "，偏差 " + text::number(r.deviation, d, true) + " " + text::unit(r.quantity);
        if (r.deviationPercent) {
            text += "（" + text::number(r.deviationPercent, 1, true) + "%）";
        }
    }
    return text;
}

// The records with a time, in time order (equal times keep their order).
std::vector<analysis::ResistanceRecord> timedRecords(const ReportInput& input) {
    std::vector<analysis::ResistanceRecord> records;
    if (input.records.value) {
        records = *input.records.value;
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const auto& a, const auto& b) { return a.time < b.time; });
    return records;
}

}  // namespace

ReportTable cellsTable(const ReportInput& input, const Judged& judged) {
    ReportTable t;
    t.title = "单体电池";
    t.columns = {"电池", "电压(V)", "偏差(V)", "内阻(mΩ)", "内阻变化(%)", "温度(℃)", "结论"};
    if (!judged.bank) {
        t.notes.push_back(missingLine("实时数据", input.live.failure));
        return t;
    }
    const auto& volts = judged.bank->of(Quantity::Voltage).cells;
    const auto& ohms = judged.bank->of(Quantity::Resistance).cells;
    const auto& temps = judged.bank->of(Quantity::Temperature).cells;
    for (int i = 0; i < static_cast<int>(volts.size()); ++i) {
        t.rows.push_back({std::to_string(i + 1), text::number(volts[i].value, 3),
                          text::number(volts[i].deviation, 3, true), text::number(ohms[i].value, 2),
                          changeText(judged.change->cells[i]), text::number(temps[i].value, 1),
                          cellVerdict(judged, i)});
    }
    const bool againstMedian =
        std::any_of(judged.change->cells.begin(), judged.change->cells.end(), [](const auto& c) {
            return c.percent && c.reference == analysis::ChangeReference::StringMedian;
        });
    if (againstMedian) {
        t.notes.push_back("* 没有基准值（未选基准，或基准中此节为 0）：与本组内阻中位数比较");
    }
    t.notes.push_back("偏差：与本组平均值之差；— ：没有数值（未监测、未测量或未能读取）");
    return t;
}

ReportTable worstTable(const Judged& judged) {
    ReportTable t;
    t.title = "最差的电池";
    t.columns = {"名次", "电池", "原因"};
    if (!judged.bank) {
        t.notes.push_back("没有实时数据，无法排出");
        return t;
    }
    int rank = 0;
    for (const analysis::WorstCell& cell : judged.bank->worst) {
        std::string reasons;
        for (const analysis::Reason& r : cell.reasons) {
            reasons += (reasons.empty() ? "" : "；") + reasonText(r);
        }
        t.rows.push_back({std::to_string(++rank), std::to_string(cell.cell), reasons});
    }
    if (t.rows.empty()) {
        t.notes.push_back("没有突出的电池");
    }
    return t;
}

ReportTable trendTable(const ReportInput& input) {
    ReportTable t;
    t.title = "内阻记录";
    t.columns = {"时间"};
    for (int cell = 1; cell <= analysis::kRecordCells; ++cell) {
        t.columns.push_back("电池" + std::to_string(cell) + "(mΩ)");
    }
    if (!input.recordsAsked) {
        t.notes.push_back("未要求读取内阻记录");
        return t;
    }
    for (const analysis::ResistanceRecord& record : timedRecords(input)) {
        std::vector<std::string> row{localTimeText(record.time)};
        for (const auto& value : record.cells) {
            row.push_back(value ? text::number(value, 2) : "");
        }
        t.rows.push_back(std::move(row));
    }
    if (!input.records.failure.empty()) {
        t.notes.push_back(missingLine("内阻记录", input.records.failure));
    }
    if (input.recordsWithoutTime > 0) {
        t.notes.push_back(std::to_string(input.recordsWithoutTime) +
                          " 条记录的时间无效，未计入趋势");
    }
    if (input.records.value && input.records.value->empty() && input.records.failure.empty()) {
        t.notes.push_back("设备中没有内阻记录");
    }
    return t;
}

TrendChart trendChart(const ReportInput& input, const Judged& judged) {
    TrendChart chart;
    const std::vector<analysis::ResistanceRecord> records = timedRecords(input);
    chart.series = analysis::resistanceTrend(records);
    // The cells whose resistance rose most now stand out; without a change, the worst cells.
    std::vector<std::pair<double, int>> ranked;
    if (judged.change) {
        for (int i = 0; i < static_cast<int>(judged.change->cells.size()); ++i) {
            if (const auto& p = judged.change->cells[i].percent) {
                ranked.emplace_back(-*p, i + 1);
            }
        }
        std::stable_sort(ranked.begin(), ranked.end());
    }
    if (ranked.empty() && judged.bank) {
        for (const analysis::WorstCell& cell : judged.bank->worst) {
            ranked.emplace_back(0, cell.cell);
        }
    }
    for (const auto& [key, cell] : ranked) {
        const size_t index = static_cast<size_t>(cell - 1);
        if (index < chart.series.size() && !chart.series[index].empty() &&
            static_cast<int>(chart.highlighted.size()) < kHighlightedCells) {
            chart.highlighted.push_back(cell);
        }
    }
    return chart;
}

}  // namespace report::detail
