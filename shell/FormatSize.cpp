#include "shell/FormatSize.h"

#include "shell/FloatText.h"

#include <cmath>
#include <string>

// The arithmetic runs in long double, the 80-bit x87 format with a 64-bit significand on
// every target we build for, so rounding decisions are taken on the same values as on the
// original product.
static_assert(sizeof(long double) >= 10, "extended precision is needed for size texts");

namespace {

constexpr int kPrecision = 15;

long double PowerOfTen(int exponent) {
    long double power = 1.0L;
    for (int i = 0; i < (exponent < 0 ? -exponent : exponent); ++i) {
        power *= 10.0L;
    }
    return exponent < 0 ? 1.0L / power : power;
}

// Rounds to `decimals` places: scale, round to the nearest integer with halves to the even
// neighbour (the default rounding mode), scale back. The halving test therefore sees the
// stored binary value: 1.25 becomes 1.2 and 2.5 becomes 2.
long double RoundDecimal(long double value, int decimals) {
    return std::nearbyint(value * PowerOfTen(decimals)) * PowerOfTen(-decimals);
}

// Megabytes and gigabytes: whole numbers above 100, one decimal up to 100.
UString LargeUnit(double value, char16_t separator, const char16_t* unit) {
    const long double shown = value > 100.0 ? std::nearbyint(static_cast<long double>(value))
                                            : RoundDecimal(value, 1);
    return FormatFloatGeneral(shown, kPrecision, separator) + unit;
}

} // namespace

UString FormatSize(int64_t Bytes, char16_t decimalSeparator) {
    constexpr int64_t kKilo = 1024;
    constexpr int64_t kMega = 1048576;
    constexpr int64_t kGiga = 1073741824;
    if (Bytes < kKilo) {
        const std::string digits = std::to_string(Bytes);
        return UString(digits.begin(), digits.end()) + u" Bytes";
    }
    const long double count = static_cast<long double>(Bytes);
    if (Bytes < kMega) {
        return FormatFloatGeneral(RoundDecimal(count / 1024, 0), kPrecision, decimalSeparator) +
               u" KB";
    }
    if (Bytes < kGiga) {
        return LargeUnit(static_cast<double>(count / 1024 / 1024), decimalSeparator, u" MB");
    }
    return LargeUnit(static_cast<double>(count / 1024 / 1024 / 1024), decimalSeparator, u" GB");
}

UString FormatSize(int64_t Bytes) {
    return FormatSize(Bytes, LocaleDecimalSeparator());
}
