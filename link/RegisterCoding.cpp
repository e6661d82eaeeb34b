// Register value coding and the text-to-number rules of the pages; pure functions.
#include "RegisterCoding.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <string>

namespace {

// The blanks isspace() accepts in the "C" locale, which atoi and scanf skip.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

size_t skipBlanks(std::string_view text, size_t pos) {
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    return pos;
}

// Returns -1 for a character that is not a hexadecimal digit.
int hexDigit(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

size_t skipDigits(std::string_view text, size_t pos) {
    while (pos < text.size() && isDigit(text[pos])) {
        ++pos;
    }
    return pos;
}

// The extent of a decimal floating-point number (no sign) starting at `pos`: digits, an
// optional fraction and an optional exponent that has digits. Returns `pos` when none.
size_t decimalNumberEnd(std::string_view text, size_t pos) {
    const size_t intEnd = skipDigits(text, pos);
    size_t end = intEnd;
    if (end < text.size() && text[end] == '.') {
        end = skipDigits(text, end + 1);
    }
    const bool hasDigits = intEnd > pos || end > intEnd + 1;
    if (!hasDigits) {
        return pos;
    }
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        size_t exp = end + 1;
        if (exp < text.size() && (text[exp] == '+' || text[exp] == '-')) {
            ++exp;
        }
        const size_t expEnd = skipDigits(text, exp);
        if (expEnd > exp) {
            end = expEnd;
        }
    }
    return end;
}

// Whether an out-of-range number is too large rather than too small: the decimal
// exponent of its first significant digit, plus the written exponent, is positive.
bool overflows(std::string_view number) {
    const size_t e = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, e);
    const std::string_view whole = mantissa.substr(0, mantissa.find('.'));
    long long magnitude = 0;
    const size_t firstSignificant = whole.find_first_not_of('0');
    if (firstSignificant != std::string_view::npos) {
        magnitude = static_cast<long long>(whole.size() - firstSignificant);
    } else if (whole.size() < mantissa.size()) {
        const std::string_view fraction = mantissa.substr(whole.size() + 1);
        magnitude = -static_cast<long long>(fraction.find_first_not_of('0'));
    }
    const long long exponent = e == std::string_view::npos ? 0 : textToInt(number.substr(e + 1));
    return magnitude + exponent > 0;
}

std::string vformat(const char* format, va_list args) {
    if (format == nullptr) {
        return {};
    }
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed <= 0) {
        return {};
    }
    std::string out(static_cast<size_t>(needed) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<size_t>(needed));
    return out;
}

std::string formatDouble(const char* format, double value) {
    return formatText(format, value);
}

}  // namespace

std::string formatSignMagnitude(uint16_t value, double scale, const char* positiveFormat,
                                const char* negativeFormat) {
    const double magnitude = smMagnitude(value) * scale;
    return formatDouble(smNegative(value) ? negativeFormat : positiveFormat, magnitude);
}

std::string formatScaled(uint16_t value, double scale, const char* format) {
    return formatDouble(format, value * scale);
}

uint8_t toBcd(int v) {
    // Unsigned arithmetic keeps out-of-range input defined; only the low 8 bits count.
    const unsigned tens = static_cast<unsigned>(v / 10);
    const unsigned units = static_cast<unsigned>(v % 10);
    return static_cast<uint8_t>((tens << 4) + units);
}

int fromBcd(uint8_t bcd) {
    return (bcd >> 4) * 10 + (bcd & 0x0F);
}

long long scaleTruncate(double value, double factor) {
    const double p = value * factor;
    if (std::isnan(p)) {
        return 0;
    }
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (p >= kTwoTo63) {
        return LLONG_MAX;
    }
    if (p <= -kTwoTo63) {
        return LLONG_MIN;
    }
    return static_cast<long long>(std::trunc(p));
}

int textToInt(std::string_view text) {
    size_t pos = skipBlanks(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // Accumulate as a negative number: its range holds INT_MIN.
    long long value = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos) {
        value = value * 10 - (text[pos] - '0');
        if (value < INT_MIN) {
            return negative ? INT_MIN : INT_MAX;
        }
    }
    if (negative) {
        return static_cast<int>(value);
    }
    return value < -INT_MAX ? INT_MAX : static_cast<int>(-value);
}

// Decimal only: hexadecimal floats, "inf" and "nan" end the number, as an operator
// typing into a numeric field means none of them.
double textToDouble(std::string_view text) {
    size_t pos = skipBlanks(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const size_t end = decimalNumberEnd(text, pos);
    if (end == pos) {
        return 0.0;
    }
    const std::string_view number = text.substr(pos, end - pos);
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // As strtod: too large gives HUGE_VAL, too small gives zero.
        value = overflows(number) ? HUGE_VAL : 0.0;
    } else if (ec != std::errc{}) {
        value = 0.0;
    }
    return negative ? -value : value;
}

unsigned long textToHex(std::string_view text) {
    size_t pos = skipBlanks(text, 0);
    // A sign is taken as scanf takes it: "-7" is the unsigned negation of 7.
    const bool negative = pos < text.size() && text[pos] == '-';
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        ++pos;
    }
    // The 0x prefix counts only when a digit follows; "0xz" reads as the number 0.
    const bool prefixed = pos + 2 < text.size() && text[pos] == '0' &&
                          (text[pos + 1] == 'x' || text[pos + 1] == 'X') &&
                          hexDigit(text[pos + 2]) >= 0;
    if (prefixed) {
        pos += 2;
    }
    constexpr unsigned long kMax = std::numeric_limits<unsigned long>::max();
    unsigned long value = 0;
    for (; pos < text.size() && hexDigit(text[pos]) >= 0; ++pos) {
        if (value > (kMax >> 4)) {
            return kMax;
        }
        value = (value << 4) | static_cast<unsigned long>(hexDigit(text[pos]));
    }
    return negative ? 0 - value : value;
}

std::string formatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = vformat(format, args);
    va_end(args);
    return out;
}
