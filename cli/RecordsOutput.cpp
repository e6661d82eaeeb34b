// `korval records` in each format: one row a record, with the record dialogs' texts (text)
// or plain numbers and ISO times (json, csv).
#include "CliReports.h"
#include "OutputText.h"
#include "RegisterCoding.h"

namespace {

// By RecordKind: voltage, alarm, resistance.
constexpr const char* kKindNames[] = {"voltage", "alarm", "resistance"};
constexpr const char* kKindTexts[] = {"电压记录", "报警记录", "内阻记录"};

const char* kindName(RecordKind kind) {
    return kKindNames[static_cast<int>(kind)];
}

const char* kindText(RecordKind kind) {
    return kKindTexts[static_cast<int>(kind)];
}

// "2013-05-18T09:30:07", or empty when the stamp names no moment.
std::string isoTime(const StoredRecord& record) {
    const auto f = stampFields(record.stamp);
    if (!f) {
        return {};
    }
    return formatText("%04d-%02d-%02dT%02d:%02d:%02d", f->year, f->month, f->day, f->hour,
                      f->minute, f->second);
}

std::string channelNumber(uint16_t raw) {
    return formatText("%.2f", raw / 100.0);  // every kind stores hundredths of its unit
}

std::string text(const RecordsReport& r) {
    std::string out = r.kind == RecordKind::Voltage
                          ? formatText("%s：共%d条，第%d组%d条\n", kindText(r.kind), r.read.count,
                                       r.group, r.read.expected)
                          : formatText("%s：共%d条\n", kindText(r.kind), r.read.count);
    const auto columns = recordColumns(r.kind);
    for (size_t c = 0; c < columns.size(); ++c) {
        out += (c == 0 ? "" : "\t") + columns[c].heading;
    }
    out += "\n";
    for (const StoredRecord& record : r.read.records) {
        for (size_t c = 0; c < columns.size(); ++c) {
            out += (c == 0 ? "" : "\t") + recordCellText(r.kind, record, static_cast<int>(c));
        }
        out += "\n";
    }
    return out;
}

std::string json(const RecordsReport& r) {
    std::string out = formatText("{\"kind\": \"%s\", ", kindName(r.kind));
    if (r.kind == RecordKind::Voltage) {
        out += formatText("\"group\": %d, ", r.group);
    }
    out += formatText("\"count\": %d, \"expected\": %d, \"complete\": %s,\n \"records\": [",
                      r.read.count, r.read.expected,
                      r.read.outcome == RecordRead::Outcome::Complete ? "true" : "false");
    for (size_t n = 0; n < r.read.records.size(); ++n) {
        const StoredRecord& record = r.read.records[n];
        const std::string iso = isoTime(record);
        out += formatText("%s\n  {\"number\": %d, \"stamp\": %s, \"time\": %s, ", n ? "," : "",
                          record.number, jsonString(timeStampText(record.stamp)).c_str(),
                          iso.empty() ? "null" : jsonString(iso).c_str());
        if (r.kind == RecordKind::Alarm) {
            out += formatText("\"alarm_kind\": %d, \"alarm_text\": %s, ", record.alarmKind,
                              jsonString(alarmKindText(record.alarmKind)).c_str());
        }
        out += "\"channels\": [";
        for (size_t c = 0; c < record.channels.size(); ++c) {
            out += (c ? "," : "") + channelNumber(record.channels[c]);
        }
        out += "]}";
    }
    return out + (r.read.records.empty() ? "]}\n" : "\n ]}\n");
}

std::string csv(const RecordsReport& r) {
    std::string out = r.kind == RecordKind::Alarm ? "number,time,alarm_kind" : "number,time";
    for (int c = 1; c <= kRecordChannels; ++c) {
        out += formatText(",channel_%d", c);
    }
    out += "\n";
    for (const StoredRecord& record : r.read.records) {
        const std::string iso = isoTime(record);
        out += formatText("%d,%s", record.number,
                          (iso.empty() ? timeStampText(record.stamp) : iso).c_str());
        if (r.kind == RecordKind::Alarm) {
            out += formatText(",%d", record.alarmKind);
        }
        for (uint16_t raw : record.channels) {
            out += "," + channelNumber(raw);
        }
        out += "\n";
    }
    return out;
}

}  // namespace

std::string formatRecords(const RecordsReport& report, OutputFormat format) {
    return writeAs(report, format, FormatWriters<RecordsReport>{text, json, csv, nullptr});
}
