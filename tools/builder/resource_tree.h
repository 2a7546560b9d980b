#pragma once
// The resources of an executable as a flat, ordered list of (type, name, language) ->
// data, read from and written to the three-level resource directory of a PE file.

#include "core/text.h"
#include "tools/builder/byte_sequence.h"

#include <memory>
#include <optional>
#include <vector>

class PeImage;

namespace rt {
inline constexpr std::uint16_t kBitmap = 2;
inline constexpr std::uint16_t kIcon = 3;
inline constexpr std::uint16_t kString = 6;
inline constexpr std::uint16_t kRcData = 10;
inline constexpr std::uint16_t kGroupIcon = 14;
inline constexpr std::uint16_t kManifest = 24;
} // namespace rt

// A resource type or name: a 16-bit id or a name. Windows compares names without regard to
// case and stores them upper-case, so names made here are upper-cased (ASCII letters).
class ResourceId final {
public:
    static ResourceId Number(std::uint16_t id);
    static ResourceId Name(UStringView name);
    // A name exactly as read from a file.
    static ResourceId StoredName(UString name);

    bool IsName() const { return isName_; }
    std::uint16_t Id() const { return id_; }
    const UString& NameText() const { return name_; }
    std::string ToString() const; // "24" or "\"APPICON\""

    friend bool operator==(const ResourceId& a, const ResourceId& b);
    // Directory order: names before ids, names by their upper-case UTF-16 units, ids ascending.
    friend bool operator<(const ResourceId& a, const ResourceId& b);

private:
    bool isName_ = false;
    std::uint16_t id_ = 0;
    UString name_;
};

struct Resource {
    ResourceId type;
    ResourceId name;
    std::uint16_t language = 0;
    std::uint32_t codePage = 0;
    std::shared_ptr<const Bytes> data;
};

inline constexpr std::uint16_t kLanguageChinesePrc = 2052;

class ResourceTree final {
public:
    // Adds or replaces the resource of this type, name and language.
    void Set(const ResourceId& type, const ResourceId& name, std::uint16_t language, std::shared_ptr<const Bytes> data,
             std::uint32_t codePage = 0);
    // Removes every language of this type and name; returns how many were removed.
    std::size_t Remove(const ResourceId& type, const ResourceId& name);
    const Resource* Find(const ResourceId& type, const ResourceId& name, std::uint16_t language) const;
    std::vector<const Resource*> FindAll(const ResourceId& type, const ResourceId& name) const;
    std::vector<const Resource*> OfType(const ResourceId& type) const;

    // In directory order (type, name, language).
    const std::vector<Resource>& All() const { return resources_; }

private:
    std::vector<Resource> resources_;
};

// The resource tree of an executable (empty when it has no resource directory). Throws
// EImageFormatError when the directory is damaged.
ResourceTree ReadResourceTree(const PeImage& image);

// The resource section's contents for a section loaded at `sectionRva`: directories
// (time stamp 0), names, data entries, then the data, each aligned to 8 bytes.
ByteSequence SerializeResourceTree(const ResourceTree& tree, std::uint32_t sectionRva);
