// The report's content from what was read: missing parts said and never filled in, the
// baseline's zero cells, the worst cells, the trend's order and highlight, no NaN anywhere,
// the CSV lines and the chart's scale; and the report command's options.
#include <gtest/gtest.h>

#include <cmath>

#include "CliOptions.h"
#include "ReportChart.h"
#include "ReportCommand.h"
#include "ReportCsv.h"
#include "ReportModel.h"

namespace {

using report::ReportContent;
using report::ReportInput;

// A 40-cell 12 V bank inside its limits: 13.5 V upper, 10.5 V lower, 30 mOhm, 45/-10 degC.
ReportInput healthyInput() {
    ReportInput in;
    in.fields = {"一号站", "A组", "张三"};
    in.generatedAt = "2026-12-08 11:00:00";
    in.programVersion = "1.1.0";
    in.identity.value = DeviceIdentity{1, 9600, 110};
    in.limits.value = AlarmLimits{45, -10, 13.5, 10.5, 30, 100};
    in.masks.value = AlarmMasks{};
    in.masks.value->voltage.fill(true);
    in.masks.value->resistance.fill(true);
    in.masks.value->temperature.fill(true);
    LiveReadings live;
    for (int i = 0; i < kCellCount; ++i) {
        live.voltages[i] = 12.0;
        live.resistances[i] = 10.0;
        live.temperatures[i] = 25.0;
    }
    live.current = -5;
    in.live.value = live;
    return in;
}

std::vector<std::string> allTexts(const ReportContent& c) {
    std::vector<std::string> texts{c.verdict};
    for (const auto& [k, v] : c.header) {
        texts.push_back(v);
    }
    for (const auto* t : {&c.summary, &c.limits, &c.worst, &c.cells, &c.trend}) {
        for (const auto& row : t->rows) {
            texts.insert(texts.end(), row.begin(), row.end());
        }
        texts.insert(texts.end(), t->notes.begin(), t->notes.end());
    }
    return texts;
}

void expectNoNonNumbers(const ReportContent& c) {
    for (const std::string& text : allTexts(c)) {
        EXPECT_EQ(text.find("nan"), std::string::npos) << text;
        EXPECT_EQ(text.find("inf"), std::string::npos) << text;
    }
}

const std::vector<std::string>& cellRow(const ReportContent& c, int cell) {
    return c.cells.rows.at(static_cast<size_t>(cell - 1));
}

TEST(ReportModel, HealthyBankIsNormalWithEveryPartShown) {
    const ReportContent c = report::buildReport(healthyInput());
    EXPECT_TRUE(c.missing.empty());
    ASSERT_TRUE(c.level.has_value());
    EXPECT_EQ(*c.level, analysis::VerdictLevel::Ok);
    EXPECT_EQ(c.verdict.rfind("结论：正常", 0), 0u) << c.verdict;
    EXPECT_EQ(c.cells.rows.size(), 40u);
    EXPECT_EQ(cellRow(c, 1),
              (std::vector<std::string>{"1", "12.000", "0.000", "10.00", "0.0*", "25.0", "正常"}));
    EXPECT_TRUE(c.worst.rows.empty());
    EXPECT_EQ(c.worst.notes, std::vector<std::string>{"没有突出的电池"});
    EXPECT_EQ(c.signatures, (std::vector<std::string>{"技术员签字", "日期", "用户签字"}));
    // Two-sided voltage band of 3 V: 5 % of it is 0.15 V inside each limit.
    EXPECT_EQ(c.limits.rows[0], (std::vector<std::string>{"电压上限", "13.500 V",
                                                          "13.350 V ～ 13.500 V", "> 13.500 V"}));
    EXPECT_EQ(c.limits.rows[5][2], "|I| 95.0 A ～ 100.0 A");
}

TEST(ReportModel, MissingPartsAreSaidAndNeverFilledIn) {
    ReportInput in = healthyInput();
    in.identity = {std::nullopt, "设备没有应答"};
    in.limits = {std::nullopt, "设备没有应答"};
    ReportContent c = report::buildReport(in);
    EXPECT_EQ(c.missing, (std::vector<std::string>{"未能读取：设备身份（设备没有应答）",
                                                   "未能读取：报警阀值（设备没有应答）"}));
    EXPECT_EQ(c.header[5].second, "未能读取");
    // Without limits only the resistance change row remains, and nothing is judged by limit.
    ASSERT_EQ(c.limits.rows.size(), 1u);
    EXPECT_EQ(c.limits.notes[0], "未能读取：报警阀值（设备没有应答）");
    EXPECT_NE(c.verdict.find("未按阀值判定"), std::string::npos);
    EXPECT_EQ(cellRow(c, 1)[6], "正常");  // the change against the median is still judged

    in.live = {std::nullopt, "设备没有应答"};
    c = report::buildReport(in);
    EXPECT_FALSE(c.level.has_value());
    EXPECT_EQ(c.verdict, "结论：无法判定（未能读取实时数据）");
    EXPECT_TRUE(c.cells.rows.empty());
    EXPECT_TRUE(c.summary.rows.empty());
    EXPECT_EQ(c.cells.notes[0], "未能读取：实时数据（设备没有应答）");
    expectNoNonNumbers(c);
}

TEST(ReportModel, WorstCellsAndCellVerdictsNameWhatIsWrong) {
    ReportInput in = healthyInput();
    in.live.value->voltages[6] = 13.9;      // cell 7 over the upper limit
    in.live.value->voltages[11] = 13.4;     // cell 12 in the warning band
    in.live.value->resistances[20] = 16.0;  // cell 21: +60 % on the median
    const ReportContent c = report::buildReport(in);
    EXPECT_EQ(*c.level, analysis::VerdictLevel::Fail);
    EXPECT_EQ(cellRow(c, 7)[6], "超限：电压");
    EXPECT_EQ(cellRow(c, 12)[6], "注意：电压");
    EXPECT_EQ(cellRow(c, 21)[4], "+60.0*");
    EXPECT_EQ(cellRow(c, 21)[6], "超限：内阻变化");
    ASSERT_GE(c.worst.rows.size(), 2u);
    EXPECT_EQ(c.worst.rows[0][1], "7");
    EXPECT_EQ(c.worst.rows[0][2].rfind("电压 13.900 V 超限", 0), 0u) << c.worst.rows[0][2];
    EXPECT_EQ(c.worst.rows[1][1], "12");
    EXPECT_LE(c.worst.rows.size(), 5u);
}

TEST(ReportModel, BaselineCellOfZeroFallsBackToTheMedianAndSaysSo) {
    ReportInput in = healthyInput();
    analysis::ResistanceRecord base;
    for (auto& cell : base.cells) {
        cell = 8.0;
    }
    base.cells[2] = 0.0;  // cell 3 not measured then
    in.baseline = base;
    in.baselineLabel = "2026/11/1/8/0/0";
    const ReportContent c = report::buildReport(in);
    EXPECT_EQ(cellRow(c, 1)[4], "+25.0");  // 10 against 8
    EXPECT_EQ(cellRow(c, 1)[6], "注意：内阻变化");
    EXPECT_EQ(cellRow(c, 3)[4], "0.0*");
    ASSERT_FALSE(c.cells.notes.empty());
    EXPECT_EQ(c.cells.notes[0].rfind("* 没有基准值", 0), 0u);
    EXPECT_EQ(c.header[8].second, "2026/11/1/8/0/0");
    expectNoNonNumbers(c);
}

TEST(ReportModel, NonFiniteOrUnwatchedValuesShowAsNoValue) {
    ReportInput in = healthyInput();
    in.live.value->voltages[0] = std::nan("");
    in.live.value->temperatures[1] = INFINITY;
    in.masks.value->resistance[0] = false;  // cell 1's resistance not watched
    const ReportContent c = report::buildReport(in);
    EXPECT_EQ(cellRow(c, 1)[1], "—");
    EXPECT_EQ(cellRow(c, 1)[3], "—");
    EXPECT_EQ(cellRow(c, 1)[4], "—");
    EXPECT_EQ(cellRow(c, 2)[5], "—");
    expectNoNonNumbers(c);
}

TEST(ReportModel, AShortStringIsNormalAndItsEmptyPlacesAreNotMissing) {
    ReportInput in = healthyInput();
    for (int k = 24; k < kCellCount; ++k) {  // a 24-cell string: nothing on 25..40
        in.masks.value->voltage[k] = in.masks.value->resistance[k] = false;
        in.masks.value->temperature[k] = false;
        in.live.value->voltages[k] = in.live.value->resistances[k] = 0;
        in.live.value->temperatures[k] = 0;
    }
    ReportContent c = report::buildReport(in);
    ASSERT_TRUE(c.level.has_value());
    EXPECT_EQ(*c.level, analysis::VerdictLevel::Ok) << c.verdict;
    EXPECT_NE(c.verdict.find("缺失 0 项"), std::string::npos) << c.verdict;
    EXPECT_EQ(cellRow(c, 30).back(), "未监测");

    in.live.value->resistances[3] = 0;  // a watched cell not measured is missing
    c = report::buildReport(in);
    EXPECT_EQ(*c.level, analysis::VerdictLevel::Warning);
    EXPECT_NE(c.verdict.find("缺失 1 项"), std::string::npos) << c.verdict;
}

TEST(ReportModel, RecordsGiveATimeOrderedTableAndTheMostChangedCellsStandOut) {
    ReportInput in = healthyInput();
    in.live.value->resistances[4] = 14.0;  // cell 5 rose most, then cell 9
    in.live.value->resistances[8] = 12.0;
    in.recordsAsked = true;
    analysis::ResistanceRecord later;
    later.time = 2'000'000'000;
    later.cells[4] = 14.0;
    later.cells[8] = 12.0;
    analysis::ResistanceRecord earlier;
    earlier.time = 1'900'000'000;
    earlier.cells[4] = 10.0;
    in.records.value = std::vector{later, earlier};
    in.records.failure = "第 3 条记录没有读到，只用了前 2 条（共 5 条）";
    in.recordsWithoutTime = 1;
    const ReportContent c = report::buildReport(in);
    ASSERT_EQ(c.trend.rows.size(), 2u);
    EXPECT_EQ(c.trend.rows[0][0], report::localTimeText(1'900'000'000));
    EXPECT_EQ(c.trend.rows[0][5], "10.00");
    EXPECT_EQ(c.trend.rows[0][9], "");  // not measured then
    EXPECT_EQ(c.trend.columns.size(), 41u);
    EXPECT_EQ(c.chart.highlighted, (std::vector<int>{5, 9}));
    EXPECT_EQ(c.chart.series[4].size(), 2u);
    EXPECT_EQ(c.header[9].second, "3 条（不完整）") << "the one without a time was read too";
    EXPECT_EQ(c.missing.back(),
              "未能读取：内阻记录（第 3 条记录没有读到，只用了前 2 条（共 5 条））");
    EXPECT_EQ(c.trend.notes.back(), "1 条记录的时间无效，未计入趋势");
}

TEST(ReportCsv, SectionsFollowTheHeaderWithFieldsQuoted) {
    ReportInput in = healthyInput();
    in.fields.site = "一号站, 东区";
    const std::vector<std::string> lines = report::reportCsvLines(report::buildReport(in));
    EXPECT_EQ(lines[0], "蓄电池组维护报告");
    EXPECT_EQ(lines[2], "项目,内容");
    EXPECT_EQ(lines[3], "现场,\"一号站, 东区\"");
    const auto cells = std::find(lines.begin(), lines.end(), "单体电池");
    ASSERT_NE(cells, lines.end());
    EXPECT_EQ(*(cells + 1), "电池,电压(V),偏差(V),内阻(mΩ),内阻变化(%),温度(℃),结论");
    EXPECT_EQ(*(cells + 2), "1,12.000,0.000,10.00,0.0*,25.0,正常");

    // Typed text never becomes a spreadsheet formula.
    in.fields.technician = "=HYPERLINK(\"http://x\")";
    const std::vector<std::string> typed = report::reportCsvLines(report::buildReport(in));
    EXPECT_NE(std::find(typed.begin(), typed.end(), "技术员,\"'=HYPERLINK(\"\"http://x\"\")\""),
              typed.end());
}

TEST(ReportChart, ScaleCoversThePointsWithRoundTicks) {
    report::TrendChart chart;
    EXPECT_FALSE(report::chartScale(chart).has_value());
    chart.series = {{{100, 10.3}, {200, 12.9}}, {{150, 11.0}}};
    auto scale = report::chartScale(chart);
    ASSERT_TRUE(scale.has_value());
    EXPECT_EQ(scale->firstTime, 100);
    EXPECT_EQ(scale->lastTime, 200);
    EXPECT_DOUBLE_EQ(scale->low, 10.0);
    EXPECT_DOUBLE_EQ(scale->high, 13.0);
    EXPECT_DOUBLE_EQ(report::valueFraction(*scale, 11.5), 0.5);
    // One point at one moment still gets a range of time and value around it.
    chart.series = {{{500, 7.0}}};
    scale = report::chartScale(chart);
    ASSERT_TRUE(scale.has_value());
    EXPECT_LT(scale->firstTime, 500);
    EXPECT_GT(scale->lastTime, 500);
    EXPECT_LT(scale->low, 7.0);
    EXPECT_GT(scale->high, 7.0);
    EXPECT_DOUBLE_EQ(report::timeFraction(*scale, 500), 0.5);
}

TEST(ReportOptions, ReportNeedsAPdfAndOwnsItsOptions) {
    CliParse p = parseCliOptions({"report", "--pdf", "/tmp/a.pdf", "--records", "--site", "S1",
                                  "--string=B", "--technician", "李四", "--com", "1=/dev/null"});
    ASSERT_EQ(p.error, "");
    EXPECT_TRUE(p.options.records);
    EXPECT_EQ(p.options.site, "S1");
    EXPECT_EQ(p.options.string, "B");
    EXPECT_EQ(p.options.technician, "李四");
    EXPECT_EQ(reportCsvPath(p.options), "/tmp/a.csv");
    p.options.csvPath = "/tmp/b.csv";
    EXPECT_EQ(reportCsvPath(p.options), "/tmp/b.csv");
    p.options.csvPath.clear();
    p.options.pdfPath = "/tmp/report";
    EXPECT_EQ(reportCsvPath(p.options), "/tmp/report.csv");

    EXPECT_EQ(parseCliOptions({"report"}).error, "report: --pdf FILE is required");
    EXPECT_NE(parseCliOptions({"report", "--pdf", "a.pdf", "--format", "json"}).error, "");
    EXPECT_EQ(parseCliOptions({"report", "--pdf", "a", "--csv", "a"}).error,
              "report: --csv and --pdf name the same file");
    EXPECT_EQ(parseCliOptions({"read", "--site", "S"}).error, "--site belongs to report only");
    EXPECT_EQ(parseCliOptions({"info", "--records"}).error, "--records belongs to report only");
}

}  // namespace
