#include "wizard/TextToBool.h"

#include "core/exceptions.h"

#include <gtest/gtest.h>

namespace {

TEST(StrToBool, NumbersAndWords) {
    const struct {
        const char16_t* text;
        bool value;
    } cases[] = {
        {u"-1", true}, {u"1", true},     {u"42", true},    {u"0.5", true},   {u"True", true},  {u"tRUE", true},
        {u"0", false}, {u"-0", false},   {u"+0", false},   {u"0.0", false},  {u"False", false}, {u"FALSE", false},
        {u"1e3", true}, {u"0e5", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StrToBool(c.text), c.value) << Utf16ToUtf8(c.text);
    }
}

TEST(StrToBool, AnythingElseIsAConversionError) {
    for (const char16_t* text : {u"", u"yes", u" 1", u"1 ", u"-", u"1e", u"Truee", u"0x1"}) {
        EXPECT_THROW(StrToBool(text), EConvertError) << Utf16ToUtf8(text);
    }
}

}  // namespace
