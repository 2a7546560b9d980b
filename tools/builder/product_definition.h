#pragma once
// A product definition: the INI file from which `stp build` makes a product's Setup.exe.
// Loading validates everything a build needs except the pictures' contents (pictures.h)
// and the package folder's layout (the packer checks it).

#include "core/text.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

// The longest text a string-table entry can hold: its length prefix is 16 bits.
inline constexpr std::size_t kMaxStringResourceUnits = 65535;
// Window class names are limited to 256 characters by the window system.
inline constexpr std::size_t kMaxWindowClassUnits = 256;

struct ProductDefinition {
    std::filesystem::path file; // the INI file itself
    std::string text;           // its contents, as read

    // String resources by id (1001...1017); only the values that were given.
    std::map<unsigned, UString> strings;
    bool freeware = true;
    bool requiredSpaceGiven = false;

    // Paths as resolved against the INI file's folder.
    std::filesystem::path imageLeftCn;
    std::filesystem::path imageLeftEn;
    std::filesystem::path imageIcon;
    std::filesystem::path appIcon;
    std::filesystem::path filesSource;

    // Things that are valid but probably not meant, for the tool to print.
    std::vector<std::string> warnings;
};

// Reads and validates the definition file. Throws EDefinitionError naming the file and the
// field (and line where there is one).
ProductDefinition LoadProductDefinition(const std::filesystem::path& iniFile);

// The same from text already read from `iniFile`; relative paths are resolved against the
// INI file's folder, and the files it names are checked to exist and be readable.
ProductDefinition ParseProductDefinition(const std::string& text, const std::filesystem::path& iniFile);

// Sets id 1012 when the definition gave no RequiredSpace.
void SetDefaultRequiredSpace(ProductDefinition& definition, const UString& text);

// Reads a whole file; throws EDefinitionError naming the file and what it is for.
std::string ReadWholeFile(const std::filesystem::path& file, const std::string& purpose);
