#include "core/ansi.h"

#include <windows.h>

#include <climits>

UString AnsiToUnicode(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) {
        return {};
    }
    const int n = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, nullptr, 0);
    UString out(static_cast<size_t>(units), u'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, reinterpret_cast<wchar_t*>(out.data()), units);
    return out;
}

std::string UnicodeToAnsi(UStringView text) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int n = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, n, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide, n, out.data(), size, nullptr, nullptr);
    return out;
}

unsigned AnsiCodePage() {
    return GetACP();
}
