#include "tests/builder/test_files.h"
#include "tools/builder/errors.h"
#include "tools/builder/product_definition.h"

#include <gtest/gtest.h>

#include <functional>

namespace fs = std::filesystem;

namespace {
std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    if (at == std::string::npos) {
        throw std::logic_error("test text lacks " + from);
    }
    return text.replace(at, from.size(), to);
}

std::string Repeat(const std::string& unit, std::size_t count) {
    std::string s;
    for (std::size_t i = 0; i < count; ++i) {
        s += unit;
    }
    return s;
}

const std::string kPaidClauses = "PaidClauseEn13 = clause 13\nPaidClauseEn15 = clause 15\nPaidClauseCn5 = 第五条\n";

class ProductDefinitionTest : public ::testing::Test {
protected:
    ProductDefinition Load(const std::string& ini) { return LoadProductDefinition(MakeProductFolder(temp_.Path(), ini)); }
    TempFolder temp_;
};
} // namespace

TEST_F(ProductDefinitionTest, ReadsEveryValueOfAValidDefinition) {
    const std::string ini = Replace(ValidDefinitionText(), "Version = 2.56\n",
                                    "Version = 2.56\nRequiredSpace = 6 MB\nHomePageEn = https://example.com/#a;b\n"
                                    "HomePageCn = https://example.cn/\n");
    const ProductDefinition def = Load(ini);
    const std::map<unsigned, UString> expected{
        {1001, u"TfrmMain"},        {1002, u"DemoPad"},  {1003, u"演示记事本"}, {1004, u"Corvane DemoPad"},
        {1005, u"演示记事本"},      {1009, u"-1"},       {1010, u"DemoPad"},    {1011, u"2.56"},
        {1012, u"6 MB"},            {1013, u"https://example.com/#a;b"},      {1014, u"https://example.cn/"}};
    EXPECT_EQ(def.strings, expected);
    EXPECT_TRUE(def.freeware);
    EXPECT_TRUE(def.requiredSpaceGiven);
    EXPECT_EQ(def.imageLeftCn, (temp_.Path() / "pictures" / "left.jpg").lexically_normal());
    EXPECT_EQ(def.imageLeftEn, (temp_.Path() / "pictures" / "left-progressive.jpg").lexically_normal());
    EXPECT_EQ(def.imageIcon, (temp_.Path() / "pictures" / "header.bmp").lexically_normal());
    EXPECT_EQ(def.appIcon, (temp_.Path() / "pictures" / "app.ico").lexically_normal());
    EXPECT_EQ(def.filesSource, (temp_.Path() / "files").lexically_normal());
    EXPECT_EQ(def.text, ini);
}

TEST_F(ProductDefinitionTest, ToleratesBomCrLfCommentsCaseAndBlanks) {
    std::string ini = "\xEF\xBB\xBF; the demo\r\n# another comment\r\n";
    for (char c : Replace(Replace(ValidDefinitionText(), "[Product]", "[ product ]"), "TitleEn = DemoPad",
                          "  titleen\t=   Demo Pad  ")) {
        if (c == '\n') {
            ini += "\r\n";
        } else {
            ini += c;
        }
    }
    const ProductDefinition def = Load(ini);
    EXPECT_EQ(def.strings.at(1002), u"Demo Pad");
    EXPECT_EQ(def.strings.at(1001), u"TfrmMain");
    EXPECT_FALSE(def.requiredSpaceGiven);
    EXPECT_FALSE(def.strings.contains(1012));
}

TEST_F(ProductDefinitionTest, TrailingCommentsStayInTheValueWithAWarning) {
    const ProductDefinition def =
        Load(Replace(Replace(ValidDefinitionText(), "WindowClass = TfrmMain", "WindowClass = TfrmMain   ; 1001"),
                     "Version = 2.56", "Version = 2.56\nHomePageEn = https://example.com/#top;x\nPaidClauseEn13 = A; B"));
    EXPECT_EQ(def.strings.at(1001), u"TfrmMain   ; 1001");
    ASSERT_EQ(def.warnings.size(), 1u);
    EXPECT_NE(def.warnings[0].find("line 2: [Product] WindowClass contains \" ;\", which is part of the value"),
              std::string::npos)
        << def.warnings[0];
    EXPECT_TRUE(Load(ValidDefinitionText()).warnings.empty());
}

