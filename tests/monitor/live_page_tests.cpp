// The live pages against the simulated device over a real pseudo-terminal: what a tick
// shows, what a failed tick leaves alone, and how the pages survive a device that
// misbehaves or disappears.
#include <QElapsedTimer>

#include "BankDataPage.h"
#include "CellPage.h"
#include "CurrentPage.h"
#include "ModbusCrc.h"
#include "PageHarness.h"
#include "ReportList.h"
#include "Strings.h"

namespace {

template <class Page>
class LivePage : public PageHarness {
  protected:
    void SetUp() override {
        PageHarness::SetUp();
        page.create(nullptr);
    }
    int count(int id) { return std::stoi(page.windowText(id)); }
    Page page;
};

using BankPage = LivePage<CBankDataPage>;
using VoltagePage = LivePage<CVoltagePage>;
using ResistancePage = LivePage<CResistancePage>;
using TemperaturePage = LivePage<CTemperaturePage>;
using CurrentPage = LivePage<CCurrentPage>;

Bytes lastRequest(const DeviceServer& device) {
    const auto log = device.requests();
    return log.empty() ? Bytes{} : log.back().bytes;
}

}  // namespace

TEST_F(BankPage, ListsAreLabelledOnceAndValuesLandInTheirCells) {
    CReportList* volts = page.reportList(1014);
    ASSERT_EQ(volts->rowCount(), 10);
    ASSERT_EQ(volts->columnCount(), 11);
    EXPECT_EQ(volts->columnHeading(2), " ");
    EXPECT_EQ(volts->itemText(0, 0), "通道#1");
    EXPECT_EQ(volts->itemText(9, 9), "通道#40");
    EXPECT_EQ(volts->itemText(0, 6), "通道#21");

    device.setRegister(39, 3456);
    device.setRegister(80, 32968);
    device.setRegister(81, 0x8000 | 50);
    device.setRegister(40, 125);
    page.clickControl(1019);
    ASSERT_TRUE(runEventsUntil([&] { return count(1020) >= 2; }));
    page.clickControl(1019);
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    EXPECT_EQ(volts->itemText(9, 10), "3.456V");
    EXPECT_EQ(page.reportList(1044)->itemText(0, 1), "1.25mΩ");
    EXPECT_EQ(page.windowText(1015), "-20.0A");
    EXPECT_EQ(page.reportList(1045)->itemText(0, 1), "-5.0℃");
    EXPECT_EQ(volts->rowCount(), 10);  // updated in place, no growth
    EXPECT_EQ(lastRequest(device), (Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x79, 0x84, 0x28}));
}

TEST_F(BankPage, AShortReplyIsAFailureAndLeavesTheValues) {
    page.clickControl(1019);
    ASSERT_TRUE(runEventsUntil([&] { return count(1020) >= 1; }));
    const std::string before = page.reportList(1014)->itemText(0, 1);
    device.setRegister(0, 1);
    device.injectFault(FaultKind::Short, 1000);  // 246-byte replies from now on
    const int failsBefore = count(1021);
    ASSERT_TRUE(runEventsUntil([&] { return count(1021) >= failsBefore + 1; }));
    page.clickControl(1019);
    EXPECT_EQ(page.reportList(1014)->itemText(0, 1), before);
    EXPECT_TRUE(messages.empty());  // continuous reading never shows a box
}

TEST_F(BankPage, StopThenStartResetsTheCountersButKeepsTheValues) {
    page.clickControl(1019);
    ASSERT_TRUE(runEventsUntil([&] { return count(1020) >= 1; }));
    page.clickControl(1019);
    const std::string value = page.reportList(1045)->itemText(3, 4);
    page.clickControl(1019);
    EXPECT_EQ(page.windowText(1020), "0");
    EXPECT_EQ(page.windowText(1021), "0");
    EXPECT_EQ(page.reportList(1045)->itemText(3, 4), value);
    page.clickControl(1019);  // stopped before the first tick: both stay 0
    EXPECT_EQ(page.windowText(1020), "0");
}

TEST_F(BankPage, ALateReplyCostsOneTick) {
    page.clickControl(1019);
    ASSERT_TRUE(runEventsUntil([&] { return count(1020) >= 1; }));
    device.injectFault(FaultKind::Late);
    ASSERT_TRUE(runEventsUntil([&] { return count(1021) >= 1; }));
    const int ok = count(1020);
    // The late bytes arrive while the port stays open; every later tick still succeeds.
    ASSERT_TRUE(runEventsUntil([&] { return count(1020) >= ok + 4; }, 15000));
    page.clickControl(1019);
    EXPECT_EQ(count(1021), 1);
}

TEST_F(BankPage, ADeviceThatVanishesIsCountedUntilStop) {
    page.clickControl(1019);
    ASSERT_TRUE(runEventsUntil([&] { return count(1020) >= 1; }));
    device.vanish();
    ASSERT_TRUE(runEventsUntil([&] { return count(1021) >= 2; }, 20000));
    page.clickControl(1019);
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    EXPECT_EQ(page.windowText(1019), kStartReadingCaption);
    // Starting again cannot open the vanished port: the operator is told, nothing changes.
    page.clickControl(1019);
    MessageIcon icon = MessageIcon::None;
    EXPECT_EQ(takeMessage(&icon), "没有发现此串口或此串口被占用");
    EXPECT_EQ(icon, MessageIcon::Warning);
    EXPECT_EQ(page.windowText(1019), kStartReadingCaption);
}

