#include "tools/builder/ini_file.h"

#include "core/text.h"
#include "tools/builder/errors.h"

#include <algorithm>

namespace {
constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; };
    while (!s.empty() && isSpace(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isSpace(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

[[noreturn]] void Fail(const std::string& fileName, int line, const std::string& message) {
    throw EDefinitionError(fileName + ", line " + std::to_string(line) + ": " + message);
}
} // namespace

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

IniFile IniFile::Parse(std::string_view text, const std::string& fileName) {
    if (text.starts_with(kBom)) {
        text.remove_prefix(kBom.size());
    }
    IniFile ini;
    std::string section;
    int lineNumber = 0;
    while (!text.empty() || lineNumber == 0) {
        ++lineNumber;
        const auto end = text.find('\n');
        const std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        // A value that is not UTF-8 would silently turn into replacement characters.
        if (Utf16ToUtf8(Utf8ToUtf16(raw)) != raw) {
            Fail(fileName, lineNumber, "the line is not valid UTF-8 text");
        }
        if (raw.find('\0') != std::string_view::npos) {
            Fail(fileName, lineNumber, "the line contains a NUL character");
        }
        const std::string_view line = Trim(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') {
                Fail(fileName, lineNumber, "a section header must end with ']'");
            }
            section = std::string(Trim(line.substr(1, line.size() - 2)));
            if (section.empty()) {
                Fail(fileName, lineNumber, "the section name is empty");
            }
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            Fail(fileName, lineNumber, "expected 'Key = Value', a [Section] or a comment");
        }
        IniEntry entry{section, std::string(Trim(line.substr(0, equals))), std::string(Trim(line.substr(equals + 1))),
                       lineNumber};
        if (entry.key.empty()) {
            Fail(fileName, lineNumber, "the key before '=' is empty");
        }
        if (section.empty()) {
            Fail(fileName, lineNumber, "'" + entry.key + "' comes before any [Section]");
        }
        if (const IniEntry* earlier = ini.Find(entry.section, entry.key)) {
            Fail(fileName, lineNumber,
                 "[" + entry.section + "] " + entry.key + " is given twice (first on line " +
                     std::to_string(earlier->line) + ")");
        }
        ini.entries_.push_back(std::move(entry));
    }
    return ini;
}

const IniEntry* IniFile::Find(std::string_view section, std::string_view key) const {
    for (const auto& e : entries_) {
        if (EqualsIgnoringAsciiCase(e.section, section) && EqualsIgnoringAsciiCase(e.key, key)) {
            return &e;
        }
    }
    return nullptr;
}
