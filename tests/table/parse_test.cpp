// Reading table texts: header, rows, cells, NUL, ids.
#include "package/QsDataTable.h"
#include "tests/table/table_test_util.h"

#include <gtest/gtest.h>

#include <optional>

using namespace std::string_literals;

namespace {

struct ParseCase {
    const char* name;
    UString text;
    Rows rows;
    std::optional<Cells> props;  // nullopt: the property row stays fresh
};

class ParseTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseTest, GivesRowsAndPropertyRow) {
    const ParseCase& c = GetParam();
    TDataTable table(u"", MakeColumnSet({1}));
    table.Init(c.text);
    EXPECT_EQ(StoredRows(table), c.rows);
    EXPECT_EQ(StoredCells(table.PropertyRow()), c.props.value_or(FreshProps()));
}

const ParseCase kParseCases[] = {
    {"Empty", u"", {{u""}}, std::nullopt},
    {"TwoRows", u"a,b|c", {{u"a", u"b"}, {u"c"}}, std::nullopt},
    {"EmptySecondCell", u"a,|b", {{u"a", u""}, {u"b"}}, std::nullopt},
    {"TrailingBar", u"a|b|", {{u"a"}, {u"b"}, {u""}}, std::nullopt},
    {"TrailingComma", u"a,b,", {{u"a", u"b", u""}}, std::nullopt},
    {"OneRowThenEmpty", u"a|", {{u"a"}, {u""}}, std::nullopt},
    {"OnlyBar", u"|", {{u""}, {u""}}, std::nullopt},
    {"SpacesKept", u" a , b |  ", {{u" a ", u" b "}, {u"  "}}, std::nullopt},
    {"HeaderAndRow", u"#Files,3#a,b", {{u"a", u"b"}}, Cells{u"Files", u"3"}},
    {"HeaderNoRows", u"#Files#", {}, Cells{u"Files"}},
    {"PropsOnly", u"#props#", {}, Cells{u"props"}},
    {"EmptyHeader", u"##", {}, Cells{u""}},
    {"EmptyHeaderThenBar", u"##|", {{u""}, {u""}}, Cells{u""}},
    {"HeaderOfEmptyCells", u"#,#x", {{u"x"}}, Cells{u"", u""}},
    {"BarInsideHeader", u"#a|b,c#x|y", {{u"x"}, {u"y"}}, Cells{u"a|b", u"c"}},
    {"SecondHashBelongsToRows", u"#a#b#c", {{u"b#c"}}, Cells{u"a"}},
    {"LoneHash", u"#", {{u"#"}}, std::nullopt},
    {"HashWithoutPartner", u"#a,b", {{u"#a", u"b"}}, std::nullopt},
    {"HashNotFirst", u"a#b#", {{u"a#b#"}}, std::nullopt},
    {"NulInsideCell", u"a,b\0c|d"s, {{u"a", u"b"}}, std::nullopt},
    {"NulAfterBar", u"a|\0b"s, {{u"a"}, {u""}}, std::nullopt},
    {"NulFirst", u"\0abc"s, {}, std::nullopt},
    {"NulAfterHeader", u"#p#\0x"s, {}, Cells{u"p"}},
    {"NulHidesHeaderEnd", u"#a\0#b"s, {{u"#a"}}, std::nullopt},
    {"StoredCodesKept", u"\x1a,\x1b|\x1a"s, {{u"\x1a", u"\x1b"}, {u"\x1a"}}, std::nullopt},
    {"Wide", u"\u4e2d\u6587,\U0001F600", {{u"\u4e2d\u6587", u"\U0001F600"}}, std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Texts, ParseTest, testing::ValuesIn(kParseCases),
                         [](const testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(ParseTable, EmptyTextLeavesThePropertyRowAsItWas) {
    TDataTable table(u"", MakeColumnSet({1}));
    table.Init(u"#x,y#a");
    table.Init(u"");
    EXPECT_EQ(StoredCells(table.PropertyRow()), (Cells{u"x", u"y"}));
    ASSERT_EQ(table.ItemCount(), 1);
    EXPECT_EQ(table.Items(0).ItemCount(), 1);
}

TEST(ParseTable, TextWithoutHeaderLeavesThePropertyRowAsItWas) {
    TDataTable table(u"", MakeColumnSet({1}));
    table.Init(u"#x#");
    table.Init(u"#a|b");
    EXPECT_EQ(StoredCells(table.PropertyRow()), Cells{u"x"});
    EXPECT_EQ(StoredRows(table), (Rows{{u"#a"}, {u"b"}}));
}

TEST(ParseTable, RowsBelongToTheTable) {
    TDataTable table(u"", MakeColumnSet({1}));
    table.Init(u"a|b");
    for (int i = 0; i < table.ItemCount(); ++i) {
        EXPECT_EQ(table.Items(i).Parent(), &table);
        EXPECT_EQ(table.Items(i).GetIndex(), i);
        EXPECT_EQ(table.Items(i).Items(0).GetIndex(), 0);
        EXPECT_FALSE(table.Items(i).IsProp());
    }
    EXPECT_EQ(table.PropertyRow().GetIndex(), -1);
    EXPECT_TRUE(table.PropertyRow().IsProp());
    EXPECT_EQ(table.PropertyRow().Parent(), &table);
}

TEST(ParseTable, IdsStartAtOneAfterEveryInit) {
    TDataTable table(u"", MakeColumnSet({1}));
    table.Init(u"a|b|c");
    EXPECT_EQ(table.Items(0).Id(), 1);
    EXPECT_EQ(table.Items(1).Id(), 2);
    EXPECT_EQ(table.Items(2).Id(), 3);
    EXPECT_EQ(table.PropertyRow().Id(), 0);

    table.Init(u"d|e");
    EXPECT_EQ(table.Items(0).Id(), 1);
    EXPECT_EQ(table.Items(1).Id(), 2);
    EXPECT_EQ(table.IndexOfId(2), 1);
    EXPECT_EQ(table.IndexOfId(3), -1);
    EXPECT_EQ(table.IndexOfId(0), -1);

    EXPECT_EQ(table.AddItem(std::make_unique<TRow>()).Id(), 3);
}

TEST(ParseTable, ConvertedColumnReadsCommaAndBarOthersAsStored) {
    TDataTable table(u"", MakeColumnSet({1}));
    table.Init(u"\x1a,\x1a,\x1a|x,a\x1b\x1a" u"b"s);
    const TRow& row = table.Items(0);
    EXPECT_EQ(row.Items(0).Text(), u"\x1a");
    EXPECT_EQ(row.Items(1).Text(), u",");
    EXPECT_EQ(row.Items(2).Text(), u"\x1a");
    EXPECT_EQ(table.Items(1).Items(1).Text(), u"a|,b");
    EXPECT_EQ(table.Items(1).Items(1).StoredText(), u"a\x1b\x1a" u"b");
}

TEST(ParseRow, CutsAtTheSplitCharacter) {
    struct RowCase {
        UString text;
        char16_t split;
        Cells cells;
    };
    const RowCase cases[] = {
        {u"", u',', {u""}},
        {u"a;b;", u';', {u"a", u"b", u""}},
        {u"a,b", u';', {u"a,b"}},
        {u"\0a"s, u',', {}},
        {u"a\0,b"s, u',', {u"a"}},
        {u",", u',', {u"", u""}},
    };
    for (const RowCase& c : cases) {
        TRow row;
        row.Init(c.text, c.split);
        EXPECT_EQ(StoredCells(row), c.cells) << testing::PrintToString(c.text);
        for (int i = 0; i < row.ItemCount(); ++i) {
            EXPECT_EQ(row.Items(i).Parent(), &row);
        }
    }
}

TEST(ParseRow, InitDoesNotConvert) {
    TDataTable table(u"", MakeColumnSet({0, 1}));
    TRow& row = table.AddItem(std::make_unique<TRow>());
    row.Init(u"a\tb,c|d", u',');
    EXPECT_EQ(StoredCells(row), (Cells{u"a\tb", u"c|d"}));
}

TEST(ParseTable, TextTakenFromItsOwnCells) {
    TDataTable table(u"", MakeColumnSet({1}));
    table.Init(u"#p,q#x|y,z");
    table.Init(table.Items(1).Items(1).StoredText());
    EXPECT_EQ(StoredRows(table), Rows{{u"z"}});
    table.Init(u"#a,b#c");
    table.Init(u"#" + table.PropertyRow().Items(1).StoredText() + u"#");
    EXPECT_EQ(StoredCells(table.PropertyRow()), Cells{u"b"});
    TRow& row = table.AddItem(std::make_unique<TRow>());
    row.Init(u"a;b,c", u',');
    row.Init(row.Items(0).StoredText(), u';');
    EXPECT_EQ(StoredCells(row), (Cells{u"a", u"b"}));
}

TEST(ListIndex, OutOfRangeRaisesListErrors) {
    TDataTable table(u"", MakeColumnSet({1}));
    table.Init(u"a,b|c");
    EXPECT_THROW(table.Items(-1), EListError);
    EXPECT_THROW(table.Items(2), EListError);
    EXPECT_THROW(table.Items(0).Items(2), EListError);
    EXPECT_THROW(table.Items(1).Items(-1), EListError);
    const TDataTable& constTable = table;
    EXPECT_THROW(constTable.Items(5), EListError);
    EXPECT_THROW(constTable.Items(0).Items(9), EListError);
    EXPECT_EQ(StoredRows(table), (Rows{{u"a", u"b"}, {u"c"}}));

    TDataTable empty(u"", MakeColumnSet({1}));
    empty.Init(u"#x#");
    EXPECT_THROW(empty.Items(0), EListError);
    try {
        table.Items(7);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (7)");
    }
}

TEST(ListIndex, FailedDecryptionTextHasNoColumnThree) {
    // An empty text is one row of one cell: asking for column 3 is a list-index error.
    TDataTable table(u"", MakeColumnSet({1}));
    table.Init(u"");
    EXPECT_THROW(table.Items(0).Items(3).Value(), EListError);
}

} // namespace
