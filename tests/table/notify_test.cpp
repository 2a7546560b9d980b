// Change notifications: which operation sends what, update counting, failing handlers.
#include "package/QsDataTable.h"
#include "tests/table/table_test_util.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using Events = std::vector<TableEvent>;

struct Recorded : testing::Test {
    TDataTable table{u"", MakeColumnSet({1})};
    TableRecorder rec;
    void SetUp() override {
        table.Init(u"a,b|c");
        rec.Attach(table);
    }
};

TEST_F(Recorded, InitSendsOneTableInit) {
    table.Init(u"#p,q#x|y,z|w");
    EXPECT_EQ(rec.events, (Events{{cmTableInit, nullptr, nullptr, -1, -1}}));
    table.Init(u"");
    EXPECT_EQ(rec.events.size(), 2u);
}

TEST_F(Recorded, CellEditNamesRowAndCell) {
    TRow& row = table.Items(1);
    row.Items(0).SetText(u"new");
    EXPECT_EQ(rec.events, (Events{{cmCellEdit, &row, &row.Items(0), -1, -1}}));
}

TEST_F(Recorded, RowOperations) {
    TRow& row = table.Items(0);
    std::vector<std::pair<TDataTableChangeMode, const TCell*>> rowEvents;
    row.OnDataChanged = [&](TRow& sender, TDataTableChangeMode mode, TCell* cell) {
        EXPECT_EQ(&sender, &row);
        EXPECT_TRUE(rec.events.size() == rowEvents.size());  // the row hears first
        rowEvents.emplace_back(mode, cell);
    };
    TCell& added = row.AddItem(5);
    EXPECT_EQ(added.StoredText(), u"5");
    row.Init(u"1,2", u',');
    TRow source;
    source.Init(u"s,t,u", u',');
    row.CopyFrom(source);
    row.Clear();
    row.Clear();  // a row without cells is left alone
    const Events expected{
        {cmCellAdd, &row, &added, -1, -1},
        {cmRowInit, &row, nullptr, -1, -1},
        {cmRowInit, &row, nullptr, -1, -1},
        {cmRowClear, &row, nullptr, -1, -1},
    };
    EXPECT_EQ(rec.events, expected);
    ASSERT_EQ(rowEvents.size(), 4u);
    EXPECT_EQ(rowEvents[0], std::make_pair(cmCellAdd, static_cast<const TCell*>(&added)));
    EXPECT_EQ(rowEvents[3].first, cmRowClear);
    EXPECT_TRUE(row.DataChanged());
}

TEST_F(Recorded, AddItemSendsOneRowAdd) {
    TRow& taken = table.AddItem(std::make_unique<TRow>());
    TRow source;
    source.Init(u"x,y", u',');
    TRow& copy = table.AddItem(source);
    EXPECT_NE(&copy, &source);
    EXPECT_EQ(StoredCells(copy), (Cells{u"x", u"y"}));
    EXPECT_EQ(source.Parent(), nullptr);
    EXPECT_EQ(source.Id(), -1);
    EXPECT_EQ(rec.events, (Events{{cmRowAdd, &taken, nullptr, -1, -1}, {cmRowAdd, &copy, nullptr, -1, -1}}));
}

TEST_F(Recorded, AddItemInsideOpenUpdateWaitsForTheOutermostEnd) {
    table.BeginUpdate();
    table.BeginUpdate();
    table.AddItem(std::make_unique<TRow>());
    table.Items(0).Items(0).SetText(u"changed");
    table.EndUpdate(cmRowBatchAdd, nullptr, nullptr, 1, 2);
    EXPECT_TRUE(rec.events.empty());
    table.EndUpdate(cmLoad, &table.Items(2), nullptr, 7, 8);
    EXPECT_EQ(rec.events, (Events{{cmLoad, &table.Items(2), nullptr, 7, 8}}));
}

TEST_F(Recorded, UnmatchedEndUpdateChangesNothing) {
    table.EndUpdate(cmLoad, nullptr, nullptr, -1, -1);
    table.Items(0).EndUpdate(cmLoad, nullptr);
    EXPECT_TRUE(rec.events.empty());
    table.Items(0).Items(0).SetText(u"z");
    EXPECT_EQ(rec.events.size(), 1u);
}

TEST_F(Recorded, RowUpdateFoldsItsChanges) {
    TRow& row = table.Items(0);
    row.BeginUpdate();
    row.Items(0).SetText(u"1");
    row.Items(1).SetText(u"2");
    EXPECT_TRUE(rec.events.empty());
    row.EndUpdate(cmCellEdit, &row.Items(1));
    EXPECT_EQ(rec.events, (Events{{cmCellEdit, &row, &row.Items(1), -1, -1}}));
}

TEST_F(Recorded, PropertyRowChangesArriveAsPropChange) {
    TRow& props = table.PropertyRow();
    const TCell* name = &props.Items(0);
    const TCell* value = &props.Items(1);
    const TCell* fifth = &props.Items(4);
    table.SetName(u"files");
    table.SetValue(3);
    props.Items(4).SetText(u"x");
    props.Init(u"a", u',');
    const Events expected{
        {cmPropChange, &props, name, -1, -1},
        {cmPropChange, &props, value, -1, -1},
        {cmPropChange, &props, fifth, -1, -1},
        {cmPropChange, &props, nullptr, -1, -1},
    };
    EXPECT_EQ(rec.events, expected);
}

TEST_F(Recorded, ClearSendsTableClearOnlyWithRows) {
    table.Clear();
    table.Clear();
    EXPECT_EQ(rec.events, (Events{{cmTableClear, nullptr, nullptr, -1, -1}}));
}

