// The operator's messages for configuration values the device's registers cannot hold.
#include "ParamRefusal.h"

#include "RegisterCoding.h"
#include "Strings.h"

std::optional<std::string> rangeRefusal(const FieldRange& range, long long value) {
    if (fits(range, value)) {
        return std::nullopt;
    }
    return formatText(
        kMsgValueOutOfRange, range.caption,
        formatText("%g", static_cast<double>(range.lowest) * range.unitScale).c_str(),
        formatText("%g", static_cast<double>(range.highest) * range.unitScale).c_str(), range.unit);
}

std::string dateTimeRefusal(const char* caption, const DateTimeFault& fault) {
    return formatText(kMsgDateTimeOutOfRange, caption,
                      kDateTimeFieldNames[static_cast<size_t>(fault.field)], fault.lowest,
                      fault.highest);
}
