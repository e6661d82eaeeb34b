// Axis ticks and their texts: round value steps around the data, round local times along
// the window. Local time comes from the C library, so a day is the technician's day.
#include "ChartAxes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

constexpr int64_t kDay = 86400;
constexpr int kMaxTicks = 1000;  // whatever the window, a picture never holds more
constexpr int kMaxDecimals = 6;
constexpr double kRoomAbove = 0.05;  // of the data's span, so no curve runs on the frame

// Every step divides a day, or is a whole number of days.
constexpr int64_t kTimeSteps[] = {
    1,
    2,
    5,
    10,
    15,
    30,
    60,
    120,
    300,
    600,
    900,
    1800,
    3600,
    7200,
    10800,
    21600,
    43200,
    kDay,
    2 * kDay,
    7 * kDay,
    14 * kDay,
    30 * kDay,
    91 * kDay,
    182 * kDay,
    365 * kDay,
    730 * kDay,
    1826 * kDay,
    3652 * kDay,
    7305 * kDay,
    18262 * kDay,
    36525 * kDay,
};

// The smallest of 1, 2 and 5 times a power of ten that is not below `raw`.
double roundStep(double raw) {
    const double base = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * base >= raw * (1 - 1e-9)) {
            return m * base;
        }
    }
    return 10 * base;
}

int decimalsFor(double step, int minDecimals) {
    const int needed = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    return std::clamp(std::max(needed, minDecimals), 0, kMaxDecimals);
}

std::tm localTm(int64_t time) {
    const std::time_t t = static_cast<std::time_t>(time);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) {
        local = std::tm{};
    }
    return local;
}

// The local midnight that starts the day of `time`.
int64_t localMidnight(int64_t time) {
    std::tm local = localTm(time);
    local.tm_hour = 0;
    local.tm_min = 0;
    local.tm_sec = 0;
    local.tm_isdst = -1;
    const std::time_t midnight = std::mktime(&local);
    return midnight == static_cast<std::time_t>(-1) || midnight > time ? time - time % kDay
                                                                       : midnight;
}

// The local midnight `days` days after the midnight `midnight` (whatever the clock shifts).
int64_t addDays(int64_t midnight, int64_t days) {
    std::tm local = localTm(midnight);
    local.tm_mday += static_cast<int>(days);
    local.tm_hour = 0;
    local.tm_min = 0;
    local.tm_sec = 0;
    local.tm_isdst = -1;
    const std::time_t next = std::mktime(&local);
    return next == static_cast<std::time_t>(-1) || next <= midnight ? midnight + days * kDay : next;
}

std::string formatLocal(int64_t time, const std::string& format) {
    const std::tm local = localTm(time);
    char text[64] = "";
    std::strftime(text, sizeof text, format.c_str(), &local);
    return text;
}

std::string tickFormat(TimeWindow window, int64_t step) {
    const std::tm first = localTm(window.start);
    const std::tm last = localTm(window.end);
    const bool years = first.tm_year != last.tm_year;
    const bool days = years || first.tm_yday != last.tm_yday;
    const std::string date = years ? "%Y-%m-%d" : "%m-%d";
    if (step >= kDay) {
        return date;
    }
    const std::string time = step < 60 ? "%H:%M:%S" : "%H:%M";
    return days ? date + " " + time : time;
}

int64_t chooseStep(TimeWindow window, double pixelsPerSecond, const ChartTextMetrics& text,
                   int minSpacing) {
    const int gap = std::max(text.ascent, 4);
    for (int64_t step : kTimeSteps) {
        const int width = text.widthOf(formatLocal(window.start, tickFormat(window, step)));
        const int needed = std::max(minSpacing, width + gap);
        if (static_cast<double>(step) * pixelsPerSecond >= needed) {
            return step;
        }
    }
    return std::end(kTimeSteps)[-1];
}

// The moment `seconds` into the local day that starts at `midnight`, read off the clock: on
// the day the clock changes, 06:00 is still 06:00.
int64_t atTimeOfDay(int64_t midnight, int64_t seconds) {
    std::tm local = localTm(midnight);
    local.tm_hour = static_cast<int>(seconds / 3600);
    local.tm_min = static_cast<int>(seconds / 60 % 60);
    local.tm_sec = static_cast<int>(seconds % 60);
    local.tm_isdst = -1;
    const std::time_t t = std::mktime(&local);
    return t == static_cast<std::time_t>(-1) ? midnight + seconds : t;
}

