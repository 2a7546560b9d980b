#include "core/ansi.h"

#include "core/exceptions.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace {
unsigned gCodePage = 1252;

// Code page 1252 differs from Latin-1 only in 0x80-0x9F; Windows maps its five undefined
// bytes there to the C1 control of the same value.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t Cp1252ToUnicode(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : byte;
}

int UnicodeToCp1252(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        return unit;
    }
    for (size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == unit) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

class Iconv {
public:
    Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            throw Exception(std::string("No conversion from ") + from + " to " + to);
        }
    }
    ~Iconv() { iconv_close(handle_); }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    // Converts one unit of input at a time when the whole fails, so one bad character
    // costs only itself.
    bool Convert(const char* in, size_t inSize, std::string& out) {
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char buffer[16];
        char* inPtr = const_cast<char*>(in);
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        if (iconv(handle_, &inPtr, &inSize, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            return false;
        }
        if (iconv(handle_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            return false;
        }
        out.append(buffer, outPtr);
        return true;
    }

private:
    iconv_t handle_;
};

// Code page 936 as Windows has it: GBK, with 0x80 standing for the euro sign.
UString Cp936ToUnicode(std::string_view bytes) {
    static thread_local Iconv decoder("UTF-16LE", "CP936");
    UString out;
    size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        if (lead == 0x80) {
            out.push_back(0x20AC);
            ++i;
            continue;
        }
        std::string units;
        if (lead != 0xFF && i + 1 < bytes.size() && decoder.Convert(bytes.data() + i, 2, units) &&
            units.size() == 2) {
            out.push_back(static_cast<char16_t>(static_cast<unsigned char>(units[0]) |
                                                (static_cast<unsigned char>(units[1]) << 8)));
            i += 2;
        } else {
            // A lead byte without a valid trail byte: Windows yields the default character.
            out.push_back(u'?');
            ++i;
        }
    }
    return out;
}

std::string UnicodeToCp936(UStringView text) {
    static thread_local Iconv encoder("CP936", "UTF-16LE");
    std::string out;
    for (char16_t unit : text) {
        if (unit < 0x80) {
            out.push_back(static_cast<char>(unit));
            continue;
        }
        if (unit == 0x20AC) {
            out.push_back(static_cast<char>(0x80));
            continue;
        }
        const char pair[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        if (!encoder.Convert(pair, 2, out)) {
            out.push_back('?');
        }
    }
    return out;
}
} // namespace

UString AnsiToUnicode(std::string_view bytes) {
    if (gCodePage == 936) {
        return Cp936ToUnicode(bytes);
    }
    UString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        out.push_back(Cp1252ToUnicode(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string UnicodeToAnsi(UStringView text) {
    if (gCodePage == 936) {
        return UnicodeToCp936(text);
    }
    std::string out;
    out.reserve(text.size());
    for (char16_t unit : text) {
        const int byte = UnicodeToCp1252(unit);
        out.push_back(byte < 0 ? '?' : static_cast<char>(byte));
    }
    return out;
}

unsigned AnsiCodePage() {
    return gCodePage;
}

void SetAnsiCodePage(unsigned codePage) {
    if (codePage != 1252 && codePage != 936) {
        throw Exception("Unsupported ANSI code page " + std::to_string(codePage));
    }
    gCodePage = codePage;
}
