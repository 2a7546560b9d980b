#include "tools/builder/pictures.h"

#include "tools/builder/errors.h"

#include <algorithm>

namespace {
std::uint16_t ReadBigU16(ByteView data, std::size_t offset, const char* what) {
    Require(data, offset, 2, what);
    return static_cast<std::uint16_t>((data[offset] << 8) | data[offset + 1]);
}

std::uint32_t ReadBigU32(ByteView data, std::size_t offset, const char* what) {
    return (static_cast<std::uint32_t>(ReadBigU16(data, offset, what)) << 16) | ReadBigU16(data, offset + 2, what);
}

[[noreturn]] void Fail(const std::string& fileName, const std::string& message) {
    throw EPictureError(fileName + ": " + message);
}

std::string SizeText(long long width, long long height) {
    return std::to_string(width) + " by " + std::to_string(height) + " pixels";
}

// Baseline, extended sequential and progressive Huffman frames are what Windows' JPEG
// decoders read; lossless, hierarchical and arithmetic-coded frames are refused.
bool IsReadableFrame(std::uint8_t marker) {
    return marker == 0xC0 || marker == 0xC1 || marker == 0xC2;
}

bool IsOtherFrame(std::uint8_t marker) {
    return marker >= 0xC3 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
} // namespace

PictureSize ReadJpegSize(ByteView jpeg, const std::string& fileName) {
    try {
        if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) {
            Fail(fileName, "is not a JPEG file (no start-of-image marker)");
        }
        std::size_t pos = 2;
        for (;;) {
            if (ReadU8(jpeg, pos, "JPEG marker") != 0xFF) {
                Fail(fileName, "is a damaged JPEG file (no marker at offset " + std::to_string(pos) + ")");
            }
            while (ReadU8(jpeg, pos + 1, "JPEG marker") == 0xFF) {
                ++pos; // fill bytes
            }
            const std::uint8_t marker = jpeg[pos + 1];
            pos += 2;
            if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
                continue; // no length field
            }
            if (marker == 0xD9 || marker == 0xDA) {
                Fail(fileName, "is a JPEG file without a frame header before its image data");
            }
            const std::uint16_t length = ReadBigU16(jpeg, pos, "JPEG segment");
            if (length < 2) {
                Fail(fileName, "is a damaged JPEG file (segment length below 2)");
            }
            Require(jpeg, pos, length, "JPEG segment");
            if (IsReadableFrame(marker) || IsOtherFrame(marker)) {
                if (!IsReadableFrame(marker)) {
                    Fail(fileName, "uses a lossless, hierarchical or arithmetic-coded JPEG frame, which Windows "
                                   "does not decode; save it as a baseline or progressive JPEG");
                }
                const PictureSize size{ReadBigU16(jpeg, pos + 5, "JPEG frame header"),
                                       ReadBigU16(jpeg, pos + 3, "JPEG frame header")};
                if (size.width == 0 || size.height == 0) {
                    Fail(fileName, "is a JPEG file whose frame header gives no size");
                }
                return size;
            }
            pos += length;
        }
    } catch (const ETruncated& e) {
        Fail(fileName, std::string("is a damaged JPEG file: ") + e.what());
    }
}

void CheckLeftPicture(ByteView jpeg, const std::string& fileName) {
    const PictureSize size = ReadJpegSize(jpeg, fileName);
    if (size.width != kLeftPictureWidth || size.height != kLeftPictureHeight) {
        Fail(fileName, "the left-hand picture must be " + SizeText(kLeftPictureWidth, kLeftPictureHeight) +
                           " (width by height); this JPEG is " + SizeText(size.width, size.height));
    }
}

