#include "tools/builder/pe_patch.h"

#include "tools/builder/errors.h"
#include "tools/builder/pe_image.h"
#include "tools/builder/resource_tree.h"

#include <algorithm>

namespace {
struct PlacedSection {
    SectionHeader header;        // as written
    std::uint32_t oldPointer = 0; // where its bytes are in the stub
    std::uint32_t oldAddress = 0;
};

// Sections after the resource section may move when they are discardable and no data
// directory but the relocations points into them (their contents do not depend on their
// own address).
bool MayMove(const PeImage& image, std::size_t index) {
    const auto& s = image.Sections()[index];
    if (!(s.characteristics & pe::kScnDiscardable)) {
        return false;
    }
    for (std::size_t d = 0; d < image.NumberOfDataDirectories(); ++d) {
        const DataDirectory dir = image.Directory(d);
        if (d != pe::kDirSecurity && d != pe::kDirBaseReloc && dir.rva != 0 && s.ContainsRva(dir.rva)) {
            return false;
        }
    }
    return true;
}

// The old resource section can be dropped when it holds nothing but the resources.
bool MayDrop(const PeImage& image, std::size_t index) {
    const auto& s = image.Sections()[index];
    if (s.virtualAddress != image.Directory(pe::kDirResource).rva) {
        return false;
    }
    for (std::size_t d = 0; d < image.NumberOfDataDirectories(); ++d) {
        const DataDirectory dir = image.Directory(d);
        if (d != pe::kDirSecurity && d != pe::kDirResource && dir.rva != 0 && s.ContainsRva(dir.rva)) {
            return false;
        }
    }
    return true;
}
} // namespace

