#pragma once
// A read-only view of a 64-bit Windows executable (PE32+): its headers, section table and
// data directories, with every offset checked against the file.

#include "tools/builder/byte_io.h"

#include <array>
#include <memory>
#include <optional>

namespace pe {
inline constexpr std::uint16_t kMagicPe32Plus = 0x20B;
inline constexpr std::size_t kSectionHeaderSize = 40;
inline constexpr std::size_t kDirResource = 2;
inline constexpr std::size_t kDirSecurity = 4; // a file offset, not an address
inline constexpr std::size_t kDirBaseReloc = 5;
inline constexpr std::uint32_t kScnInitializedData = 0x00000040;
inline constexpr std::uint32_t kScnDiscardable = 0x02000000;
inline constexpr std::uint32_t kScnMemRead = 0x40000000;

// Offsets inside the optional header (PE32+).
inline constexpr std::size_t kOptSizeOfInitializedData = 8;
inline constexpr std::size_t kOptSectionAlignment = 32;
inline constexpr std::size_t kOptFileAlignment = 36;
inline constexpr std::size_t kOptSizeOfImage = 56;
inline constexpr std::size_t kOptSizeOfHeaders = 60;
inline constexpr std::size_t kOptCheckSum = 64;
inline constexpr std::size_t kOptNumberOfRvaAndSizes = 108;
inline constexpr std::size_t kOptDataDirectories = 112;
} // namespace pe

struct SectionHeader {
    std::array<std::uint8_t, 8> name{};
    std::uint32_t virtualSize = 0;
    std::uint32_t virtualAddress = 0;
    std::uint32_t sizeOfRawData = 0;
    std::uint32_t pointerToRawData = 0;
    std::uint32_t pointerToRelocations = 0;
    std::uint32_t pointerToLinenumbers = 0;
    std::uint16_t numberOfRelocations = 0;
    std::uint16_t numberOfLinenumbers = 0;
    std::uint32_t characteristics = 0;

    // The address range the section occupies once loaded.
    std::uint32_t VirtualSpan() const { return virtualSize != 0 ? virtualSize : sizeOfRawData; }
    bool ContainsRva(std::uint32_t rva) const {
        return rva >= virtualAddress && rva - virtualAddress < std::max(VirtualSpan(), sizeOfRawData);
    }
    std::string NameText() const;

    static SectionHeader Read(ByteView data, std::size_t offset);
    void Write(Bytes& out, std::size_t offset) const;
};

struct DataDirectory {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
};

class PeImage final {
public:
    // Throws EImageFormatError naming `fileName` when the file is not a PE32+ executable.
    PeImage(std::shared_ptr<const Bytes> file, std::string fileName);

    const std::shared_ptr<const Bytes>& FileBuffer() const { return file_; }
    ByteView File() const { return ByteView(*file_); }
    const std::string& FileName() const { return fileName_; }

    std::size_t FileHeaderOffset() const { return peOffset_ + 4; }
    std::size_t OptionalHeaderOffset() const { return peOffset_ + 24; }
    std::size_t SectionTableOffset() const { return sectionTable_; }

    std::uint32_t FileAlignment() const { return fileAlignment_; }
    std::uint32_t SectionAlignment() const { return sectionAlignment_; }
    std::uint32_t SizeOfHeaders() const { return sizeOfHeaders_; }
    std::uint32_t NumberOfDataDirectories() const { return numberOfDirectories_; }
    DataDirectory Directory(std::size_t index) const;
    std::size_t DirectoryOffset(std::size_t index) const;
    std::uint32_t PointerToSymbolTable() const;

    const std::vector<SectionHeader>& Sections() const { return sections_; }
    // The index of the section holding `rva`, if any.
    std::optional<std::size_t> SectionOfRva(std::uint32_t rva) const;
    // The file offset of `size` bytes at `rva`; throws EImageFormatError when they are not
    // all stored in the file.
    std::size_t RvaToOffset(std::uint32_t rva, std::uint32_t size, const char* what) const;
    // The end of the last section's data in the file (at least the end of the headers);
    // what follows is the overlay.
    std::uint64_t EndOfSectionData() const;

    [[noreturn]] void Fail(const std::string& message) const;

private:
    std::shared_ptr<const Bytes> file_;
    std::string fileName_;
    std::size_t peOffset_ = 0;
    std::size_t sectionTable_ = 0;
    std::uint32_t fileAlignment_ = 0;
    std::uint32_t sectionAlignment_ = 0;
    std::uint32_t sizeOfHeaders_ = 0;
    std::uint32_t numberOfDirectories_ = 0;
    std::vector<SectionHeader> sections_;
};

// The PE checksum of a whole file, computed with the checksum field counted as zero.
class PeChecksum final {
public:
    explicit PeChecksum(std::uint64_t checksumFieldOffset) : field_(checksumFieldOffset) {}
    void Add(ByteView data);
    std::uint32_t Finish() const;

private:
    std::uint64_t field_;
    std::uint64_t position_ = 0;
    std::uint64_t sum_ = 0;
    int pendingLow_ = -1; // low byte of a word split between two pieces
};
