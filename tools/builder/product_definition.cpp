#include "tools/builder/product_definition.h"

#include "app/ProductSettings.h"
#include "tools/builder/errors.h"
#include "tools/builder/ini_file.h"
#include "tools/builder/path_text.h"

#include <array>
#include <fstream>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace {
enum class Need { Always, Optional, UnlessFreeware };

struct TextKey {
    const char* key;
    unsigned id;
    Need need;
};

constexpr std::array kProductKeys{
    TextKey{"WindowClass", kSettingWindowClass, Need::Always},
    TextKey{"TitleEn", kSettingTitleEn, Need::Always},
    TextKey{"TitleCn", kSettingTitleCn, Need::Always},
    TextKey{"NameEn", kSettingNameEn, Need::Always},
    TextKey{"NameCn", kSettingNameCn, Need::Always},
    TextKey{"Freeware", kSettingFreeware, Need::Always},
    TextKey{"ExeName", kSettingExeName, Need::Always},
    TextKey{"Version", kSettingVersion, Need::Always},
    TextKey{"RequiredSpace", kSettingRequiredSpace, Need::Optional},
    TextKey{"HomePageEn", kSettingHomePageEn, Need::Optional},
    TextKey{"HomePageCn", kSettingHomePageCn, Need::Optional},
    TextKey{"PaidClauseEn13", kSettingPaidClauseEn13, Need::UnlessFreeware},
    TextKey{"PaidClauseEn15", kSettingPaidClauseEn15, Need::UnlessFreeware},
    TextKey{"PaidClauseCn5", kSettingPaidClauseCn5, Need::UnlessFreeware},
};

struct PathKey {
    const char* key;
    fs::path ProductDefinition::*member;
};

constexpr std::array kPictureKeys{
    PathKey{"ImageLeftCn", &ProductDefinition::imageLeftCn},
    PathKey{"ImageLeftEn", &ProductDefinition::imageLeftEn},
    PathKey{"ImageIcon", &ProductDefinition::imageIcon},
    PathKey{"AppIcon", &ProductDefinition::appIcon},
};

class Checker {
public:
    Checker(const IniFile& ini, const fs::path& file) : ini_(ini), file_(PathToUtf8(file)) {}

    [[noreturn]] void Fail(const std::string& section, const std::string& key, const std::string& message,
                           const IniEntry* at = nullptr) const {
        std::string where = file_;
        if (at) {
            where += ", line " + std::to_string(at->line);
        }
        throw EDefinitionError(where + ": [" + section + "] " + key + " " + message);
    }

    // The trimmed value, or nothing when the key is missing or empty.
    const IniEntry* Value(const char* section, const char* key) const {
        const IniEntry* e = ini_.Find(section, key);
        return (e && !e->value.empty()) ? e : nullptr;
    }

    const IniEntry* Required(const char* section, const char* key, const std::string& what) const {
        const IniEntry* e = ini_.Find(section, key);
        if (!e) {
            Fail(section, key, "is missing (" + what + ")");
        }
        if (e->value.empty()) {
            Fail(section, key, "is empty (" + what + ")", e);
        }
        return e;
    }

private:
    const IniFile& ini_;
    std::string file_;
};

bool ParseFreeware(const std::string& text, bool& value) {
    std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    if (i < text.size() && text.find_first_not_of("0123456789", i) == std::string::npos) {
        value = text.find_first_not_of("0+-") != std::string::npos;
        return true;
    }
    if (EqualsIgnoringAsciiCase(text, "True") || EqualsIgnoringAsciiCase(text, "False")) {
        value = EqualsIgnoringAsciiCase(text, "True");
        return true;
    }
    return false;
}

void CheckExeName(const Checker& check, const IniEntry& e) {
    const std::string& name = e.value;
    if (name.size() >= 4 && EqualsIgnoringAsciiCase(std::string_view(name).substr(name.size() - 4), ".exe")) {
        check.Fail("Product", "ExeName", "must be given without \".exe\" (the wizard adds it)", &e);
    }
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            check.Fail("Product", "ExeName", "must be a plain file name without \\ / : * ? \" < > |", &e);
        }
    }
    if (name.back() == '.') {
        check.Fail("Product", "ExeName", "must not end with '.'", &e);
    }
}

void CheckKnownKeys(const Checker& check, const IniFile& ini) {
    for (const auto& e : ini.Entries()) {
        bool known = false;
        if (EqualsIgnoringAsciiCase(e.section, "Product")) {
            for (const auto& k : kProductKeys) {
                known = known || EqualsIgnoringAsciiCase(e.key, k.key);
            }
        } else if (EqualsIgnoringAsciiCase(e.section, "Pictures")) {
            for (const auto& k : kPictureKeys) {
                known = known || EqualsIgnoringAsciiCase(e.key, k.key);
            }
        } else if (EqualsIgnoringAsciiCase(e.section, "Files")) {
            known = EqualsIgnoringAsciiCase(e.key, "Source");
        } else {
            check.Fail(e.section, e.key, "is in an unknown section (sections are [Product], [Pictures], [Files])", &e);
        }
        if (!known) {
            check.Fail(e.section, e.key, "is not a known key of this section", &e);
        }
    }
}

