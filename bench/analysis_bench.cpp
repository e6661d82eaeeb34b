// Benchmark: the bank judgement of one tick (summary, bands, worst cells of 40 cells; goal
// <= 0.5 ms) and the resistance trend of 40 cells x 1000 records (goal <= 50 ms).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "BankAnalysis.h"
#include "ResistanceTrend.h"

namespace {

using Cells = std::vector<std::optional<double>>;

Cells randomCells(std::mt19937& rng, double centre, double spread) {
    std::uniform_real_distribution<double> value(centre - spread, centre + spread);
    Cells cells(40);
    for (auto& c : cells) {
        c = value(rng);
    }
    return cells;
}

std::vector<analysis::ResistanceRecord> randomRecords(int count) {
    std::mt19937 rng(1188);
    std::uniform_real_distribution<double> value(3.0, 6.0);
    std::vector<analysis::ResistanceRecord> records(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r) {
        // Mostly in time order, as the device stores them, with a few out of place.
        records[r].time = 1'600'000'000 + (r % 97 == 0 ? -r : r) * 86'400;
        for (auto& c : records[r].cells) {
            c = value(rng);
        }
    }
    return records;
}

void BM_BankTick(benchmark::State& state) {
    std::mt19937 rng(18);
    // Two readings that differ in every cell, alternated so nothing is judged twice in a row.
    const Cells volts[2] = {randomCells(rng, 12.5, 1.5), randomCells(rng, 12.5, 1.5)};
    const Cells ohms[2] = {randomCells(rng, 4.5, 1.5), randomCells(rng, 4.5, 1.5)};
    const Cells temps[2] = {randomCells(rng, 25, 25), randomCells(rng, 25, 25)};
    const analysis::Limits limits{45, -20, 14.0, 10.5, 6.0, 500};
    int i = 0;
    for (auto _ : state) {
        const int k = i++ % 2;
        const analysis::BankInput input{volts[k], ohms[k], temps[k], -120.0, false};
        benchmark::DoNotOptimize(analysis::assessBank(input, limits));
    }
    state.SetLabel("goal <= 500 us");
}
BENCHMARK(BM_BankTick)->Unit(benchmark::kMicrosecond);

void BM_ResistanceTrend(benchmark::State& state) {
    const auto records = randomRecords(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(analysis::resistanceTrend(records));
    }
    state.SetLabel("series only");
}
BENCHMARK(BM_ResistanceTrend)->Arg(1000)->Unit(benchmark::kMillisecond);

// What the record dialog does with a baseline chosen: every record's changes, and the series.
void BM_TrendAgainstBaseline(benchmark::State& state) {
    const auto records = randomRecords(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (const auto& record : records) {
            benchmark::DoNotOptimize(
                analysis::compareResistances(record.cells, records.front().cells));
        }
        benchmark::DoNotOptimize(analysis::resistanceTrend(records));
    }
    state.SetLabel("goal <= 50 ms");
}
BENCHMARK(BM_TrendAgainstBaseline)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
