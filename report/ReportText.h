// The report's words for numbers, bands and verdicts (internal to the report model).
#pragma once

#include <optional>
#include <string>

#include "BankAnalysis.h"

namespace report::text {

inline constexpr const char* kNone = "—";

// `value` with `decimals` decimals; kNone when absent. `sign`: a + before positive values.
std::string number(const std::optional<double>& value, int decimals, bool sign = false);
// "正常", "注意", "超限", "未判定".
std::string bandWord(analysis::Band band);
// "正常", "注意", "不合格".
std::string levelWord(analysis::VerdictLevel level);
// "电压", "内阻", "温度".
std::string quantityWord(analysis::Quantity q);
// "V", "mΩ", "℃".
std::string unit(analysis::Quantity q);
// Decimals a quantity is shown with (as the device resolves it).
int decimals(analysis::Quantity q);

}  // namespace report::text
