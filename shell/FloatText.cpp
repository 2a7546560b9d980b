#include "shell/FloatText.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// Unsigned big integer in base 10^9, least significant limb first; only what the exact
// binary-to-decimal expansion needs.
class DecimalBig {
public:
    explicit DecimalBig(uint64_t value) {
        do {
            limbs_.push_back(static_cast<uint32_t>(value % kBase));
            value /= kBase;
        } while (value != 0);
    }

    void Multiply(uint32_t factor) {
        uint64_t carry = 0;
        for (auto& limb : limbs_) {
            const uint64_t product = uint64_t{limb} * factor + carry;
            limb = static_cast<uint32_t>(product % kBase);
            carry = product / kBase;
        }
        while (carry != 0) {
            limbs_.push_back(static_cast<uint32_t>(carry % kBase));
            carry /= kBase;
        }
    }

    // Multiplies by base^count in steps that keep every limb product within 64 bits.
    void MultiplyPower(uint32_t base, uint32_t stepFactor, int stepCount, int count) {
        for (; count >= stepCount; count -= stepCount) {
            Multiply(stepFactor);
        }
        for (; count > 0; --count) {
            Multiply(base);
        }
    }

    std::string Digits() const {
        std::string text = std::to_string(limbs_.back());
        for (size_t i = limbs_.size() - 1; i-- > 0;) {
            const std::string part = std::to_string(limbs_[i]);
            text.append(9 - part.size(), '0');
            text += part;
        }
        return text;
    }

private:
    static constexpr uint64_t kBase = 1000000000;
    std::vector<uint32_t> limbs_;
};

// The exact decimal digits of a positive finite value, and how many of them stand before
// the decimal point (zero or negative for values below 1).
struct ExactDecimal {
    std::string digits;
    int pointPosition = 0;
};

ExactDecimal ExpandExactly(long double magnitude) {
    int exponent = 0;
    const long double fraction = std::frexp(magnitude, &exponent);
    // The 64-bit significand as an integer: magnitude = mantissa * 2^binaryExponent.
    const auto mantissa = static_cast<uint64_t>(std::ldexp(fraction, 64));
    const int binaryExponent = exponent - 64;

    DecimalBig number(mantissa);
    int fractionDigits = 0;
    if (binaryExponent >= 0) {
        number.MultiplyPower(2, 1u << 31, 31, binaryExponent);
    } else {
        // m / 2^k = m * 5^k / 10^k: exact, with k decimal places.
        number.MultiplyPower(5, 1220703125u, 13, -binaryExponent);
        fractionDigits = -binaryExponent;
    }
    ExactDecimal result{number.Digits(), 0};
    result.pointPosition = static_cast<int>(result.digits.size()) - fractionDigits;
    return result;
}

// Keeps at most `precision` significant digits, rounding half away from zero on the exact
// digits, and drops trailing zeros.
void RoundToSignificant(ExactDecimal& number, int precision) {
    const size_t keep = static_cast<size_t>(precision);
    if (number.digits.size() > keep) {
        const bool up = number.digits[keep] >= '5';
        number.digits.resize(keep);
        if (up) {
            size_t i = keep;
            while (i > 0 && number.digits[i - 1] == '9') {
                number.digits[--i] = '0';
            }
            if (i == 0) {
                number.digits.insert(number.digits.begin(), '1');
                number.digits.pop_back();
                ++number.pointPosition;
            } else {
                ++number.digits[i - 1];
            }
        }
    }
    const size_t last = number.digits.find_last_not_of('0');
    number.digits.resize(last + 1);
}

UString Ascii(const std::string& text) {
    return UString(text.begin(), text.end());
}

} // namespace

UString FormatFloatGeneral(long double value, int precision, char16_t decimalSeparator) {
    if (std::isnan(value)) {
        return u"NAN";
    }
    if (std::isinf(value)) {
        return value < 0 ? u"-INF" : u"INF";
    }
    if (value == 0) {
        return u"0";
    }
    if (precision < 1) {
        precision = 1;
    }
    ExactDecimal number = ExpandExactly(std::fabs(value));
    RoundToSignificant(number, precision);

    const std::string& digits = number.digits;
    const int point = number.pointPosition;
    const int length = static_cast<int>(digits.size());
    UString text = value < 0 ? u"-" : u"";
    // Fixed notation while the integer part fits the precision and the value is at least
    // 0.00001; scientific otherwise.
    if (point > precision || point < -4) {
        text += static_cast<char16_t>(digits[0]);
        if (length > 1) {
            text += decimalSeparator;
            text += Ascii(digits.substr(1));
        }
        const int exponent = point - 1;
        text += u"E";
        if (exponent < 0) {
            text += u"-";
        }
        text += Ascii(std::to_string(exponent < 0 ? -exponent : exponent));
    } else if (point <= 0) {
        text += u"0";
        text += decimalSeparator;
        text += UString(static_cast<size_t>(-point), u'0');
        text += Ascii(digits);
    } else if (point >= length) {
        text += Ascii(digits);
        text += UString(static_cast<size_t>(point - length), u'0');
    } else {
        text += Ascii(digits.substr(0, static_cast<size_t>(point)));
        text += decimalSeparator;
        text += Ascii(digits.substr(static_cast<size_t>(point)));
    }
    return text;
}
