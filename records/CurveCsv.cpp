// Curves as CSV: "时间" in ISO form and local time, then "电池1电压(V)" to "电池40电压(V)".
#include "CurveCsv.h"

#include <ctime>
#include <vector>

#include "CsvFile.h"
#include "CurveChart.h"
#include "RecordCsv.h"
#include "RegisterCoding.h"
#include "Strings.h"

namespace {

std::string isoLocalTime(int32_t seconds) {
    const std::time_t t = seconds;
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        return formatText("%d", seconds);
    }
    return formatText("%04d-%02d-%02d %02d:%02d:%02d", local.tm_year + 1900, local.tm_mon + 1,
                      local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
}

// The value of series `s` at sample `p`; every series has one sample per time, but a series
// that somehow has fewer gives an empty cell rather than a made-up one.
std::string valueText(const CCurveSeries& s, size_t p) {
    return p < s.m_values.size() ? formatText("%.2f", static_cast<double>(s.m_values[p])) : "";
}

}  // namespace

bool exportCurvesCsv(const CCurveChart& chart, const std::string& path, std::string& error) {
    const int samples = chart.sampleCount();
    if (samples == 0) {
        error = kMsgNothingToExport;
        return false;
    }
    std::vector<std::string> cells{kCsvTimeHeading};
    for (int k = 1; k <= chart.seriesCount(); ++k) {
        cells.push_back(formatText(kCsvVoltageHeading, k));
    }
    const CCurveSeries& first = *chart.m_series.front();
    int next = -1;  // the header comes first
    auto nextLine = [&](std::string& line) {
        if (next == samples) {
            return false;
        }
        if (next >= 0) {
            const auto p = static_cast<size_t>(next);
            cells[0] = isoLocalTime(first.m_times[p]);
            for (size_t k = 0; k < chart.m_series.size(); ++k) {
                cells[k + 1] = valueText(*chart.m_series[k], p);
            }
        }
        line = csvLine(cells);
        ++next;
        return true;
    };
    return writeCsvFileTold(path, nextLine, error);
}
