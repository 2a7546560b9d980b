// Table lists.
#include "package/QsDataTable.h"
#include "core/exceptions.h"
#include "tests/table/table_test_util.h"

#include <gtest/gtest.h>

namespace {

struct ListEvent {
    TDataTableChangeMode mode;
    std::int32_t count;
    const TDataTable* table;
    std::int32_t index;
    bool operator==(const ListEvent&) const = default;
};

std::ostream& operator<<(std::ostream& os, const ListEvent& e) {
    return os << "{mode " << int(e.mode) << ", " << e.count << ", " << e.table << ", " << e.index << "}";
}

using ListEvents = std::vector<ListEvent>;

std::unique_ptr<TDataTable> MakeTable(UStringView text) {
    auto table = std::make_unique<TDataTable>(u"", MakeColumnSet({1}));
    table->Init(text);
    return table;
}

struct List : testing::Test {
    TDataTables list;
    ListEvents events;
    void Listen(TDataTables& which) {
        which.OnDataChanged = [this, &which](TDataTables& sender, TDataTableChangeMode mode, std::int32_t count,
                                             TDataTable* table, std::int32_t index) {
            EXPECT_EQ(&sender, &which);
            events.push_back({mode, count, table, index});
        };
    }
};

TEST_F(List, DefaultListHasATenCellPropertyRow) {
    EXPECT_EQ(list.ItemCount(), 0);
    EXPECT_EQ(StoredCells(list.PropertyRow()), FreshProps());
    EXPECT_TRUE(list.PropertyRow().IsProp());
    EXPECT_FALSE(list.DataChanged());
    EXPECT_FALSE(list.IsEncrypt());
    EXPECT_THROW(list.Items(0), EListError);
}

TEST_F(List, AddItemTakesOrCopies) {
    Listen(list);
    TDataTable& taken = list.AddItem(MakeTable(u"#p#a,b|c"));
    EXPECT_EQ(taken.Parent(), &list);
    const auto source = MakeTable(u"#q#x,y");
    TDataTable& copy = list.AddItem(*source);
    EXPECT_EQ(copy.Parent(), &list);
    EXPECT_EQ(source->Parent(), nullptr);
    EXPECT_EQ(StoredRows(copy), (Rows{{u"x", u"y"}}));
    EXPECT_EQ(StoredCells(copy.PropertyRow()), FreshProps());  // properties are not copied
    EXPECT_EQ(events, (ListEvents{{cmTableAdd, 1, &taken, 0}, {cmTableAdd, 1, &copy, 1}}));
    EXPECT_EQ(list.IndexOf(&copy), 1);
    EXPECT_EQ(list.IndexOf(source.get()), -1);
    EXPECT_THROW(list.Items(2), EListError);
    EXPECT_THROW(list.AddItem(std::unique_ptr<TDataTable>()), Exception);
}

TEST_F(List, CopiedTableReadsItsTextsLikeTheSource) {
    auto source = MakeTable(u"d\\,a\x1a" u"b");
    TDataTable& copy = list.AddItem(*source);
    EXPECT_EQ(copy.Items(0).Items(1).Text(), u"a,b");
    EXPECT_EQ(copy.ConvertSet(), source->ConvertSet());
}

TEST_F(List, TableChangesReachTheListWithTheTableIndex) {
    list.AddItem(MakeTable(u"a"));
    TDataTable& second = list.AddItem(MakeTable(u"b,c"));
    Listen(list);
    second.Items(0).Items(1).SetText(u"z");
    second.SetName(u"n");
    second.Init(u"q");
    EXPECT_EQ(events, (ListEvents{{cmCellEdit, 1, &second, 1}, {cmPropChange, 1, &second, 1},
                                  {cmTableInit, 1, &second, 1}}));
}

TEST_F(List, ClearSendsOnlyWithTables) {
    list.AddItem(MakeTable(u"a"));
    Listen(list);
    list.Clear();
    list.Clear();
    EXPECT_EQ(list.ItemCount(), 0);
    EXPECT_EQ(events, (ListEvents{{cmTablesClear, -1, nullptr, -1}}));
}

TEST_F(List, CopyFromAndAssign) {
    TDataTables source;
    source.AddItem(MakeTable(u"a"));
    source.AddItem(MakeTable(u"b|c"));
    source.AddItem(MakeTable(u"d"));
    source.PropertyRow().Init(u"list,props", u',');
    source.SetTag(12);
    list.AddItem(MakeTable(u"old"));
    Listen(list);

    list.CopyFrom(source, 2);
    ASSERT_EQ(list.ItemCount(), 2);
    EXPECT_EQ(StoredRows(list.Items(1)), (Rows{{u"b"}, {u"c"}}));
    EXPECT_EQ(StoredCells(list.PropertyRow()), FreshProps());
    EXPECT_EQ(list.Tag(), 0);

    list.Assign(source);
    ASSERT_EQ(list.ItemCount(), 3);
    EXPECT_EQ(StoredRows(list.Items(2)), Rows{{u"d"}});
    EXPECT_EQ(StoredCells(list.PropertyRow()), (Cells{u"list", u"props"}));
    EXPECT_EQ(list.Tag(), 12);
    for (int i = 0; i < list.ItemCount(); ++i) {
        EXPECT_EQ(list.Items(i).Parent(), &list);
        EXPECT_NE(&list.Items(i), &source.Items(i));
    }
    EXPECT_EQ(events, (ListEvents{{cmTablesInit, -1, nullptr, -1}, {cmTablesInit, -1, nullptr, -1}}));

    list.CopyFrom(list, 0);  // onto itself: keeps its tables
    EXPECT_EQ(list.ItemCount(), 3);
    EXPECT_EQ(StoredRows(list.Items(1)), (Rows{{u"b"}, {u"c"}}));
}

TEST_F(List, DataChangedWrite) {
    TDataTable& table = list.AddItem(MakeTable(u"a"));
    table.Items(0).Items(0).SetText(u"b");
    EXPECT_TRUE(list.DataChanged());
    EXPECT_TRUE(table.DataChanged());
    Listen(list);
    list.SetDataChanged(false);
    EXPECT_FALSE(list.DataChanged());
    EXPECT_FALSE(table.DataChanged());
    EXPECT_FALSE(table.Items(0).DataChanged());
    EXPECT_TRUE(events.empty());
    list.SetDataChanged(true);
    EXPECT_EQ(events, (ListEvents{{cmDirect, -1, nullptr, -1}}));
    list.SetFileName(u"all.tbl");
    EXPECT_EQ(list.FileName(), u"all.tbl");
    EXPECT_EQ(events.size(), 1u);
}

TEST_F(List, UpdateFoldsAdds) {
    Listen(list);
    list.BeginUpdate();
    list.AddItem(MakeTable(u"a"));
    list.AddItem(MakeTable(u"b"));
    EXPECT_TRUE(events.empty());
    list.EndUpdate(cmTableAdd, 2, nullptr, -1);
    EXPECT_EQ(events, (ListEvents{{cmTableAdd, 2, nullptr, -1}}));
}

} // namespace
