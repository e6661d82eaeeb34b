// The system parameter page where no scenario can look: the battery-voltage calibration's
// visible 20 s wait, and every edit fed text no technician should type.
#include <QApplication>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTimer>
#include <climits>

#include "BadInput.h"
#include "ModbusFrame.h"
#include "PageHarness.h"
#include "SystemParamPage.h"
#include "ids/SystemParamIds.h"

namespace ids = idc::sysparam;

namespace {

// A refusal names the field and says nothing went out; two checks keep their old words.
bool isRefusal(const std::string& said) {
    return said.find("，未发送") != std::string::npos ||
           said == "输入的数值范围在1~5000之间,请重新输入" ||
           said == "电压上限与下限不能大于或等于25.5";
}

class SystemParamPage : public PageHarness {
  protected:
    void SetUp() override {
        PageHarness::SetUp();
        page.create(nullptr);
    }
    // The value a write of one register sent (bytes 4 and 5 of the last request).
    int lastValue() const {
        const auto log = device.requests();
        if (log.empty() || log.back().bytes.size() != 8) {
            return -1;
        }
        const Bytes& r = log.back().bytes;
        return (r[4] << 8) | r[5];
    }
    // Types `text`, clicks `set`; the value sent, or -1 when the page refused it.
    int sent(int edit, int set, const std::string& text) {
        device.clearRequests();
        messages.clear();
        page.typeAsUser(edit, text);
        page.clickControl(set);
        EXPECT_EQ(LinkSettings::portHandle, nullptr);
        return device.requests().empty() ? -1 : lastValue();
    }
    CSystemParamPage page;
};

}  // namespace

TEST_F(SystemParamPage, BatteryVoltageCalibrationCountsDownItsTwentySeconds) {
    page.selectAsUser(ids::kCalibType, 0);
    page.selectAsUser(ids::kCalibRange, 1);
    std::vector<std::string> shown;
    size_t requestsDuringWait = 0;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget())) {
            const std::string text = box->labelText().toStdString();
            if (shown.empty() || shown.back() != text) {
                shown.push_back(text);
            }
        }
        page.clickControl(ids::kReadIrInterval);  // refused while the calibration runs
        requestsDuringWait = device.requests().size();
    });
    watcher.start(500);
    page.clickControl(ids::kCalibrate);
    watcher.stop();
    EXPECT_EQ(takeMessage(), "设置成功");
    EXPECT_EQ(lastValue(), 0x0102);
    EXPECT_EQ(requestsDuringWait, 1u);  // sent at the start; nothing else went out
    ASSERT_GE(shown.size(), 15u);       // about one text a second, counting down
    EXPECT_EQ(shown.front(), "正在校准电池电压，请稍候…\n还需 20 秒");
    EXPECT_EQ(shown.back(), "正在校准电池电压，请稍候…\n还需 1 秒");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// Text that is no number is read as the C library reads it, scaled values are truncated
// exactly for typed tenths, and a value its register cannot hold is refused without
// sending anything, never cut to its low bits.
TEST_F(SystemParamPage, EveryEditTakesAnyTextAndSendsWhatItMeans) {
    const std::string huge(10000, '9');
    struct Case {
        int edit;
        int set;
        std::string text;
        int value;  // -1: refused
    };
    const Case cases[] = {
        {ids::kIrInterval, ids::kSetIrInterval, "", 0},
        {ids::kIrInterval, ids::kSetIrInterval, " 300", 300},
        {ids::kIrInterval, ids::kSetIrInterval, "-1", -1},
        {ids::kIrInterval, ids::kSetIrInterval, "12abc", 12},
        {ids::kIrInterval, ids::kSetIrInterval, "65535", 0xFFFF},
        {ids::kIrInterval, ids::kSetIrInterval, "65536", -1},
        {ids::kIrInterval, ids::kSetIrInterval, huge, -1},  // INT_MAX
        {ids::kSensorRange, ids::kSetSensorRange, "12.7", 25},
        {ids::kSensorRange, ids::kSetSensorRange, "1e1", 20},
        {ids::kSensorRange, ids::kSetSensorRange, "七", 0},
        {ids::kSensorRange, ids::kSetSensorRange, "-0.4", 0},  // truncated toward zero first
        {ids::kSensorRange, ids::kSetSensorRange, "32767.9", 0xFFFF},
        {ids::kSensorRange, ids::kSetSensorRange, "32768", -1},
        {ids::kSensorRange, ids::kSetSensorRange, "1e300", -1},
        {ids::kSensorRange, ids::kSetSensorRange, "-0.5", -1},
        {ids::kIrLimit, ids::kSetIrLimit, "1.25", 12},
        {ids::kIrLimit, ids::kSetIrLimit, "0x10", 0},
        {ids::kIrLimit, ids::kSetIrLimit, "6553.6", -1},
        {ids::kIrLimit, ids::kSetIrLimit, "-1e400", -1},
        {ids::kCurrentLimit, ids::kSetCurrentLimit, "5000", 0x1388},
        {ids::kCurrentLimit, ids::kSetCurrentLimit, "5001", -1},
        {ids::kCurrentLimit, ids::kSetCurrentLimit, "", -1},
        {ids::kCurrentLimit, ids::kSetCurrentLimit, huge, -1},
        {ids::kCurrentLimit, ids::kSetCurrentLimit, "1.9", 1},
        {ids::kDischarge, ids::kSetDischarge, "5", 0x01F4},
        {ids::kDischarge, ids::kSetDischarge, "655", 0xFFDC},
        {ids::kDischarge, ids::kSetDischarge, "656", -1},  // was 0x0040: 0.64 A
        {ids::kDischarge, ids::kSetDischarge, "-1", -1},   // was 0xFF9C: 654.36 A
        {ids::kDischarge, ids::kSetDischarge, huge, -1},
        {ids::kVoltUpper, ids::kSetVoltLimits, "14.4", 0x9000},
        {ids::kVoltUpper, ids::kSetVoltLimits, "25.4", 0xFE00},
        {ids::kVoltUpper, ids::kSetVoltLimits, "25.5", -1},
        {ids::kVoltUpper, ids::kSetVoltLimits, huge, -1},
        {ids::kVoltUpper, ids::kSetVoltLimits, "-1", -1},  // was the low byte of -10
        {ids::kVoltUpper, ids::kSetVoltLimits, "-0.09", 0x0000},
        {ids::kTempUpper, ids::kSetTempLimits, "-20", 0x9400},
        {ids::kTempUpper, ids::kSetTempLimits, "127", 0x7F00},
        {ids::kTempUpper, ids::kSetTempLimits, "-127", 0xFF00},
        {ids::kTempUpper, ids::kSetTempLimits, "200", -1},  // was 0xC8, read back as -72
        {ids::kTempUpper, ids::kSetTempLimits, "128", -1},
        {ids::kTempLower, ids::kSetTempLimits, "-128", -1},  // was 0x00
        {ids::kTempUpper, ids::kSetTempLimits,
         std::string("4\0"
                     "5",
                     3),
         0x0400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 20));
        EXPECT_EQ(sent(c.edit, c.set, c.text), c.value);
        if (c.value < 0) {
            EXPECT_TRUE(isRefusal(takeMessage()));
        }
        page.typeAsUser(c.edit, "");
    }
    // No date field has a clock in the corpus: each is refused, the group and field named.
    for (const std::string& text : {std::string(""), std::string("-5"), huge, std::string("２")}) {
        for (int field : ids::kIrMoment) {
            page.typeAsUser(field, text);
        }
        EXPECT_EQ(sent(ids::kIrMoment[0], ids::kSetIrMoment, "2024"), -1);
        EXPECT_EQ(takeMessage().rfind("指定内阻采样时刻的“月”超出有效范围（1~12）", 0), 0u);
    }
}

