#include "tools/builder/setup_builder.h"

#include "app/ProductSettings.h"
#include "shell/FormatSize.h"
#include "tools/builder/errors.h"
#include "tools/builder/input_hash.h"
#include "tools/builder/path_text.h"
#include "tools/builder/pe_image.h"
#include "tools/builder/pe_patch.h"
#include "tools/builder/pictures.h"
#include "tools/builder/resource_tree.h"
#include "tools/builder/string_table.h"

#include <optional>
#include <set>

namespace {
// The ids the product definition owns: a rebuild clears the ones it no longer gives.
constexpr unsigned kFirstProductString = kSettingWindowClass;
constexpr unsigned kLastProductString = kSettingPaidClauseCn5;

std::shared_ptr<const Bytes> Share(Bytes bytes) {
    return std::make_shared<const Bytes>(std::move(bytes));
}

void AddStrings(ResourceTree& tree, const std::map<unsigned, UString>& strings) {
    std::map<unsigned, StringBlock> blocks;
    for (unsigned id = kFirstProductString; id <= kLastProductString; ++id) {
        blocks.try_emplace(StringBlockId(id));
    }
    const ResourceId type = ResourceId::Number(rt::kString);
    for (auto& [blockId, block] : blocks) {
        const ResourceId name = ResourceId::Number(static_cast<std::uint16_t>(blockId));
        // Keep the stub's own strings of these blocks (its 2052 variant preferred); the
        // product's replace every other language so they are found whatever the user's.
        const auto existing = tree.FindAll(type, name);
        const Resource* base = tree.Find(type, name, kLanguageChinesePrc);
        if (!base && !existing.empty()) {
            base = existing.front();
        }
        if (base) {
            block = DecodeStringBlock(*base->data);
        }
        for (unsigned slot = 0; slot < 16; ++slot) {
            const unsigned id = (blockId - 1) * 16 + slot;
            if (id >= kFirstProductString && id <= kLastProductString) {
                block[slot].clear();
            }
        }
    }
    for (const auto& [blockId, given] : GroupIntoBlocks(strings)) {
        for (unsigned slot = 0; slot < 16; ++slot) {
            if (!given[slot].empty()) {
                blocks[blockId][slot] = given[slot];
            }
        }
    }
    for (const auto& [blockId, block] : blocks) {
        const ResourceId name = ResourceId::Number(static_cast<std::uint16_t>(blockId));
        tree.Remove(type, name);
        const bool empty = std::all_of(block.begin(), block.end(), [](const UString& s) { return s.empty(); });
        if (!empty) {
            tree.Set(type, name, kLanguageChinesePrc, Share(EncodeStringBlock(block)));
        }
    }
}

std::vector<std::uint16_t> GroupIconIds(ByteView group) {
    std::vector<std::uint16_t> ids;
    const std::uint16_t count = ReadU16(group, 4, "icon group");
    for (std::size_t i = 0; i < count; ++i) {
        ids.push_back(ReadU16(group, 6 + 14 * i + 12, "icon group"));
    }
    return ids;
}

void AddAppIcon(ResourceTree& tree, const std::vector<IconImage>& images) {
    const ResourceId groupType = ResourceId::Number(rt::kGroupIcon);
    const ResourceId iconType = ResourceId::Number(rt::kIcon);
    const ResourceId groupName = ResourceId::Name(u"APPICON");
    // A rebuild drops the previous application icon's images unless another group uses them.
    std::set<std::uint16_t> oldIds;
    try {
        for (const Resource* r : tree.FindAll(groupType, groupName)) {
            for (const auto id : GroupIconIds(*r->data)) {
                oldIds.insert(id);
            }
        }
        tree.Remove(groupType, groupName);
        for (const Resource* r : tree.OfType(groupType)) {
            for (const auto id : GroupIconIds(*r->data)) {
                oldIds.erase(id);
            }
        }
    } catch (const ETruncated& e) {
        throw EImageFormatError(std::string("the stub's icons: ") + e.what());
    }
    for (const auto id : oldIds) {
        tree.Remove(iconType, ResourceId::Number(id));
    }

    std::set<std::uint16_t> used;
    for (const Resource* r : tree.OfType(iconType)) {
        if (!r->name.IsName()) {
            used.insert(r->name.Id());
        }
    }
    Bytes group;
    PutU16(group, 0);
    PutU16(group, 1);
    PutU16(group, static_cast<std::uint16_t>(images.size()));
    std::uint16_t next = 1;
    for (const auto& image : images) {
        while (used.contains(next)) {
            ++next;
        }
        used.insert(next);
        group.push_back(static_cast<std::uint8_t>(image.width >= 256 ? 0 : image.width));
        group.push_back(static_cast<std::uint8_t>(image.height >= 256 ? 0 : image.height));
        group.push_back(image.colorCount);
        group.push_back(0);
        PutU16(group, image.planes);
        PutU16(group, image.bitCount);
        PutU32(group, static_cast<std::uint32_t>(image.data.size()));
        PutU16(group, next);
        tree.Set(iconType, ResourceId::Number(next), kLanguageChinesePrc, Share(image.data));
    }
    tree.Set(groupType, groupName, kLanguageChinesePrc, Share(std::move(group)));
}

void Replace(ResourceTree& tree, const ResourceId& type, const ResourceId& name, std::shared_ptr<const Bytes> data) {
    tree.Remove(type, name);
    tree.Set(type, name, kLanguageChinesePrc, std::move(data));
}

std::string PictureLabel(const std::filesystem::path& path, const char* key) {
    return PathToUtf8(path) + " ([Pictures] " + key + ")";
}

Bytes ReadPicture(const std::filesystem::path& path, const char* key) {
    const std::string data = ReadWholeFile(path, std::string("[Pictures] ") + key);
    return Bytes(data.begin(), data.end());
}
std::uint64_t InputSeed(const ProductDefinition& definition, const ProductPictures& pictures, ByteView stub) {
    InputHash hash;
    hash.Add(definition.text);
    for (const Bytes* picture : {&pictures.leftCn, &pictures.leftEn, &pictures.headerBitmap}) {
        hash.Add(*picture);
    }
    for (const auto& image : pictures.appIcon) {
        hash.Add(image.data);
    }
    hash.Add(stub);
    hash.AddFolder(definition.filesSource);
    return hash.Value();
}
} // namespace

