// The traffic monitor: its texts alone, and the real window over exchanges with the
// simulated device (rows shown, cleared, saved).
#include <QPushButton>
#include <QTableView>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ModbusExchange.h"
#include "PageHarness.h"
#include "Strings.h"
#include "TrafficText.h"
#include "TrafficWnd.h"

namespace {

TrafficRow exchangeRow(const Bytes& pdu, Bytes reply = {},
                       TrafficOutcome outcome = TrafficOutcome::Ok) {
    TrafficRecord record;
    record.request = frameRequest(1, pdu);
    record.reply = std::move(reply);
    record.outcome = outcome;
    return {std::make_shared<const TrafficRecord>(std::move(record)), false};
}

std::string meaningOf(const Bytes& request) {
    TrafficRecord record;
    record.request = request;
    return trafficMeaning(record);
}

}  // namespace

TEST(TrafficTexts, RequestsAreDecodedAsTheTechnicianReadsThem) {
    const TrafficRow live = exchangeRow(readHoldingRequest(0x0000, 121));
    EXPECT_EQ(trafficCell(live, kTrafficRequestColumn), "01 03 00 00 00 79 84 28");
    EXPECT_EQ(trafficCell(live, kTrafficMeaningColumn), "读 0x0000 ×121");
    EXPECT_EQ(meaningOf(frameRequest(1, readInputRequest(0x0100, 2))), "读输入 0x0100 ×2");
    EXPECT_EQ(meaningOf(frameRequest(1, writeSingleRequest(0x10A0, 0x01FF))), "写 0x10A0 = 0x01FF");
    const uint8_t values[8] = {};
    EXPECT_EQ(meaningOf(frameRequest(1, writeMultipleRequest(0x1000, values))), "写 0x1000 ×4");
    EXPECT_EQ(meaningOf({0x01, 0x2B, 0x0E, 0x01, 0x00, 0x00, 0x00, 0x00}), "功能码 2B");
    EXPECT_EQ(meaningOf({0x01, 0x03, 0x00}), "功能码 03") << "a request cut short";
    EXPECT_EQ(meaningOf({}), "");

    const TrafficRow refused = exchangeRow(
        readHoldingRequest(0x0050, 1), {0x01, 0x83, 0x02, 0xC0, 0xF1}, TrafficOutcome::Exception);
    EXPECT_EQ(trafficCell(refused, kTrafficMeaningColumn), "读 0x0050 ×1，异常 02");
    EXPECT_EQ(trafficCell(refused, kTrafficReplyColumn), "01 83 02 C0 F1");
    EXPECT_EQ(trafficCell(refused, kTrafficOutcomeColumn), "异常应答");
}

