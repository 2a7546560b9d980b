#include "tests/builder/test_files.h"
#include "tools/builder/errors.h"
#include "tools/builder/pictures.h"

#include <gtest/gtest.h>

#include <functional>

namespace {
Bytes Data(const std::string& name) {
    return ReadBytes(TestDataFile(name));
}

Bytes Cut(Bytes b, std::size_t size) {
    b.resize(size);
    return b;
}

// Expects `check` to fail with a message naming the file and containing `message`.
void ExpectPictureError(const std::function<void()>& check, const std::string& message) {
    try {
        check();
        ADD_FAILURE() << "accepted";
    } catch (const EPictureError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("pic.x: ", 0), 0u) << e.what();
        EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
    }
}

std::size_t FindMarker(const Bytes& jpeg, std::uint8_t marker) {
    for (std::size_t i = 0; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == marker) {
            return i;
        }
    }
    throw std::logic_error("marker not found");
}
} // namespace

TEST(Pictures, JpegSizeComesFromTheFrameHeader) {
    const struct {
        const char* file;
        int width;
        int height;
    } cases[] = {{"left.jpg", 160, 308}, {"left-progressive.jpg", 160, 308}, {"left-wide.jpg", 308, 160}};
    for (const auto& c : cases) {
        const PictureSize size = ReadJpegSize(Data(c.file), c.file);
        EXPECT_EQ(size.width, c.width) << c.file;
        EXPECT_EQ(size.height, c.height) << c.file;
    }
    EXPECT_NO_THROW(CheckLeftPicture(Data("left.jpg"), "left.jpg"));
    EXPECT_NO_THROW(CheckLeftPicture(Data("left-progressive.jpg"), "left-progressive.jpg"));
}

TEST(Pictures, JpegFillBytesAndStandaloneMarkersAreSkipped) {
    Bytes jpeg = Data("left.jpg");
    const std::size_t sof = FindMarker(jpeg, 0xC0);
    // Fill bytes before the frame marker and a restart marker before it.
    jpeg.insert(jpeg.begin() + static_cast<std::ptrdiff_t>(sof), {0xFF, 0xD0, 0xFF, 0xFF});
    const PictureSize size = ReadJpegSize(jpeg, "left.jpg");
    EXPECT_EQ(size.width, 160);
    EXPECT_EQ(size.height, 308);
}