// Ticks of a step below a day fall on round times of the local clock, day by day.
std::vector<int64_t> subDayTicks(int64_t start, int64_t end, int64_t step) {
    constexpr int64_t kClockShift = 2 * 3600;  // more than any change of the clock
    std::vector<int64_t> ticks;
    for (int64_t day = localMidnight(start); day <= end && ticks.size() < kMaxTicks;) {
        const int64_t next = addDays(day, 1);
        const int64_t skip = std::max<int64_t>(0, (start - day - kClockShift) / step);
        for (int64_t k = skip; k * step < kDay && ticks.size() < kMaxTicks; ++k) {
            const int64_t t = atTimeOfDay(day, k * step);
            if (t >= next || t > end) {
                break;
            }
            if (t >= start && (ticks.empty() || t > ticks.back())) {
                ticks.push_back(t);
            }
        }
        day = next;
    }
    return ticks;
}

std::vector<int64_t> dayTicks(int64_t start, int64_t end, int64_t days) {
    std::vector<int64_t> ticks;
    int64_t day = localMidnight(start);
    if (day < start) {
        day = addDays(day, 1);
    }
    for (; day <= end && ticks.size() < kMaxTicks; day = addDays(day, days)) {
        ticks.push_back(day);
    }
    return ticks;
}

}  // namespace

ValueTicks fixedValueTicks(ValueRange range, int divisions, int decimals) {
    ValueTicks ticks;
    ticks.range = range;
    ticks.decimals = decimals;
    divisions = std::clamp(divisions, 1, kMaxTicks);
    for (int j = 0; j <= divisions; ++j) {
        ticks.values.push_back(range.low + (range.high - range.low) * j / divisions);
    }
    return ticks;
}

ValueTicks followingValueTicks(double lowest, double highest, const ValueAxis& axis,
                               int maxDivisions) {
    if (!std::isfinite(lowest) || !std::isfinite(highest) || lowest > highest) {
        lowest = 0;
        highest = 0;
    }
    const double minSpan = axis.minSpan > 0 ? axis.minSpan : 1e-6;
    if (highest - lowest < minSpan) {
        const double middle = lowest + (highest - lowest) / 2;
        lowest = middle - minSpan / 2;
        highest = middle + minSpan / 2;
    }
    const double room = (highest - lowest) * kRoomAbove;
    // Values that are never negative (volts, ohms) keep an axis that is not either.
    const double bottom = lowest >= 0 ? std::max(0.0, lowest - room) : lowest - room;
    const double top = highest + room;
    maxDivisions = std::clamp(maxDivisions, 1, kMaxTicks);
    double step = roundStep((top - bottom) / maxDivisions);
    double low = std::floor(bottom / step) * step;
    double high = std::ceil(top / step) * step;
    while ((high - low) / step > maxDivisions + 0.5) {  // rounding out added a division
        step = roundStep(step * 1.001);
        low = std::floor(bottom / step) * step;
        high = std::ceil(top / step) * step;
    }
    ValueTicks ticks;
    ticks.range = {low, high};
    ticks.decimals = decimalsFor(step, axis.minDecimals);
    const auto divisions = static_cast<int>(std::llround((high - low) / step));
    for (int j = 0; j <= divisions; ++j) {
        const double value = low + j * step;
        ticks.values.push_back(std::abs(value) < step * 1e-6 ? 0.0 : value);  // never "-0.0"
    }
    return ticks;
}

std::string valueLabel(double value, int decimals, const std::string& unit) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text + unit;
}

std::vector<TimeTick> timeTicks(TimeWindow window, double pixelsPerSecond,
                                const ChartTextMetrics& text, int minSpacing) {
    const int64_t step = chooseStep(window, pixelsPerSecond, text, minSpacing);
    const std::string format = tickFormat(window, step);
    const std::vector<int64_t> times = step < kDay
                                           ? subDayTicks(window.start, window.end, step)
                                           : dayTicks(window.start, window.end, step / kDay);
    std::vector<TimeTick> ticks;
    for (int64_t t : times) {
        ticks.push_back({static_cast<int32_t>(t), formatLocal(t, format)});
    }
    return ticks;
}
