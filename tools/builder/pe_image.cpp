#include "tools/builder/pe_image.h"

#include "tools/builder/errors.h"

#include <algorithm>

std::string SectionHeader::NameText() const {
    std::string s;
    for (const auto c : name) {
        if (c == 0) {
            break;
        }
        s.push_back(static_cast<char>(c));
    }
    return s;
}

SectionHeader SectionHeader::Read(ByteView data, std::size_t offset) {
    Require(data, offset, pe::kSectionHeaderSize, "section table");
    SectionHeader h;
    std::copy_n(data.begin() + static_cast<std::ptrdiff_t>(offset), 8, h.name.begin());
    h.virtualSize = ReadU32(data, offset + 8);
    h.virtualAddress = ReadU32(data, offset + 12);
    h.sizeOfRawData = ReadU32(data, offset + 16);
    h.pointerToRawData = ReadU32(data, offset + 20);
    h.pointerToRelocations = ReadU32(data, offset + 24);
    h.pointerToLinenumbers = ReadU32(data, offset + 28);
    h.numberOfRelocations = ReadU16(data, offset + 32);
    h.numberOfLinenumbers = ReadU16(data, offset + 34);
    h.characteristics = ReadU32(data, offset + 36);
    return h;
}

void SectionHeader::Write(Bytes& out, std::size_t offset) const {
    std::copy(name.begin(), name.end(), out.begin() + static_cast<std::ptrdiff_t>(offset));
    WriteU32At(out, offset + 8, virtualSize);
    WriteU32At(out, offset + 12, virtualAddress);
    WriteU32At(out, offset + 16, sizeOfRawData);
    WriteU32At(out, offset + 20, pointerToRawData);
    WriteU32At(out, offset + 24, pointerToRelocations);
    WriteU32At(out, offset + 28, pointerToLinenumbers);
    WriteU16At(out, offset + 32, numberOfRelocations);
    WriteU16At(out, offset + 34, numberOfLinenumbers);
    WriteU32At(out, offset + 36, characteristics);
}

PeImage::PeImage(std::shared_ptr<const Bytes> file, std::string fileName)
    : file_(std::move(file)), fileName_(std::move(fileName)) {
    const ByteView f = File();
    try {
        if (ReadU16(f, 0, "DOS header") != 0x5A4D) {
            Fail("is not a Windows executable (no MZ header)");
        }
        peOffset_ = ReadU32(f, 0x3C, "DOS header");
        if (ReadU32(f, peOffset_, "PE header") != 0x00004550) {
            Fail("is not a Windows PE executable (no PE signature)");
        }
        const std::size_t fileHeader = FileHeaderOffset();
        const std::uint16_t sectionCount = ReadU16(f, fileHeader + 2, "file header");
        const std::uint16_t optionalSize = ReadU16(f, fileHeader + 16, "file header");
        const std::size_t opt = OptionalHeaderOffset();
        if (ReadU16(f, opt, "optional header") != pe::kMagicPe32Plus) {
            Fail("is not a 64-bit (PE32+) executable");
        }
        Require(f, opt, optionalSize, "optional header");
        sectionAlignment_ = ReadU32(f, opt + pe::kOptSectionAlignment);
        fileAlignment_ = ReadU32(f, opt + pe::kOptFileAlignment);
        sizeOfHeaders_ = ReadU32(f, opt + pe::kOptSizeOfHeaders);
        numberOfDirectories_ = ReadU32(f, opt + pe::kOptNumberOfRvaAndSizes);
        const auto isPowerOfTwo = [](std::uint32_t v) { return v != 0 && (v & (v - 1)) == 0; };
        if (!isPowerOfTwo(fileAlignment_) || !isPowerOfTwo(sectionAlignment_) || fileAlignment_ > sectionAlignment_) {
            Fail("has an invalid file or section alignment");
        }
        if (numberOfDirectories_ <= pe::kDirBaseReloc ||
            pe::kOptDataDirectories + 8ull * numberOfDirectories_ > optionalSize) {
            Fail("has too few data directories for a program with resources");
        }
        sectionTable_ = opt + optionalSize;
        for (std::size_t i = 0; i < sectionCount; ++i) {
            sections_.push_back(SectionHeader::Read(f, sectionTable_ + i * pe::kSectionHeaderSize));
        }
        if (sizeOfHeaders_ > f.size() || sectionTable_ + sectionCount * pe::kSectionHeaderSize > sizeOfHeaders_) {
            Fail("has a section table outside its headers");
        }
        for (std::size_t i = 0; i < sections_.size(); ++i) {
            const auto& s = sections_[i];
            if (s.sizeOfRawData != 0) {
                Require(f, s.pointerToRawData, s.sizeOfRawData, "section data");
            }
            if (i > 0 && s.virtualAddress < sections_[i - 1].virtualAddress + sections_[i - 1].VirtualSpan()) {
                Fail("has sections that are not in ascending address order");
            }
        }
    } catch (const ETruncated& e) {
        Fail(std::string("is a damaged executable: ") + e.what());
    }
}

