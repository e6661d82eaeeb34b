// Register-level commands and the form commands against the simulated device over a real
// pseudo-terminal: the bytes each sends, what it gives back, and that a failure or a refusal
// leaves nothing sent and no port open.
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

TEST_F(RegisterLinkTest, ReadsAndWritesSendTheirFunctionAndGiveBackOnlyTheData) {
    device.setRegister(0x1000, 300);
    device.setRegister(0x1001, 0x8001);
    PortSession port;
    ASSERT_TRUE(port.isOpen());
    EXPECT_EQ(port.readHolding(0x1000, 2), (Registers{300, 0x8001}));
    EXPECT_EQ(lastRequest(), (Bytes{0x01, 0x03, 0x10, 0x00, 0x00, 0x02, 0xC0, 0xCB}));
    EXPECT_EQ(port.readHoldingBytes(0x1000, 2), (DataBytes{0x01, 0x2C, 0x80, 0x01}));

    ASSERT_TRUE(port.readInput(0x1009, 4).has_value());
    EXPECT_EQ(lastRequest()[1], 0x04);

    EXPECT_TRUE(port.writeRegister(0x1000, 12));
    EXPECT_EQ(device.registerValue(0x1000), 12);
    const uint16_t clock[] = {0x2024, 0x0506, 0x0708, 0x0900};
    EXPECT_TRUE(port.writeRegisters(0x1005, clock));
    EXPECT_EQ(lastRequest().size(), 17u);
    EXPECT_EQ(device.registerValue(0x1006), 0x0506);
    // Function 16 even for one register, where the device expects it.
    EXPECT_TRUE(port.write(writeMany(0x1000, {7})));
    EXPECT_EQ(lastRequest()[1], 0x10);
    EXPECT_EQ(lastRequest().size(), 11u);
}

TEST_F(RegisterLinkTest, AFailedExchangeGivesNothingBack) {
    PortSession port;
    ASSERT_TRUE(port);
    for (FaultKind fault : {FaultKind::Silent, FaultKind::Short, FaultKind::Long, FaultKind::BadCrc,
                            FaultKind::Exception, FaultKind::Garbage}) {
        device.injectFault(fault);
        EXPECT_FALSE(port.readHolding(0x0050, 1).has_value()) << static_cast<int>(fault);
        device.injectFault(fault);
        EXPECT_FALSE(port.writeRegister(0x1000, 1)) << static_cast<int>(fault);
    }
}

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
