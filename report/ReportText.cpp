// Numbers and words of the report.
#include "ReportText.h"

#include <cmath>
#include <cstdio>

namespace report::text {

std::string number(const std::optional<double>& value, int decimals, bool sign) {
    if (!value || !std::isfinite(*value)) {
        return kNone;
    }
    // -0.00 says nothing a 0.00 does not.
    const double shown = std::fabs(*value) < 0.5 * std::pow(10.0, -decimals) ? 0.0 : *value;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, sign && shown != 0 ? "%+.*f" : "%.*f", decimals, shown);
    return buffer;
}

std::string bandWord(analysis::Band band) {
    switch (band) {
        case analysis::Band::Normal:
            return "正常";
        case analysis::Band::Warning:
            return "注意";
        case analysis::Band::OverLimit:
            return "超限";
        case analysis::Band::Unjudged:
            break;
    }
    return "未判定";
}

std::string levelWord(analysis::VerdictLevel level) {
    switch (level) {
        case analysis::VerdictLevel::Warning:
            return "注意";
        case analysis::VerdictLevel::Fail:
            return "不合格";
        case analysis::VerdictLevel::Ok:
            break;
    }
    return "正常";
}

std::string quantityWord(analysis::Quantity q) {
    switch (q) {
        case analysis::Quantity::Resistance:
            return "内阻";
        case analysis::Quantity::Temperature:
            return "温度";
        case analysis::Quantity::Voltage:
            break;
    }
    return "电压";
}

std::string unit(analysis::Quantity q) {
    switch (q) {
        case analysis::Quantity::Resistance:
            return "mΩ";
        case analysis::Quantity::Temperature:
            return "℃";
        case analysis::Quantity::Voltage:
            break;
    }
    return "V";
}

int decimals(analysis::Quantity q) {
    switch (q) {
        case analysis::Quantity::Resistance:
            return 2;
        case analysis::Quantity::Temperature:
            return 1;
        case analysis::Quantity::Voltage:
            break;
    }
    return 3;
}

}  // namespace report::text