ByteSequence ReplaceResources(const PeImage& image, const ResourceTree& resources) {
    const auto& sections = image.Sections();
    const ByteView file = image.File();
    const std::uint32_t fileAlign = image.FileAlignment();
    const std::uint32_t sectionAlign = image.SectionAlignment();

    // Which old section the new one replaces, if any.
    std::optional<std::size_t> replaced;
    const DataDirectory oldDir = image.Directory(pe::kDirResource);
    if (oldDir.rva != 0) {
        if (const auto r = image.SectionOfRva(oldDir.rva); r && MayDrop(image, *r)) {
            bool movable = true;
            for (std::size_t i = *r + 1; i < sections.size(); ++i) {
                movable = movable && MayMove(image, i);
            }
            if (movable) {
                replaced = r;
            }
        }
    }
    const std::size_t keptCount = replaced ? *replaced : sections.size();

    // Everything up to the end of the kept sections' data stays where it is.
    std::uint64_t keptEnd = image.SizeOfHeaders();
    std::uint64_t nextAddress = AlignUp(image.SizeOfHeaders(), sectionAlign);
    for (std::size_t i = 0; i < keptCount; ++i) {
        const auto& s = sections[i];
        if (s.sizeOfRawData != 0) {
            keptEnd = std::max<std::uint64_t>(keptEnd, std::uint64_t{s.pointerToRawData} + s.sizeOfRawData);
        }
        // The loader lays sections out by their virtual size; so does the new layout.
        nextAddress = AlignUp(std::uint64_t{s.virtualAddress} + s.VirtualSpan(), sectionAlign);
    }
    if (replaced) {
        nextAddress = sections[*replaced].virtualAddress;
    }
    std::uint64_t nextPointer = AlignUp(keptEnd, fileAlign);

    std::vector<PlacedSection> placed;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        PlacedSection p{sections[i], sections[i].pointerToRawData, sections[i].virtualAddress};
        if (replaced && i == *replaced) {
            continue;
        }
        if (i > keptCount) {
            p.header.virtualAddress = static_cast<std::uint32_t>(nextAddress);
            p.header.pointerToRawData = p.header.sizeOfRawData ? static_cast<std::uint32_t>(nextPointer) : 0;
            nextAddress = AlignUp(nextAddress + p.header.VirtualSpan(), sectionAlign);
            nextPointer += AlignUp(p.header.sizeOfRawData, fileAlign);
        }
        placed.push_back(p);
    }

    SectionHeader rsrc;
    const char kName[] = ".rsrc";
    std::copy(kName, kName + 5, rsrc.name.begin());
    rsrc.characteristics = replaced ? sections[*replaced].characteristics : (pe::kScnInitializedData | pe::kScnMemRead);
    rsrc.virtualAddress = static_cast<std::uint32_t>(nextAddress);
    rsrc.pointerToRawData = static_cast<std::uint32_t>(nextPointer);
    const ByteSequence rsrcData = SerializeResourceTree(resources, rsrc.virtualAddress);
    rsrc.virtualSize = static_cast<std::uint32_t>(rsrcData.Size());
    rsrc.sizeOfRawData = static_cast<std::uint32_t>(AlignUp(rsrcData.Size(), fileAlign));
    const std::uint64_t imageEnd = AlignUp(std::uint64_t{rsrc.virtualAddress} + rsrc.virtualSize, sectionAlign);
    const std::uint64_t sectionsEnd = std::uint64_t{rsrc.pointerToRawData} + rsrc.sizeOfRawData;
    if (imageEnd > 0xFFFFFFFFull || sectionsEnd > 0xFFFFFFFFull) {
        image.Fail("would grow beyond 4 GB with these resources");
    }
    placed.push_back(PlacedSection{rsrc, 0, 0});

    // Headers.
    const std::size_t tableEnd = image.SectionTableOffset() + placed.size() * pe::kSectionHeaderSize;
    std::uint64_t firstData = image.SizeOfHeaders();
    for (const auto& s : sections) {
        if (s.sizeOfRawData != 0) {
            firstData = std::min<std::uint64_t>(firstData, s.pointerToRawData);
        }
    }
    const std::size_t oldTableEnd = image.SectionTableOffset() + sections.size() * pe::kSectionHeaderSize;
    if (tableEnd > firstData ||
        std::any_of(file.begin() + static_cast<std::ptrdiff_t>(oldTableEnd), file.begin() + static_cast<std::ptrdiff_t>(std::max(oldTableEnd, tableEnd)),
                    [](std::uint8_t b) { return b != 0; })) {
        image.Fail("has no room in its headers for another section header");
    }
    Bytes header(file.begin(), file.begin() + image.SizeOfHeaders());
    const std::size_t opt = image.OptionalHeaderOffset();
    WriteU16At(header, image.FileHeaderOffset() + 2, static_cast<std::uint16_t>(placed.size()));
    std::fill(header.begin() + static_cast<std::ptrdiff_t>(image.SectionTableOffset()),
              header.begin() + static_cast<std::ptrdiff_t>(std::max(oldTableEnd, tableEnd)), 0);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        placed[i].header.Write(header, image.SectionTableOffset() + i * pe::kSectionHeaderSize);
    }
    // Data directories that point into moved sections move with them.
    for (std::size_t d = 0; d < image.NumberOfDataDirectories(); ++d) {
        const DataDirectory dir = image.Directory(d);
        if (d == pe::kDirSecurity || d == pe::kDirResource || dir.rva == 0) {
            continue;
        }
        for (const auto& p : placed) {
            if (p.oldAddress != p.header.virtualAddress && p.oldAddress != 0 && dir.rva >= p.oldAddress &&
                dir.rva - p.oldAddress < std::max(p.header.VirtualSpan(), p.header.sizeOfRawData)) {
                WriteU32At(header, image.DirectoryOffset(d), dir.rva - p.oldAddress + p.header.virtualAddress);
            }
        }
    }
    WriteU32At(header, image.DirectoryOffset(pe::kDirResource), rsrc.virtualAddress);
    WriteU32At(header, image.DirectoryOffset(pe::kDirResource) + 4, rsrc.virtualSize);
    WriteU32At(header, image.DirectoryOffset(pe::kDirSecurity), 0);
    WriteU32At(header, image.DirectoryOffset(pe::kDirSecurity) + 4, 0);
    WriteU32At(header, opt + pe::kOptSizeOfImage, static_cast<std::uint32_t>(imageEnd));
    std::uint32_t initialized = ReadU32(file, opt + pe::kOptSizeOfInitializedData);
    if (replaced && (sections[*replaced].characteristics & pe::kScnInitializedData)) {
        initialized -= std::min(initialized, sections[*replaced].sizeOfRawData);
    }
    if (rsrc.characteristics & pe::kScnInitializedData) {
        initialized += rsrc.sizeOfRawData;
    }
    WriteU32At(header, opt + pe::kOptSizeOfInitializedData, initialized);

    // What follows the sections in the stub (a symbol table, say) follows them again; a
    // certificate does not.
    const std::uint64_t oldEnd = image.EndOfSectionData();
    const DataDirectory cert = image.Directory(pe::kDirSecurity);
    std::uint64_t overlayEnd = file.size();
    if (cert.rva != 0 && cert.rva >= oldEnd && cert.rva < file.size()) {
        overlayEnd = cert.rva;
        if (std::uint64_t{cert.rva} + cert.size < file.size()) {
            image.Fail("has data after its signature, which this builder cannot keep");
        }
    }
    const std::uint32_t symbols = image.PointerToSymbolTable();
    if (symbols != 0 && symbols >= oldEnd) {
        WriteU32At(header, image.FileHeaderOffset() + 8, static_cast<std::uint32_t>(symbols - oldEnd + sectionsEnd));
    }

    // Contents.
    ByteSequence body;
    const auto& buffer = image.FileBuffer();
    body.Append(buffer, image.SizeOfHeaders(), static_cast<std::size_t>(keptEnd - image.SizeOfHeaders()));
    for (std::size_t i = keptCount; i + 1 < placed.size(); ++i) {
        const auto& p = placed[i];
        if (p.header.sizeOfRawData != 0) {
            body.PadTo(p.header.pointerToRawData - image.SizeOfHeaders());
            body.Append(buffer, p.oldPointer, p.header.sizeOfRawData);
        }
    }
    body.PadTo(rsrc.pointerToRawData - image.SizeOfHeaders());
    body.Append(rsrcData);
    body.PadTo(sectionsEnd - image.SizeOfHeaders());
    if (overlayEnd > oldEnd) {
        body.Append(buffer, static_cast<std::size_t>(oldEnd), static_cast<std::size_t>(overlayEnd - oldEnd));
    }

    PeChecksum checksum(opt + pe::kOptCheckSum);
    checksum.Add(header);
    body.ForEach([&checksum](ByteView v) { checksum.Add(v); });
    WriteU32At(header, opt + pe::kOptCheckSum, checksum.Finish());

    ByteSequence out;
    out.Append(std::move(header));
    out.Append(body);
    return out;
}
