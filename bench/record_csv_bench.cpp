// Benchmark: "导出CSV..." of a full record list: 65,535 alarm records (43 columns) written
// to a CSV file. Goals: the export time the operator waits under the wait cursor, and no
// memory per record beyond the line being written (peak RSS grows by the write buffer only),
// and the window kept painting: the longest gap between the ticks of a 1 ms timer.
// Not a test; prints its figures.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "ProcStatus.h"
#include "RecordCsv.h"
#include "RecordDecoding.h"
#include "RecordRows.h"
#include "ReportList.h"

namespace {

constexpr int kRecords = 65535;

StoredRecord record(int i) {
    StoredRecord r;
    r.number = i + 1;
    r.stamp = {0x2024, 0x0315, static_cast<uint16_t>(0x1000 | (i % 6) << 4), 0x3000};
    r.alarmKind = static_cast<uint16_t>(1 + i % 6);
    for (int channel = 0; channel < kRecordChannels; ++channel) {
        r.channels[static_cast<size_t>(channel)] =
            static_cast<uint16_t>(1250 + (i * 7 + channel * 13) % 100);
    }
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    CReportList list;
    for (const RecordColumn& column : recordColumns(RecordKind::Alarm)) {
        list.insertColumn(list.columnCount(), column.heading, column.widthPx);
    }
    auto rows = std::make_unique<RecordRows>(RecordKind::Alarm);
    rows->reserveMore(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        rows->append(record(i));
    }
    list.setRows(std::move(rows));
    list.showNewRows();

    const std::string path =
        (std::filesystem::temp_directory_path() / "korval-csv-bench.csv").string();
    std::string error;
    const double peakFirst = statusMegabytes("VmHWM:");
    exportRecordsCsv(list, RecordKind::Alarm, path, error);  // warm-up: page cache, allocator

    // A timer as the window's painting sees it: ticks come only when events are processed.
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    ticker.start(1);
    QApplication::processEvents();
    sinceTick.start();

    const double rssBefore = statusMegabytes("VmRSS:");
    const double peakBefore = statusMegabytes("VmHWM:");
    const auto start = std::chrono::steady_clock::now();
    const bool ok = exportRecordsCsv(list, RecordKind::Alarm, path, error);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    longestGap = std::max(longestGap, sinceTick.elapsed());
    ticker.stop();
    const double peakAfter = statusMegabytes("VmHWM:");
    const double megabytes = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
    std::filesystem::remove(path);

    std::printf("65,535 alarm records x 43 columns to CSV: %s\n", ok ? "written" : error.c_str());
    std::printf("  export time:        %7.0f ms (%.1f us a record)\n", ms, 1000.0 * ms / kRecords);
    std::printf("  longest event stall:%7lld ms (goal: paints at least every 50 ms)\n",
                static_cast<long long>(longestGap));
    std::printf("  file size:          %7.1f MB\n", megabytes);
    std::printf("  RSS before export:  %7.1f MB\n", rssBefore);
    std::printf("  peak RSS growth, first export: %.2f MB\n", peakBefore - peakFirst);
    std::printf("  peak RSS growth:    %7.2f MB (peak %.1f -> %.1f MB)\n", peakAfter - peakBefore,
                peakBefore, peakAfter);
    return ok ? 0 : 1;
}
