#include "tests/builder/pe_fixture.h"
#include "tests/builder/test_files.h"
#include "tools/builder/errors.h"
#include "tools/builder/pe_image.h"
#include "tools/builder/pe_patch.h"
#include "tools/builder/resource_tree.h"

#ifndef _WIN32
#include "tests/builder/oracle.h"
#endif

#include <gtest/gtest.h>

#include <algorithm>

namespace {
std::shared_ptr<const Bytes> Share(Bytes b) {
    return std::make_shared<const Bytes>(std::move(b));
}

PeImage Image(const Bytes& file) {
    return PeImage(Share(file), "stub.exe");
}

// The stub's resources plus product-like ones, one of them large.
ResourceTree ProductTree(const PeImage& stub) {
    ResourceTree tree = ReadResourceTree(stub);
    tree.Set(ResourceId::Number(rt::kRcData), ResourceId::Name(u"ImageLeft0"), kLanguageChinesePrc, Share(Bytes(999, 0x11)));
    tree.Set(ResourceId::Number(rt::kRcData), ResourceId::Name(u"IMAGELEFT2"), kLanguageChinesePrc, Share(Bytes(7, 0x22)));
    Bytes package(300000);
    for (std::size_t i = 0; i < package.size(); ++i) {
        package[i] = static_cast<std::uint8_t>(i * 7 + (i >> 9));
    }
    tree.Set(ResourceId::Name(u"StpFile"), ResourceId::Name(u"SetupPackage"), kLanguageChinesePrc, Share(package));
    tree.Set(ResourceId::Number(rt::kString), ResourceId::Number(63), kLanguageChinesePrc, Share(Bytes(40, 0)));
    return tree;
}

const SectionHeader* FindSection(const PeImage& image, const std::string& name) {
    for (const auto& s : image.Sections()) {
        if (s.NameText() == name) {
            return &s;
        }
    }
    return nullptr;
}

Bytes SectionBytes(const PeImage& image, const SectionHeader& s) {
    return Bytes(image.File().begin() + s.pointerToRawData, image.File().begin() + s.pointerToRawData + s.sizeOfRawData);
}

void ExpectSameResources(const ResourceTree& actual, const ResourceTree& expected) {
    ASSERT_EQ(actual.All().size(), expected.All().size());
    for (std::size_t i = 0; i < expected.All().size(); ++i) {
        const Resource& a = actual.All()[i];
        const Resource& e = expected.All()[i];
        EXPECT_EQ(a.type, e.type) << i;
        EXPECT_EQ(a.name, e.name) << i;
        EXPECT_EQ(a.name.NameText(), e.name.NameText()) << i;
        EXPECT_EQ(a.language, e.language) << i;
        EXPECT_EQ(a.codePage, e.codePage) << i;
        EXPECT_EQ(*a.data, *e.data) << i;
    }
}

std::uint32_t ChecksumOf(const Bytes& file, const PeImage& image) {
    PeChecksum sum(image.OptionalHeaderOffset() + pe::kOptCheckSum);
    sum.Add(file);
    return sum.Finish();
}
} // namespace

TEST(PeFixture, ReaderSeesTheStubResourcesOfADepthFirstDirectory) {
    const Fixture fixture = MakeFixture({});
    const ResourceTree tree = ReadResourceTree(Image(fixture.file));
    ASSERT_EQ(tree.All().size(), fixture.resources.size());
    for (const auto& f : fixture.resources) {
        const Resource* r = tree.Find(f.type, f.name, f.language);
        ASSERT_NE(r, nullptr) << f.type.ToString() << " " << f.name.ToString();
        EXPECT_EQ(*r->data, f.data);
        EXPECT_EQ(r->codePage, 1252u);
    }
    // Directory order: the named group icon comes first within its type, types ascend.
    EXPECT_EQ(tree.All().front().type, ResourceId::Number(3));
    EXPECT_EQ(tree.All().back().type, ResourceId::Number(24));
}

