#pragma once
// UTF-8 <-> std::filesystem::path without passing through the ANSI code page (which is
// what the char constructors of path do on Windows).

#include <filesystem>
#include <string>
#include <string_view>

inline std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string s = path.u8string();
    return std::string(s.begin(), s.end());
}
