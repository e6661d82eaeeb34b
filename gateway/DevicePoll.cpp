// One poll of one device: live block, limits and masks now and then, the bank's verdict.
#include "DevicePoll.h"

#include "BankAnalysis.h"
#include "DeviceReads.h"

namespace {

using Clock = std::chrono::steady_clock;

void refreshLimits(const RegisterLink& link, DeviceMemory& memory, int limitsEvery) {
    const bool due =
        !memory.wasUp || !memory.limits || !memory.masks || memory.pollsSinceLimits >= limitsEvery;
    if (!due) {
        ++memory.pollsSinceLimits;
        return;
    }
    memory.pollsSinceLimits = 1;
    if (auto limits = readLimits(link)) {
        memory.limits = limits;
    }
    if (auto masks = readMasks(link)) {
        memory.masks = masks;
    }
}

}  // namespace

DeviceSample pollDevice(const RegisterLink& link, DeviceMemory& memory, int limitsEvery) {
    const auto start = Clock::now();
    DeviceSample sample;
    const auto live = readLive(link);
    if (live) {
        refreshLimits(link, memory, limitsEvery);
        sample.up = true;
        const AlarmMasks* masks = memory.masks ? &*memory.masks : nullptr;
        sample.values = analysis::bankValues(*live, masks);
        const analysis::Limits limits =
            memory.limits ? analysis::limitsFromDevice(*memory.limits) : analysis::Limits{};
        sample.verdict = analysis::deviceVerdict(
            analysis::assessBank(analysis::bankInput(sample.values), limits),
            analysis::unmeasuredCells(sample.values, masks));
        sample.limitsKnown = memory.limits.has_value();
    }
    memory.wasUp = sample.up;
    sample.pollSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    sample.time = std::chrono::system_clock::now();
    return sample;
}

DeviceSample unreachable(DeviceMemory& memory) {
    memory.wasUp = false;
    DeviceSample sample;
    sample.time = std::chrono::system_clock::now();
    return sample;
}
