// Register coding and text-to-number rules, edge cases included.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "BadInput.h"
#include "RegisterCoding.h"

namespace {

TEST(SignMagnitude, NegativeZeroKeepsItsSign) {
    EXPECT_EQ(formatSignMagnitude(0x8000, 0.1, "%.1f", "-%.1f"), "-0.0");
    EXPECT_EQ(formatSignMagnitude(0x0000, 0.1, "%.1f", "-%.1f"), "0.0");
    EXPECT_EQ(formatSignMagnitude(0x8005, 0.1, "%.1f", "-%.1f"), "-0.5");
    EXPECT_EQ(formatSignMagnitude(0x7FFF, 0.1, "%.1fA", "-%.1fA"), "3276.7A");
    EXPECT_EQ(formatSignMagnitude(0xFFFF, 0.1, "%.1f", "-%.1f"), "-3276.7");
}

TEST(SignMagnitude, ScaledValuesUseTheWholeWord) {
    EXPECT_EQ(formatScaled(1234, 0.001, "%.3fV"), "1.234V");
    EXPECT_EQ(formatScaled(0xFFFF, 0.01, "%.2f"), "655.35");
    EXPECT_EQ(formatScaled(7, 1.0, "%.0f"), "7");
}

TEST(Bcd, BothWaysAndRoundTrip) {
    EXPECT_EQ(toBcd(0), 0x00);
    EXPECT_EQ(toBcd(59), 0x59);
    EXPECT_EQ(toBcd(99), 0x99);
    EXPECT_EQ(fromBcd(0x59), 59);
    EXPECT_EQ(fromBcd(0xAF), 115);  // digits above 9 are taken as they are
    for (int v = 0; v <= 99; ++v) {
        ASSERT_EQ(fromBcd(toBcd(v)), v);
    }
    // A four-digit year is two BCD bytes.
    const int year = 2024;
    EXPECT_EQ((toBcd(year / 100) << 8) | toBcd(year % 100), 0x2024);
    EXPECT_EQ(fromBcd(0x20) * 100 + fromBcd(0x24), year);
    EXPECT_EQ(toBcd(123), static_cast<uint8_t>((12 << 4) + 3));  // kept to 8 bits
}

TEST(ScaleTruncate, TruncatesTowardZeroInDoublePrecision) {
    EXPECT_EQ(scaleTruncate(14.4, 10), 144);
    EXPECT_EQ(scaleTruncate(12.7, 2), 25);
    EXPECT_EQ(scaleTruncate(1.25, 10), 12);
    EXPECT_EQ(scaleTruncate(-0.5, 10), -5);
    EXPECT_EQ(scaleTruncate(-1.29, 10), -12);
    EXPECT_EQ(scaleTruncate(0.999, 1), 0);
    EXPECT_EQ(scaleTruncate(-0.0, 10), 0);
}

TEST(ScaleTruncate, SaturatesAndIgnoresNaN) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(scaleTruncate(1e300, 10), LLONG_MAX);
    EXPECT_EQ(scaleTruncate(-1e300, 10), LLONG_MIN);
    EXPECT_EQ(scaleTruncate(kInf, 1), LLONG_MAX);
    EXPECT_EQ(scaleTruncate(-kInf, 1), LLONG_MIN);
    EXPECT_EQ(scaleTruncate(std::nan(""), 10), 0);
    EXPECT_EQ(scaleTruncate(kInf, 0), 0);  // inf * 0 is NaN
    EXPECT_EQ(scaleTruncate(-9223372036854775808.0, 1), LLONG_MIN);
}

TEST(TextToInt, FollowsAtoiButSaturates) {
    EXPECT_EQ(textToInt("12abc"), 12);
    EXPECT_EQ(textToInt(""), 0);
    EXPECT_EQ(textToInt("abc"), 0);
    EXPECT_EQ(textToInt("  -7x"), -7);
    EXPECT_EQ(textToInt(" \t\n+42"), 42);
    EXPECT_EQ(textToInt("-"), 0);
    EXPECT_EQ(textToInt("1 2"), 1);
    EXPECT_EQ(textToInt("0x1A"), 0);
    EXPECT_EQ(textToInt("3.9"), 3);
    EXPECT_EQ(textToInt("2147483647"), INT_MAX);
    EXPECT_EQ(textToInt("2147483648"), INT_MAX);
    EXPECT_EQ(textToInt("99999999999"), INT_MAX);
    EXPECT_EQ(textToInt("-2147483648"), INT_MIN);
    EXPECT_EQ(textToInt("-2147483649"), INT_MIN);
    EXPECT_EQ(textToInt(std::string(500, '9')), INT_MAX);
    EXPECT_EQ(textToInt("0000000000000000000012"), 12);
}

