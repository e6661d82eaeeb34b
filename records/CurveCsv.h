// The curves of the curve dialog as a CSV file: one row per sample time, one column per
// channel, in volts.
#pragma once

#include <string>

class CCurveChart;

// False with the reason for the operator in `error` when there are no samples or the file
// cannot be written; nothing is left half written.
bool exportCurvesCsv(const CCurveChart& chart, const std::string& path, std::string& error);
