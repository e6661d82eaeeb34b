// Every read of the system parameter page against every way a reply can go wrong: the
// operator is told "读取失败" and the controls keep what they showed. Every set says
// "设置失败" when its reply is corrupt.
#include "PageHarness.h"
#include "SystemParamPage.h"
#include "ids/SystemParamIds.h"

namespace ids = idc::sysparam;

namespace {

class SystemParamFaults : public PageHarness {
  protected:
    void SetUp() override {
        PageHarness::SetUp();
        page.create(nullptr);
    }
    // What the operator sees in the page: every edit's text and every check box.
    std::vector<std::string> snapshot() const {
        std::vector<std::string> state;
        for (int id : kWatched) {
            state.push_back(page.windowText(id) + (page.isChecked(id) ? "+" : "-"));
        }
        return state;
    }
    static constexpr int kWatched[] = {
        ids::kAddress,     ids::kBaud,         ids::kVersion,      ids::kIrInterval,
        ids::kSensorRange, ids::kClock[0],     ids::kClock[5],     ids::kIrMoment[0],
        ids::kIrLimit,     ids::kCurrentLimit, ids::kTempUpper,    ids::kTempLower,
        ids::kVoltUpper,   ids::kVoltLower,    ids::kRelayBits[2], ids::kStatusBits[5],
        ids::kVoltMask[0], ids::kIrMask[39],   ids::kTempMask[9],  ids::kDischarge};
    CSystemParamPage page;
};

}  // namespace

TEST_F(SystemParamFaults, AFailedReadSaysSoAndChangesNothing) {
    const int reads[] = {ids::kReadInfo,         ids::kReadIrInterval, ids::kReadSensorRange,
                         ids::kReadClock,        ids::kReadIrMoment,   ids::kReadIrLimit,
                         ids::kReadCurrentLimit, ids::kReadTempLimits, ids::kReadVoltLimits,
                         ids::kReadRelay,        ids::kReadVoltMask,   ids::kReadIrMask,
                         ids::kReadTempMask,     ids::kReadStatus,     ids::kReadDischarge};
    // Something on the page first, so "unchanged" means something.
    for (int read : reads) {
        page.clickControl(read);
    }
    page.clickControl(ids::kVoltSelectAll);
    messages.clear();
    const auto before = snapshot();
    for (FaultKind fault : {FaultKind::Silent, FaultKind::BadCrc, FaultKind::Short, FaultKind::Late,
                            FaultKind::Exception}) {
        for (int read : reads) {
            device.setRegister(0x1000, 77);  // what a good read would now show
            // A late reply comes 1.3 s after its request: after this read gave up, and
            // before the next request clears what is queued.
            device.injectFault(fault, 1, fault == FaultKind::Late ? 1300 : -1);
            page.clickControl(read);
            if (fault == FaultKind::Late) {
                runEventsFor(600);
            }
            EXPECT_EQ(takeMessage(), "读取失败") << read << " " << static_cast<int>(fault);
            EXPECT_EQ(snapshot(), before) << read << " " << static_cast<int>(fault);
        }
    }
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
}

TEST_F(SystemParamFaults, AFailedSetSaysSo) {
    page.typeAsUser(ids::kCurrentLimit, "100");
    page.typeAsUser(ids::kTempUpper, "45");
    page.typeAsUser(ids::kVoltUpper, "14.0");
    const char* const moment[] = {"2024", "5", "6", "7", "8", "9"};
    for (size_t i = 0; i < std::size(moment); ++i) {
        page.typeAsUser(ids::kClock[i], moment[i]);
        page.typeAsUser(ids::kIrMoment[i], moment[i]);
    }
    const int sets[] = {ids::kSetIrInterval, ids::kSetSensorRange, ids::kSetClock,
                        ids::kSetIrMoment,   ids::kSetIrLimit,     ids::kSetCurrentLimit,
                        ids::kSetTempLimits, ids::kSetVoltLimits,  ids::kSetRelay,
                        ids::kSetVoltMask,   ids::kSetIrMask,      ids::kSetTempMask,
                        ids::kSetStatus,     ids::kSetDischarge};
    for (int set : sets) {
        device.injectFault(FaultKind::BadCrc);
        page.clickControl(set);
        EXPECT_EQ(takeMessage(), "设置失败") << set;
    }
}
