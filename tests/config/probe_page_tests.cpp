// The probe page where no scenario can look: the window during the long wait of a fully
// automatic registration, and every edit fed text no technician should type.
#include <QApplication>
#include <QProgressDialog>
#include <QTimer>
#include <climits>

#include "BadInput.h"
#include "ModbusFrame.h"
#include "PageHarness.h"
#include "ProbePage.h"
#include "ids/ProbeIds.h"

namespace ids = idc::probe;

namespace {

class ProbePage : public PageHarness {
  protected:
    void SetUp() override {
        PageHarness::SetUp();
        device.setAutoRegistrationDelayMs(1500);
        page.create(nullptr);
    }
    Bytes lastRequest() const {
        const auto log = device.requests();
        return log.empty() ? Bytes{} : log.back().bytes;
    }
    // The data bytes of the last request: after address, function, register and count.
    Bytes lastData() const {
        const Bytes r = lastRequest();
        return r.size() > 9 ? Bytes(r.begin() + 7, r.end() - 2) : Bytes{};
    }
    CProbePage page;
};

}  // namespace

TEST_F(ProbePage, TheFullyAutomaticWaitIsShownAndNothingElseRunsMeanwhile) {
    page.clickControl(ids::kModeFull);
    page.typeAsUser(ids::kMaxProbes, "40");
    std::string shown;
    bool modal = false;
    int ticks = 0;
    QTimer painter;
    QObject::connect(&painter, &QTimer::timeout, [&] { ++ticks; });
    painter.start(100);
    QTimer::singleShot(700, [&] {
        if (auto* box = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
            shown = box->labelText().toStdString();
            modal = box->isVisible();
        }
        page.clickControl(ids::kReadMax);  // refused while the registration runs
    });
    page.clickControl(ids::kRegister);
    EXPECT_EQ(takeMessage(), "注册成功");
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(modal);
    EXPECT_EQ(shown.rfind("正在全自动注册温度探头，请稍候…", 0), 0u) << shown;
    EXPECT_GE(ticks, 5);  // the event loop ran all along
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    ASSERT_EQ(device.requests().size(), 1u);  // the read never started
}

// Text that is no number is read as the C library reads it, and never crashes the page; an
// identity byte that is no byte is refused rather than cut to its low bits.
TEST_F(ProbePage, EveryEditTakesAnyTextAsTheCLibraryWould) {
    const std::string longDigits(10000, '9');
    struct Case {
        std::string text;
        int number;    // as atoi reads it (saturated)
        int identity;  // what "%x" reads; -1: wider than a byte, refused
    };
    const Case cases[] = {
        {"  7", 7, 0x07},          {"+7", 7, 0x07},      {"-7", -7, -1},
        {"12abc", 12, -1},         {"1FF", 1, -1},       {"0x1F", 0, 0x1F},
        {"七", 0, 0x00},           {"\t 40 ", 40, 0x40}, {"99999999999999999999", INT_MAX, -1},
        {longDigits, INT_MAX, -1}, {"FF", 0, 0xFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 24));
        messages.clear();
        page.typeAsUser(ids::kMaxProbes, c.text);
        page.clickControl(ids::kSetMax);
        const bool inRange = c.number >= 0 && c.number <= 40;
        EXPECT_EQ(takeMessage(), inRange ? "设置成功" : "请输入0~40的有效整数");

        page.clickControl(ids::kModeManual);
        page.typeAsUser(ids::kMaxProbes, "40");
        page.clickControl(ids::kSetMax);
        page.typeAsUser(ids::kChannel, c.text);
        for (int field : ids::kIdBytes) {
            page.typeAsUser(field, c.text);
        }
        messages.clear();
        page.clickControl(ids::kRegister);
        if (c.identity < 0) {
            EXPECT_EQ(takeMessage(), "探头号第1个字节超出范围（0~FF），未发送");
        } else if (c.number <= 40) {
            const auto b = static_cast<uint8_t>(c.identity);
            EXPECT_EQ(lastData(),
                      (Bytes{0x00, static_cast<uint8_t>(c.number & 0xFF), b, b, b, b, b, b, b, b}));
        } else {
            EXPECT_EQ(takeMessage(), "输入的通道号大于总探头个数!");
        }
        page.typeAsUser(ids::kReadChannel, c.text);
        messages.clear();
        page.clickControl(ids::kReadId);
        if (c.number < 1 || c.number > 40) {
            EXPECT_EQ(takeMessage(), "请输入1~40之间的整数通道号");
        }
        EXPECT_EQ(LinkSettings::portHandle, nullptr);
    }
}

// The shared corpus of hostile text: the maximum is set or refused, a channel is read or
// refused, each with the port closed after it.
TEST_F(ProbePage, TheHostileCorpusIsSentOrRefusedCleanly) {
    const auto corpus = loadBadInputs();
    ASSERT_GT(corpus.size(), 20u);
    for (const BadInput& input : corpus) {
        SCOPED_TRACE(input.name);
        messages.clear();
        page.typeAsUser(ids::kMaxProbes, input.text);
        page.clickControl(ids::kSetMax);
        const std::string said = takeMessage();
        EXPECT_TRUE(said == "设置成功" || said == "请输入0~40的有效整数") << said;
        page.typeAsUser(ids::kMaxProbes, "40");
        page.clickControl(ids::kSetMax);
        messages.clear();
        page.typeAsUser(ids::kReadChannel, input.text);
        page.clickControl(ids::kReadId);
        const std::string read = takeMessage();
        EXPECT_TRUE(read.empty() || read == "请输入1~40之间的整数通道号") << read;
        EXPECT_EQ(LinkSettings::portHandle, nullptr);
    }
}
