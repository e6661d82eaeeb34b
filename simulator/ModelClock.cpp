// Calendar arithmetic and BCD date-time coding of the simulated device.
#include "ModelClock.h"

#include <ctime>

#include "RegisterCoding.h"

namespace {

using namespace std::chrono;

constexpr int kFirstYear = 1970;
constexpr int kLastYear = 2099;
// Saturation for the elapsed time, far beyond any clock a device shows (about 3000 years).
constexpr int64_t kMaxElapsedMs = int64_t{100'000'000'000'000};

bool isBcd(unsigned byte) {
    return (byte & 0x0F) <= 9 && (byte >> 4) <= 9;
}

uint16_t bcdPair(int high, int low) {
    return static_cast<uint16_t>(toBcd(high) << 8 | toBcd(low));
}

}  // namespace

bool isValidDateTime(const DateTime& t) {
    if (t.year < kFirstYear || t.year > kLastYear || t.month < 1 || t.month > 12 || t.day < 1 ||
        t.day > 31) {
        return false;
    }
    const year_month_day ymd{year{t.year}, month{static_cast<unsigned>(t.month)},
                             day{static_cast<unsigned>(t.day)}};
    return ymd.ok() && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 &&
           t.second >= 0 && t.second <= 59;
}

int64_t toEpochSeconds(const DateTime& t) {
    const year_month_day ymd{year{t.year}, month{static_cast<unsigned>(t.month)},
                             day{static_cast<unsigned>(t.day)}};
    const int64_t days = sys_days{ymd}.time_since_epoch().count();
    return days * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
}

DateTime fromEpochSeconds(int64_t seconds) {
    const sys_seconds moment{std::chrono::seconds{seconds}};
    const sys_days date = floor<days>(moment);
    const year_month_day ymd{date};
    const hh_mm_ss<std::chrono::seconds> time{moment - date};
    return DateTime{static_cast<int>(ymd.year()),
                    static_cast<int>(static_cast<unsigned>(ymd.month())),
                    static_cast<int>(static_cast<unsigned>(ymd.day())),
                    static_cast<int>(time.hours().count()),
                    static_cast<int>(time.minutes().count()),
                    static_cast<int>(time.seconds().count())};
}

DateRegisters encodeDateTime(const DateTime& t) {
    return {bcdPair(t.year / 100, t.year % 100), bcdPair(t.month, t.day), bcdPair(t.hour, t.minute),
            static_cast<uint16_t>(toBcd(t.second) << 8)};
}

std::optional<DateTime> decodeDateTime(const DateRegisters& regs) {
    // Wire order: year hi, year lo, month, day, hour, minute, second (the last byte unused).
    unsigned bytes[7] = {};
    for (size_t i = 0; i < 7; ++i) {
        const unsigned reg = regs[i / 2];
        bytes[i] = i % 2 == 0 ? reg >> 8 : reg & 0xFFu;
    }
    int fields[7] = {};
    for (int i = 0; i < 7; ++i) {
        if (!isBcd(bytes[i])) {
            return std::nullopt;
        }
        fields[i] = fromBcd(static_cast<uint8_t>(bytes[i]));
    }
    const DateTime t{
        fields[0] * 100 + fields[1], fields[2], fields[3], fields[4], fields[5], fields[6]};
    if (!isValidDateTime(t)) {
        return std::nullopt;
    }
    return t;
}

DateTime localDateTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        return DateTime{};
    }
    const DateTime t{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour,        local.tm_min,     local.tm_sec};
    // A leap second or a clock outside the device's years gives a plain valid moment.
    return isValidDateTime(t) ? t : DateTime{};
}

DeviceClock::DeviceClock(const DateTime& start) : m_baseSeconds(toEpochSeconds(start)) {}

void DeviceClock::set(const DateTime& t) {
    m_baseSeconds = toEpochSeconds(t);
    m_elapsedMs = 0;
}

void DeviceClock::advance(std::chrono::milliseconds elapsed) {
    if (elapsed.count() <= 0) {
        return;
    }
    const int64_t room = kMaxElapsedMs - m_elapsedMs;
    m_elapsedMs += elapsed.count() < room ? elapsed.count() : room;
}

DateTime DeviceClock::now() const {
    return fromEpochSeconds(m_baseSeconds + m_elapsedMs / 1000);
}
