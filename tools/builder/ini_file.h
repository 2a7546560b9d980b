#pragma once
// A small INI reader for product definitions: UTF-8 (a byte order mark is skipped),
// "[Section]" headers, "Key = Value" lines, whole-line comments starting with ';' or '#'.
// Section and key names compare without regard to ASCII case; names and values are
// trimmed. Every entry remembers its line so errors can point at it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct IniEntry {
    std::string section; // as written
    std::string key;     // as written
    std::string value;   // trimmed, UTF-8
    int line = 0;
};

class IniFile final {
public:
    // Parses text; `fileName` only names the file in error messages (EDefinitionError).
    static IniFile Parse(std::string_view text, const std::string& fileName);

    const std::vector<IniEntry>& Entries() const { return entries_; }
    // The entry of section/key, or nullptr.
    const IniEntry* Find(std::string_view section, std::string_view key) const;

private:
    std::vector<IniEntry> entries_;
};

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);
