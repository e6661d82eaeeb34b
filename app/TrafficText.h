// The traffic monitor's texts, without Qt: the cells of an exchange's row (and of the row
// of bytes dropped before it), what its request meant, and the saved text file.
#pragma once

#include <chrono>
#include <span>
#include <string>
#include <vector>

#include "TrafficRecorder.h"

enum TrafficColumn {
    kTrafficTimeColumn,
    kTrafficRequestColumn,
    kTrafficReplyColumn,
    kTrafficOnLineColumn,
    kTrafficOutcomeColumn,
    kTrafficMeaningColumn,
    kTrafficColumnCount
};

// One row of the monitor: an exchange, or the late bytes its exchange dropped before
// sending, shown just above it.
struct TrafficRow {
    TrafficRecorder::Entry record;
    bool discarded = false;
};

// "01 03 00 00 00 79 84 28".
std::string trafficHex(std::span<const uint8_t> bytes);
// Local time, "HH:MM:SS.mmm".
std::string trafficClock(std::chrono::system_clock::time_point time);
// What the request asked for ("读 0x0000 ×121", "写 0x10A0 = 0x01FF", "写 0x1000 ×4") and,
// after an exception reply, its code ("异常 04").
std::string trafficMeaning(const TrafficRecord& record);
std::string trafficCell(const TrafficRow& row, int column);

// The rows as text, one line each under a line of column titles, columns separated by tabs.
std::string trafficText(std::span<const TrafficRow> rows);
// Writes trafficText(rows) to `path` in UTF-8; false when the file cannot be written whole.
bool saveTrafficText(const std::string& path, std::span<const TrafficRow> rows);
