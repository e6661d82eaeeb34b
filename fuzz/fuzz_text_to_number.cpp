// The text-to-number rules against the C library they follow, on any text: atoi within the
// int range and saturated beyond, atof on the decimal part (hexadecimal floats, inf and nan
// are not read), and sscanf's "%lx".
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzCheck.h"
#include "RegisterCoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    // The C library sees what a C string holds: the text up to its first NUL.
    const std::string c = text.substr(0, text.find('\0'));

    const long wide = std::strtol(c.c_str(), nullptr, 10);
    FUZZ_CHECK(textToInt(text) == std::clamp<long>(wide, INT_MIN, INT_MAX));

    const std::string decimal = c.substr(0, c.find_first_of("xXiInN"));
    const double expected = std::strtod(decimal.c_str(), nullptr);
    const double value = textToDouble(text);
    FUZZ_CHECK(value == expected && std::signbit(value) == std::signbit(expected));
    const long long scaled = scaleTruncate(value, 10);
    FUZZ_CHECK(std::isinf(value) ||
               std::fabs(static_cast<double>(scaled)) <= std::fabs(value * 10) + 1);

    unsigned long scanned = 0;
    const bool matched = std::sscanf(c.c_str(), "%lx", &scanned) == 1;
    FUZZ_CHECK(textToHex(text) == (matched ? scanned : 0ul));
    return 0;
}
