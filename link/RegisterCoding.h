// Register value coding: sign and magnitude, BCD, scaled values, and the text-to-number
// rules the pages use. Pure functions, no I/O.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Sign and magnitude: bit 15 set = negative, bits 0-14 the magnitude.
constexpr bool smNegative(uint16_t value) {
    return (value & 0x8000) != 0;
}
constexpr uint16_t smMagnitude(uint16_t value) {
    return value & 0x7FFF;
}
// magnitude * scale formatted with `positiveFormat`, or with `negativeFormat` (which carries
// the minus sign) when bit 15 is set; so 0x8000 shows as "-0.0".
std::string formatSignMagnitude(uint16_t value, double scale, const char* positiveFormat,
                                const char* negativeFormat);
// value * scale formatted with `format` (one double conversion).
std::string formatScaled(uint16_t value, double scale, const char* format);

// BCD byte of v: ((v / 10) << 4) + (v % 10), kept to 8 bits.
uint8_t toBcd(int v);
// Decimal value of a BCD byte (digits above 9 are taken as they are).
int fromBcd(uint8_t bcd);

// value * factor truncated toward zero, in plain double precision (14.4 * 10 gives 144).
// Saturates at the long long range; NaN gives 0.
long long scaleTruncate(double value, double factor);

// atoi: leading blanks, optional sign, decimal digits up to the first other character;
// no digits gives 0. Saturates at the int range instead of overflowing.
int textToInt(std::string_view text);
// The leading decimal floating-point number of `text`, as atof reads it; none gives 0.
double textToDouble(std::string_view text);
// "%x": leading blanks, optional sign, optional 0x, hexadecimal digits; none gives 0.
// Saturates; a minus sign negates in unsigned arithmetic, as scanf does.
unsigned long textToHex(std::string_view text);

// printf-style formatting into a std::string.
[[gnu::format(printf, 1, 2)]] std::string formatText(const char* format, ...);
