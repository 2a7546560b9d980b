#include "tools/builder/resource_tree.h"

#include "tools/builder/errors.h"
#include "tools/builder/pe_image.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace {
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::size_t kDirectoryHeaderSize = 16;
constexpr std::size_t kEntrySize = 8;
constexpr std::size_t kDataEntrySize = 16;
// More resources than any real program has: a damaged directory must not make us loop or
// allocate without bound.
constexpr std::size_t kMaxResources = 200000;

char16_t AsciiUpper(char16_t c) {
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

UString Upper(UStringView s) {
    UString out(s);
    std::transform(out.begin(), out.end(), out.begin(), AsciiUpper);
    return out;
}

auto Key(const Resource& r) {
    return std::tie(r.type, r.name, r.language);
}

class TreeReader {
public:
    TreeReader(const PeImage& image, ByteView section) : image_(image), section_(section) {}

    void ReadDirectory(std::size_t offset, int level, ResourceId* path, ResourceTree& tree) {
        const std::uint16_t named = ReadU16(section_, offset + 12, "resource directory");
        const std::uint16_t ids = ReadU16(section_, offset + 14, "resource directory");
        for (std::size_t i = 0; i < std::size_t{named} + ids; ++i) {
            const std::size_t entry = offset + kDirectoryHeaderSize + i * kEntrySize;
            const std::uint32_t nameField = ReadU32(section_, entry, "resource directory entry");
            const std::uint32_t target = ReadU32(section_, entry + 4, "resource directory entry");
            ResourceId id = (nameField & kHighBit) ? ReadName(nameField & ~kHighBit)
                                                   : ResourceId::Number(static_cast<std::uint16_t>(nameField));
            if (level < 2) {
                if (!(target & kHighBit)) {
                    image_.Fail("has a resource directory with data where a subdirectory belongs");
                }
                path[level] = std::move(id);
                ReadDirectory(target & ~kHighBit, level + 1, path, tree);
            } else {
                if (target & kHighBit) {
                    image_.Fail("has a resource directory nested deeper than type, name and language");
                }
                if (id.IsName()) {
                    image_.Fail("has a resource language given as a name");
                }
                if (++count_ > kMaxResources) {
                    image_.Fail("has a resource directory with too many entries");
                }
                const std::uint32_t rva = ReadU32(section_, target, "resource data entry");
                const std::uint32_t size = ReadU32(section_, target + 4, "resource data entry");
                const std::uint32_t codePage = ReadU32(section_, target + 8, "resource data entry");
                const std::size_t at = image_.RvaToOffset(rva, size, "resource data");
                auto data = std::make_shared<const Bytes>(image_.File().begin() + static_cast<std::ptrdiff_t>(at),
                                                          image_.File().begin() + static_cast<std::ptrdiff_t>(at + size));
                tree.Set(path[0], path[1], id.Id(), std::move(data), codePage);
            }
        }
    }

private:
    ResourceId ReadName(std::size_t offset) const {
        const std::uint16_t length = ReadU16(section_, offset, "resource name");
        Require(section_, offset + 2, std::size_t{length} * 2, "resource name");
        UString name;
        for (std::size_t i = 0; i < length; ++i) {
            name.push_back(static_cast<char16_t>(ReadU16(section_, offset + 2 + 2 * i)));
        }
        return ResourceId::StoredName(std::move(name));
    }

    const PeImage& image_;
    ByteView section_;
    std::size_t count_ = 0;
};

// One directory table of the output with the entries it will hold.
struct DirectoryPlan {
    std::vector<const ResourceId*> ids;
    std::vector<std::size_t> children; // index of a sub-directory, or of a data entry at level 2
};

void PutDirectory(Bytes& out, const std::vector<const ResourceId*>& ids, const std::vector<std::uint32_t>& targets,
                  const std::map<UString, std::uint32_t>& nameOffsets) {
    const auto named = std::count_if(ids.begin(), ids.end(), [](const ResourceId* id) { return id->IsName(); });
    PutU32(out, 0); // characteristics
    PutU32(out, 0); // time stamp: none, so identical inputs give identical files
    PutU16(out, 0);
    PutU16(out, 0);
    PutU16(out, static_cast<std::uint16_t>(named));
    PutU16(out, static_cast<std::uint16_t>(ids.size() - static_cast<std::size_t>(named)));
    for (std::size_t i = 0; i < ids.size(); ++i) {
        PutU32(out, ids[i]->IsName() ? (kHighBit | nameOffsets.at(ids[i]->NameText())) : ids[i]->Id());
        PutU32(out, targets[i]);
    }
}
} // namespace

