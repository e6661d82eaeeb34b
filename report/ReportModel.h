// The maintenance report's content from what was read off the device: header, bank summary,
// per-cell table, worst cells, limits and bands, resistance trend. Pure, no Qt and no I/O:
// every text is ready to print, so the PDF and the CSV show the same words and numbers.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "BankAnalysis.h"
#include "DeviceConfig.h"
#include "LiveBlock.h"
#include "ResistanceTrend.h"

namespace report {

// A part of the device's state the report asked for: its value, or why it is missing. A
// value with a failure is a part read only in part (records before a broken read).
template <class T>
struct ReadPart {
    std::optional<T> value;
    std::string failure;  // the reason, in the technician's words; empty when all was read
};

struct ReportFields {
    std::string site;
    std::string string;
    std::string technician;
};

struct LinkDescription {
    int port = 1;
    std::string portPath;
    int baudRate = 9600;
    int address = 1;
};

// The program's version, as the build names it ("1.1.0").
std::string programVersion();

struct ReportInput {
    ReportFields fields;
    LinkDescription link;
    std::string generatedAt;  // local date and time of the report
    std::string programVersion = report::programVersion();
    ReadPart<DeviceIdentity> identity;
    ReadPart<AlarmLimits> limits;
    ReadPart<AlarmMasks> masks;
    ReadPart<LiveReadings> live;
    bool recordsAsked = false;
    ReadPart<std::vector<analysis::ResistanceRecord>> records;
    int recordsWithoutTime = 0;  // records whose stamp names no moment: left out of the trend
    std::optional<analysis::ResistanceRecord> baseline;
    std::string baselineLabel;
    analysis::TrendSettings trend;
    analysis::JudgeSettings judge;
};

struct ReportTable {
    std::string title;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> notes;  // printed under the table
};

// Each cell's resistance over the records, and the cells drawn with a line style of their own
// (those whose resistance changed most), so the chart reads in black and white.
struct TrendChart {
    std::vector<std::vector<analysis::TrendPoint>> series;  // index = cell number - 1
    std::vector<int> highlighted;                           // cell numbers, most changed first
};

inline constexpr int kHighlightedCells = 5;

struct ReportContent {
    std::string title;
    std::vector<std::pair<std::string, std::string>> header;
    std::vector<std::string> missing;  // "未能读取：…", one line a part
    std::string verdict;
    std::optional<analysis::VerdictLevel> level;  // the bank and the resistance change; nullopt
                                                  // without a live reading
    ReportTable summary;
    ReportTable limits;
    ReportTable worst;
    ReportTable cells;
    ReportTable trend;  // the records, one row each (the CSV's; the PDF draws the chart)
    TrendChart chart;
    std::vector<std::string> signatures;
};

ReportContent buildReport(const ReportInput& input);

// "未能读取：实时数据（设备没有应答）"
std::string missingLine(const std::string& what, const std::string& reason);
// Local time as "2026-12-08 11:30:00".
std::string localTimeText(int64_t secondsSinceEpoch);

}  // namespace report
