// The live pages against the simulated device over a real pseudo-terminal, where no
// scenario can go: a device that disappears in the middle of a continuous reading.
#include "BankDataPage.h"
#include "PageHarness.h"
#include "Strings.h"
#include "ids/BankIds.h"

namespace ids = idc::bank;

namespace {

class BankPage : public PageHarness {
  protected:
    void SetUp() override {
        PageHarness::SetUp();
        page.create(nullptr);
    }
    int count(int id) { return std::stoi(page.windowText(id)); }
    CBankDataPage page;
};

}  // namespace

TEST_F(BankPage, ADeviceThatVanishesIsCountedUntilStop) {
    page.clickControl(ids::kStartStop);
    ASSERT_TRUE(runEventsUntil([&] { return count(ids::kOkCount) >= 1; }));
    device.vanish();
    ASSERT_TRUE(runEventsUntil([&] { return count(ids::kFailCount) >= 2; }, 20000));
    page.clickControl(ids::kStartStop);
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    EXPECT_EQ(page.windowText(ids::kStartStop), kStartReadingCaption);
    // Starting again cannot open the vanished port: the operator is told, nothing changes.
    page.clickControl(ids::kStartStop);
    MessageIcon icon = MessageIcon::None;
    EXPECT_EQ(takeMessage(&icon), "没有发现此串口或此串口被占用");
    EXPECT_EQ(icon, MessageIcon::Warning);
    EXPECT_EQ(page.windowText(ids::kStartStop), kStartReadingCaption);
}
