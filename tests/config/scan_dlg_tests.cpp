// The scan dialog's port faults, which scenarios cannot reach: a port another program holds,
// and a port that goes away in the middle of a scan. Both end the scan at once with the
// program's port message, the link settings as they were and the dialog ready again.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>

#include "PageHarness.h"
#include "ScanDlg.h"
#include "ids/ScanIds.h"

namespace {

namespace ids = idc::scan;

class ScanDlgTest : public PageHarness {
  protected:
    void SetUp() override {
        PageHarness::SetUp();
        dlg.create(nullptr);
        dlg.show();
    }

    void expectEndedWithPortMessage() {
        ASSERT_TRUE(runEventsUntil([&] { return !dlg.scanning(); }, 5000));
        MessageIcon icon = MessageIcon::None;
        EXPECT_EQ(takeMessage(&icon), "没有发现此串口或此串口被占用");
        EXPECT_EQ(icon, MessageIcon::Warning);
        EXPECT_EQ(takeMessage(), "");
        EXPECT_EQ(dlg.windowText(ids::kStatus), "串口无法打开，搜索已停止");
        EXPECT_TRUE(dlg.isControlEnabled(ids::kStart));
        EXPECT_FALSE(dlg.isControlEnabled(ids::kCancel));
        EXPECT_EQ(LinkSettings::portHandle, nullptr);
        EXPECT_EQ(LinkSettings::baudRate, 9600);
        EXPECT_EQ(LinkSettings::deviceAddress, 1);
    }

    CScanDlg dlg;
};

}  // namespace

TEST_F(ScanDlgTest, APortHeldByAnotherProgramEndsTheScanAtOnce) {
    const int held = ::open(device.path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
    dlg.clickControl(ids::kStart);
    expectEndedWithPortMessage();
    ::close(held);
    EXPECT_EQ(device.requestsSeen(), 0u);
}

TEST_F(ScanDlgTest, APortLostInTheMiddleEndsTheScanAtOnce) {
    device.setLine(200, 0);  // nothing answers at the first addresses
    dlg.clickControl(ids::kStart);
    runEventsFor(300);
    ASSERT_TRUE(dlg.scanning());
    device.vanish();
    expectEndedWithPortMessage();
    EXPECT_LT(std::stoi(dlg.windowText(ids::kDone)), 100) << "not the whole plan, silently";
}
