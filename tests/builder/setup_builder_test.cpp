#include "shell/FormatSize.h"
#include "tests/builder/pe_fixture.h"
#include "tests/builder/test_files.h"
#include "tools/builder/errors.h"
#include "tools/builder/pe_image.h"
#include "tools/builder/pictures.h"
#include "tools/builder/resource_tree.h"
#include "tools/builder/setup_builder.h"
#include "tools/builder/string_table.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
// Stands in for the packer: a package made of the random numbers it draws and the names
// of the files, so that both the seeding and the folder show in its bytes.
struct DummyPacker {
    int calls = 0;
    std::vector<std::uint32_t> drawn;

    PackFunction Function() {
        return [this](const fs::path& source, const RandomSource& random) {
            ++calls;
            drawn.clear();
            Bytes bytes{'P', 'K', 'G'};
            for (int i = 0; i < 4; ++i) {
                drawn.push_back(random());
                PutU32(bytes, drawn.back());
            }
            std::uint64_t total = 0;
            for (const auto& e : fs::recursive_directory_iterator(source)) {
                if (e.is_regular_file()) {
                    total += e.file_size();
                    const std::string name = e.path().filename().string();
                    bytes.insert(bytes.end(), name.begin(), name.end());
                }
            }
            return PackedPackage{std::make_shared<const Bytes>(std::move(bytes)), total};
        };
    }
};

const ResourceId kString = ResourceId::Number(rt::kString);

StringBlock Block(const ResourceTree& tree, unsigned block) {
    const Resource* r = tree.Find(kString, ResourceId::Number(static_cast<std::uint16_t>(block)), 2052);
    EXPECT_NE(r, nullptr) << "block " << block;
    return r ? DecodeStringBlock(*r->data) : StringBlock{};
}

std::string ReplaceText(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

class SetupBuilderTest : public ::testing::Test {
protected:
    SetupBuilderTest() : stubFile_(MakeFixture({.symbolTable = true}).file), stub_(Share(stubFile_), "stub.exe") {}

    static std::shared_ptr<const Bytes> Share(Bytes b) { return std::make_shared<const Bytes>(std::move(b)); }

    Bytes Build(const std::string& ini, DummyPacker& packer, const std::string& folder = "product") {
        const fs::path file = MakeProductFolder(temp_.Path() / folder, ini);
        return BuildSetup(LoadProductDefinition(file), stub_, packer.Function()).file.ToBytes();
    }

    TempFolder temp_;
    Bytes stubFile_;
    PeImage stub_;
};
} // namespace

