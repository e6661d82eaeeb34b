// Register coding of the device's configuration.
#include "ParamCoding.h"

#include "RegisterCoding.h"

namespace {
uint16_t word(uint8_t high, uint8_t low) {
    return static_cast<uint16_t>((high << 8) | low);
}
}  // namespace

std::vector<uint16_t> encodeDateTime(std::span<const int, 6> f) {
    return {word(toBcd(f[0] / 100), toBcd(f[0] % 100)), word(toBcd(f[1]), toBcd(f[2])),
            word(toBcd(f[3]), toBcd(f[4])), word(toBcd(f[5]), 0)};
}

std::array<std::string, 6> dateTimeTexts(std::span<const uint16_t> regs) {
    std::array<std::string, 6> texts;
    if (regs.size() < 4) {
        return texts;
    }
    texts[0] = formatText("%X", regs[0]);
    for (int i = 1; i < 6; ++i) {  // data bytes 2..6: month, day, hour, minute, second
        const uint16_t reg = regs[static_cast<size_t>((i + 1) / 2)];
        texts[static_cast<size_t>(i)] = formatText("%X", (i % 2 == 1) ? reg >> 8 : reg & 0xFF);
    }
    return texts;
}

uint8_t encodeTempLimit(int degrees) {
    // Negation in unsigned arithmetic: even the most negative int keeps its low bits.
    const unsigned magnitude =
        degrees < 0 ? 0u - static_cast<unsigned>(degrees) : static_cast<unsigned>(degrees);
    return static_cast<uint8_t>(degrees < 0 ? magnitude + 0x80 : magnitude);
}

// 0x80 is a minus sign with nothing behind it: plain 0.
int tempLimitDegrees(uint8_t byte) {
    const int magnitude = byte & 0x7F;
    return byte > 0x80 ? -magnitude : magnitude;
}

std::string tempLimitText(uint8_t byte) {
    return formatText("%d", tempLimitDegrees(byte));
}

std::vector<uint16_t> encodeMask(const ChannelSet& channels) {
    uint64_t bits = 0;
    for (int n = 0; n < kMaskChannels; ++n) {
        if (channels[static_cast<size_t>(n)]) {
            bits |= uint64_t{1} << n;
        }
    }
    return {static_cast<uint16_t>(bits >> 32), static_cast<uint16_t>(bits >> 16),
            static_cast<uint16_t>(bits)};
}

ChannelSet decodeMask(std::span<const uint16_t> regs) {
    ChannelSet channels{};
    if (regs.size() < 3) {
        return channels;
    }
    const uint64_t bits = (uint64_t{regs[0]} << 32) | (uint64_t{regs[1]} << 16) | regs[2];
    for (int n = 0; n < kMaskChannels; ++n) {
        channels[static_cast<size_t>(n)] = ((bits >> n) & 1) != 0;
    }
    return channels;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 0;
    }
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

std::optional<DateTimeFault> dateTimeFault(std::span<const int, 6> f) {
    // The year is two BCD bytes; the day's range follows from the month once that holds.
    const std::array<DateTimeFault, 6> ranges{{{0, 0, 9999},
                                               {1, 1, 12},
                                               {2, 1, daysInMonth(f[0], f[1])},
                                               {3, 0, 23},
                                               {4, 0, 59},
                                               {5, 0, 59}}};
    for (const DateTimeFault& range : ranges) {
        const int value = f[static_cast<size_t>(range.field)];
        if (value < range.lowest || value > range.highest) {
            return range;
        }
    }
    return std::nullopt;
}