TEST(Pictures, WrongLeftPicturesAreRefused) {
    Bytes arithmetic = Data("left.jpg");
    arithmetic[FindMarker(arithmetic, 0xC0) + 1] = 0xC9;
    Bytes noFrame = Data("left.jpg");
    noFrame[FindMarker(noFrame, 0xC0) + 1] = 0xE5; // becomes an application segment
    const struct {
        const char* name;
        Bytes data;
        const char* message;
    } cases[] = {
        {"rotated", Data("left-wide.jpg"),
         "the left-hand picture must be 160 by 308 pixels (width by height); this JPEG is 308 by 160 pixels"},
        {"png", Data("left.png"), "is not a JPEG file"},
        {"bitmap", Data("header.bmp"), "is not a JPEG file"},
        {"empty", Bytes{}, "is not a JPEG file"},
        {"cut in the header", Cut(Data("left.jpg"), 100), "is a damaged JPEG file: JPEG segment is cut short"},
        {"cut at the frame", Cut(Data("left.jpg"), FindMarker(Data("left.jpg"), 0xC0) + 6), "is a damaged JPEG file"},
        {"arithmetic coding", arithmetic, "arithmetic-coded JPEG frame"},
        {"no frame before scan", noFrame, "without a frame header before its image data"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectPictureError([&] { CheckLeftPicture(c.data, "pic.x"); }, c.message);
    }
}

TEST(Pictures, HeaderBitmapResourceIsTheFileWithoutItsFileHeader) {
    const Bytes file = Data("header.bmp");
    const Bytes resource = HeaderBitmapResource(file, "header.bmp");
    EXPECT_EQ(resource, Bytes(file.begin() + 14, file.end()));
    EXPECT_EQ(resource.size(), 40u + 32 * 32 * 3);

    // A V5 header is kept whole.
    const Bytes v5 = Data("header-v5.bmp");
    EXPECT_EQ(HeaderBitmapResource(v5, "header-v5.bmp"), Bytes(v5.begin() + 14, v5.end()));
}

TEST(Pictures, BitmapWithAGapBeforeItsPixelsIsClosedUp) {
    const Bytes file = Data("header.bmp");
    Bytes gapped(file.begin(), file.begin() + 54);
    gapped.insert(gapped.end(), 10, 0xEE);
    gapped.insert(gapped.end(), file.begin() + 54, file.end());
    WriteU32At(gapped, 10, 64);
    EXPECT_EQ(HeaderBitmapResource(gapped, "gapped.bmp"), HeaderBitmapResource(file, "header.bmp"));
}

TEST(Pictures, WrongHeaderBitmapsAreRefused) {
    Bytes compressed = Data("header.bmp");
    WriteU32At(compressed, 30, 1);
    Bytes overlapping = Data("header.bmp");
    WriteU32At(overlapping, 10, 40);
    Bytes topDown = Data("header.bmp");
    WriteU32At(topDown, 22, static_cast<std::uint32_t>(-32));
    EXPECT_NO_THROW(HeaderBitmapResource(topDown, "top-down.bmp"));
    const struct {
        const char* name;
        Bytes data;
        const char* message;
    } cases[] = {
        {"32 bits", Data("header-32bit.bmp"),
         "the header bitmap must be 32 by 32 pixels at 24 bits per pixel; this BMP is 32 by 32 pixels at 32 bits"},
        {"palette", Data("header-palette.bmp"), "this BMP is 32 by 32 pixels at 1 bits"},
        {"too big", Data("header-64.bmp"), "this BMP is 64 by 64 pixels at 24 bits"},
        {"jpeg", Data("left.jpg"), "is not a BMP file"},
        {"compressed", compressed, "compressed or bit-field BMP"},
        {"pixels inside header", overlapping, "its pixels start inside its header"},
        {"cut pixels", Cut(Data("header.bmp"), 1000), "is a damaged BMP file: BMP pixel data is cut short"},
        {"cut header", Cut(Data("header.bmp"), 20), "is a damaged BMP file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectPictureError([&] { HeaderBitmapResource(c.data, "pic.x"); }, c.message);
    }
}

TEST(Pictures, IconImagesAreReadWithTheirSizes) {
    const Bytes file = Data("app.ico");
    const auto images = ReadAppIcon(file, "app.ico");
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].width, 32);
    EXPECT_EQ(images[0].height, 32);
    EXPECT_EQ(images[1].width, 16);
    EXPECT_EQ(images[1].height, 16);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(images[i].bitCount, ReadU16(file, 6 + 16 * i + 6));
        const std::uint32_t size = ReadU32(file, 6 + 16 * i + 8);
        const std::uint32_t offset = ReadU32(file, 6 + 16 * i + 12);
        EXPECT_EQ(images[i].data, Bytes(file.begin() + offset, file.begin() + offset + size));
    }
    EXPECT_EQ(ReadAppIcon(Data("app-three.ico"), "app-three.ico").size(), 3u);
}

TEST(Pictures, IconBitDepthMissingFromTheDirectoryIsTakenFromTheImage) {
    Bytes file = Data("app.ico");
    WriteU16At(file, 6 + 4, 0);
    WriteU16At(file, 6 + 6, 0);
    const auto images = ReadIconFile(file, "app.ico");
    EXPECT_EQ(images[0].planes, 1);
    EXPECT_EQ(images[0].bitCount, 32);
}

TEST(Pictures, WrongIconsAreRefused) {
    Bytes misListed = Data("app.ico");
    misListed[6] = 48;
    Bytes outside = Data("app.ico");
    WriteU32At(outside, 6 + 12, 100000);
    const struct {
        const char* name;
        Bytes data;
        const char* message;
    } cases[] = {
        {"only 32", Data("app-32only.ico"),
         "the application icon needs a 32 by 32 and a 16 by 16 image; this icon has 32x32"},
        {"jpeg", Data("left.jpg"), "is not an icon (.ico) file"},
        {"no images", Bytes{0, 0, 1, 0, 0, 0}, "is an icon file without images"},
        {"cut directory", Cut(Data("app.ico"), 20), "is a damaged icon file: icon directory is cut short"},
        {"image outside", outside, "is a damaged icon file: icon image is cut short"},
        {"listed wrong", misListed, "image 1 is listed as 48 by 32 pixels but is 32 by 32 pixels"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectPictureError([&] { ReadAppIcon(c.data, "pic.x"); }, c.message);
    }
}
