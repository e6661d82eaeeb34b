// Median and percentage helpers for the analysis functions.
#include "Statistics.h"

#include <algorithm>

namespace analysis::detail {

double medianInPlace(std::vector<double>& values) {
    const auto mid = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), mid, values.end());
    const double upper = *mid;
    if (values.size() % 2 != 0) {
        return upper;
    }
    const double lower = *std::max_element(values.begin(), mid);
    return lower + (upper - lower) / 2;
}

std::optional<double> percentOf(double difference, double reference) {
    // Far below the finest step any quantity is read in, the reference is 0 but for rounding
    // (temperatures averaging 0 degC); dividing by it would give absurd or infinite figures.
    if (std::fabs(reference) < kNegligible) {
        return std::nullopt;
    }
    return 100.0 * difference / std::fabs(reference);
}

}  // namespace analysis::detail
