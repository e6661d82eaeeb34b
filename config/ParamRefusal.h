// The operator's messages for configuration values the device's registers cannot hold.
#pragma once

#include <optional>
#include <string>

#include "ParamCoding.h"

// Nothing when `value` fits; else the refusal that names the field and its range.
std::optional<std::string> rangeRefusal(const FieldRange& range, long long value);
// The refusal for a faulty date and time of the group `caption`.
std::string dateTimeRefusal(const char* caption, const DateTimeFault& fault);
