#pragma once
// Checks of the product's pictures and their conversion into resource data. Every error
// (EPictureError) names the file and says what kind and size was expected and found.

#include "tools/builder/byte_io.h"

#include <string>
#include <vector>

inline constexpr int kLeftPictureWidth = 160;
inline constexpr int kLeftPictureHeight = 308;
inline constexpr int kHeaderBitmapSize = 32;
inline constexpr int kHeaderBitmapBits = 24;

struct PictureSize {
    int width = 0;
    int height = 0;
};

// The frame size of a JPEG file, from its start-of-frame marker.
PictureSize ReadJpegSize(ByteView jpeg, const std::string& fileName);

// A left-hand picture: a JPEG of 160 by 308 pixels; the RCDATA resource is the file as is.
void CheckLeftPicture(ByteView jpeg, const std::string& fileName);

// The header bitmap, a BMP of 32 by 32 pixels at 24 bits: the RT_BITMAP resource is the
// file without its 14-byte file header, with the pixels directly after the info header.
Bytes HeaderBitmapResource(ByteView bmp, const std::string& fileName);

struct IconImage {
    int width = 0;  // pixels, from the image itself
    int height = 0;
    std::uint8_t colorCount = 0; // as in the file's directory
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    Bytes data; // the image (a DIB without file header, or a PNG)
};

// The images of an .ico file, in file order.
std::vector<IconImage> ReadIconFile(ByteView ico, const std::string& fileName);

// The application icon: an .ico file with a 32 by 32 and a 16 by 16 image (more are kept).
std::vector<IconImage> ReadAppIcon(ByteView ico, const std::string& fileName);
