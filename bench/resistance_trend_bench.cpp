// Benchmark: the resistance record dialog's own work for 1000 records of 40 cells: the
// records as tests and their 40 trend curves, the chart's geometry of those curves, and
// every row judged against a baseline (what the list's colours need when all rows show).
// Goal, like the trend itself: <= 50 ms together.
#include <benchmark/benchmark.h>

#include <vector>

#include "CurveGeometry.h"
#include "ResistanceChange.h"

namespace {

// One test a day, one cell ageing, a little noise everywhere; BCD stamps as the device's.
std::vector<StoredRecord> deviceRecords(int count) {
    std::vector<StoredRecord> records(static_cast<size_t>(count));
    unsigned noise = 1188;
    for (int i = 0; i < count; ++i) {
        StoredRecord& r = records[static_cast<size_t>(i)];
        r.number = i + 1;
        const int year = 2020 + i / 336;
        const int month = 1 + (i / 28) % 12;
        const int day = 1 + i % 28;
        const auto bcd = [](int v) { return static_cast<uint16_t>((v / 10) * 16 + v % 10); };
        r.stamp = {static_cast<uint16_t>(0x2000 + bcd(year % 100)),
                   static_cast<uint16_t>(bcd(month) << 8 | bcd(day)), 0x0200, 0x0000};
        for (int k = 0; k < kRecordChannels; ++k) {
            noise = noise * 1103515245u + 12345u;
            const int ageing = k == 7 ? i / 3 : 0;
            r.channels[static_cast<size_t>(k)] =
                static_cast<uint16_t>(400 + k * 3 + ageing + static_cast<int>((noise >> 16) % 16));
        }
    }
    return records;
}

void BM_TrendCurves(benchmark::State& state) {
    const auto records = deviceRecords(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        int untimed = 0;
        const auto tests = timedRecords(records, untimed);
        benchmark::DoNotOptimize(trendSeries(tests));
    }
    state.SetLabel("records -> 40 curves");
}
BENCHMARK(BM_TrendCurves)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_TrendGeometry(benchmark::State& state) {
    const auto records = deviceRecords(static_cast<int>(state.range(0)));
    int untimed = 0;
    CurveChartState chart;
    chart.m_series = trendSeries(timedRecords(records, untimed));
    chart.m_valueAxis = resistanceAxis();
    chart.m_timeStart = chart.m_series.front()->m_times.front();
    chart.m_timeEnd = chart.m_series.front()->m_times.back();
    ChartTextMetrics text;
    text.ascent = 12;
    text.width = [](const std::string& s) { return static_cast<int>(s.size()) * 7; };
    const ChartRect area{0, 0, 1300, 480};  // the dialog's chart on a laptop screen
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            curveGeometry(chart, area, false, {chart.m_timeStart, chart.m_timeEnd}, text));
    }
    state.SetLabel("40 curves laid out");
}
BENCHMARK(BM_TrendGeometry)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_RowsAgainstBaseline(benchmark::State& state) {
    const auto records = deviceRecords(static_cast<int>(state.range(0)));
    const std::optional<ResistanceBaseline> baseline = baselineOf(records.front());
    for (auto _ : state) {
        for (const StoredRecord& r : records) {
            benchmark::DoNotOptimize(worstChange(changeOf(r, baseline, {})));
        }
    }
    state.SetLabel("every row's bands and worst cell");
}
BENCHMARK(BM_RowsAgainstBaseline)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