TEST_F(ProductDefinitionTest, AProgramMissingFromTheFilesIsWarnedAbout) {
    const std::string ini = Replace(ValidDefinitionText(), "ExeName = DemoPad", "ExeName = DemoPadd");
    const ProductDefinition def = Load(ini);
    ASSERT_EQ(def.warnings.size(), 1u);
    EXPECT_NE(def.warnings[0].find("[Product] ExeName is DemoPadd, but "), std::string::npos) << def.warnings[0];
    EXPECT_NE(def.warnings[0].find("DemoPadd.exe is not among the files to pack"), std::string::npos);
    // Windows file names do not care about case.
    EXPECT_TRUE(Load(Replace(ValidDefinitionText(), "ExeName = DemoPad", "ExeName = demopad")).warnings.empty());
}

TEST_F(ProductDefinitionTest, AbsolutePathsStayAsGiven) {
    const fs::path picture = temp_.Path() / "elsewhere" / "left.jpg";
    fs::create_directories(picture.parent_path());
    fs::copy_file(TestDataFile("left.jpg"), picture);
    const ProductDefinition def =
        Load(Replace(ValidDefinitionText(), "ImageLeftCn = pictures/left.jpg", "ImageLeftCn = " + picture.string()));
    EXPECT_EQ(def.imageLeftCn, picture);
}

TEST_F(ProductDefinitionTest, FreewareFlagFollowsTheTextToBooleanRule) {
    const struct {
        const char* text;
        bool freeware;
    } cases[] = {{"-1", true}, {"1", true}, {"42", true},    {"True", true},   {"true", true},
                 {"0", false}, {"-0", false}, {"+0", false}, {"False", false}, {"FALSE", false}};
    for (const auto& c : cases) {
        const ProductDefinition def = Load(Replace(ValidDefinitionText(), "Freeware = -1\n",
                                                   std::string("Freeware = ") + c.text + "\n" + kPaidClauses));
        EXPECT_EQ(def.freeware, c.freeware) << c.text;
        EXPECT_EQ(def.strings.at(1009), Utf8ToUtf16(c.text)) << "kept as written: " << c.text;
        EXPECT_EQ(def.strings.at(1017), u"第五条");
    }
}

TEST_F(ProductDefinitionTest, LimitsAreInclusive) {
    const std::string longest = Repeat("x", kMaxStringResourceUnits);
    const std::string longestClass = Repeat("c", kMaxWindowClassUnits);
    // Characters outside the BMP take two UTF-16 units each.
    const std::string longestEmoji = Repeat("\xF0\x9F\x98\x80", kMaxStringResourceUnits / 2);
    const ProductDefinition def =
        Load(Replace(Replace(Replace(ValidDefinitionText(), "TitleEn = DemoPad", "TitleEn = " + longest),
                             "WindowClass = TfrmMain", "WindowClass = " + longestClass),
                     "NameEn = Corvane DemoPad", "NameEn = " + longestEmoji));
    EXPECT_EQ(def.strings.at(1002).size(), kMaxStringResourceUnits);
    EXPECT_EQ(def.strings.at(1001).size(), kMaxWindowClassUnits);
    EXPECT_EQ(def.strings.at(1004).size(), kMaxStringResourceUnits - 1);
}

