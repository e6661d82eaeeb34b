// Small numeric helpers shared by the bank summary and the resistance trend (internal).
#pragma once

#include <cmath>
#include <optional>
#include <span>
#include <vector>

namespace analysis::detail {

// Readings beyond this magnitude are no measurement of this device; refusing them keeps every
// sum, spread and percentage finite.
inline constexpr double kMaxMagnitude = 1e9;

inline std::optional<double> usable(const std::optional<double>& v) {
    if (v && std::isfinite(*v) && std::fabs(*v) <= kMaxMagnitude) {
        return v;
    }
    return std::nullopt;
}

// Median of `values` (reordered in place); the mean of the two middle values for an even
// count. The caller ensures `values` is not empty.
double medianInPlace(std::vector<double>& values);

inline constexpr double kNegligible = 1e-9;

// `difference` as a percentage of |reference|, or nullopt when the reference is (nearly) 0.
std::optional<double> percentOf(double difference, double reference);

}  // namespace analysis::detail
