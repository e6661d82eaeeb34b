// Benchmark: the UI time of a long record read without the line: 10,000 voltage records
// (42 columns) decoded from their window replies, appended to a record list and painted.
// Goal: at most 100 ms. Not a test; prints its figures.
#include <QApplication>
#include <QScrollBar>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "RecordDecoding.h"
#include "RecordRows.h"
#include "ReportList.h"

namespace {

constexpr int kRecords = 10000;

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The data bytes of window replies, as the link hands them over.
std::vector<std::vector<uint8_t>> replies() {
    std::vector<std::vector<uint8_t>> all;
    for (int i = 0; i < kRecords; ++i) {
        std::vector<uint8_t> bytes = {0x20, 0x24, 0x03, 0x15, 0x10, 0x42, 0x30, 0x00};
        for (int channel = 0; channel < kRecordChannels; ++channel) {
            const int raw = 1250 + (i * 7 + channel * 13) % 100;
            bytes.push_back(static_cast<uint8_t>(raw >> 8));
            bytes.push_back(static_cast<uint8_t>(raw & 0xFF));
        }
        all.push_back(std::move(bytes));
    }
    return all;
}

struct List {
    List() {
        for (const RecordColumn& column : recordColumns(RecordKind::Voltage)) {
            view.insertColumn(view.columnCount(), column.heading, column.widthPx);
        }
        auto owned = std::make_unique<RecordRows>(RecordKind::Voltage);
        rows = owned.get();
        view.setRows(std::move(owned));
        view.resize(1300, 700);
        view.show();
        QApplication::processEvents();
    }
    CReportList view;
    RecordRows* rows;
};

// Decodes and appends every record, showing new rows every `batch` records, then paints
// the list scrolled to its end as the read leaves it.
double appendAndPaint(const std::vector<std::vector<uint8_t>>& data, int batch) {
    List list;
    const auto start = Clock::now();
    for (int i = 0; i < kRecords; ++i) {
        list.rows->append(*decodeRecord(RecordKind::Voltage, data[static_cast<size_t>(i)], i + 1));
        if ((i + 1) % batch == 0) {
            list.view.showNewRows();
        }
    }
    list.view.showNewRows();
    list.view.scrollToBottom();
    list.view.viewport()->repaint();
    QApplication::processEvents();
    return millisecondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const auto data = replies();
    appendAndPaint(data, 1);  // warm-up: fonts, styles

    const double perRecord = appendAndPaint(data, 1);
    const double batched = appendAndPaint(data, 100);
    List shown;
    for (int i = 0; i < kRecords; ++i) {
        shown.rows->append(*decodeRecord(RecordKind::Voltage, data[static_cast<size_t>(i)], i + 1));
    }
    shown.view.showNewRows();
    const auto paintStart = Clock::now();
    constexpr int kPaints = 50;
    for (int i = 0; i < kPaints; ++i) {
        shown.view.verticalScrollBar()->setValue(i * 200);
        shown.view.viewport()->repaint();
    }
    const double paint = millisecondsSince(paintStart) / kPaints;

    std::printf("10,000 records x 42 columns, decode + append + paint:\n");
    std::printf("  rows shown one record at a time:  %7.1f ms  (goal <= 100 ms)\n", perRecord);
    std::printf("  rows shown 100 records at a time: %7.1f ms\n", batched);
    std::printf("  one repaint of the full view:     %7.2f ms\n", paint);
    return perRecord <= 100.0 ? 0 : 1;
}