TEST(ResourceTree, SetReplacesRemoveDropsAllLanguagesNamesCompareWithoutCase) {
    ResourceTree tree;
    const ResourceId type = ResourceId::Number(10);
    tree.Set(type, ResourceId::Name(u"b"), 1033, Share({1}));
    tree.Set(type, ResourceId::Name(u"B"), 2052, Share({2}));
    tree.Set(type, ResourceId::Number(5), 0, Share({3}));
    tree.Set(type, ResourceId::Name(u"A"), 0, Share({4}));
    tree.Set(type, ResourceId::StoredName(u"b"), 1033, Share({5})); // same as "B"
    ASSERT_EQ(tree.All().size(), 4u);
    EXPECT_EQ(tree.All()[0].name.NameText(), u"A");
    EXPECT_EQ(*tree.Find(type, ResourceId::Name(u"B"), 1033)->data, Bytes{5});
    EXPECT_EQ(tree.All()[3].name, ResourceId::Number(5));
    EXPECT_EQ(tree.Remove(type, ResourceId::Name(u"b")), 2u);
    EXPECT_EQ(tree.All().size(), 2u);
}

TEST(ResourceTree, SerializedDirectoryIsSortedAlignedAndUndated) {
    const Fixture fixture = MakeFixture({});
    const PeImage stub = Image(fixture.file);
    const ResourceTree tree = ProductTree(stub);
    const Bytes section = SerializeResourceTree(tree, 0x5000).ToBytes();
    // Root: named types first (STPFILE), then ids ascending.
    EXPECT_EQ(ReadU32(section, 4), 0u) << "time stamp";
    EXPECT_EQ(ReadU16(section, 12), 1u) << "named types";
    EXPECT_EQ(ReadU16(section, 14), 6u) << "numbered types: 3 6 10 14 23 24";
    std::vector<std::uint32_t> ids;
    for (int i = 1; i < 7; ++i) {
        ids.push_back(ReadU32(section, 16 + 8 * i));
    }
    EXPECT_EQ(ids, (std::vector<std::uint32_t>{3, 6, 10, 14, 23, 24}));
    // Walk root -> type -> name -> language: every data entry's address is 8-aligned and
    // inside the section, and the entries' sizes are the resources' sizes in order.
    std::vector<std::uint32_t> sizes;
    const auto entries = [&](std::size_t dir) {
        std::vector<std::uint32_t> targets;
        const std::size_t count = ReadU16(section, dir + 12) + ReadU16(section, dir + 14);
        for (std::size_t i = 0; i < count; ++i) {
            targets.push_back(ReadU32(section, dir + 16 + 8 * i + 4));
        }
        return targets;
    };
    for (const auto type : entries(0)) {
        for (const auto name : entries(type & 0x7FFFFFFF)) {
            for (const auto leaf : entries(name & 0x7FFFFFFF)) {
                ASSERT_EQ(leaf & 0x80000000u, 0u);
                const std::uint32_t rva = ReadU32(section, leaf);
                EXPECT_EQ(rva % 8, 0u);
                EXPECT_LE(rva - 0x5000 + ReadU32(section, leaf + 4), section.size());
                sizes.push_back(ReadU32(section, leaf + 4));
            }
        }
    }
    std::vector<std::uint32_t> expected;
    for (const auto& r : tree.All()) {
        expected.push_back(static_cast<std::uint32_t>(r.data->size()));
    }
    EXPECT_EQ(sizes, expected);
}

namespace {
struct LayoutCase {
    const char* name;
    FixtureOptions options;
    bool replacesInPlace; // the new section takes the old one's address
};

class PePatchLayout : public ::testing::TestWithParam<LayoutCase> {};
} // namespace