TEST(TextToDouble, ReadsTheLeadingDecimalNumber) {
    EXPECT_DOUBLE_EQ(textToDouble("3.14abc"), 3.14);
    EXPECT_DOUBLE_EQ(textToDouble("  -2.5"), -2.5);
    EXPECT_DOUBLE_EQ(textToDouble("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(textToDouble("5."), 5.0);
    EXPECT_DOUBLE_EQ(textToDouble("1.5e-3"), 0.0015);
    EXPECT_DOUBLE_EQ(textToDouble("2E2V"), 200.0);
    EXPECT_DOUBLE_EQ(textToDouble("1e"), 1.0);  // an exponent needs digits
    EXPECT_DOUBLE_EQ(textToDouble("1e+"), 1.0);
    EXPECT_DOUBLE_EQ(textToDouble("12,5"), 12.0);
    EXPECT_DOUBLE_EQ(textToDouble(""), 0.0);
    EXPECT_DOUBLE_EQ(textToDouble("."), 0.0);
    EXPECT_DOUBLE_EQ(textToDouble("-"), 0.0);
    EXPECT_DOUBLE_EQ(textToDouble("V12"), 0.0);
}

TEST(TextToDouble, RefusesWhatOperatorsDoNotType) {
    EXPECT_EQ(textToDouble("0x1p3"), 0.0);
    EXPECT_EQ(textToDouble("0x10"), 0.0);
    EXPECT_EQ(textToDouble("inf"), 0.0);
    EXPECT_EQ(textToDouble("-infinity"), 0.0);
    EXPECT_EQ(textToDouble("nan"), 0.0);
    EXPECT_EQ(textToDouble("NAN(1)"), 0.0);
}

TEST(TextToDouble, OutOfRangeLikeStrtod) {
    EXPECT_EQ(textToDouble("1e999"), HUGE_VAL);
    EXPECT_EQ(textToDouble("-1e999"), -HUGE_VAL);
    EXPECT_EQ(textToDouble("0.001e400"), HUGE_VAL);
    EXPECT_EQ(textToDouble("1e-999"), 0.0);
    EXPECT_EQ(textToDouble("123e-999"), 0.0);
    EXPECT_EQ(textToDouble("0.0000001e-400"), 0.0);
    EXPECT_EQ(textToDouble("1e99999999999999999999"), HUGE_VAL);
}

TEST(TextToHex, ReadsLikeScanfX) {
    EXPECT_EQ(textToHex("1FF"), 0x1FFu);
    EXPECT_EQ(textToHex("1ff"), 0x1FFu);
    EXPECT_EQ(textToHex("0x1f"), 0x1Fu);
    EXPECT_EQ(textToHex("0XAb"), 0xABu);
    EXPECT_EQ(textToHex("  7f "), 0x7Fu);
    EXPECT_EQ(textToHex("ff:ee"), 0xFFu);
    EXPECT_EQ(textToHex("zz"), 0u);
    EXPECT_EQ(textToHex(""), 0u);
    EXPECT_EQ(textToHex("0x"), 0u);
    EXPECT_EQ(textToHex("0xg"), 0u);
    EXPECT_EQ(textToHex(" +0x1f"), 0x1Fu);
    EXPECT_EQ(textToHex("-7") & 0xFF, 0xF9u);
    EXPECT_EQ(textToHex(std::string(40, 'f')), std::numeric_limits<unsigned long>::max());
}

TEST(FormatText, FormatsAnyLength) {
    EXPECT_EQ(formatText("%d-%s-%02X", 5, "x", 0xA), "5-x-0A");
    EXPECT_EQ(formatText("%s", ""), "");
    const std::string long_text(5000, 'k');
    EXPECT_EQ(formatText("<%s>", long_text.c_str()), "<" + long_text + ">");
}

TEST(BadInputCorpus, DecodesItsEscapes) {
    const std::vector<BadInput> corpus = loadBadInputs();
    ASSERT_GE(corpus.size(), 100u);
    auto text = [&](std::string_view name) {
        const auto it = std::find_if(corpus.begin(), corpus.end(),
                                     [&](const BadInput& e) { return e.name == name; });
        return it == corpus.end() ? std::string("<missing>") : it->text;
    };
    EXPECT_EQ(text("empty"), "");
    EXPECT_EQ(text("blank mix"), " \t\v \t");
    EXPECT_EQ(text("NUL in number"), std::string("12\0"
                                                 "34",
                                                 5));
    EXPECT_EQ(text("invalid UTF-8"), "\xff\xfe");
    EXPECT_EQ(text("40 kB nines"), std::string(40960, '9'));
    EXPECT_EQ(text("10 kB blanks then 7"), std::string(10240, ' ') + "7");
    EXPECT_EQ(text("40 kB Chinese").size(), 13654u * 3);
    EXPECT_EQ(badinput::decode("\\x\\{2:ab}\\q"), "\\xabab\\q");  // unknown escape kept
}

// The C library reads what the operator typed as a C string: up to the first NUL.
std::string asCString(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

TEST(BadInputCorpus, TextToNumberAgreesWithTheCLibrary) {
    for (const BadInput& entry : loadBadInputs()) {
        SCOPED_TRACE(entry.name);
        const std::string c = asCString(entry.text);

        // atoi, saturated where the C library would overflow int.
        const long wide = std::strtol(c.c_str(), nullptr, 10);
        const int expectedInt = static_cast<int>(std::clamp<long>(wide, INT_MIN, INT_MAX));
        EXPECT_EQ(textToInt(entry.text), expectedInt);
        if (wide == expectedInt) {
            EXPECT_EQ(textToInt(entry.text), std::atoi(c.c_str()));
        }

        // atof on the decimal part only: hexadecimal floats, inf and nan are not read.
        const std::string decimal = c.substr(0, c.find_first_of("xXiInN"));
        const double expectedDouble = std::atof(decimal.c_str());
        EXPECT_EQ(textToDouble(entry.text), expectedDouble);
        EXPECT_EQ(std::signbit(textToDouble(entry.text)), std::signbit(expectedDouble));

        unsigned long scanned = 0;
        const bool matched = std::sscanf(c.c_str(), "%lx", &scanned) == 1;
        EXPECT_EQ(textToHex(entry.text), matched ? scanned : 0ul);
    }
}

}  // namespace
