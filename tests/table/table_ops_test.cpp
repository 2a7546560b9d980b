// Table defaults, properties, copying rows and tables.
#include "package/QsDataTable.h"
#include "core/exceptions.h"
#include "tests/table/table_test_util.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

namespace {

TEST(TableDefaults, FreshTable) {
    const TDataTable table(u"key", MakeColumnSet({1, 3}));
    EXPECT_EQ(table.ItemCount(), 0);
    EXPECT_EQ(table.PropCount(), 10);
    EXPECT_EQ(StoredCells(table.PropertyRow()), FreshProps());
    EXPECT_EQ(table.PropertyRow().Id(), 0);
    EXPECT_EQ(table.RowIndex(), -1);
    EXPECT_EQ(table.ColIndex(), -1);
    EXPECT_EQ(table.IOMode(), 2);
    EXPECT_EQ(table.Key(), u"key");
    EXPECT_EQ(table.KeyCustom(), u"");
    EXPECT_EQ(table.ConvertSet(), MakeColumnSet({1, 3}));
    EXPECT_TRUE(table.ReserveLFSet().none());
    EXPECT_EQ(table.Tag(), 0);
    EXPECT_EQ(table.Parent(), nullptr);
    EXPECT_EQ(table.Data(), nullptr);
    EXPECT_FALSE(table.InBatch());
    EXPECT_FALSE(table.PreventEvent());
}

TEST(TableDefaults, FreshRow) {
    const TRow row;
    EXPECT_EQ(row.ItemCount(), 0);
    EXPECT_EQ(row.Id(), -1);
    EXPECT_EQ(row.Tag(), 0);
    EXPECT_EQ(row.Parent(), nullptr);
    EXPECT_EQ(row.GetIndex(), -1);
    EXPECT_EQ(row.Data(), nullptr);
    EXPECT_EQ(row.Data2(), nullptr);
    EXPECT_EQ(row.IData(), nullptr);
    EXPECT_FALSE(row.IsProp());
    EXPECT_FALSE(row.IsIndex());
    EXPECT_FALSE(row.DataChanged());
}

TEST(TableDefaults, RowCreatedForATableIsNotInItsList) {
    TDataTable table(u"", MakeColumnSet({1}));
    TRow row(&table);
    EXPECT_EQ(row.Parent(), &table);
    EXPECT_EQ(row.GetIndex(), -1);
    EXPECT_EQ(table.ItemCount(), 0);
}

TEST(TableDefaults, RowReleasesItsInterfaceReference) {
    auto held = std::make_shared<int>(5);
    {
        TRow row;
        row.SetIData(held);
        EXPECT_EQ(held.use_count(), 2);
    }
    EXPECT_EQ(held.use_count(), 1);
}

TEST(TableProperties, NameValuePropCount) {
    TDataTable table(u"", MakeColumnSet({0}));
    table.Init(u"#Files,3,x#a");
    EXPECT_EQ(table.Name(), u"Files");
    EXPECT_EQ(table.Value(), 3);
    EXPECT_EQ(table.PropCount(), 3);
    table.SetName(u"a,b");  // cell 0 is a converted column here
    EXPECT_EQ(table.PropertyRow().Items(0).StoredText(), u"a\x1a" u"b");
    EXPECT_EQ(table.Name(), u"a,b");
    table.SetValue(-9);
    EXPECT_EQ(table.PropertyRow().Items(1).StoredText(), u"-9");

    table.Init(u"#only#");
    EXPECT_EQ(table.PropCount(), 1);
    EXPECT_THROW(table.Value(), EListError);
    table.Init(u"#x,no#");
    EXPECT_THROW(table.Value(), EConvertError);
}

TEST(TableAddItem, EmptyPointerIsRefused) {
    TDataTable table(u"", MakeColumnSet({1}));
    EXPECT_THROW(table.AddItem(std::unique_ptr<TRow>()), Exception);
    EXPECT_EQ(table.ItemCount(), 0);
}

TEST(TableAddItem, TakenRowJoinsTheTable) {
    TDataTable table(u"", MakeColumnSet({1}));
    auto row = std::make_unique<TRow>();
    row->Init(u"a,b", u',');
    const TRow* raw = row.get();
    TRow& added = table.AddItem(std::move(row));
    EXPECT_EQ(&added, raw);
    EXPECT_EQ(added.Parent(), &table);
    EXPECT_EQ(added.Id(), 1);
    EXPECT_EQ(added.GetIndex(), 0);
    EXPECT_EQ(table.AddItem(added).Id(), 2);  // a copy of a row of the same table
    EXPECT_EQ(StoredRows(table), (Rows{{u"a", u"b"}, {u"a", u"b"}}));
}

TEST(RowCopy, CopiesStoredTextsOnly) {
    TDataTable table(u"", MakeColumnSet({1}));
    table.Init(u"x,a\x1a" u"b,c"s);
    TRow& source = table.Items(0);
    source.SetTag(5);
    int data = 0;
    source.SetData(&data);

    TRow plain;  // no table: nothing would decode, and nothing is re-encoded either
    plain.CopyFrom(source);
    EXPECT_EQ(StoredCells(plain), (Cells{u"x", u"a\x1a" u"b", u"c"}));
    EXPECT_EQ(plain.Tag(), 0);
    EXPECT_EQ(plain.Data(), nullptr);
    EXPECT_EQ(plain.Id(), -1);

    TRow empty;
    plain.CopyFrom(empty);
    EXPECT_EQ(StoredCells(plain), Cells{u""});

    source.CopyFrom(source);
    EXPECT_EQ(StoredCells(source), (Cells{u"x", u"a\x1a" u"b", u"c"}));
}

struct CopySource : testing::Test {
    TDataTable source{u"", MakeColumnSet({1})};
    TDataTable target{u"", MakeColumnSet({1})};
    void SetUp() override {
        source.Init(u"#src,1#a,b|c|d,e,f");
        target.Init(u"#dst#old");
    }
};

TEST_F(CopySource, MaxCountTwoCopiesTheFirstTwoRows) {
    target.CopyFrom(source, false, 2);
    EXPECT_EQ(StoredRows(target), (Rows{{u"a", u"b"}, {u"c"}}));
    EXPECT_EQ(StoredCells(target.PropertyRow()), Cells{u"dst"});
}

TEST_F(CopySource, MaxCountZeroCopiesAllAndPropertiesOnRequest) {
    TableRecorder rec;
    rec.Attach(target);
    target.CopyFrom(source, true, 0);
    EXPECT_EQ(StoredRows(target), StoredRows(source));
    EXPECT_EQ(StoredCells(target.PropertyRow()), (Cells{u"src", u"1"}));
    EXPECT_EQ(rec.events, (std::vector<TableEvent>{{cmTableInit, nullptr, nullptr, -1, -1}}));
    for (int i = 0; i < target.ItemCount(); ++i) {
        EXPECT_EQ(target.Items(i).Id(), i + 1);
        EXPECT_EQ(target.Items(i).Parent(), &target);
        EXPECT_NE(&target.Items(i), &source.Items(i));
    }
}

TEST_F(CopySource, NegativeMaxCountCopiesAll) {
    target.CopyFrom(source, false, -1);
    EXPECT_EQ(target.ItemCount(), 3);
}

TEST_F(CopySource, CopyOntoItselfKeepsTheRows) {
    TableRecorder rec;
    rec.Attach(source);
    source.CopyFrom(source, false, 2);
    EXPECT_EQ(StoredRows(source), (Rows{{u"a", u"b"}, {u"c"}}));
    EXPECT_EQ(StoredCells(source.PropertyRow()), (Cells{u"src", u"1"}));
    EXPECT_EQ(rec.events, (std::vector<TableEvent>{{cmTableInit, nullptr, nullptr, -1, -1}}));
}

} // namespace
