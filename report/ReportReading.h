// What the report needs read off the device, on the open port: identity, limits, channel
// masks, the live block and, when asked, the internal-resistance records. Every part that
// cannot be read is left missing with the reason; nothing is ever filled in. No Qt.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "RecordDecoding.h"
#include "RegisterLink.h"
#include "ReportModel.h"

namespace report {

struct ReadHooks {
    std::function<void(const std::string& what)> step;           // "实时数据", before each part
    std::function<void(int read, int expected)> recordProgress;  // after each record
    std::function<bool()> stopRequested;                         // asked between records
};

// Fills the device's parts of `input`; `withRecords` reads the resistance records too.
void readReportParts(const RegisterLink& link, bool withRecords, ReportInput& input,
                     const ReadHooks& hooks = {});

// A stored resistance record as the trend takes it; nullopt when its stamp names no moment.
std::optional<analysis::ResistanceRecord> resistanceRecord(const StoredRecord& record);

}  // namespace report