// The code is compared exactly; the prompt masks what is typed, and closing it cancels.
TEST_F(SystemParamPage, FactoryModeTakesOnlyTheExactCode) {
    for (const char* typed : {"417293 ", " 417293", "4172931", "417293\t"}) {
        bool masked = false;
        CDialog::setModalHook([&](CDialog& prompt) -> std::optional<int> {
            auto* edit = qobject_cast<QLineEdit*>(prompt.control(idc::password::kPassword));
            masked = edit != nullptr && edit->echoMode() == QLineEdit::Password;
            prompt.typeAsUser(idc::password::kPassword, typed);
            prompt.clickControl(IDOK);
            return IDOK;
        });
        page.clickControl(ids::kFactoryMode);
        CDialog::setModalHook({});
        EXPECT_TRUE(masked);
        MessageIcon icon = MessageIcon::None;
        EXPECT_EQ(takeMessage(&icon), "密码错误!") << typed;
        EXPECT_EQ(icon, MessageIcon::Warning);
        EXPECT_EQ(page.windowText(ids::kFactoryMode), "工厂模式");
    }
    // Closed from its title bar: cancelled, nothing said, nothing shown.
    QTimer::singleShot(100, [] {
        if (QWidget* prompt = QApplication::activeModalWidget()) {
            prompt->close();
        }
    });
    page.clickControl(ids::kFactoryMode);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(page.isControlShown(ids::kDischarge));
}

// The shared corpus of hostile text in every edit at once, then every "设置": each answers
// with one request or one refusal, and the port is closed after each.
TEST_F(SystemParamPage, TheHostileCorpusInEveryEditIsSentOrRefusedCleanly) {
    const int edits[] = {ids::kIrInterval,   ids::kSensorRange, ids::kIrLimit,
                         ids::kCurrentLimit, ids::kTempUpper,   ids::kTempLower,
                         ids::kVoltUpper,    ids::kVoltLower,   ids::kDischarge};
    const int sets[] = {ids::kSetIrInterval,   ids::kSetSensorRange, ids::kSetIrLimit,
                        ids::kSetCurrentLimit, ids::kSetTempLimits,  ids::kSetVoltLimits,
                        ids::kSetDischarge};
    const auto corpus = loadBadInputs();
    ASSERT_GT(corpus.size(), 20u);
    for (const BadInput& input : corpus) {
        SCOPED_TRACE(input.name);
        for (int edit : edits) {
            page.typeAsUser(edit, input.text);
        }
        for (int set : sets) {
            device.clearRequests();
            messages.clear();
            page.clickControl(set);
            std::string said = takeMessage();
            if (said.rfind("注意：", 0) == 0) {
                said = takeMessage();  // a note on crossed limits comes before the write
            }
            const bool sent = said == "设置成功" || said == "设置失败";
            EXPECT_TRUE(sent || isRefusal(said)) << said;
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(device.requests().size(), sent ? 1u : 0u);
            EXPECT_EQ(LinkSettings::portHandle, nullptr);
        }
    }
}
