#include "wizard/TextToBool.h"

#include "core/exceptions.h"


namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool EqualsIgnoringCase(const UString& text, const char16_t* word) {
    size_t i = 0;
    for (; word[i] != 0; ++i) {
        if (i >= text.size()) {
            return false;
        }
        char16_t c = text[i];
        if (c >= u'a' && c <= u'z') {
            c = static_cast<char16_t>(c - u'a' + u'A');
        }
        char16_t w = word[i];
        if (w >= u'a' && w <= u'z') {
            w = static_cast<char16_t>(w - u'a' + u'A');
        }
        if (c != w) {
            return false;
        }
    }
    return i == text.size();
}

// A decimal number (sign, digits, optional fraction, optional exponent); sets `nonZero`.
bool ParseNumber(const UString& text, bool& nonZero) {
    size_t i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        ++i;
    }
    bool digits = false;
    nonZero = false;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        digits = true;
        nonZero = nonZero || text[i] != u'0';
    }
    if (i < text.size() && text[i] == u'.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
            digits = true;
            nonZero = nonZero || text[i] != u'0';
        }
    }
    if (!digits) {
        return false;
    }
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
            ++i;
        }
        const size_t exponentStart = i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
        }
        if (i == exponentStart) {
            return false;
        }
    }
    return i == text.size();
}

}  // namespace

bool StrToBool(const UString& text) {
    bool nonZero = false;
    if (ParseNumber(text, nonZero)) {
        return nonZero;
    }
    if (EqualsIgnoringCase(text, u"True")) {
        return true;
    }
    if (EqualsIgnoringCase(text, u"False")) {
        return false;
    }
    throw EConvertError("'" + Utf16ToUtf8(text) + "' is not a valid boolean value");
}