// "Key = Value ; note" keeps the note in the value: comments take whole lines.
void WarnAboutTrailingComments(const IniFile& ini, const std::string& file, std::vector<std::string>& warnings) {
    for (const auto& e : ini.Entries()) {
        for (std::size_t i = 1; i < e.value.size(); ++i) {
            if ((e.value[i] == ';' || e.value[i] == '#') && (e.value[i - 1] == ' ' || e.value[i - 1] == '\t')) {
                warnings.push_back(file + ", line " + std::to_string(e.line) + ": [" + e.section + "] " + e.key +
                                   " contains \"" + e.value.substr(i - 1, 2) +
                                   "\", which is part of the value: comments take whole lines");
                break;
            }
        }
    }
}

// The wizard's shortcuts and its Finish launch name app/<ExeName>.exe; a typo in ExeName
// would install a product whose shortcuts point at nothing.
void WarnAboutMissingProgram(ProductDefinition& def, const std::string& exeName) {
    const std::string wanted = exeName + ".exe";
    std::error_code ec;
    for (auto it = fs::directory_iterator(def.filesSource / "app", ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        if (EqualsIgnoringAsciiCase(PathToUtf8(it->path().filename()), wanted)) {
            return;
        }
    }
    def.warnings.push_back(PathToUtf8(def.file) + ": [Product] ExeName is " + exeName + ", but " +
                           PathToUtf8(def.filesSource / "app" / PathFromUtf8(wanted)) +
                           " is not among the files to pack; the shortcuts and the launch at Finish will not find it");
}

fs::path ResolvePath(const fs::path& baseDir, const std::string& value) {
    const fs::path p = PathFromUtf8(value);
    return p.is_absolute() ? p.lexically_normal() : (baseDir / p).lexically_normal();
}
} // namespace

std::string ReadWholeFile(const fs::path& file, const std::string& purpose) {
    std::error_code ec;
    if (fs::is_directory(file, ec)) {
        throw EDefinitionError(PathToUtf8(file) + ": is a folder, not a file (" + purpose + ")");
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw EDefinitionError(PathToUtf8(file) + ": cannot be read (" + purpose + ")");
    }
    std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        throw EDefinitionError(PathToUtf8(file) + ": reading failed (" + purpose + ")");
    }
    return data;
}

ProductDefinition LoadProductDefinition(const fs::path& iniFile) {
    return ParseProductDefinition(ReadWholeFile(iniFile, "the product definition"), iniFile);
}

ProductDefinition ParseProductDefinition(const std::string& text, const fs::path& iniFile) {
    const IniFile ini = IniFile::Parse(text, PathToUtf8(iniFile));
    const Checker check(ini, iniFile);
    CheckKnownKeys(check, ini);

    ProductDefinition def;
    def.file = iniFile;
    def.text = text;
    WarnAboutTrailingComments(ini, PathToUtf8(iniFile), def.warnings);
    const IniEntry* freeware = check.Required("Product", "Freeware", "-1 or True for freeware, 0 or False for paid");
    if (!ParseFreeware(freeware->value, def.freeware)) {
        check.Fail("Product", "Freeware", "must be a whole number, True or False, not '" + freeware->value + "'",
                   freeware);
    }

    for (const auto& k : kProductKeys) {
        const IniEntry* e = nullptr;
        switch (k.need) {
        case Need::Always:
            e = check.Required("Product", k.key, "string " + std::to_string(k.id));
            break;
        case Need::UnlessFreeware:
            e = def.freeware ? check.Value("Product", k.key)
                             : check.Required("Product", k.key,
                                              "a paid product (Freeware = 0) needs its licence clause, string " +
                                                  std::to_string(k.id));
            break;
        case Need::Optional:
            e = check.Value("Product", k.key);
            break;
        }
        if (!e) {
            continue;
        }
        UString value = Utf8ToUtf16(e->value);
        const std::size_t limit = k.id == kSettingWindowClass ? kMaxWindowClassUnits : kMaxStringResourceUnits;
        if (value.size() > limit) {
            check.Fail("Product", k.key,
                       "is too long: " + std::to_string(value.size()) + " UTF-16 units, at most " +
                           std::to_string(limit) + " fit",
                       e);
        }
        def.strings[k.id] = std::move(value);
    }
    CheckExeName(check, *ini.Find("Product", "ExeName"));
    def.requiredSpaceGiven = def.strings.contains(kSettingRequiredSpace);

    const fs::path baseDir = iniFile.parent_path();
    for (const auto& k : kPictureKeys) {
        const IniEntry* e = check.Required("Pictures", k.key, "a picture file");
        const fs::path p = ResolvePath(baseDir, e->value);
        std::error_code ec;
        if (!fs::is_regular_file(p, ec) || !std::ifstream(p, std::ios::binary)) {
            check.Fail("Pictures", k.key, "names " + PathToUtf8(p) + ", which is not a readable file", e);
        }
        def.*(k.member) = p;
    }

    const IniEntry* source = check.Required("Files", "Source", "the folder with app/ and system/ to pack");
    def.filesSource = ResolvePath(baseDir, source->value);
    std::error_code ec;
    if (!fs::is_directory(def.filesSource, ec)) {
        check.Fail("Files", "Source", "names " + PathToUtf8(def.filesSource) + ", which is not a folder", source);
    }
    WarnAboutMissingProgram(def, ini.Find("Product", "ExeName")->value);
    return def;
}

void SetDefaultRequiredSpace(ProductDefinition& definition, const UString& text) {
    if (!definition.requiredSpaceGiven) {
        definition.strings[kSettingRequiredSpace] = text;
    }
}