TEST_F(SetupBuilderTest, ProductResourcesAreAddedAndTheStubsKept) {
    DummyPacker packer;
    const std::string ini = ReplaceText(ValidDefinitionText(), "Version = 2.56",
                                        "Version = 2.56\nHomePageEn = https://example.com/\nFreeware = 0\n"
                                        "PaidClauseEn13 = thirteen\nPaidClauseEn15 = fifteen\nPaidClauseCn5 = 五");
    const Bytes out = Build(ReplaceText(ini, "Freeware = -1\n", ""), packer);
    const PeImage setup(Share(out), "Setup.exe");
    const ResourceTree tree = ReadResourceTree(setup);

    const StringBlock b63 = Block(tree, 63);
    EXPECT_EQ(b63[1000 % 16], u"stub string 1000") << "the stub's own string stays";
    EXPECT_EQ(b63[1001 % 16], u"TfrmMain");
    EXPECT_EQ(b63[1002 % 16], u"DemoPad");
    EXPECT_EQ(b63[1003 % 16], u"演示记事本");
    EXPECT_EQ(b63[1004 % 16], u"Corvane DemoPad");
    EXPECT_EQ(b63[1005 % 16], u"演示记事本");
    EXPECT_EQ(b63[1006 % 16], u"");
    const StringBlock b64 = Block(tree, 64);
    EXPECT_EQ(b64[1009 % 16], u"0");
    EXPECT_EQ(b64[1010 % 16], u"DemoPad");
    EXPECT_EQ(b64[1011 % 16], u"2.56");
    EXPECT_EQ(b64[1012 % 16], DefaultRequiredSpace(10 + 11 + 10)) << "ReadMe.txt, DemoPad.exe and Shared.ini";
    EXPECT_EQ(b64[1013 % 16], u"https://example.com/");
    EXPECT_EQ(b64[1014 % 16], u"");
    EXPECT_EQ(b64[1015 % 16], u"thirteen");
    EXPECT_EQ(b64[1016 % 16], u"fifteen");
    EXPECT_EQ(b64[1017 % 16], u"五");
    EXPECT_EQ(tree.FindAll(kString, ResourceId::Number(63)).size(), 1u) << "the 1033 variant is replaced";

    const auto find = [&](const ResourceId& type, const char16_t* name) {
        const Resource* r = tree.Find(type, ResourceId::Name(name), 2052);
        EXPECT_NE(r, nullptr) << Utf16ToUtf8(name);
        return r;
    };
    EXPECT_EQ(*find(ResourceId::Number(rt::kRcData), u"IMAGELEFT0")->data, ReadBytes(TestDataFile("left.jpg")));
    EXPECT_EQ(*find(ResourceId::Number(rt::kRcData), u"IMAGELEFT2")->data,
              ReadBytes(TestDataFile("left-progressive.jpg")));
    EXPECT_EQ(*find(ResourceId::Number(rt::kBitmap), u"IMAGEICON")->data,
              HeaderBitmapResource(ReadBytes(TestDataFile("header.bmp")), "header.bmp"));
    const Resource* package = find(ResourceId::Name(u"STPFILE"), u"SETUPPACKAGE");
    EXPECT_EQ(Bytes(package->data->begin(), package->data->begin() + 3), (Bytes{'P', 'K', 'G'}));

    // APPICON: a group of two new icons; the stub's icon 1 and MAINICON stay.
    const Resource* group = find(ResourceId::Number(rt::kGroupIcon), u"APPICON");
    const ByteView g(*group->data);
    ASSERT_EQ(ReadU16(g, 4), 2u);
    const auto images = ReadAppIcon(ReadBytes(TestDataFile("app.ico")), "app.ico");
    std::set<std::uint16_t> ids;
    for (std::size_t i = 0; i < 2; ++i) {
        const std::size_t e = 6 + 14 * i;
        EXPECT_EQ(g[e], images[i].width);
        EXPECT_EQ(g[e + 1], images[i].height);
        EXPECT_EQ(ReadU16(g, e + 6), images[i].bitCount);
        EXPECT_EQ(ReadU32(g, e + 8), images[i].data.size());
        const std::uint16_t id = ReadU16(g, e + 12);
        ids.insert(id);
        const Resource* icon = tree.Find(ResourceId::Number(rt::kIcon), ResourceId::Number(id), 2052);
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(*icon->data, images[i].data);
    }
    EXPECT_EQ(ids, (std::set<std::uint16_t>{2, 3})) << "icon 1 belongs to MAINICON";
    for (const auto& f : FixtureStubResources()) {
        if (f.type == kString) {
            continue;
        }
        const Resource* kept = tree.Find(f.type, f.name, f.language);
        ASSERT_NE(kept, nullptr) << f.type.ToString() << " " << f.name.ToString();
        EXPECT_EQ(*kept->data, f.data);
    }
}

TEST_F(SetupBuilderTest, GivenRequiredSpaceIsKeptElseTheUnpackedSizeIsShown) {
    DummyPacker packer;
    const Bytes given =
        Build(ReplaceText(ValidDefinitionText(), "Version = 2.56", "Version = 2.56\nRequiredSpace = 6 MB"), packer, "a");
    EXPECT_EQ(Block(ReadResourceTree(PeImage(Share(given), "a")), 64)[1012 % 16], u"6 MB");
    EXPECT_EQ(DefaultRequiredSpace(6 * 1048576), FormatSize(6 * 1048576, u'.'));
    EXPECT_EQ(DefaultRequiredSpace(1536), FormatSize(1536, u'.'));
}

