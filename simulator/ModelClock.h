// Calendar arithmetic for the simulated device: its running clock and the four-register
// BCD date-time layout (year hi/lo, month, day, hour, minute, second, unused byte).
#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

struct DateTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

using DateRegisters = std::array<uint16_t, 4>;

// True for a real calendar moment the device's clock can hold (years 1970 to 2099).
bool isValidDateTime(const DateTime& t);
int64_t toEpochSeconds(const DateTime& t);
DateTime fromEpochSeconds(int64_t seconds);

// Year as four BCD digits, month<<8|day, hour<<8|minute, second<<8 (unused low byte 0).
DateRegisters encodeDateTime(const DateTime& t);
// None unless every field is valid BCD and forms a valid moment; the unused byte is ignored.
std::optional<DateTime> decodeDateTime(const DateRegisters& regs);

// The PC's local time, where the device clock starts.
DateTime localDateTimeNow();

// A clock that runs only when told that time passed, so the model stays deterministic.
class DeviceClock {
  public:
    explicit DeviceClock(const DateTime& start);
    void set(const DateTime& t);
    void advance(std::chrono::milliseconds elapsed);
    DateTime now() const;

  private:
    int64_t m_baseSeconds;
    int64_t m_elapsedMs = 0;
};