TEST_F(ProductDefinitionTest, EveryMistakeIsReportedWithFileAndField) {
    using Edit = std::function<std::string(std::string)>;
    const auto edit = [](const std::string& from, const std::string& to) -> Edit {
        return [from, to](std::string text) { return Replace(std::move(text), from, to); };
    };
    const struct {
        const char* name;
        Edit change;
        const char* message;
    } cases[] = {
        {"missing required", edit("TitleEn = DemoPad\n", ""), "product.ini: [Product] TitleEn is missing (string 1002)"},
        {"empty required", edit("Version = 2.56", "Version ="), "line 9: [Product] Version is empty (string 1011)"},
        {"freeware word", edit("Freeware = -1", "Freeware = yes"),
         "[Product] Freeware must be a whole number, True or False, not 'yes'"},
        {"freeware fraction", edit("Freeware = -1", "Freeware = 1.5"), "Freeware must be a whole number"},
        {"freeware sign only", edit("Freeware = -1", "Freeware = -"), "Freeware must be a whole number"},
        {"paid without clauses", edit("Freeware = -1", "Freeware = 0"),
         "[Product] PaidClauseEn13 is missing (a paid product (Freeware = 0) needs its licence clause, string 1015)"},
        {"paid with one clause empty",
         edit("Freeware = -1", "Freeware = False\nPaidClauseEn13 = a\nPaidClauseEn15 = b\nPaidClauseCn5 ="),
         "[Product] PaidClauseCn5 is empty"},
        {"exe with extension", edit("ExeName = DemoPad", "ExeName = DemoPad.EXE"),
         "[Product] ExeName must be given without \".exe\""},
        {"exe with folder", edit("ExeName = DemoPad", "ExeName = bin\\DemoPad"),
         "[Product] ExeName must be a plain file name"},
        {"exe ending in dot", edit("ExeName = DemoPad", "ExeName = DemoPad."), "ExeName must not end with '.'"},
        {"text too long", edit("TitleEn = DemoPad", "TitleEn = " + Repeat("x", kMaxStringResourceUnits + 1)),
         "[Product] TitleEn is too long: 65536 UTF-16 units, at most 65535 fit"},
        {"text too long in UTF-16",
         edit("NameEn = Corvane DemoPad", "NameEn = " + Repeat("\xF0\x9F\x98\x80", kMaxStringResourceUnits / 2 + 1)),
         "[Product] NameEn is too long: 65536 UTF-16 units"},
        {"class too long", edit("WindowClass = TfrmMain", "WindowClass = " + Repeat("c", kMaxWindowClassUnits + 1)),
         "[Product] WindowClass is too long: 257 UTF-16 units, at most 256 fit"},
        {"unknown key", edit("TitleEn = DemoPad", "TitelEn = DemoPad"),
         "line 3: [Product] TitelEn is not a known key of this section"},
        {"unknown section", edit("[Files]", "[Folders]"), "[Folders] Source is in an unknown section"},
        {"key twice", edit("TitleCn = 演示记事本", "titlecn = a\nTitleCn = b"),
         "line 5: [Product] TitleCn is given twice (first on line 4)"},
        {"not a key line", edit("Version = 2.56", "Version 2.56"), "line 9: expected 'Key = Value'"},
        {"empty key", edit("Version = 2.56", "= 2.56"), "line 9: the key before '=' is empty"},
        {"key before section", [](std::string t) { return "Orphan = 1\n" + t; }, "line 1: 'Orphan' comes before any"},
        {"unclosed section", edit("[Pictures]", "[Pictures"), "line 11: a section header must end with ']'"},
        {"invalid UTF-8", edit("TitleCn = 演示记事本", "TitleCn = \xE6\xBC"), "line 4: the line is not valid UTF-8"},
        {"missing picture", edit("pictures/header.bmp", "pictures/none.bmp"),
         "[Pictures] ImageIcon names "},
        {"picture is a folder", edit("pictures/app.ico", "pictures"), "[Pictures] AppIcon names "},
        {"picture not given", edit("ImageLeftEn = pictures/left-progressive.jpg\n", ""),
         "[Pictures] ImageLeftEn is missing (a picture file)"},
        {"files missing", edit("Source = files\n", ""), "[Files] Source is missing"},
        {"files not a folder", edit("Source = files", "Source = product.ini"), "which is not a folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            Load(c.change(ValidDefinitionText()));
            ADD_FAILURE() << "accepted";
        } catch (const EDefinitionError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("product.ini"), std::string::npos) << e.what();
        }
    }
}

TEST_F(ProductDefinitionTest, UnreadableDefinitionFileNamesIt) {
    try {
        LoadProductDefinition(temp_.Path() / "absent.ini");
        FAIL() << "accepted";
    } catch (const EDefinitionError& e) {
        EXPECT_NE(std::string(e.what()).find("absent.ini: cannot be read (the product definition)"), std::string::npos)
            << e.what();
    }
    EXPECT_THROW(LoadProductDefinition(temp_.Path()), EDefinitionError);
}

TEST_F(ProductDefinitionTest, DefaultRequiredSpaceOnlyWhenNoneGiven) {
    ProductDefinition without = Load(ValidDefinitionText());
    SetDefaultRequiredSpace(without, u"12.5 KB");
    EXPECT_EQ(without.strings.at(1012), u"12.5 KB");
    ProductDefinition with = Load(Replace(ValidDefinitionText(), "Version = 2.56", "Version = 2.56\nRequiredSpace = 6 MB"));
    SetDefaultRequiredSpace(with, u"12.5 KB");
    EXPECT_EQ(with.strings.at(1012), u"6 MB");
}