void PeImage::Fail(const std::string& message) const {
    throw EImageFormatError(fileName_ + ": " + message);
}

std::size_t PeImage::DirectoryOffset(std::size_t index) const {
    return OptionalHeaderOffset() + pe::kOptDataDirectories + 8 * index;
}

DataDirectory PeImage::Directory(std::size_t index) const {
    if (index >= numberOfDirectories_) {
        return {};
    }
    return {ReadU32(File(), DirectoryOffset(index)), ReadU32(File(), DirectoryOffset(index) + 4)};
}

std::uint32_t PeImage::PointerToSymbolTable() const {
    return ReadU32(File(), FileHeaderOffset() + 8);
}

std::optional<std::size_t> PeImage::SectionOfRva(std::uint32_t rva) const {
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        if (sections_[i].ContainsRva(rva)) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t PeImage::RvaToOffset(std::uint32_t rva, std::uint32_t size, const char* what) const {
    const auto index = SectionOfRva(rva);
    if (!index) {
        Fail(std::string(what) + " lies outside every section");
    }
    const auto& s = sections_[*index];
    const std::uint64_t inSection = rva - s.virtualAddress;
    if (inSection + size > s.sizeOfRawData) {
        Fail(std::string(what) + " is not stored in the file");
    }
    return static_cast<std::size_t>(s.pointerToRawData + inSection);
}

std::uint64_t PeImage::EndOfSectionData() const {
    std::uint64_t end = sizeOfHeaders_;
    for (const auto& s : sections_) {
        if (s.sizeOfRawData != 0) {
            end = std::max<std::uint64_t>(end, std::uint64_t{s.pointerToRawData} + s.sizeOfRawData);
        }
    }
    return end;
}

void PeChecksum::Add(ByteView data) {
    std::size_t i = 0;
    while (i < data.size()) {
        // Whole words away from the checksum field are summed in bulk (the package makes up
        // most of a Setup.exe); folding the carries once later gives the same sum.
        if (pendingLow_ < 0 && (position_ >= field_ + 4 || position_ + 2 <= field_)) {
            std::uint64_t end = data.size();
            if (position_ < field_) {
                end = std::min<std::uint64_t>(end, i + (field_ - position_));
            }
            const std::size_t words = static_cast<std::size_t>(end - i) / 2;
            if (words > 0) {
                const std::uint8_t* p = data.data() + i;
                std::uint64_t sum = 0;
                for (std::size_t w = 0; w < words; ++w) {
                    sum += static_cast<std::uint32_t>(p[2 * w]) | (static_cast<std::uint32_t>(p[2 * w + 1]) << 8);
                }
                sum_ += sum;
                i += 2 * words;
                position_ += 2 * words;
                continue;
            }
        }
        const bool inField = position_ >= field_ && position_ < field_ + 4;
        const std::uint8_t v = inField ? 0 : data[i];
        if (pendingLow_ < 0) {
            pendingLow_ = v;
        } else {
            sum_ += static_cast<std::uint32_t>(pendingLow_) | (static_cast<std::uint32_t>(v) << 8);
            pendingLow_ = -1;
        }
        ++position_;
        ++i;
    }
}

std::uint32_t PeChecksum::Finish() const {
    std::uint64_t sum = sum_;
    if (pendingLow_ >= 0) {
        sum += static_cast<std::uint32_t>(pendingLow_);
    }
    while (sum >> 16) {
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<std::uint32_t>(sum + position_);
}