UString DefaultRequiredSpace(std::uint64_t bytes) {
    return FormatSize(static_cast<std::int64_t>(bytes), u'.');
}

PackedPackage PackProduct(const ProductDefinition& definition, const ProductPictures& pictures, ByteView stub,
                          const PackFunction& pack) {
    // The seed is computed only if the packer draws random numbers.
    std::optional<DeterministicRandom> random;
    const RandomSource source = [&]() {
        if (!random) {
            random.emplace(InputSeed(definition, pictures, stub));
        }
        return (*random)();
    };
    PackedPackage package = pack(definition.filesSource, source);
    if (!package.bytes) {
        throw Exception("packing " + PathToUtf8(definition.filesSource) + " gave no package");
    }
    return package;
}

ProductPictures LoadPictures(const ProductDefinition& definition) {
    ProductPictures pictures;
    pictures.leftCn = ReadPicture(definition.imageLeftCn, "ImageLeftCn");
    CheckLeftPicture(pictures.leftCn, PictureLabel(definition.imageLeftCn, "ImageLeftCn"));
    pictures.leftEn = ReadPicture(definition.imageLeftEn, "ImageLeftEn");
    CheckLeftPicture(pictures.leftEn, PictureLabel(definition.imageLeftEn, "ImageLeftEn"));
    pictures.headerBitmap = HeaderBitmapResource(ReadPicture(definition.imageIcon, "ImageIcon"),
                                                 PictureLabel(definition.imageIcon, "ImageIcon"));
    pictures.appIcon =
        ReadAppIcon(ReadPicture(definition.appIcon, "AppIcon"), PictureLabel(definition.appIcon, "AppIcon"));
    return pictures;
}

void AddProductResources(ResourceTree& tree, const ProductDefinition& definition, const ProductPictures& pictures,
                         const PackedPackage& package) {
    AddStrings(tree, definition.strings);
    const ResourceId rcdata = ResourceId::Number(rt::kRcData);
    Replace(tree, rcdata, ResourceId::Name(u"IMAGELEFT0"), Share(pictures.leftCn));
    Replace(tree, rcdata, ResourceId::Name(u"IMAGELEFT2"), Share(pictures.leftEn));
    Replace(tree, ResourceId::Number(rt::kBitmap), ResourceId::Name(u"IMAGEICON"), Share(pictures.headerBitmap));
    AddAppIcon(tree, pictures.appIcon);
    Replace(tree, ResourceId::Name(Utf8ToUtf16(kPackageResourceType)), ResourceId::Name(Utf8ToUtf16(kPackageResourceName)),
            package.bytes);
}

SetupBuild BuildSetup(ProductDefinition definition, const PeImage& stub, const PackFunction& pack) {
    // The pictures are checked before the (long) packing starts.
    const ProductPictures pictures = LoadPictures(definition);

    const PackedPackage package = PackProduct(definition, pictures, stub.File(), pack);
    SetDefaultRequiredSpace(definition, DefaultRequiredSpace(package.unpackedSize));

    ResourceTree tree = ReadResourceTree(stub);
    AddProductResources(tree, definition, pictures, package);
    return SetupBuild{ReplaceResources(stub, tree), definition.strings.at(kSettingRequiredSpace), package.bytes->size(),
                      package.unpackedSize};
}
