// Base64 as protected strings use it: standard encoding, and decoding by groups of four
// that goes on past pad characters and drops a last incomplete group.

#include "core/ansi.h"
#include "crypt/base64.h"

#include <gtest/gtest.h>

namespace {
struct Base64Case {
    const char* Plain;
    const char* Encoded;
};

class Base64Encoding : public testing::TestWithParam<Base64Case> {};

// RFC 4648 section 10.
TEST_P(Base64Encoding, EncodesAndDecodesBack) {
    const std::string plain = GetParam().Plain;
    EXPECT_EQ(EncodeBase64Text(plain), GetParam().Encoded);
    EXPECT_EQ(DecodeBase64Text(std::string(GetParam().Encoded)), plain);
    char out[16];
    EXPECT_EQ(EncodeBase64(plain.data(), out, plain.size()), 4 * ((plain.size() + 2) / 3));
}

INSTANTIATE_TEST_SUITE_P(Rfc4648, Base64Encoding,
                         testing::Values(Base64Case{"", ""}, Base64Case{"f", "Zg=="}, Base64Case{"fo", "Zm8="},
                                         Base64Case{"foo", "Zm9v"}, Base64Case{"foob", "Zm9vYg=="},
                                         Base64Case{"fooba", "Zm9vYmE="}, Base64Case{"foobar", "Zm9vYmFy"}));

TEST(Base64, AllByteValuesRoundTrip) {
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes.push_back(static_cast<char>(i));
    }
    const std::string text = EncodeBase64Text(bytes);
    EXPECT_EQ(text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/="),
              std::string::npos);
    EXPECT_EQ(DecodeBase64Text(text), bytes);
}

struct DecodeCase {
    const char* Text;
    const char* BytesHex;
};

std::string Hex(const std::string& s) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char c : s) {
        hex.push_back(digits[c >> 4]);
        hex.push_back(digits[c & 15]);
    }
    return hex;
}

class Base64Decoding : public testing::TestWithParam<DecodeCase> {};

TEST_P(Base64Decoding, FollowsTheGroupRules) {
    EXPECT_EQ(Hex(DecodeBase64Text(std::string(GetParam().Text))), GetParam().BytesHex) << GetParam().Text;
}

INSTANTIATE_TEST_SUITE_P(Rules, Base64Decoding, testing::Values(
    // A pad group yields its bytes and decoding goes on.
    DecodeCase{"Zg==Zm9v", "66666f6f"},
    DecodeCase{"Zm8=Zg==", "666f66"},
    // The last incomplete group is ignored.
    DecodeCase{"Zm9vYm", "666f6f"},
    DecodeCase{"Zm9", ""},
    DecodeCase{"Zm9vY", "666f6f"},
    // A pad in third place ends the group after one byte, in fourth after two; a pad in
    // the second place still feeds its marker value into the first byte.
    DecodeCase{"Zm=v", "66"},
    DecodeCase{"Z===", "6f"},
    // A character outside the alphabet counts as zero but keeps its place.
    DecodeCase{"Zm9!YmFy", "666f40626172"},
    DecodeCase{"Zm9v\nYmFy", "666f6f018985"}));

TEST(Base64, DecodeReportsBytesWritten) {
    const char text[] = "Zg==Zm9vYm";
    unsigned char out[8] = {};
    EXPECT_EQ(DecodeBase64(text, out, 10), 4u);
}

TEST(Base64Unicode, EncodesCodeUnitsLowByteFirst) {
    EXPECT_EQ(EncodeBase64Text(UString(u"A")), u"QQA=");
    EXPECT_EQ(EncodeBase64Text(UString(u"\u4e2d")), u"LU4=");
    EXPECT_EQ(DecodeBase64Text(UString(u"QQA=")), u"A");
}

TEST(Base64Unicode, AnOddLastByteIsDropped) {
    // "QUJD" is the three bytes "ABC": one code unit from the first two.
    EXPECT_EQ(DecodeBase64Text(UString(u"QUJD")), u"\u4241");
    EXPECT_EQ(DecodeBase64Text(UString(u"QQ==")), u"");
}

#ifndef _WIN32
TEST(Base64Unicode, DecodingGoesThroughTheAnsiCodePage) {
    // Under 936 a Chinese character becomes two 8-bit characters and so takes two places
    // of its group; under 1252 it cannot be mapped and becomes one "?".
    SetAnsiCodePage(936);
    const UString in936 = DecodeBase64Text(UString(u"\u4e2dQUJDRA"));
    SetAnsiCodePage(1252);
    const UString in1252 = DecodeBase64Text(UString(u"\u4e2dQUJDRA"));
    const std::string bytes936 = DecodeBase64Text(std::string("\xd6\xd0QUJDRA"));
    const std::string bytes1252 = DecodeBase64Text(std::string("?QUJDRA"));
    EXPECT_EQ(bytes936.size(), 6u);
    EXPECT_EQ(in936, CodeUnitsFromBytes(bytes936));
    EXPECT_EQ(bytes1252.size(), 3u);
    EXPECT_EQ(in1252, CodeUnitsFromBytes(bytes1252));
    EXPECT_EQ(in1252.size(), 1u);
}
#endif
} // namespace
