// "导出CSV..." of the record lists: records read through the real dialogs from the simulated
// device, exported by the list's context menu and read back by Python's csv module as a
// spreadsheet would; the list's time form in ISO 8601; nothing written without records or
// without a writable place.
#include <unistd.h>

#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "AlarmRecordDlg.h"
#include "CurveChart.h"
#include "CurveCsv.h"
#include "PageHarness.h"
#include "RecordCsv.h"
#include "ReportList.h"
#include "ResistanceRecordDlg.h"
#include "Utf8.h"
#include "ids/RecordAlarmIds.h"
#include "ids/RecordResistanceIds.h"

namespace {

namespace fs = std::filesystem;
namespace alarm = idc::alarm_records;
namespace resistance = idc::resistance_records;

using Rows = std::vector<std::vector<std::string>>;

// The operator's right click on the list and its "导出CSV..." entry.
bool chooseExport(CReportList& list) {
    for (QAction* action : list.actions()) {
        if (action->text() == "导出CSV...") {
            action->trigger();
            return true;
        }
    }
    return false;
}

// The list's "2024/2/3/7/41/12" as "2024-02-03 07:41:12", worked out apart from the program.
std::string isoFromListTime(const std::string& text) {
    int f[6] = {};
    char end = 0;
    if (std::sscanf(text.c_str(), "%d/%d/%d/%d/%d/%d%c", &f[0], &f[1], &f[2], &f[3], &f[4], &f[5],
                    &end) != 6) {
        return "not a time: " + text;
    }
    char iso[32];
    std::snprintf(iso, sizeof iso, "%04d-%02d-%02d %02d:%02d:%02d", f[0], f[1], f[2], f[3], f[4],
                  f[5]);
    return iso;
}

// The rows of `path` as Python's csv module reads them (empty, with a failure, when it cannot).
Rows readWithPython(const std::string& path) {
    const std::string json = path + ".json";
    const int exit = QProcess::execute(KORVAL_PYTHON3, {CSV_ROWS_PY, qstr(path), qstr(json)});
    EXPECT_EQ(exit, 0) << "csv_rows.py failed on " << path
                       << " (python3 missing? scripts/setup.sh installs it)";
    QFile file(qstr(json));
    if (exit != 0 || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    Rows rows;
    for (const auto& row : QJsonDocument::fromJson(file.readAll()).array()) {
        rows.emplace_back();
        for (const auto& cell : row.toArray()) {
            rows.back().push_back(utf8(cell.toString()));
        }
    }
    return rows;
}

std::string firstLine(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);
    return line;
}

class RecordCsvExport : public PageHarness {
  protected:
    void SetUp() override {
        PageHarness::SetUp();
        folder = fs::temp_directory_path() / ("korval-csv-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        setSaveFileAsker([this](QWidget*, const std::string& suggested) {
            suggestions.push_back(suggested);
            return answer;
        });
    }
    void TearDown() override {
        setSaveFileAsker({});
        fs::remove_all(folder);
        PageHarness::TearDown();
    }

    // Every cell of the records as the list shows it, the unit taken off and the time in ISO
    // form. Columns the dialog adds after the records' own (a judgement) stay out of the file.
    void expectFileShowsList(const std::string& path, const CReportList& list, RecordKind kind,
                             const std::string& unit) {
        const Rows rows = readWithPython(path);
        const int columns = static_cast<int>(recordColumns(kind).size());
        ASSERT_LE(columns, list.columnCount());
        ASSERT_EQ(rows.size(), static_cast<size_t>(list.rowCount()) + 1);
        for (int row = 0; row < list.rowCount(); ++row) {
            const auto& cells = rows[static_cast<size_t>(row) + 1];
            ASSERT_EQ(cells.size(), static_cast<size_t>(columns)) << row;
            for (int column = 0; column < columns; ++column) {
                std::string shown = list.itemText(row, column);
                if (column == 1) {
                    shown = isoFromListTime(shown);
                } else if (!unit.empty() && shown.ends_with(unit)) {
                    shown.resize(shown.size() - unit.size());
                }
                ASSERT_EQ(cells[static_cast<size_t>(column)], shown) << row << "," << column;
            }
        }
    }
    Rows headerOf(const std::string& path) {
        const Rows rows = readWithPython(path);
        return rows.empty() ? Rows{} : Rows{rows.front()};
    }

    fs::path folder;
    std::string answer;
    std::vector<std::string> suggestions;
};

TEST_F(RecordCsvExport, AThousandAlarmRecordsReadBackInPythonAsTheListShowsThem) {
    device.seedAlarmRecords(1000);
    CAlarmRecordDlg dialog;
    dialog.create(nullptr);
    dialog.clickControl(alarm::kReadCount);
    dialog.clickControl(alarm::kReadAll);
    CReportList& list = *dialog.reportList(alarm::kList);
    ASSERT_EQ(list.rowCount(), 1000);
    ASSERT_TRUE(messages.empty()) << takeMessage();

    answer = (folder / "报警").string();  // ".csv" is added
    ASSERT_TRUE(chooseExport(list));
    const std::string path = answer + ".csv";
    EXPECT_EQ(takeMessage(), "已导出1000条记录到文件\n" + path);
    ASSERT_EQ(suggestions.size(), 1u);
    EXPECT_TRUE(suggestions[0].ends_with("/报警记录.csv")) << suggestions[0];

    std::vector<std::string> headings;
    for (int column = 0; column < list.columnCount(); ++column) {
        headings.push_back(list.columnHeading(column));
    }
    EXPECT_EQ(headerOf(path), Rows{headings}) << "alarm values have no unit of their own";
    expectFileShowsList(path, list, RecordKind::Alarm, "");
    EXPECT_EQ(list.rowCount(), 1000);
}

