// The traffic monitor's texts: hexadecimal bytes, local times, decoded requests and the
// text file a save writes.
#include "TrafficText.h"

#include <ctime>
#include <fstream>
#include <iterator>

#include "RegisterCoding.h"
#include "Strings.h"

namespace {

constexpr uint8_t kReadHolding = 0x03;
constexpr uint8_t kReadInput = 0x04;
constexpr uint8_t kWriteSingle = 0x06;
constexpr uint8_t kWriteMultiple = 0x10;
// Address, function, two 16-bit fields and the CRC: every request this program sends.
constexpr size_t kFixedRequestLength = 8;

unsigned field(std::span<const uint8_t> frame, size_t at) {
    return static_cast<unsigned>((frame[at] << 8) | frame[at + 1]);
}

std::string requestMeaning(std::span<const uint8_t> request) {
    if (request.size() < 2) {
        return {};
    }
    const uint8_t function = request[1];
    if (request.size() < kFixedRequestLength) {
        return formatText(kTrafficFunction, function);
    }
    const unsigned first = field(request, 2);
    const unsigned second = field(request, 4);
    switch (function) {
        case kReadHolding:
            return formatText(kTrafficRead, first, second);
        case kReadInput:
            return formatText(kTrafficReadInput, first, second);
        case kWriteSingle:
            return formatText(kTrafficWriteOne, first, second);
        case kWriteMultiple:
            return formatText(kTrafficWriteMany, first, second);
        default:
            return formatText(kTrafficFunction, function);
    }
}

std::string onLineText(std::chrono::microseconds onLine) {
    return formatText("%.1f", static_cast<double>(onLine.count()) / 1000.0);
}

std::string exchangeCell(const TrafficRecord& record, int column) {
    switch (column) {
        case kTrafficRequestColumn:
            return trafficHex(record.request);
        case kTrafficReplyColumn:
            return trafficHex(record.reply);
        case kTrafficOnLineColumn:
            return onLineText(record.onLine);
        case kTrafficOutcomeColumn:
            return kTrafficOutcomes[static_cast<size_t>(record.outcome)];
        case kTrafficMeaningColumn:
            return trafficMeaning(record);
        default:
            return {};
    }
}

std::string discardCell(const TrafficRecord& record, int column) {
    switch (column) {
        case kTrafficReplyColumn:
            return trafficHex(record.discarded);
        case kTrafficOutcomeColumn:
            return kTrafficDiscardedOutcome;
        case kTrafficMeaningColumn:
            return kTrafficDiscardedMeaning;
        default:
            return {};
    }
}

static_assert(std::size(kTrafficColumns) == kTrafficColumnCount);
static_assert(std::size(kTrafficOutcomes) == static_cast<size_t>(TrafficOutcome::SendFailed) + 1);

}  // namespace

std::string trafficHex(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const uint8_t byte : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

std::string trafficClock(std::chrono::system_clock::time_point time) {
    const auto ms = std::chrono::floor<std::chrono::milliseconds>(time.time_since_epoch());
    const std::time_t seconds = std::chrono::system_clock::to_time_t(
        std::chrono::system_clock::time_point(std::chrono::floor<std::chrono::seconds>(ms)));
    std::tm local{};
    localtime_r(&seconds, &local);
    return formatText("%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min, local.tm_sec,
                      static_cast<int>(ms.count() % 1000));
}

std::string trafficMeaning(const TrafficRecord& record) {
    std::string meaning = requestMeaning(record.request);
    if (record.outcome == TrafficOutcome::Exception && record.reply.size() > 2) {
        meaning += (meaning.empty() ? "" : kTrafficSeparator) +
                   formatText(kTrafficException, record.reply[2]);
    }
    return meaning;
}

std::string trafficCell(const TrafficRow& row, int column) {
    if (row.record == nullptr) {
        return {};
    }
    if (column == kTrafficTimeColumn) {
        return trafficClock(row.record->time);
    }
    return row.discarded ? discardCell(*row.record, column) : exchangeCell(*row.record, column);
}

std::string trafficText(std::span<const TrafficRow> rows) {
    std::string text;
    for (int column = 0; column < kTrafficColumnCount; ++column) {
        text += std::string(column == 0 ? "" : "\t") + kTrafficColumns[column];
    }
    text += '\n';
    for (const TrafficRow& row : rows) {
        for (int column = 0; column < kTrafficColumnCount; ++column) {
            text += (column == 0 ? "" : "\t") + trafficCell(row, column);
        }
        text += '\n';
    }
    return text;
}

bool saveTrafficText(const std::string& path, std::span<const TrafficRow> rows) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        return false;
    }
    const std::string text = trafficText(rows);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    return !file.fail();
}