TEST(TrafficTexts, OutcomesTimesAndDroppedBytes) {
    const std::pair<TrafficOutcome, const char*> words[] = {
        {TrafficOutcome::Ok, "成功"},
        {TrafficOutcome::Timeout, "超时"},
        {TrafficOutcome::WrongLength, "长度错误"},
        {TrafficOutcome::BadCrc, "校验错误"},
        {TrafficOutcome::SendFailed, "发送失败"},
    };
    for (const auto& [outcome, word] : words) {
        EXPECT_EQ(
            trafficCell(exchangeRow(readHoldingRequest(0, 1), {}, outcome), kTrafficOutcomeColumn),
            word);
    }

    TrafficRecord record;
    record.time =
        std::chrono::system_clock::time_point(std::chrono::milliseconds(1'700'000'123'045));
    record.onLine = std::chrono::microseconds(265'349);
    record.discarded = {0x01, 0x03, 0xA5};
    record.request = frameRequest(1, readHoldingRequest(0x0050, 1));
    const auto shared = std::make_shared<const TrafficRecord>(record);
    const TrafficRow exchange{shared, false};
    const TrafficRow dropped{shared, true};
    const std::string clock = trafficCell(exchange, kTrafficTimeColumn);
    ASSERT_EQ(clock.size(), 12u);
    EXPECT_EQ(clock.substr(8), ".045");
    EXPECT_EQ(clock[2], ':');
    EXPECT_EQ(trafficCell(exchange, kTrafficOnLineColumn), "265.3");
    EXPECT_EQ(trafficCell(dropped, kTrafficTimeColumn), clock);
    EXPECT_EQ(trafficCell(dropped, kTrafficRequestColumn), "");
    EXPECT_EQ(trafficCell(dropped, kTrafficReplyColumn), "01 03 A5");
    EXPECT_EQ(trafficCell(dropped, kTrafficOnLineColumn), "");
    EXPECT_EQ(trafficCell(dropped, kTrafficOutcomeColumn), "丢弃");
    EXPECT_EQ(trafficCell(dropped, kTrafficMeaningColumn), "发送请求前丢弃的迟到字节");

    const TrafficRow rows[] = {dropped, exchange};
    std::istringstream text(trafficText(rows));
    std::string line;
    std::getline(text, line);
    EXPECT_EQ(line, "时间\t请求\t应答\t用时(ms)\t结果\t含义");
    std::getline(text, line);
    EXPECT_EQ(line, clock + "\t\t01 03 A5\t\t丢弃\t发送请求前丢弃的迟到字节");
    std::getline(text, line);
    EXPECT_EQ(line, clock + "\t01 03 00 50 00 01 84 1B\t\t265.3\t成功\t读 0x0050 ×1");
}

namespace {

class TrafficWindow : public PageHarness {
  protected:
    void SetUp() override {
        PageHarness::SetUp();
        trafficRecorder().clear();
        ASSERT_NE(openSerialPort(1, 9600), nullptr);
        wnd.show();
    }

    int rows() const { return wnd.view()->model()->rowCount(); }
    std::string cell(int row, int column) const {
        return wnd.view()->model()->index(row, column).data().toString().toStdString();
    }
    static bool readCurrent() {
        Bytes reply;
        return ModbusExchange::exchange(readHoldingRequest(0x0050, 1), readReplyLength(1), 200,
                                        reply) == ExchangeResult::Ok;
    }

    CTrafficWnd wnd{nullptr};
};

}  // namespace

TEST_F(TrafficWindow, ShowsEachExchangeAsItHappensAndClearEmptiesIt) {
    EXPECT_EQ(wnd.windowTitle().toStdString(), kTrafficCaption);
    EXPECT_EQ(rows(), 0);
    EXPECT_TRUE(readCurrent());
    device.injectFault(FaultKind::Exception);
    EXPECT_FALSE(readCurrent());
    ASSERT_TRUE(runEventsUntil([&] { return rows() == 2; }, 2000)) << "the refresh timer";
    EXPECT_EQ(cell(0, kTrafficRequestColumn), "01 03 00 50 00 01 84 1B");
    EXPECT_EQ(cell(0, kTrafficOutcomeColumn), "成功");
    EXPECT_EQ(cell(0, kTrafficMeaningColumn), "读 0x0050 ×1");
    EXPECT_EQ(cell(1, kTrafficOutcomeColumn), "异常应答");
    EXPECT_EQ(cell(1, kTrafficMeaningColumn), "读 0x0050 ×1，异常 04");
    EXPECT_EQ(cell(1, kTrafficReplyColumn).substr(0, 8), "01 83 04");

    // Hidden, the window lets go of its rows; shown again, it takes in the whole ring.
    wnd.close();
    EXPECT_FALSE(wnd.isVisible());
    EXPECT_EQ(rows(), 0);
    EXPECT_TRUE(readCurrent());
    wnd.show();
    EXPECT_EQ(rows(), 3);

    wnd.clearButton()->click();
    EXPECT_EQ(rows(), 0);
    EXPECT_EQ(trafficRecorder().size(), 0u);
    EXPECT_TRUE(readCurrent());
    wnd.refresh();
    EXPECT_EQ(rows(), 1) << "recording goes on after a clear";
}

TEST_F(TrafficWindow, SavesTheRowsShownOrSaysWhyItCannot) {
    EXPECT_TRUE(readCurrent());
    wnd.refresh();
    ASSERT_EQ(rows(), 1);

    EXPECT_FALSE(wnd.saveTo("/nonexistent-folder/通讯记录.txt"));
    EXPECT_EQ(takeMessage(),
              "无法写入文件“/nonexistent-folder/通讯记录.txt”。\n"
              "请检查文件夹是否存在、是否有写入权限，记录仍保留在窗口中。");
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    EXPECT_FALSE(wnd.saveTo(folder.string())) << "a folder is no file";
    EXPECT_FALSE(takeMessage().empty());
    EXPECT_EQ(rows(), 1);

    const std::filesystem::path file = folder / "korval-traffic-test.txt";
    ASSERT_TRUE(wnd.saveTo(file.string()));
    EXPECT_TRUE(messages.empty());
    std::ifstream in(file);
    std::string header, line, more;
    std::getline(in, header);
    std::getline(in, line);
    EXPECT_EQ(header, "时间\t请求\t应答\t用时(ms)\t结果\t含义");
    EXPECT_NE(line.find("\t01 03 00 50 00 01 84 1B\t"), std::string::npos) << line;
    EXPECT_NE(line.find("\t成功\t读 0x0050 ×1"), std::string::npos) << line;
    EXPECT_FALSE(std::getline(in, more));
    std::filesystem::remove(file);
}
