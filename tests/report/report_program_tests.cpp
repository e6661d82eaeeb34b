// korval report as a technician runs it: the real program, without a display, against the
// simulated device on a pseudo-terminal. The PDF's text is read back with pdftotext, the CSV
// with Python's csv module; a silent device still leaves a report that says what is missing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "DeviceRegisters.h"
#include "DeviceServer.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

int run(const std::string& line, std::string* out = nullptr) {
    FILE* pipe = popen(line.c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        if (out != nullptr) {
            out->append(buffer, n);
        }
    }
    const int end = pclose(pipe);
    return WIFEXITED(end) ? WEXITSTATUS(end) : -1;
}

std::string pdfText(const std::string& pdf) {
    std::string text;
    EXPECT_EQ(run(std::string(KORVAL_PDFTOTEXT) + " " + pdf + " - 2>&1", &text), 0)
        << "pdftotext (poppler-utils; scripts/setup.sh installs it): " << text;
    return text;
}

Rows csvRows(const std::string& csv) {
    const std::string json = csv + ".json";
    EXPECT_EQ(run(std::string(KORVAL_PYTHON3) + " " + CSV_ROWS_PY + " " + csv + " " + json), 0);
    QFile file(QString::fromStdString(json));
    Rows rows;
    if (!file.open(QIODevice::ReadOnly)) {
        return rows;
    }
    for (const auto& row : QJsonDocument::fromJson(file.readAll()).array()) {
        rows.emplace_back();
        for (const auto& cell : row.toArray()) {
            rows.back().push_back(cell.toString().toStdString());
        }
    }
    return rows;
}

// The rows under the section titled `title`, up to the blank line that ends it.
Rows section(const Rows& rows, const std::string& title) {
    Rows found;
    bool in = false;
    for (const auto& row : rows) {
        if (!in) {
            in = row.size() == 1 && row[0] == title;
            continue;
        }
        if (row.empty()) {
            break;
        }
        found.push_back(row);
    }
    return found;
}

class ReportProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(device.start());
        for (uint16_t k = 0; k < kCellCount; ++k) {
            device.setRegister(reg::kVoltages + k, 12000);
            device.setRegister(reg::kResistances + k, 1000);
            device.setRegister(reg::kTemperatures + k, 250);
        }
        device.setRegister(reg::kVoltages + 2, 14500);  // cell 3 above 14.0 V
        device.setRegister(reg::kTempLimits, 0x2D94);   // 45, -20
        device.setRegister(reg::kVoltLimits, 0x8C69);   // 14.0, 10.5
        device.seedResistanceRecords(6);
        dir = ::testing::TempDir() + "korval-report-" + std::to_string(getpid()) + "/";
        std::filesystem::create_directories(dir);
    }

    int korval(const std::string& args, std::string* err) {
        const std::string errFile = dir + "stderr";
        const int status =
            run("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + std::string(KORVAL_EXE) +
                " report --com 1=" + device.path() + " " + args + " 2>" + errFile);
        QFile file(QString::fromStdString(errFile));
        if (file.open(QIODevice::ReadOnly)) {
            *err = file.readAll().toStdString();
        }
        return status;
    }

    DeviceServer device;
    std::string dir;
};

}  // namespace

TEST_F(ReportProgramTest, WritesThePdfAndTheSameDataAsCsv) {
    std::string err;
    const int status = korval("--pdf " + dir +
                                  "site.pdf --records --site 一号站 --string A组 "
                                  "--technician 张三",
                              &err);
    EXPECT_EQ(status, 2) << "cell 3 is over its limit: " << err;

    const std::string text = pdfText(dir + "site.pdf");
    for (const char* expected : {"蓄电池组维护报告", "一号站", "A组", "张三", "结论：不合格",
                                 "电池组汇总", "报警阀值与判定区间", "最差的电池", "单体电池",
                                 "内阻趋势", "超限：电压", "14.500", "技术员签字", "用户签字"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
    }
    EXPECT_EQ(text.find("未能读取："), std::string::npos);

    const Rows rows = csvRows(dir + "site.csv");
    EXPECT_NE(std::find(rows.begin(), rows.end(), std::vector<std::string>{"内阻记录", "6 条"}),
              rows.end());
    const Rows cells = section(rows, "单体电池");
    ASSERT_GE(cells.size(), 41u);
    EXPECT_EQ(cells[0][1], "电压(V)");
    EXPECT_EQ(cells[3], (std::vector<std::string>{"3", cells[3][1], cells[3][2], "10.00",
                                                  cells[3][4], "25.0", "超限：电压"}));
    EXPECT_EQ(cells[3][1], "14.500");
    EXPECT_EQ(section(rows, "最差的电池").at(1).at(1), "3");
    const Rows trend = section(rows, "内阻记录");
    ASSERT_GE(trend.size(), 7u) << "headings and the six records";
    EXPECT_EQ(trend[0].size(), 41u);
    // Nothing beside the two files (a temporary one is '.site.pdf.XXXXXX'): both were renamed.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        files += entry.path().filename().string().find("site.") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(files, 3) << "site.pdf, site.csv and the test's own site.csv.json";
}

TEST_F(ReportProgramTest, ASilentDeviceLeavesAReportThatSaysWhatIsMissing) {
    std::string err;
    const int status = korval(
        "--address 7 --pdf " + dir + "silent.pdf --csv " + dir + "silent-data.csv --records", &err);
    EXPECT_EQ(status, 3);
    EXPECT_NE(err.find("未能读取：实时数据（设备没有应答）"), std::string::npos) << err;
    const std::string text = pdfText(dir + "silent.pdf");
    EXPECT_NE(text.find("未能读取：设备身份（设备没有应答）"), std::string::npos) << text;
    EXPECT_NE(text.find("结论：无法判定"), std::string::npos);
    EXPECT_EQ(text.find("12.000"), std::string::npos) << "no number that was not read";
    EXPECT_FALSE(section(csvRows(dir + "silent-data.csv"), "单体电池").empty());
}

TEST_F(ReportProgramTest, AFolderThatCannotBeWrittenIsSaid) {
    std::string err;
    const int status = korval("--pdf /nonexistent-korval/r.pdf", &err);
    EXPECT_EQ(status, 3);
    EXPECT_NE(err.find("无法写入文件 /nonexistent-korval/r.pdf：文件夹不存在"), std::string::npos)
        << err;
}