TEST_F(BankPage, ASilentDeviceOnlyCountsFailuresAndStopWorksBetweenTicks) {
    device.injectFault(FaultKind::Silent, 1000);
    page.clickControl(1019);
    ASSERT_TRUE(runEventsUntil([&] { return count(1021) >= 1; }));
    page.clickControl(1019);
    EXPECT_EQ(page.windowText(1019), kStartReadingCaption);
    EXPECT_EQ(count(1020), 0);
    EXPECT_EQ(page.reportList(1014)->itemText(0, 1), "");
    EXPECT_EQ(page.windowText(1015), "");
}

TEST_F(VoltagePage, TwoDecimalsAndRightListPlacement) {
    device.setRegister(0, 1005);
    device.setRegister(39, 3456);
    page.clickControl(1016);
    ASSERT_TRUE(runEventsUntil([&] { return count(1021) >= 1; }));
    page.clickControl(1016);
    EXPECT_EQ(page.reportList(1017)->itemText(0, 1), "1.01V");
    EXPECT_EQ(page.reportList(1015)->itemText(19, 1), "3.46V");
    EXPECT_EQ(page.reportList(1015)->itemText(10, 0), "通道#31");
    EXPECT_EQ(page.items(1023), (std::vector<std::string>{"列表", "条形图", "曲线"}));
    EXPECT_EQ(page.curSel(1023), -1);
}

TEST_F(TemperaturePage, SignAndMagnitudeAndNoViewMode) {
    device.setRegister(81, 0x8000 | 75);
    device.setRegister(120, 301);
    page.clickControl(1016);
    ASSERT_TRUE(runEventsUntil([&] { return count(1021) >= 1; }));
    page.clickControl(1016);
    EXPECT_EQ(page.reportList(1017)->itemText(0, 1), "-7.5℃");
    EXPECT_EQ(page.reportList(1015)->itemText(19, 1), "30.1℃");
    EXPECT_FALSE(page.isControlShown(1023));
    EXPECT_EQ(lastRequest(device), (Bytes{0x01, 0x03, 0x00, 0x51, 0x00, 0x28, 0x14, 0x05}));
}

TEST_F(ResistancePage, ManualTestBlanksTheValuesAndSendsTheCell) {
    device.setRegister(40, 125);
    page.clickControl(1016);
    ASSERT_TRUE(runEventsUntil([&] { return count(1021) >= 1; }));
    EXPECT_FALSE(page.isControlEnabled(1123));
    page.clickControl(1123);  // disabled: nothing happens
    page.clickControl(1016);
    EXPECT_TRUE(page.isControlEnabled(1123));
    EXPECT_EQ(page.reportList(1024)->itemText(0, 1), "1.25mΩ");

    EXPECT_EQ(page.curSel(1146), 40);
    device.clearRequests();
    page.clickControl(1123);
    EXPECT_EQ(takeMessage(), "设置成功");
    EXPECT_EQ(lastRequest(device), (Bytes{0x01, 0x06, 0x10, 0xA0, 0x01, 0xFF, 0xCC, 0xF8}));
    EXPECT_EQ(page.reportList(1024)->itemText(0, 1), "");
    EXPECT_EQ(page.reportList(1025)->itemText(19, 1), "");
    EXPECT_EQ(page.reportList(1025)->itemText(19, 0), "通道#40");

    page.selectAsUser(1146, 6);
    device.injectFault(FaultKind::Silent);
    page.clickControl(1123);
    EXPECT_EQ(takeMessage(), "设置失败");
    const Bytes sent = lastRequest(device);
    ASSERT_EQ(sent.size(), 8u);
    EXPECT_EQ(sent[4], 0x01);
    EXPECT_EQ(sent[5], 0x07);
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
}

TEST_F(ResistancePage, AFailedStartLeavesTheTestButtonEnabled) {
    LinkSettings::portNumber = 12;  // /dev/ttyS11: not here
    page.clickControl(1016);
    EXPECT_EQ(takeMessage(), "没有发现此串口或此串口被占用");
    EXPECT_TRUE(page.isControlEnabled(1123));
    EXPECT_EQ(page.windowText(1016), kStartReadingCaption);
}

TEST_F(CurrentPage, ReadsAndShowsWithoutUnit) {
    device.setRegister(80, 0x8000 | 123);
    page.clickControl(1047);
    EXPECT_EQ(page.windowText(1002), "-12.3");
    EXPECT_EQ(lastRequest(device), (Bytes{0x01, 0x03, 0x00, 0x50, 0x00, 0x01, 0x84, 0x1B}));
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    EXPECT_TRUE(messages.empty());

    page.typeAsUser(1002, "typed by hand");
    for (FaultKind fault : {FaultKind::Silent, FaultKind::Short, FaultKind::Long, FaultKind::BadCrc,
                            FaultKind::Exception, FaultKind::Garbage}) {
        device.injectFault(fault);
        page.clickControl(1047);
        EXPECT_EQ(takeMessage(), "读取失败") << static_cast<int>(fault);
        EXPECT_EQ(page.windowText(1002), "typed by hand");
        EXPECT_EQ(LinkSettings::portHandle, nullptr);
    }
    page.clickControl(1047);
    EXPECT_EQ(page.windowText(1002), "-12.3");
}
