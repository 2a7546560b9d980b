// Cell texts in converted columns, and the number and boolean views.
#include "package/QsDataTable.h"
#include "core/exceptions.h"
#include "tests/table/table_test_util.h"

#include <gtest/gtest.h>

#include <optional>

using namespace std::string_literals;

namespace {

// A table with the conversion set {1} and one row of three empty cells.
struct OneRow {
    TDataTable table{u"", MakeColumnSet({1})};
    TRow& row;
    OneRow() : row(table.AddItem(std::make_unique<TRow>())) { row.Init(u",,", u','); }
};

struct WriteCase {
    const char* name;
    int column;
    std::int32_t ioMode;
    bool reserveLF;
    UString written;
    UString stored;
};

class WriteTextTest : public testing::TestWithParam<WriteCase> {};

TEST_P(WriteTextTest, StoresTheConvertedForm) {
    const WriteCase& c = GetParam();
    OneRow t;
    t.table.SetIOMode(c.ioMode);
    if (c.reserveLF) {
        t.table.SetReserveLFSet(MakeColumnSet({c.column}));
    }
    TCell& cell = t.row.Items(c.column);
    cell.SetText(c.written);
    EXPECT_EQ(cell.StoredText(), c.stored);
}

const WriteCase kWriteCases[] = {
    {"CommaBarTabLf", 1, 2, false, u"a,b|c\td\ne", u"a\x1a" u"b\x1b" u"c d e"},
    {"KeepLineBreaksByIOMode", 1, 3, false, u"a,b|c\td\ne\rf", u"a\x1a" u"b\x1b" u"c\td\ne\rf"},
    {"KeepLineBreaksByReserveSet", 1, 2, true, u"a,b|c\td\ne\rf", u"a\x1a" u"b\x1b" u"c\td\ne\rf"},
    {"CarriageReturnBecomesSpace", 1, 2, false, u"x\ry", u"x y"},
    {"ControlCharacters", 1, 3, false, u"\x01\x08\x0b\x0c\x0e\x1f" u"a"s, u"      a"},
    {"StoredCodesBecomeSpaces", 1, 2, false, u"\x1a\x1b", u"  "},
    {"CutAtNul", 1, 2, false, u"ab\0c,d"s, u"ab"},
    {"OtherCharactersStay", 1, 2, false, u" #\u4e2d\x7f!", u" #\u4e2d\x7f!"},
    {"UnconvertedColumnVerbatim", 0, 2, false, u"a,b|c\t\x01\0d"s, u"a,b|c\t\x01\0d"s},
    {"UnconvertedColumnTwo", 2, 2, false, u"a,b", u"a,b"},
};

INSTANTIATE_TEST_SUITE_P(Texts, WriteTextTest, testing::ValuesIn(kWriteCases),
                         [](const testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

TEST(CellText, ConvertedTextReadsBackDecoded) {
    OneRow t;
    t.row.Items(1).SetText(u"a,b|c");
    EXPECT_EQ(t.row.Items(1).Text(), u"a,b|c");
    t.row.Items(0).SetText(u"\x1a");
    EXPECT_EQ(t.row.Items(0).Text(), u"\x1a");
}

TEST(CellText, RowWithoutTableStoresAndReadsVerbatim) {
    TRow row;
    row.Init(u",", u',');
    row.Items(1).SetText(u"a,b\t");
    EXPECT_EQ(row.Items(1).StoredText(), u"a,b\t");
    row.Items(1).SetText(u"\x1a");
    EXPECT_EQ(row.Items(1).Text(), u"\x1a");
}

TEST(CellText, CellOutsideItsRowIsNeverConverted) {
    OneRow t;
    TCell loose(&t.row);
    EXPECT_EQ(loose.GetIndex(), -1);
    loose.SetText(u"a,b");
    EXPECT_EQ(loose.StoredText(), u"a,b");
    TCell orphan(nullptr);
    EXPECT_EQ(orphan.GetIndex(), -1);
}

TEST(CellText, ColumnsBeyond103AreNeverConverted) {
    TColumnSet all;
    all.set();
    TDataTable table(u"", all);
    TRow& row = table.AddItem(std::make_unique<TRow>());
    row.Init(UString(105, u','), u',');
    ASSERT_EQ(row.ItemCount(), 106);
    row.Items(103).SetText(u",");
    row.Items(104).SetText(u",");
    row.Items(104 + 1).SetText(u"|");
    EXPECT_EQ(row.Items(103).StoredText(), u"\x1a");
    EXPECT_EQ(row.Items(104).StoredText(), u",");
    EXPECT_EQ(row.Items(105).StoredText(), u"|");
    row.Items(104).SetText(u"\x1a");
    EXPECT_EQ(row.Items(104).Text(), u"\x1a");
    EXPECT_EQ(MakeColumnSet({-1, 104, 200}).count(), 0u);
}

TEST(CellText, UnchangedOrConvertingToSameSendsNothing) {
    OneRow t;
    t.row.Items(1).SetText(u"a,b c");
    TableRecorder rec;
    rec.Attach(t.table);
    int rowCalls = 0;
    t.row.OnDataChanged = [&](TRow&, TDataTableChangeMode, TCell*) { ++rowCalls; };
    t.row.Items(1).SetText(u"a\x1a" u"b c");  // the stored text itself
    t.row.Items(1).SetText(u"a,b c");         // converts to the stored text
    t.row.Items(1).SetText(u"a,b\tc");        // so does a tab
    EXPECT_TRUE(rec.events.empty());
    EXPECT_EQ(rowCalls, 0);
    t.row.Items(1).SetText(u"a,b,c");
    EXPECT_EQ(rec.events, (std::vector<TableEvent>{{cmCellEdit, &t.row, &t.row.Items(1), -1, -1}}));
    EXPECT_EQ(rowCalls, 1);
}

TEST(CellValue, EmptyCellReadsZeroAndKeepsItSilently) {
    OneRow t;
    t.table.SetDataChanged(false);
    TableRecorder rec;
    rec.Attach(t.table);
    EXPECT_EQ(t.row.Items(0).Value(), 0);
    EXPECT_EQ(t.row.Items(0).StoredText(), u"0");
    EXPECT_FALSE(t.row.Items(1).AsBool());
    EXPECT_EQ(t.row.Items(1).StoredText(), u"0");
    EXPECT_TRUE(rec.events.empty());
    EXPECT_FALSE(t.table.DataChanged());
}

TEST(CellValue, ReadsSigned32BitDecimals) {
    struct Case {
        UString text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {u"123", 123}, {u"-5", -5}, {u"+7", 7}, {u"007", 7}, {u"2147483647", 2147483647},
        {u"-2147483648", -2147483647 - 1}, {u"2147483648", std::nullopt}, {u"-2147483649", std::nullopt},
        {u"99999999999999999999", std::nullopt}, {u"abc", std::nullopt}, {u" 1", std::nullopt},
        {u"1 ", std::nullopt}, {u"1.5", std::nullopt}, {u"-", std::nullopt}, {u"+", std::nullopt},
        {u"0x10", std::nullopt}, {u"$10", std::nullopt}, {u"\uff11", std::nullopt},
    };
    for (const Case& c : cases) {
        TRow row;
        row.Init(c.text, u',');
        if (c.value) {
            EXPECT_EQ(row.Items(0).Value(), *c.value) << testing::PrintToString(c.text);
        } else {
            EXPECT_THROW(row.Items(0).Value(), EConvertError) << testing::PrintToString(c.text);
            EXPECT_EQ(row.Items(0).StoredText(), c.text);
        }
    }
}

TEST(CellValue, AsBoolReadsNumbersAndWords) {
    struct Case {
        UString text;
        std::optional<bool> value;
    };
    const Case cases[] = {
        {u"true", true}, {u"TRUE", true}, {u"tRuE", true}, {u"False", false}, {u"false", false},
        {u"2", true}, {u"-1", true}, {u"0", false}, {u"", false}, {u"yes", std::nullopt},
        {u"no", std::nullopt}, {u"t", std::nullopt}, {u" true", std::nullopt}, {u"truex", std::nullopt},
    };
    for (const Case& c : cases) {
        TRow row;
        row.Init(c.text, u',');
        if (c.value) {
            EXPECT_EQ(row.Items(0).AsBool(), *c.value) << testing::PrintToString(c.text);
        } else {
            EXPECT_THROW(row.Items(0).AsBool(), EConvertError) << testing::PrintToString(c.text);
        }
    }
}

TEST(CellValue, ConversionErrorsNameTheText) {
    TRow row;
    row.Init(u"yes", u',');
    try {
        row.Items(0).AsBool();
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'yes' is not a valid Boolean value");
    }
    try {
        row.Items(0).Value();
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'yes' is not a valid integer value");
    }
}

TEST(CellValue, WritingStoresDecimalTextAndNotifiesOnlyOnChange) {
    OneRow t;
    TableRecorder rec;
    rec.Attach(t.table);
    TCell& cell = t.row.Items(1);
    cell.SetValue(-42);
    EXPECT_EQ(cell.StoredText(), u"-42");
    cell.SetValue(-42);
    cell.SetAsBool(true);
    EXPECT_EQ(cell.StoredText(), u"-1");
    cell.SetAsBool(true);
    cell.SetAsBool(false);
    EXPECT_EQ(cell.StoredText(), u"0");
    cell.SetValue(0);
    cell.SetValue(-2147483647 - 1);
    EXPECT_EQ(cell.StoredText(), u"-2147483648");
    EXPECT_EQ(cell.Value(), -2147483647 - 1);
    const TableEvent edit{cmCellEdit, &t.row, &cell, -1, -1};
    EXPECT_EQ(rec.events, (std::vector<TableEvent>{edit, edit, edit, edit}));
}

} // namespace