TEST_F(RecordCsvExport, NothingIsWrittenWithoutRecordsOrAWritablePlace) {
    CResistanceRecordDlg dialog;
    dialog.create(nullptr);
    CReportList& list = *dialog.reportList(resistance::kList);
    answer = (folder / "ir.csv").string();
    ASSERT_TRUE(chooseExport(list));
    EXPECT_EQ(takeMessage(), "没有可导出的记录");
    EXPECT_TRUE(suggestions.empty()) << "no file is asked for";
    EXPECT_TRUE(fs::is_empty(folder));

    device.seedResistanceRecords(5);
    dialog.clickControl(resistance::kReadCount);
    dialog.clickControl(resistance::kReadAll);
    ASSERT_EQ(list.rowCount(), 5);

    std::string error;
    EXPECT_FALSE(exportRecordsCsv(list, RecordKind::Resistance,
                                  (folder / "missing" / "ir.csv").string(), error));
    EXPECT_EQ(error, "文件夹不存在");
    answer = (folder / "missing" / "ir").string();
    ASSERT_TRUE(chooseExport(list));
    EXPECT_EQ(takeMessage(), "导出失败，无法写入文件\n" + answer + ".csv\n原因：文件夹不存在");
    fs::create_directory(folder / "taken.csv");
    answer = (folder / "taken.csv").string();
    ASSERT_TRUE(chooseExport(list));
    EXPECT_EQ(takeMessage(), "导出失败，无法写入文件\n" + answer + "\n原因：已有同名的文件夹");
    EXPECT_EQ(list.rowCount(), 5);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1)
        << "no temporary file is left";

    // Cancelled: nothing written, nothing said.
    answer.clear();
    ASSERT_TRUE(chooseExport(list));
    EXPECT_TRUE(messages.empty());

    answer = (folder / "ir.csv").string();
    ASSERT_TRUE(chooseExport(list));
    EXPECT_EQ(takeMessage(), "已导出5条记录到文件\n" + answer);
    EXPECT_TRUE(firstLine(answer).starts_with("\xEF\xBB\xBF记录条目,时间,电池1内阻(mΩ),"));
    expectFileShowsList(answer, list, RecordKind::Resistance, "mΩ");
}

TEST(RecordCsv, CellsLoseTheirUnitAndStampsThatAreNoTimeStayAsShown) {
    EXPECT_EQ(isoTimeFromStampText("2013/5/18/9/30/7"), "2013-05-18 09:30:07");
    EXPECT_EQ(isoTimeFromStampText("2024/2/29/23/59/59"), "2024-02-29 23:59:59");
    for (const char* bad : {"2023/2/29/0/0/0", "201A/5/18/9/30/7", "2013/13/1/0/0/0",
                            "2013/5/0/0/0/0", "2013/5/18/24/0/0", "2013/5/18/9/60/7",
                            "2013/5/18/9/30", "2013/5/18/9/30/7/1", "0/0/0/0/0/0", ""}) {
        EXPECT_EQ(isoTimeFromStampText(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(recordCsvCell(RecordKind::Voltage, 1, "2013/5/18/9/3A/7"), "2013/5/18/9/3A/7");
    EXPECT_EQ(recordCsvCell(RecordKind::Voltage, 0, "记录#3"), "记录#3");
    EXPECT_EQ(recordCsvCell(RecordKind::Alarm, 2, "电压超上限"), "电压超上限");
    EXPECT_EQ(recordCsvCell(RecordKind::Resistance, 5, "4.20mΩ"), "4.20");
    EXPECT_EQ(recordCsvCell(RecordKind::Voltage, 41, "12.34V"), "12.34");

    const std::vector<std::string> volts = recordCsvHeader(RecordKind::Voltage);
    ASSERT_EQ(volts.size(), 42u);
    EXPECT_EQ(volts[1], "时间");
    EXPECT_EQ(volts[2], "电池1电压(V)");
    EXPECT_EQ(volts[41], "电池40电压(V)");
}

// The curves: a time column in local time, then one column a channel; a chart without samples
// writes nothing.
TEST(CurveCsv, OneRowPerSampleTimeAndOneColumnPerChannel) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("korval-curves-" + std::to_string(getpid()) + ".csv"))
                                 .string();
    CCurveChart chart;
    std::string error;
    EXPECT_FALSE(exportCurvesCsv(chart, path, error));
    EXPECT_EQ(error, "没有可导出的记录");
    EXPECT_FALSE(std::filesystem::exists(path));

    std::tm local{};
    local.tm_year = 124;
    local.tm_mday = 6;
    local.tm_hour = 16;
    local.tm_isdst = -1;
    const auto t0 = static_cast<int32_t>(std::mktime(&local));
    std::vector<float> volts(40, 13.35f);
    volts[39] = 0.5f;
    chart.addSample(t0 + 600, volts);
    volts[0] = 12.0f;
    chart.addSample(t0, volts);  // older: it goes first
    ASSERT_TRUE(exportCurvesCsv(chart, path, error)) << error;
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    std::filesystem::remove(path);
    std::vector<std::string> lines;
    for (size_t start = 3, end; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].starts_with("时间,电池1电压(V),电池2电压(V),"));
    EXPECT_TRUE(lines[0].ends_with(",电池40电压(V)"));
    EXPECT_TRUE(lines[1].starts_with("2024-01-06 16:00:00,12.00,13.35,")) << lines[1];
    EXPECT_TRUE(lines[2].starts_with("2024-01-06 16:10:00,13.35,13.35,")) << lines[2];
    EXPECT_TRUE(lines[2].ends_with(",0.50"));
}

}  // namespace