ResourceId ResourceId::Number(std::uint16_t id) {
    ResourceId r;
    r.id_ = id;
    return r;
}

ResourceId ResourceId::Name(UStringView name) {
    return StoredName(Upper(name));
}

ResourceId ResourceId::StoredName(UString name) {
    ResourceId r;
    r.isName_ = true;
    r.name_ = std::move(name);
    return r;
}

std::string ResourceId::ToString() const {
    if (!isName_) {
        return std::to_string(id_);
    }
    std::string quoted(1, '"');
    quoted += Utf16ToUtf8(name_);
    quoted += '"';
    return quoted;
}

bool operator==(const ResourceId& a, const ResourceId& b) {
    if (a.isName_ != b.isName_) {
        return false;
    }
    return a.isName_ ? Upper(a.name_) == Upper(b.name_) : a.id_ == b.id_;
}

bool operator<(const ResourceId& a, const ResourceId& b) {
    if (a.isName_ != b.isName_) {
        return a.isName_;
    }
    return a.isName_ ? Upper(a.name_) < Upper(b.name_) : a.id_ < b.id_;
}

void ResourceTree::Set(const ResourceId& type, const ResourceId& name, std::uint16_t language,
                       std::shared_ptr<const Bytes> data, std::uint32_t codePage) {
    Resource r{type, name, language, codePage, std::move(data)};
    const auto at = std::lower_bound(resources_.begin(), resources_.end(), r,
                                     [](const Resource& a, const Resource& b) { return Key(a) < Key(b); });
    if (at != resources_.end() && Key(*at) == Key(r)) {
        *at = std::move(r);
    } else {
        resources_.insert(at, std::move(r));
    }
}

std::size_t ResourceTree::Remove(const ResourceId& type, const ResourceId& name) {
    const auto before = resources_.size();
    std::erase_if(resources_, [&](const Resource& r) { return r.type == type && r.name == name; });
    return before - resources_.size();
}

const Resource* ResourceTree::Find(const ResourceId& type, const ResourceId& name, std::uint16_t language) const {
    for (const auto& r : resources_) {
        if (r.type == type && r.name == name && r.language == language) {
            return &r;
        }
    }
    return nullptr;
}

std::vector<const Resource*> ResourceTree::FindAll(const ResourceId& type, const ResourceId& name) const {
    std::vector<const Resource*> found;
    for (const auto& r : resources_) {
        if (r.type == type && r.name == name) {
            found.push_back(&r);
        }
    }
    return found;
}

std::vector<const Resource*> ResourceTree::OfType(const ResourceId& type) const {
    std::vector<const Resource*> found;
    for (const auto& r : resources_) {
        if (r.type == type) {
            found.push_back(&r);
        }
    }
    return found;
}

ResourceTree ReadResourceTree(const PeImage& image) {
    ResourceTree tree;
    const DataDirectory dir = image.Directory(pe::kDirResource);
    if (dir.rva == 0) {
        return tree;
    }
    try {
        const std::size_t base = image.RvaToOffset(dir.rva, kDirectoryHeaderSize, "the resource directory");
        const auto& section = image.Sections()[*image.SectionOfRva(dir.rva)];
        const std::size_t end = section.pointerToRawData + section.sizeOfRawData;
        TreeReader reader(image, image.File().subspan(base, end - base));
        ResourceId path[2];
        reader.ReadDirectory(0, 0, path, tree);
    } catch (const ETruncated& e) {
        image.Fail(std::string("has a damaged resource directory: ") + e.what());
    }
    return tree;
}

