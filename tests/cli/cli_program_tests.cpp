// The korval program's subcommands as a monitoring system runs them: the real binary, without
// a display, against the simulated device on a pseudo-terminal. Output in each format (JSON
// read back by Python, prometheus checked by promtool), exit codes 0 to 3, the port lock, and
// records read whole or cut short.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "DeviceRegisters.h"
#include "DeviceServer.h"
#include "LinkSettings.h"
#include "SerialPort.h"

namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

size_t countOf(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

class CliProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(device.start());
        // A 12 V bank well inside its limits; only voltages are watched, so the verdict
        // follows the voltages the test sets.
        for (uint16_t k = 0; k < kCellCount; ++k) {
            device.setRegister(reg::kVoltages + k, 12000);
        }
        device.setRegister(reg::kTempLimits, 0x2D94);  // 45, -20
        device.setRegister(reg::kVoltLimits, 0x8C69);  // 14.0, 10.5
        device.setRegister(reg::kIrLimit, 0);
        device.setRegister(reg::kCurrentLimit, 0);
        const uint16_t masks[] = {0x00FF, 0xFFFF, 0xFFFF, 0, 0, 0, 0, 0, 0};
        for (uint16_t i = 0; i < 9; ++i) {
            device.setRegister(reg::kVoltMask + i, masks[i]);
        }
    }

    // Runs korval with `args` and no display; stdout and stderr apart.
    Outcome korval(const std::string& args) {
        const std::string err = scratchFile("err");
        const std::string line = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                 std::string(KORVAL_EXE) + " " + args + " 2>" + err;
        Outcome run;
        run.out = CliProgramTest::command(line, &run.status);
        run.err = slurp(err);
        return run;
    }

    // The standard output of the shell `line`, and its exit status into `status`.
    static std::string command(const std::string& line, int* status = nullptr) {
        std::string out;
        FILE* pipe = popen(line.c_str(), "r");
        if (pipe == nullptr) {
            return out;
        }
        char buffer[4096];
        size_t n = 0;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            out.append(buffer, n);
        }
        const int end = pclose(pipe);
        if (status != nullptr) {
            *status = WIFEXITED(end) ? WEXITSTATUS(end) : -1;
        }
        return out;
    }
    std::string link() const { return "--com 1=" + device.path(); }

    // A file of this process's own: other test runs on the machine use the same folder.
    static std::string scratchFile(const char* ending) {
        return ::testing::TempDir() + "korval-cli-" + std::to_string(getpid()) + "." + ending;
    }

    // What python3 prints for the tuple `expression` over the JSON in `json` (d is the
    // document), its items apart by blanks.
    static std::string python(const std::string& json, const std::string& expression) {
        const std::string file = scratchFile("json");
        std::ofstream(file) << json;
        const std::string line =
            std::string(KORVAL_PYTHON3) +
            " -c 'import json,sys; d=json.load(open(sys.argv[1])); print(*eval(sys.argv[2]))' " +
            file + " \"" + expression + "\" 2>&1";
        return command(line);
    }

    // What `promtool check metrics` says about `metrics`: empty when it finds nothing.
    static std::string promtool(const std::string& metrics) {
        const std::string file = scratchFile("prom");
        std::ofstream(file) << metrics;
        return command(std::string(KORVAL_PROMTOOL) + " check metrics < " + file + " 2>&1");
    }

    DeviceServer device;
};

}  // namespace

TEST_F(CliProgramTest, ReadJudgesTheBankAgainstTheDevicesLimits) {
    Outcome ok = korval("read " + link());
    EXPECT_EQ(ok.status, 0) << ok.err << ok.out;
    EXPECT_NE(ok.out.find("通道#40\t12.000V"), std::string::npos) << ok.out;
    EXPECT_NE(ok.out.find("判定：正常"), std::string::npos);

    device.setRegister(reg::kVoltages + 2, 13900);  // near the upper limit
    Outcome warning = korval("read " + link());
    EXPECT_EQ(warning.status, 1);
    EXPECT_NE(warning.out.find("最差的电池：\n  通道#3 电压 13.900V 接近上限 14.0V\n"),
              std::string::npos)
        << warning.out;

    device.setRegister(reg::kVoltages + 39, 10400);  // below the lower limit
    Outcome fail = korval("read " + link() + " --format csv");
    EXPECT_EQ(fail.status, 2);
    EXPECT_EQ(countOf(fail.out, "\n"), 1u + 3 * kCellCount + 2) << "header, cells, current, bank";
    EXPECT_NE(fail.out.find("voltage,40,10.400,V,fail,1\n"), std::string::npos) << fail.out;
    EXPECT_NE(fail.out.find("voltage,3,13.900,V,warning,2\n"), std::string::npos);
    EXPECT_NE(fail.out.find("resistance,1,"), std::string::npos);
    EXPECT_NE(fail.out.find(",mOhm,unjudged,\n"), std::string::npos) << "resistance unwatched";
    EXPECT_NE(fail.out.find("\nbank,,,,fail,\n"), std::string::npos);
}

