// The report's reads, one part after another, each failure kept with its reason.
#include "ReportReading.h"

#include "DeviceReads.h"
#include "StoredRecords.h"

namespace report {

namespace {

constexpr const char* kNoAnswer = "设备没有应答";
constexpr const char* kSilent = "设备没有应答，未再尝试";

template <class T>
void readPart(ReadPart<T>& part, const std::optional<T>& value) {
    part.value = value;
    if (!value) {
        part.failure = kNoAnswer;
    }
}

std::string recordFailure(const RecordRead& read, bool stopped) {
    const std::string kept = "只用了前 " + std::to_string(read.records.size()) + " 条（共 " +
                             std::to_string(read.expected) + " 条）";
    switch (read.outcome) {
        case RecordRead::Outcome::Complete:
            return {};
        case RecordRead::Outcome::NoCount:
            return "设备没有应答记录条数";
        case RecordRead::Outcome::NotPlaced:
            return "读取记录序号校验错误";
        case RecordRead::Outcome::Broken:
            break;
    }
    if (stopped) {
        return "读取已取消，" + kept;
    }
    return "第 " + std::to_string(read.records.size() + 1) + " 条记录没有读到，" + kept;
}

void readRecords(const RegisterLink& link, ReportInput& input, const ReadHooks& hooks) {
    bool stopped = false;
    const auto stop = [&] {
        stopped = hooks.stopRequested && hooks.stopRequested();
        return stopped;
    };
    const RecordRead read =
        readStoredRecords(link, RecordKind::Resistance, 1, hooks.recordProgress, stop);
    input.records.failure = recordFailure(read, stopped);
    if (read.outcome != RecordRead::Outcome::Complete &&
        read.outcome != RecordRead::Outcome::Broken) {
        return;
    }
    std::vector<analysis::ResistanceRecord> records;
    for (const StoredRecord& stored : read.records) {
        if (const auto record = resistanceRecord(stored)) {
            records.push_back(*record);
        } else {
            ++input.recordsWithoutTime;
        }
    }
    input.records.value = std::move(records);
}

}  // namespace

std::optional<analysis::ResistanceRecord> resistanceRecord(const StoredRecord& record) {
    const auto time = stampTime(record.stamp);
    if (!time) {
        return std::nullopt;
    }
    analysis::ResistanceRecord out;
    out.time = *time;
    for (int i = 0; i < analysis::kRecordCells && i < kRecordChannels; ++i) {
        if (record.channels[i] != 0) {  // 0: the cell was not measured
            out.cells[i] = record.channels[i] / 100.0;
        }
    }
    return out;
}

void readReportParts(const RegisterLink& link, bool withRecords, ReportInput& input,
                     const ReadHooks& hooks) {
    const auto step = [&](const char* what) {
        if (hooks.step) {
            hooks.step(what);
        }
    };
    input.recordsAsked = withRecords;
    step("设备身份");
    readPart(input.identity, readIdentity(link));
    step("实时数据");
    readPart(input.live, readLive(link));
    // A device that answered neither is not there: the other parts would only time out.
    const bool silent = !input.identity.value && !input.live.value;
    if (silent) {
        input.limits.failure = input.masks.failure = kSilent;
        if (withRecords) {
            input.records.failure = kSilent;
        }
        return;
    }
    step("报警阀值");
    readPart(input.limits, readLimits(link));
    step("报警通道配置");
    readPart(input.masks, readMasks(link));
    if (withRecords && !(hooks.stopRequested && hooks.stopRequested())) {
        step("内阻记录");
        readRecords(link, input, hooks);
    } else if (withRecords) {
        input.records.failure = "读取已取消";
    }
}

}  // namespace report