ByteSequence SerializeResourceTree(const ResourceTree& tree, std::uint32_t sectionRva) {
    const auto& all = tree.All();
    // Plan the directory tables breadth first: root, one per type, one per (type, name).
    DirectoryPlan root;
    std::vector<DirectoryPlan> typeDirs;
    std::vector<DirectoryPlan> nameDirs;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Resource& r = all[i];
        if (typeDirs.empty() || !(all[i - 1].type == r.type)) {
            root.ids.push_back(&r.type);
            root.children.push_back(typeDirs.size());
            typeDirs.emplace_back();
        }
        DirectoryPlan& typeDir = typeDirs.back();
        if (typeDir.ids.empty() || !(all[i - 1].name == r.name)) {
            typeDir.ids.push_back(&r.name);
            typeDir.children.push_back(nameDirs.size());
            nameDirs.emplace_back();
        }
        nameDirs.back().ids.push_back(nullptr); // languages are written from `all` below
        nameDirs.back().children.push_back(i);
    }
    const auto tableSize = [](const DirectoryPlan& d) { return kDirectoryHeaderSize + kEntrySize * d.ids.size(); };
    std::vector<std::uint32_t> typeDirOffset;
    std::vector<std::uint32_t> nameDirOffset;
    std::size_t offset = tableSize(root);
    for (const auto& d : typeDirs) {
        typeDirOffset.push_back(static_cast<std::uint32_t>(offset));
        offset += tableSize(d);
    }
    for (const auto& d : nameDirs) {
        nameDirOffset.push_back(static_cast<std::uint32_t>(offset));
        offset += tableSize(d);
    }
    const std::size_t dataEntries = offset;
    offset += kDataEntrySize * all.size();
    std::map<UString, std::uint32_t> nameOffsets;
    Bytes names;
    for (const auto& r : all) {
        for (const ResourceId* id : {&r.type, &r.name}) {
            if (id->IsName() && !nameOffsets.contains(id->NameText())) {
                nameOffsets[id->NameText()] = static_cast<std::uint32_t>(offset + names.size());
                PutU16(names, static_cast<std::uint16_t>(id->NameText().size()));
                for (const char16_t c : id->NameText()) {
                    PutU16(names, static_cast<std::uint16_t>(c));
                }
            }
        }
    }
    offset = AlignUp(offset + names.size(), 8);
    std::vector<std::uint32_t> dataOffset;
    for (const auto& r : all) {
        dataOffset.push_back(static_cast<std::uint32_t>(offset));
        offset = AlignUp(offset + r.data->size(), 8);
        if (offset > 0xFFFFFFFFull - sectionRva) {
            throw EImageFormatError("the resources do not fit into the 4 GB address space of an executable");
        }
    }

    Bytes head;
    std::vector<std::uint32_t> targets;
    for (const auto c : root.children) {
        targets.push_back(kHighBit | typeDirOffset[c]);
    }
    PutDirectory(head, root.ids, targets, nameOffsets);
    for (const auto& d : typeDirs) {
        targets.clear();
        for (const auto c : d.children) {
            targets.push_back(kHighBit | nameDirOffset[c]);
        }
        PutDirectory(head, d.ids, targets, nameOffsets);
    }
    for (auto& d : nameDirs) {
        std::vector<ResourceId> languages;
        targets.clear();
        for (const auto c : d.children) {
            languages.push_back(ResourceId::Number(all[c].language));
            targets.push_back(static_cast<std::uint32_t>(dataEntries + kDataEntrySize * c));
        }
        std::vector<const ResourceId*> ids;
        for (const auto& l : languages) {
            ids.push_back(&l);
        }
        PutDirectory(head, ids, targets, nameOffsets);
    }
    for (std::size_t i = 0; i < all.size(); ++i) {
        PutU32(head, sectionRva + dataOffset[i]);
        PutU32(head, static_cast<std::uint32_t>(all[i].data->size()));
        PutU32(head, all[i].codePage);
        PutU32(head, 0);
    }
    head.insert(head.end(), names.begin(), names.end());

    ByteSequence out;
    out.Append(std::move(head));
    for (std::size_t i = 0; i < all.size(); ++i) {
        out.PadTo(dataOffset[i]);
        out.Append(all[i].data);
    }
    return out;
}