TEST_P(PePatchLayout, ResourcesAreReplacedAndEverythingElseKept) {
    const LayoutCase& c = GetParam();
    const Fixture fixture = MakeFixture(c.options);
    const PeImage stub = Image(fixture.file);
    const ResourceTree tree = ProductTree(stub);
    const Bytes out = ReplaceResources(stub, tree).ToBytes();
    const PeImage patched = Image(out);

    // The resource section is last and the directory entry names it.
    const SectionHeader& last = patched.Sections().back();
    EXPECT_EQ(last.NameText(), ".rsrc");
    EXPECT_EQ(patched.Directory(pe::kDirResource).rva, last.virtualAddress);
    EXPECT_EQ(patched.Directory(pe::kDirResource).size, last.virtualSize);
    EXPECT_EQ(last.sizeOfRawData % stub.FileAlignment(), 0u);
    EXPECT_EQ(last.pointerToRawData % stub.FileAlignment(), 0u);
    ExpectSameResources(ReadResourceTree(patched), tree);

    // Every other section's bytes are unchanged; only discardable ones after .rsrc move.
    const SectionHeader* oldRsrc = FindSection(stub, ".rsrc");
    for (const auto& s : stub.Sections()) {
        if (&s == oldRsrc && c.replacesInPlace) {
            continue;
        }
        const auto it = std::find_if(patched.Sections().begin(), patched.Sections().end() - 1,
                                     [&](const SectionHeader& p) { return p.NameText() == s.NameText(); });
        ASSERT_NE(it, patched.Sections().end() - 1) << s.NameText();
        EXPECT_EQ(SectionBytes(patched, *it), SectionBytes(stub, s)) << s.NameText();
        EXPECT_EQ(it->characteristics, s.characteristics);
        const bool afterRsrc = oldRsrc && s.virtualAddress > oldRsrc->virtualAddress;
        if (!(afterRsrc && c.replacesInPlace)) {
            EXPECT_EQ(it->virtualAddress, s.virtualAddress) << s.NameText();
            EXPECT_EQ(it->pointerToRawData, s.pointerToRawData) << s.NameText();
        }
    }
    if (c.replacesInPlace) {
        // The new section starts where the old one did, after the sections that moved up.
        EXPECT_EQ(patched.Sections().size(), stub.Sections().size());
        std::uint32_t movedRaw = 0;
        std::uint32_t movedSpan = 0;
        for (const auto& s : stub.Sections()) {
            if (s.virtualAddress > oldRsrc->virtualAddress) {
                movedRaw += s.sizeOfRawData;
                movedSpan += static_cast<std::uint32_t>(AlignUp(s.VirtualSpan(), 0x1000));
            }
        }
        EXPECT_EQ(last.pointerToRawData, oldRsrc->pointerToRawData + movedRaw);
        EXPECT_EQ(last.virtualAddress, oldRsrc->virtualAddress + movedSpan);
    } else {
        EXPECT_EQ(patched.Sections().size(), stub.Sections().size() + 1);
    }
    // The relocations follow their section.
    const SectionHeader* reloc = FindSection(patched, ".reloc");
    ASSERT_NE(reloc, nullptr);
    EXPECT_EQ(patched.Directory(pe::kDirBaseReloc).rva, reloc->virtualAddress);
    EXPECT_EQ(patched.Directory(pe::kDirBaseReloc).size, 12u);

    // The headers: sizes, checksum, no signature; the file header's other fields and the
    // bytes between the headers and the first moved section are the stub's.
    const std::size_t opt = stub.OptionalHeaderOffset();
    EXPECT_EQ(ReadU32(out, opt + pe::kOptSizeOfImage), AlignUp(last.virtualAddress + last.virtualSize, 0x1000));
    EXPECT_EQ(ReadU32(out, opt + pe::kOptCheckSum), ChecksumOf(out, patched));
    EXPECT_EQ(patched.Directory(pe::kDirSecurity).rva, 0u);
    EXPECT_EQ(patched.Directory(pe::kDirSecurity).size, 0u);
    std::uint32_t initialized = 0;
    for (const auto& s : patched.Sections()) {
        if (s.characteristics & pe::kScnInitializedData) {
            initialized += s.sizeOfRawData;
        }
    }
    EXPECT_EQ(ReadU32(out, opt + pe::kOptSizeOfInitializedData), initialized);
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 0x40, fixture.file.begin())) << "DOS header";
    EXPECT_EQ(ReadU32(out, stub.FileHeaderOffset() + 4), ReadU32(fixture.file, stub.FileHeaderOffset() + 4))
        << "time stamp of the program";
    EXPECT_TRUE(std::equal(out.begin() + 0x400, out.begin() + 0x600, fixture.file.begin() + 0x400)) << ".text";

    if (c.options.symbolTable) {
        const std::uint32_t symbols = ReadU32(out, stub.FileHeaderOffset() + 8);
        EXPECT_EQ(symbols, last.pointerToRawData + last.sizeOfRawData);
        ASSERT_LE(symbols + fixture.symbols.size(), out.size());
        EXPECT_TRUE(std::equal(fixture.symbols.begin(), fixture.symbols.end(), out.begin() + symbols));
    }
    if (c.options.certificate) {
        EXPECT_FALSE(std::search(out.begin(), out.end(), fixture.certificate.begin() + 8, fixture.certificate.end()) !=
                     out.end())
            << "the signature is gone";
    }
    EXPECT_LE(out.size(), AlignUp(last.pointerToRawData + last.sizeOfRawData + fixture.symbols.size(), 8));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, PePatchLayout,
    ::testing::Values(LayoutCase{"RelocAfterResources", {}, true},
                      LayoutCase{"ResourcesLast", {.relocAfterResources = false}, true},
                      LayoutCase{"NoResources", {.resources = false, .relocAfterResources = false}, false},
                      LayoutCase{"FixedSectionAfterResources", {.dataAfterResources = true}, false},
                      LayoutCase{"SymbolsAndSignature", {.symbolTable = true, .certificate = true}, true},
                      LayoutCase{"SymbolsAfterFixedSection",
                                 {.dataAfterResources = true, .symbolTable = true}, false}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(PePatch, PatchingAPatchedFileAgainChangesNothing) {
    for (const bool relocAfter : {true, false}) {
        const Fixture fixture = MakeFixture({.relocAfterResources = relocAfter, .symbolTable = true});
        const PeImage stub = Image(fixture.file);
        const Bytes once = ReplaceResources(stub, ProductTree(stub)).ToBytes();
        const PeImage patched = Image(once);
        const Bytes twice = ReplaceResources(patched, ProductTree(patched)).ToBytes();
        EXPECT_EQ(once, twice);
    }
}

TEST(PePatch, NoRoomForAnotherSectionHeaderIsAnError) {
    Fixture fixture = MakeFixture({.dataAfterResources = true});
    const std::size_t tableEnd = 0x40 + 24 + 240 + 40 * 4;
    fixture.file[tableEnd + 3] = 0x01; // something lives after the section table
    const PeImage stub = Image(fixture.file);
    EXPECT_THROW(ReplaceResources(stub, ProductTree(stub)), EImageFormatError);
}

TEST(PeImage, WhatIsNotAPe32PlusProgramIsRefused) {
    const Bytes good = MakeFixture({}).file;
    Bytes pe32 = good;
    WriteU16At(pe32, 0x40 + 24, 0x10B);
    Bytes noSignature = good;
    noSignature[0x40] = 'X';
    Bytes farHeader = good;
    WriteU32At(farHeader, 0x3C, 0x7FFFFFF0);
    Bytes dataOutside = good;
    WriteU32At(dataOutside, 0x40 + 24 + 240 + 20, 0x100000); // .text's raw pointer
    Bytes badAlignment = good;
    WriteU32At(badAlignment, 0x40 + 24 + 36, 0x300);
    Bytes manySections = good;
    WriteU16At(manySections, 0x40 + 6, 40);
    const struct {
        const char* name;
        Bytes data;
        const char* message;
    } cases[] = {
        {"empty", Bytes{}, "stub.exe: is a damaged executable: DOS header is cut short"},
        {"text", Bytes{'h', 'e', 'l', 'l', 'o'}, "stub.exe: is not a Windows executable (no MZ header)"},
        {"PE32", pe32, "is not a 64-bit (PE32+) executable"},
        {"no PE signature", noSignature, "no PE signature"},
        {"header past the end", farHeader, "PE header is cut short"},
        {"section data outside", dataOutside, "section data is cut short"},
        {"bad alignment", badAlignment, "invalid file or section alignment"},
        {"section table past headers", manySections, "section table outside its headers"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            Image(c.data);
            ADD_FAILURE() << "accepted";
        } catch (const EImageFormatError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST(PeImage, DamagedResourceDirectoriesAreRefused) {
    const Fixture fixture = MakeFixture({.relocAfterResources = false});
    const std::size_t rsrc = FindSection(Image(fixture.file), ".rsrc")->pointerToRawData;
    Bytes loop = fixture.file;
    WriteU32At(loop, rsrc + 16 + 4, 0x80000000u); // the first type's directory is the root again
    Bytes outside = fixture.file;
    WriteU32At(outside, rsrc + 16 + 4, 0x80000000u | 0x7FFFFF00u);
    Bytes dataAtRoot = fixture.file;
    WriteU32At(dataAtRoot, rsrc + 16 + 4, 0x40);
    for (const Bytes* damaged : {&loop, &outside, &dataAtRoot}) {
        EXPECT_THROW(ReadResourceTree(Image(*damaged)), EImageFormatError);
    }
}

TEST(PeChecksum, AgreesWithTheWordByWordDefinitionForAnySplit) {
    Bytes file = MakeFixture({.symbolTable = true}).file;
    file.push_back(0xFF); // an odd length
    for (std::size_t i = 0x600; i < file.size(); ++i) {
        file[i] = static_cast<std::uint8_t>(0xFF - (i % 3)); // many carries
    }
    const PeImage image = Image(MakeFixture({}).file);
    const std::size_t field = image.OptionalHeaderOffset() + pe::kOptCheckSum;
    // The definition: 16-bit words with end-around carry after each, the field as zero,
    // plus the file length.
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < file.size(); i += 2) {
        const bool inField = i >= field && i < field + 4;
        const std::uint32_t word = inField ? 0 : file[i] | (i + 1 < file.size() ? file[i + 1] << 8 : 0);
        sum += word;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    const std::uint32_t expected = sum + static_cast<std::uint32_t>(file.size());
    for (const std::size_t split : {std::size_t{1}, field - 1, field + 1, field + 3, std::size_t{0x99}, file.size() - 1}) {
        PeChecksum pieces(field);
        const std::size_t middle = std::min<std::size_t>(3, file.size() - split);
        pieces.Add(ByteView(file).subspan(0, split));
        pieces.Add(ByteView(file).subspan(split, middle));
        pieces.Add(ByteView(file).subspan(split + middle));
        EXPECT_EQ(pieces.Finish(), expected) << split;
    }
}

#ifndef _WIN32
TEST(PeOracles, PefileAndWrestoolReadWhatWasWritten) {
    if (!HaveOracleTools()) {
        GTEST_SKIP() << "python3-pefile or icoutils missing (scripts/setup.sh installs them)";
    }
    TempFolder temp;
    for (const bool relocAfter : {true, false}) {
        const Fixture fixture = MakeFixture({.relocAfterResources = relocAfter, .symbolTable = true, .certificate = true});
        const PeImage stub = Image(fixture.file);
        const ResourceTree tree = ProductTree(stub);
        const Bytes out = ReplaceResources(stub, tree).ToBytes();
        const auto exe = temp.Path() / "patched.exe";
        WriteBytes(exe, out);

        std::set<std::string> expectedPefile{"checksum ok"};
        std::set<std::string> expectedWrestool;
        for (const auto& r : tree.All()) {
            expectedPefile.insert(PefileResourceLine(r));
            expectedWrestool.insert(WrestoolLine(r));
        }
        const PeImage patched = Image(out);
        for (const auto& s : patched.Sections()) {
            expectedPefile.insert("section " + s.NameText() + " " + std::to_string(s.virtualAddress) + " " +
                                  std::to_string(s.virtualSize) + " " + std::to_string(s.pointerToRawData) + " " +
                                  std::to_string(s.sizeOfRawData));
        }
        EXPECT_EQ(PefileFacts(exe), expectedPefile);
        EXPECT_EQ(WrestoolList(exe), expectedWrestool);
        const Resource* package = tree.Find(ResourceId::Name(u"STPFILE"), ResourceId::Name(u"SETUPPACKAGE"), 2052);
        ASSERT_NE(package, nullptr);
        EXPECT_EQ(WrestoolExtract(exe, *package), *package->data);
    }
}
#endif