TEST_F(Recorded, PreventEventSilencesOnlyTheTableHandler) {
    table.SetPreventEvent(true);
    table.SetDataChanged(false);
    int rowCalls = 0;
    table.Items(0).OnDataChanged = [&](TRow&, TDataTableChangeMode, TCell*) { ++rowCalls; };
    table.Items(0).Items(0).SetText(u"q");
    EXPECT_TRUE(rec.events.empty());
    EXPECT_EQ(rowCalls, 1);
    EXPECT_TRUE(table.DataChanged());
}

TEST_F(Recorded, DataChangedWrite) {
    table.Items(0).Items(0).SetText(u"q");
    table.PropertyRow().Items(0).SetText(u"p");
    EXPECT_TRUE(table.DataChanged());
    EXPECT_TRUE(table.Items(0).DataChanged());
    EXPECT_TRUE(table.PropertyRow().DataChanged());
    rec.events.clear();

    table.SetDataChanged(false);
    EXPECT_FALSE(table.DataChanged());
    EXPECT_FALSE(table.Items(0).DataChanged());
    EXPECT_FALSE(table.PropertyRow().DataChanged());
    EXPECT_TRUE(rec.events.empty());

    table.SetDataChanged(true);
    EXPECT_TRUE(table.DataChanged());
    EXPECT_EQ(rec.events, (Events{{cmDirect, nullptr, nullptr, -1, -1}}));
}

TEST(Notify, FreshTableHasNoChangesRecorded) {
    TDataTable table(u"", MakeColumnSet({1}));
    EXPECT_FALSE(table.DataChanged());
    EXPECT_FALSE(table.PropertyRow().DataChanged());
}

TEST(Notify, FileNameIsStoredWithoutNotification) {
    TDataTable table(u"", MakeColumnSet({1}));
    TableRecorder rec;
    rec.Attach(table);
    table.SetFileName(u"files.tbl");
    EXPECT_EQ(table.FileName(), u"files.tbl");
    EXPECT_TRUE(rec.events.empty());
    EXPECT_FALSE(table.DataChanged());
}

TEST(Notify, FailingHandlerStillEndsTheUpdate) {
    TDataTable table(u"", MakeColumnSet({1}));
    TableRecorder rec;
    rec.Attach(table);
    table.PropertyRow().OnDataChanged = [](TRow&, TDataTableChangeMode, TCell*) {
        throw std::runtime_error("handler failed");
    };
    EXPECT_THROW(table.Init(u"#a#b|c"), std::runtime_error);
    // The update was closed on the way out: the table announced its Init and hears again.
    EXPECT_EQ(rec.events, (Events{{cmTableInit, nullptr, nullptr, -1, -1}}));
    table.PropertyRow().OnDataChanged = nullptr;
    rec.events.clear();
    table.SetName(u"again");
    EXPECT_EQ(rec.events, (Events{{cmPropChange, &table.PropertyRow(), &table.PropertyRow().Items(0), -1, -1}}));
}

TEST(Notify, FailingTableHandlerAfterAddLeavesCountersClosed) {
    TDataTable table(u"", MakeColumnSet({1}));
    int calls = 0;
    table.OnDataChanged = [&](TDataTable&, TDataTableChangeMode, TRow*, TCell*, std::int32_t, std::int32_t) {
        if (++calls == 1) {
            throw std::runtime_error("first call fails");
        }
    };
    EXPECT_THROW(table.AddItem(std::make_unique<TRow>()), std::runtime_error);
    EXPECT_EQ(table.ItemCount(), 1);
    table.AddItem(std::make_unique<TRow>());
    EXPECT_EQ(calls, 2);
}

TEST(Notify, RowIndexChanges) {
    TDataTable table(u"", MakeColumnSet({1}));
    table.Init(u"a|b|c");
    std::vector<std::int32_t> calls;
    table.OnRowIndexChanged = [&](TDataTable& sender, std::int32_t index) {
        EXPECT_EQ(&sender, &table);
        calls.push_back(index);
    };
    EXPECT_EQ(table.RowIndex(), -1);
    table.SetRowIndex(1);
    EXPECT_EQ(table.RowIndex(), 1);
    EXPECT_TRUE(table.Items(1).IsIndex());
    table.SetRowIndex(1);  // unchanged: nothing
    table.SetRowIndex(2);
    EXPECT_FALSE(table.Items(1).IsIndex());
    EXPECT_TRUE(table.Items(2).IsIndex());
    table.SetRowIndex(7);
    EXPECT_EQ(table.RowIndex(), -1);
    for (int i = 0; i < table.ItemCount(); ++i) {
        EXPECT_FALSE(table.Items(i).IsIndex());
    }
    table.SetRowIndex(0);
    table.Init(u"x");  // clearing resets the current row
    EXPECT_EQ(table.RowIndex(), -1);
    EXPECT_EQ(calls, (std::vector<std::int32_t>{1, 2, -1, 0, -1}));
}

TEST(Notify, ColIndexFollowsTheFirstRow) {
    TDataTable table(u"", MakeColumnSet({1}));
    table.SetColIndex(0);
    EXPECT_EQ(table.ColIndex(), -1);
    table.Init(u"a,b,c,d,e|1,2,3,4,5,6,7");
    const std::pair<int, int> cases[] = {{5, -1}, {4, 4}, {0, 0}, {-3, -1}, {6, -1}, {2, 2}};
    for (const auto& [written, read] : cases) {
        table.SetColIndex(written);
        EXPECT_EQ(table.ColIndex(), read) << written;
    }
}

} // namespace
