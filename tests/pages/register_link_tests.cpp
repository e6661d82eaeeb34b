// The port a page holds and the form commands against the simulated device over a real
// pseudo-terminal: the operator told when the port cannot be had, the outcome of each command,
// and that a failure or a refusal leaves nothing sent and no port open.
#include "Dialog.h"
#include "FormCommands.h"
#include "ModbusFrame.h"
#include "PageHarness.h"

namespace {

class RegisterLinkTest : public PageHarness {
  protected:
    Bytes lastRequest() const {
        const auto log = device.requests();
        return log.empty() ? Bytes{} : log.back().bytes;
    }
    CDialog page{kEmpty};
    static inline const DialogTemplate kEmpty{900, "", "", 10, {}};
};

}  // namespace

TEST_F(RegisterLinkTest, NoPortMeansNoRequestAndOneWarning) {
    LinkSettings::portNumber = 12;  // /dev/ttyS11: not here
    {
        PortSession port;
        EXPECT_FALSE(port);
        EXPECT_FALSE(port.readHolding(0, 1).has_value());  // asked anyway: fails, no crash
    }
    HeldPort held;
    EXPECT_FALSE(held.open());
    EXPECT_EQ(takeMessage(), "没有发现此串口或此串口被占用");
    EXPECT_EQ(takeMessage(), "没有发现此串口或此串口被占用");
    EXPECT_TRUE(device.requests().empty());
}

TEST_F(RegisterLinkTest, TheHolderClosesThePort) {
    {
        PortSession port;
        EXPECT_NE(LinkSettings::portHandle, nullptr);
    }
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    {
        HeldPort held;
        ASSERT_TRUE(held.open());
        EXPECT_TRUE(held.readHolding(0, 1).has_value());
    }
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
}

TEST_F(RegisterLinkTest, FormCommandsTellTheOutcomeAndARefusalSendsNothing) {
    device.setRegister(0x1001, 25);
    Registers shown;
    readAndShow(page, holding(0x1001), [&](const Registers& r) { shown = r; });
    EXPECT_EQ(shown, Registers{25});
    EXPECT_TRUE(messages.empty());
    device.injectFault(FaultKind::Silent);
    readAndShow(page, holding(0x1001), [&](const Registers&) { shown.clear(); });
    EXPECT_EQ(takeMessage(), "读取失败");
    EXPECT_EQ(shown, Registers{25});

    writeAndReport(page, writeOne(0x1011, 5000));
    EXPECT_EQ(takeMessage(), "设置成功");
    EXPECT_EQ(lastRequest(), (Bytes{0x01, 0x06, 0x10, 0x11, 0x13, 0x88, 0xD0, 0x59}));
    device.injectFault(FaultKind::Exception);
    writeAndReport(page, writeOne(0x1011, 1));
    EXPECT_EQ(takeMessage(), "设置失败");

    device.clearRequests();
    writeAndReport(page, writeOne(0x1011, 5001), "输入的数值范围在1~5000之间,请重新输入");
    EXPECT_EQ(takeMessage(), "输入的数值范围在1~5000之间,请重新输入");
    EXPECT_TRUE(device.requests().empty());
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
}
