// Benchmark: the maintenance report of a 40-cell bank with 1000 resistance records: the
// model, the CSV and the PDF (with the trend chart of 40 x 1000 points), as "生成" does
// after the reads. Goal: <= 2 s together. Not a test; prints its figures.
#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "ReportCsv.h"
#include "ReportModel.h"
#include "ReportPdf.h"

namespace {

constexpr int kRecords = 1000;
constexpr double kGoalSeconds = 2.0;

report::ReportInput input() {
    report::ReportInput in;
    in.fields = {"基准测试站", "A组", "技术员"};
    in.generatedAt = "2026-12-08 12:00:00";
    in.programVersion = "bench";
    in.identity.value = DeviceIdentity{1, 9600, 110};
    in.limits.value = AlarmLimits{45, -10, 13.5, 10.5, 30, 100};
    in.masks.value = AlarmMasks{};
    in.masks.value->voltage.fill(true);
    in.masks.value->resistance.fill(true);
    in.masks.value->temperature.fill(true);
    LiveReadings live;
    for (int i = 0; i < kCellCount; ++i) {
        live.voltages[i] = 12.0 + 0.01 * (i % 7);
        live.resistances[i] = 10.0 + 0.2 * (i % 11);
        live.temperatures[i] = 24.0 + 0.1 * (i % 5);
    }
    in.live.value = live;
    in.recordsAsked = true;
    in.records.value.emplace();
    for (int r = 0; r < kRecords; ++r) {
        analysis::ResistanceRecord record;
        record.time = 1'700'000'000 + 86'400LL * r;
        for (int c = 0; c < analysis::kRecordCells; ++c) {
            record.cells[c] = 8.0 + 0.002 * r * (1 + c % 4) + 0.05 * (c % 9);
        }
        in.records.value->push_back(record);
    }
    return in;
}

double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    const report::ReportInput in = input();
    const auto dir = std::filesystem::temp_directory_path();
    const std::string pdf = (dir / "korval-report-bench.pdf").string();
    const std::string csv = (dir / "korval-report-bench.csv").string();
    std::string error;

    const auto start = std::chrono::steady_clock::now();
    const report::ReportContent content = report::buildReport(in);
    const double model = since(start);
    const bool csvOk = report::writeReportCsv(content, csv, error);
    const double withCsv = since(start);
    // The face the program chooses first; another (argv[1]) to compare.
    const std::string face = argc > 1 ? argv[1] : "WenQuanYi Micro Hei";
    const bool pdfOk = writeReportPdf(content, pdf, face, error);
    const double total = since(start);
    if (!csvOk || !pdfOk) {
        std::fprintf(stderr, "report_bench: %s\n", error.c_str());
        return 1;
    }
    std::printf(
        "report of %d cells, %d resistance records: model %.3f s, CSV %.3f s, PDF %.3f s, "
        "total %.3f s (goal <= %.1f s) %s\n",
        kCellCount, kRecords, model, withCsv - model, total - withCsv, total, kGoalSeconds,
        total <= kGoalSeconds ? "ok" : "OVER");
    std::printf("PDF %.0f KiB, CSV %.0f KiB\n", std::filesystem::file_size(pdf) / 1024.0,
                std::filesystem::file_size(csv) / 1024.0);
    return total <= kGoalSeconds ? 0 : 1;
}