TEST_F(CliProgramTest, ReadAsJsonAndPrometheusCarriesEveryValue) {
    device.setRegister(reg::kVoltages + 39, 3456);
    device.setRegister(reg::kCurrent, 0x8000 | 200);
    device.setRegister(reg::kTemperatures, 0x8000 | 50);
    const Outcome json = korval("read " + link() + " --format json");
    EXPECT_EQ(json.status, 2) << "3.456 V is below 10.5 V";
    EXPECT_EQ(python(json.out,
                     "len(d['cells']), d['cells'][39]['voltage'], d['current'], "
                     "d['cells'][0]['temperature'], d['verdict'], d['worst'][0]['cell'], "
                     "d['worst'][0]['reasons'][0]['band'], d['worst'][0]['reasons'][0]['text']"),
              "40 3.456 -20.0 -5.0 fail 40 fail 通道#40 电压 3.456V 低于下限 10.5V\n");

    const Outcome metrics = korval("read " + link() + " --format prometheus");
    EXPECT_NE(metrics.out.find("korval_up{address=\"1\"} 1\n"), std::string::npos);
    EXPECT_NE(metrics.out.find("korval_cell_voltage_volts{address=\"1\",cell=\"40\"} 3.456\n"),
              std::string::npos);
    EXPECT_NE(metrics.out.find("korval_bank_current_amperes{address=\"1\"} -20.0\n"),
              std::string::npos);
    EXPECT_NE(metrics.out.find("korval_bank_verdict{address=\"1\"} 2\n"), std::string::npos);
    EXPECT_NE(metrics.out.find("korval_worst_cell{address=\"1\",cell=\"40\",quantity=\"voltage\","
                               "band=\"fail\"} 1\n"),
              std::string::npos);
    EXPECT_EQ(countOf(metrics.out, "# TYPE "), 7u);
    EXPECT_EQ(promtool(metrics.out), "") << "prometheus's own linter takes it";
    EXPECT_EQ(promtool(korval("info " + link() + " --format prometheus").out), "");
}

TEST_F(CliProgramTest, NoAnswerIsExitThreeWithTheReason) {
    const Outcome silent = korval("read " + link() + " --address 7 --format prometheus");
    EXPECT_EQ(silent.status, 3);
    EXPECT_EQ(silent.out,
              "# HELP korval_up Whether the device answered.\n# TYPE korval_up gauge\n"
              "korval_up{address=\"7\"} 0\n");
    EXPECT_NE(silent.err.find("设备没有应答"), std::string::npos) << silent.err;

    const Outcome missing = korval("info --com 1=/dev/korval-no-such-port");
    EXPECT_EQ(missing.status, 3);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("没有发现此串口或此串口被占用"), std::string::npos);

    // The window (here: this process) holds the port; the command must not share it.
    setPortPath(1, device.path());
    ASSERT_NE(openSerialPort(1, 9600), nullptr);
    const Outcome busy = korval("read " + link());
    closeSerialPort();
    clearPortPaths();
    EXPECT_EQ(busy.status, 3);
    EXPECT_NE(busy.err.find("没有发现此串口或此串口被占用"), std::string::npos);

    const Outcome typo = korval("read --baud 38400");
    EXPECT_EQ(typo.status, 3);
    EXPECT_NE(typo.err.find("--baud"), std::string::npos);
    EXPECT_EQ(device.requestsSeen(), 1u) << "only the silent address was asked";
}

TEST_F(CliProgramTest, InfoGivesIdentityLimitsMasksAndStatus) {
    device.setRegister(reg::kAlarmStatus, 0x0021);
    const Outcome text = korval("info " + link());
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("设备地址：1\n"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("温度下限值：-20℃\n"), std::string::npos);
    EXPECT_NE(text.out.find("电压报警通道：1-40\n"), std::string::npos);
    EXPECT_NE(text.out.find("内阻报警通道：\n"), std::string::npos);
    EXPECT_NE(text.out.find("报警状态：温度上限报警状态位、电流上限报警状态位\n"),
              std::string::npos);

    const Outcome json = korval("info " + link() + " --format json");
    EXPECT_EQ(python(json.out,
                     "d['limits']['voltage_upper'], d['limits']['temperature_lower'], "
                     "len(d['masks']['voltage']), d['alarm_status']"),
              "14.0 -20 40 ['temperature_upper', 'current_upper']\n");
}

TEST_F(CliProgramTest, RecordsAreListedWholeOrAsFarAsTheyCame) {
    device.seedResistanceRecords(3);
    const Outcome text = korval("records --kind resistance " + link());
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(countOf(text.out, "记录#"), 3u);
    EXPECT_NE(text.out.find("内阻记录：共3条\n记录条目\t时间\t通道1"), std::string::npos);

    device.seedVoltageRecords(2, 4);
    const Outcome group = korval("records --kind voltage --group 2 --format json " + link());
    EXPECT_EQ(python(group.out,
                     "d['group'], d['expected'], len(d['records']), "
                     "len(d['records'][3]['channels']), d['complete']"),
              "2 4 4 40 True\n");

    device.seedAlarmRecords(5);
    device.passReplies(4);  // count, position, two records
    device.injectFault(FaultKind::Silent);
    const Outcome cut = korval("records --kind alarm --format csv " + link());
    EXPECT_EQ(cut.status, 3);
    EXPECT_EQ(countOf(cut.out, "\n"), 3u) << "the header and the two records read";
    EXPECT_NE(cut.err.find("第3条记录没有读到"), std::string::npos) << cut.err;
}
