// `stp resources`: the script compiled by windres gives the resources `stp build` writes.

#include "tests/builder/oracle.h"
#include "tests/builder/test_files.h"
#include "tools/builder/resource_script.h"
#include "tools/builder/resource_tree.h"
#include "tools/builder/setup_builder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
// The entries of a compiled resource file (.res): each a header with type, name and
// language, then the data, both 4-aligned.
ResourceTree ReadResFile(const Bytes& res) {
    ResourceTree tree;
    std::size_t pos = 0;
    while (pos + 8 <= res.size()) {
        const std::uint32_t dataSize = ReadU32(res, pos);
        const std::uint32_t headerSize = ReadU32(res, pos + 4);
        std::size_t p = pos + 8;
        const auto nameOrId = [&]() {
            if (ReadU16(res, p) == 0xFFFF) {
                const ResourceId id = ResourceId::Number(ReadU16(res, p + 2));
                p += 4;
                return id;
            }
            UString name;
            for (; ReadU16(res, p) != 0; p += 2) {
                name.push_back(static_cast<char16_t>(ReadU16(res, p)));
            }
            p += 2;
            return ResourceId::StoredName(name);
        };
        const ResourceId type = nameOrId();
        const ResourceId name = nameOrId();
        p = AlignUp(p, 4);
        const std::uint16_t language = ReadU16(res, p + 6);
        if (dataSize != 0) {
            tree.Set(type, name, language,
                     std::make_shared<const Bytes>(res.begin() + pos + headerSize, res.begin() + pos + headerSize + dataSize));
        }
        pos = AlignUp(pos + headerSize + dataSize, 4);
    }
    return tree;
}

PackFunction FixedPackage() {
    return [](const fs::path&, const RandomSource&) {
        return PackedPackage{std::make_shared<const Bytes>(Bytes{'p', 'k', 'g', 0, 1, 2, 3}), 123456};
    };
}
} // namespace

TEST(ResourceScript, WindresCompilesItToTheResourcesOfStpBuild) {
    if (!RunCommand("command -v x86_64-w64-mingw32-windres >/dev/null").ok) {
        GTEST_SKIP() << "x86_64-w64-mingw32-windres missing (mingw, scripts/setup.sh installs it)";
    }
    TempFolder temp;
    std::string ini = ValidDefinitionText();
    ini.replace(ini.find("Freeware = -1"), 13,
                "Freeware = 0\nPaidClauseEn13 = Say \"yes\"; or C:\\Program Files\\ # not a comment\n"
                "PaidClauseEn15 = \xF0\x9F\x98\x80 50%\nPaidClauseCn5 = 付费条款");
    const fs::path definitionFile = MakeProductFolder(temp.Path() / "product", ini);
    const fs::path out = temp.Path() / "rc";
    fs::create_directories(out);
    const ProductDefinition definition = LoadProductDefinition(definitionFile);
    EXPECT_EQ(WriteResourceFolder(definition, out, FixedPackage()), DefaultRequiredSpace(123456));

    const CommandResult compiled = RunCommand("cd '" + out.string() +
                                              "' && x86_64-w64-mingw32-windres -I . -O res -i product.rc -o product.res 2>&1");
    ASSERT_TRUE(compiled.ok) << compiled.output;
    const ResourceTree fromScript = ReadResFile(ReadBytes(out / "product.res"));

    ProductDefinition withSpace = definition;
    SetDefaultRequiredSpace(withSpace, DefaultRequiredSpace(123456));
    ResourceTree expected;
    AddProductResources(expected, withSpace, LoadPictures(definition),
                        PackedPackage{std::make_shared<const Bytes>(Bytes{'p', 'k', 'g', 0, 1, 2, 3}), 123456});
    ASSERT_EQ(fromScript.All().size(), expected.All().size());
    for (std::size_t i = 0; i < expected.All().size(); ++i) {
        const Resource& e = expected.All()[i];
        const Resource& a = fromScript.All()[i];
        SCOPED_TRACE(e.type.ToString() + " " + e.name.ToString());
        EXPECT_EQ(a.type, e.type);
        EXPECT_EQ(a.name, e.name);
        EXPECT_EQ(a.language, e.language);
        EXPECT_EQ(*a.data, *e.data);
    }
}