Bytes HeaderBitmapResource(ByteView bmp, const std::string& fileName) {
    try {
        if (bmp.size() < 2 || bmp[0] != 'B' || bmp[1] != 'M') {
            Fail(fileName, "is not a BMP file (it does not start with \"BM\")");
        }
        const std::uint32_t pixelOffset = ReadU32(bmp, 10, "BMP file header");
        const std::uint32_t infoSize = ReadU32(bmp, kFileHeaderSize, "BMP info header");
        if (infoSize < kInfoHeaderSize) {
            Fail(fileName, "is an OS/2-style BMP; save it as a Windows BMP (BMP3) at 24 bits");
        }
        Require(bmp, kFileHeaderSize, infoSize, "BMP info header");
        const int width = ReadI32(bmp, kFileHeaderSize + 4);
        const int height = ReadI32(bmp, kFileHeaderSize + 8);
        const int bits = ReadU16(bmp, kFileHeaderSize + 14);
        const std::uint32_t compression = ReadU32(bmp, kFileHeaderSize + 16);
        const std::uint32_t colorsUsed = ReadU32(bmp, kFileHeaderSize + 32);
        const long long absHeight = height < 0 ? -static_cast<long long>(height) : height;
        if (width != kHeaderBitmapSize || absHeight != kHeaderBitmapSize || bits != kHeaderBitmapBits) {
            Fail(fileName, "the header bitmap must be " + SizeText(kHeaderBitmapSize, kHeaderBitmapSize) + " at " +
                               std::to_string(kHeaderBitmapBits) + " bits per pixel; this BMP is " +
                               SizeText(width, absHeight) + " at " + std::to_string(bits) + " bits");
        }
        if (compression != 0) {
            Fail(fileName, "is a compressed or bit-field BMP; save it uncompressed (BI_RGB) at 24 bits");
        }
        // In a resource the pixels follow the info header and its colour table directly.
        if (colorsUsed > 256) {
            Fail(fileName, "is a damaged BMP file (colour table of " + std::to_string(colorsUsed) + " entries)");
        }
        const std::size_t headerEnd = kFileHeaderSize + infoSize + std::size_t{colorsUsed} * 4;
        const std::size_t pixelBytes = ((kHeaderBitmapSize * kHeaderBitmapBits + 31) / 32) * 4 * kHeaderBitmapSize;
        if (pixelOffset < headerEnd) {
            Fail(fileName, "is a damaged BMP file (its pixels start inside its header)");
        }
        Require(bmp, pixelOffset, pixelBytes, "BMP pixel data");
        Bytes resource(bmp.begin() + kFileHeaderSize, bmp.begin() + static_cast<std::ptrdiff_t>(headerEnd));
        resource.insert(resource.end(), bmp.begin() + pixelOffset, bmp.begin() + pixelOffset + pixelBytes);
        return resource;
    } catch (const ETruncated& e) {
        Fail(fileName, std::string("is a damaged BMP file: ") + e.what());
    }
}

std::vector<IconImage> ReadIconFile(ByteView ico, const std::string& fileName) {
    try {
        if (ReadU16(ico, 0, "icon header") != 0 || ReadU16(ico, 2, "icon header") != 1) {
            Fail(fileName, "is not an icon (.ico) file");
        }
        const std::uint16_t count = ReadU16(ico, 4, "icon header");
        if (count == 0) {
            Fail(fileName, "is an icon file without images");
        }
        std::vector<IconImage> images;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t entry = 6 + 16 * i;
            Require(ico, entry, 16, "icon directory");
            IconImage image;
            const int dirWidth = ico[entry] == 0 ? 256 : ico[entry];
            const int dirHeight = ico[entry + 1] == 0 ? 256 : ico[entry + 1];
            image.colorCount = ico[entry + 2];
            image.planes = ReadU16(ico, entry + 4);
            image.bitCount = ReadU16(ico, entry + 6);
            const std::uint32_t size = ReadU32(ico, entry + 8);
            const std::uint32_t offset = ReadU32(ico, entry + 12);
            Require(ico, offset, size, "icon image");
            const ByteView data = ico.subspan(offset, size);
            static constexpr std::uint8_t kPng[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
            if (data.size() >= 8 && std::equal(kPng, kPng + 8, data.begin())) {
                image.width = static_cast<int>(ReadBigU32(data, 16, "PNG header"));
                image.height = static_cast<int>(ReadBigU32(data, 20, "PNG header"));
            } else {
                if (ReadU32(data, 0, "icon bitmap header") < kInfoHeaderSize) {
                    Fail(fileName, "image " + std::to_string(i + 1) + " is neither a PNG nor a Windows bitmap");
                }
                image.width = ReadI32(data, 4);
                image.height = ReadI32(data, 8) / 2; // colour and mask bitmaps stacked
                if (image.planes == 0) {
                    image.planes = ReadU16(data, 12);
                }
                if (image.bitCount == 0) {
                    image.bitCount = ReadU16(data, 14);
                }
            }
            if (image.width != dirWidth || image.height != dirHeight) {
                Fail(fileName, "image " + std::to_string(i + 1) + " is listed as " + SizeText(dirWidth, dirHeight) +
                                   " but is " + SizeText(image.width, image.height));
            }
            image.data.assign(data.begin(), data.end());
            images.push_back(std::move(image));
        }
        return images;
    } catch (const ETruncated& e) {
        Fail(fileName, std::string("is a damaged icon file: ") + e.what());
    }
}

std::vector<IconImage> ReadAppIcon(ByteView ico, const std::string& fileName) {
    std::vector<IconImage> images = ReadIconFile(ico, fileName);
    for (const int size : {32, 16}) {
        const bool found = std::any_of(images.begin(), images.end(),
                                       [size](const IconImage& im) { return im.width == size && im.height == size; });
        if (!found) {
            std::string have;
            for (const auto& im : images) {
                have += (have.empty() ? "" : ", ") + std::to_string(im.width) + "x" + std::to_string(im.height);
            }
            Fail(fileName, "the application icon needs a 32 by 32 and a 16 by 16 image; this icon has " + have);
        }
    }
    return images;
}