TEST_F(SetupBuilderTest, SameInputsGiveTheSameFileDifferentOnesDifferOnlyInResources) {
    DummyPacker first, second, third;
    const Bytes a = Build(ValidDefinitionText(), first, "one");
    const Bytes b = Build(ValidDefinitionText(), second, "two"); // same contents, other folder
    EXPECT_EQ(a, b);
    EXPECT_EQ(first.drawn, second.drawn);

    const Bytes c = Build(ReplaceText(ValidDefinitionText(), "TitleEn = DemoPad", "TitleEn = OtherPad"), third, "three");
    EXPECT_NE(first.drawn, third.drawn) << "the salt follows the inputs";
    const PeImage pa(Share(a), "a");
    const PeImage pc(Share(c), "c");
    const SectionHeader& ra = pa.Sections().back();
    const SectionHeader& rc = pc.Sections().back();
    ASSERT_EQ(ra.pointerToRawData, rc.pointerToRawData);
    // Outside the resource section only the fields that describe it may differ.
    Bytes maskA(a.begin(), a.begin() + ra.pointerToRawData);
    Bytes maskC(c.begin(), c.begin() + rc.pointerToRawData);
    const std::size_t opt = pa.OptionalHeaderOffset();
    const std::size_t rsrcHeader = pa.SectionTableOffset() + 40 * (pa.Sections().size() - 1);
    for (Bytes* m : {&maskA, &maskC}) {
        for (const std::size_t field : {opt + pe::kOptSizeOfInitializedData, opt + pe::kOptSizeOfImage,
                                        opt + pe::kOptCheckSum, pa.DirectoryOffset(pe::kDirResource) + 4,
                                        rsrcHeader + 8, rsrcHeader + 16, pa.FileHeaderOffset() + 8}) {
            WriteU32At(*m, field, 0);
        }
    }
    EXPECT_EQ(maskA, maskC);
    // What follows (the symbol table) is the same too.
    const std::size_t tailA = ra.pointerToRawData + ra.sizeOfRawData;
    const std::size_t tailC = rc.pointerToRawData + rc.sizeOfRawData;
    EXPECT_TRUE(std::equal(a.begin() + tailA, a.end(), c.begin() + tailC, c.end()));
}

TEST_F(SetupBuilderTest, PackageContentsChangeTheSeed) {
    DummyPacker first, second;
    Build(ValidDefinitionText(), first, "one");
    const fs::path file = MakeProductFolder(temp_.Path() / "two", ValidDefinitionText());
    WriteText(temp_.Path() / "two" / "files" / "app" / "ReadMe.txt", "Read me!\r\n"); // same size
    BuildSetup(LoadProductDefinition(file), stub_, second.Function());
    EXPECT_NE(first.drawn, second.drawn);
}

TEST_F(SetupBuilderTest, WrongPicturesStopTheBuildBeforePacking) {
    const struct {
        const char* from;
        const char* copy;
        const char* message;
    } cases[] = {
        {"pictures/left.jpg", "left-wide.jpg", "([Pictures] ImageLeftCn): the left-hand picture must be 160 by 308"},
        {"pictures/left-progressive.jpg", "left.png", "([Pictures] ImageLeftEn): is not a JPEG file"},
        {"pictures/header.bmp", "header-64.bmp", "([Pictures] ImageIcon): the header bitmap must be 32 by 32"},
        {"pictures/app.ico", "app-32only.ico", "([Pictures] AppIcon): the application icon needs"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.copy);
        const fs::path folder = temp_.Path() / std::string("p").append(std::to_string(n++));
        const fs::path ini = MakeProductFolder(folder, ReplaceText(ValidDefinitionText(), c.from,
                                                                   std::string("pictures/").append(c.copy)));
        fs::copy_file(TestDataFile(c.copy), folder / "pictures" / c.copy, fs::copy_options::overwrite_existing);
        DummyPacker packer;
        try {
            BuildSetup(LoadProductDefinition(ini), stub_, packer.Function());
            ADD_FAILURE() << "accepted";
        } catch (const EPictureError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.copy), std::string::npos) << e.what();
        }
        EXPECT_EQ(packer.calls, 0);
    }
}
