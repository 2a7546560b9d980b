#include "ui/Errors.h"
#include "ui/Picture.h"

#include <gtest/gtest.h>

namespace {

HMODULE Self() {
    return GetModuleHandleW(nullptr);
}

TEST(Picture, JpegFromRcdataDecodesToItsSize) {
    const TBitmap picture = LoadPictureResource(Self(), u"LeftPicture");
    ASSERT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Width(), 160);
    EXPECT_EQ(picture.Height(), 308);
}

TEST(Picture, BitmapResourceKeepsSizeAndDepth) {
    const TBitmap picture = LoadBitmapResource(Self(), u"HEADERICON");
    EXPECT_EQ(picture.Width(), 32);
    EXPECT_EQ(picture.Height(), 32);
    EXPECT_EQ(picture.BitsPerPixel(), 24);
}

TEST(Picture, CopyIsIndependentOfTheOriginal) {
    TBitmap original = LoadBitmapResource(Self(), u"HEADERICON");
    const TBitmap copy = original.Copy();
    EXPECT_NE(copy.Handle(), original.Handle());
    original = TBitmap();
    EXPECT_EQ(copy.Width(), 32);
    EXPECT_EQ(copy.Height(), 32);
}

TEST(Picture, MissingOrUndecodableResourcesThrow) {
    EXPECT_THROW(LoadPictureResource(Self(), u"NOSUCHPICTURE"), EPictureError);
    EXPECT_THROW(LoadPictureResource(Self(), u"NOTAPICTURE"), EPictureError);
    EXPECT_THROW(LoadBitmapResource(Self(), u"NOSUCHBITMAP"), EPictureError);
}

}  // namespace
