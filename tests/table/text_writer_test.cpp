// Writing tables back as table text: exact forms, refusals, and random round trips.
#include "package/QsDataTable.h"
#include "core/exceptions.h"
#include "tests/table/table_test_util.h"

#include <gtest/gtest.h>

#include <random>

using namespace std::string_literals;

namespace {

TEST(ToText, WritesWhatInitRead) {
    struct Case {
        UString text;
        UString written;
    };
    const Case cases[] = {
        {u"a,b|c", u"a,b|c"},
        {u"#Files,3#a,b", u"#Files,3#a,b"},
        {u"#x#", u"#x#"},
        {u"##", u"##"},
        {u"", u""},
        {u"a|", u"a|"},
        {u"|", u"|"},
        {u"a,b\0c"s, u"a,b"},
        {u"\0"s, u"#,,,,,,,,,#"},              // no rows needs a header
        {u"#a,b", u"#,,,,,,,,,##a,b"},         // a row starting with "#" needs one too
        {u"x\x1a,\x1a\x1b"s, u"x\x1a,\x1a\x1b"s},
        {u"#a|b,c|#x|y", u"#a|b,c|#x|y"},  // "|" is an ordinary character in the header
    };
    for (const Case& c : cases) {
        TDataTable table(u"", MakeColumnSet({1}));
        table.Init(c.text);
        EXPECT_EQ(table.ToText(), c.written) << testing::PrintToString(c.text);
        TDataTable back(u"", MakeColumnSet({1}));
        back.Init(table.ToText());
        EXPECT_EQ(StoredRows(back), StoredRows(table));
        EXPECT_EQ(StoredCells(back.PropertyRow()), StoredCells(table.PropertyRow()));
    }
}

TEST(ToText, RefusesWhatTheTextCannotHold) {
    const auto refuses = [](const char* what, auto&& build) {
        TDataTable table(u"", MakeColumnSet({1}));
        build(table);
        EXPECT_THROW(table.ToText(), EConvertError) << what;
    };
    refuses("comma in an unconverted column", [](TDataTable& t) { t.AddTextRow({u"a,b", u"c"}); });
    refuses("bar in an unconverted column", [](TDataTable& t) { t.AddTextRow({u"a", u"c", u"|"}); });
    refuses("NUL in an unconverted column", [](TDataTable& t) { t.AddTextRow({u"a\0"s}); });
    refuses("hash in a property cell", [](TDataTable& t) { t.SetName(u"a#b"); });
    refuses("comma in a property cell", [](TDataTable& t) { t.PropertyRow().Items(3).SetText(u","); });
    refuses("NUL in a property cell", [](TDataTable& t) { t.PropertyRow().Items(2).SetText(u"\0"s); });
    refuses("row without cells", [](TDataTable& t) {
        auto row = std::make_unique<TRow>();
        row->Init(u"\0"s, u',');
        t.AddItem(std::move(row));
    });
    refuses("header then one empty row", [](TDataTable& t) {
        t.Init(u"#p#");
        t.Init(u"");
    });
}

TEST(AddTextRow, ConvertsAndAnnouncesOnce) {
    TDataTable table(u"", MakeColumnSet({1}));
    TableRecorder rec;
    rec.Attach(table);
    TRow& row = table.AddTextRow({u"sub\\", u"a,b|c.txt", u"10", u"20"});
    EXPECT_EQ(StoredCells(row), (Cells{u"sub\\", u"a\x1a" u"b\x1b" u"c.txt", u"10", u"20"}));
    EXPECT_EQ(row.Id(), 1);
    EXPECT_EQ(rec.events, (std::vector<TableEvent>{{cmRowAdd, &row, nullptr, -1, -1}}));
    EXPECT_EQ(StoredCells(table.AddTextRow({})), Cells{u""});

    TDataTable back(u"", MakeColumnSet({1}));
    back.Init(table.ToText());
    EXPECT_EQ(back.Items(0).Items(1).Text(), u"a,b|c.txt");
    EXPECT_EQ(back.Items(0).Items(3).Value(), 20);
}

// Random tables built through the writing side read back into the same cells.
TEST(RoundTrip, RandomTables) {
    std::mt19937 rng(20240611);
    const UString plain = u"ab #$\\.:-09 \x1a\x1b\u4e2d\U0001F600";
    const UString anyText = plain + u",|\t\n\x01";
    const auto pick = [&](const UString& alphabet, int maxLength) {
        UString text;
        const int length = std::uniform_int_distribution<int>(0, maxLength)(rng);
        for (int i = 0; i < length; ++i) {
            text.push_back(alphabet[std::uniform_int_distribution<size_t>(0, alphabet.size() - 1)(rng)]);
        }
        return text;
    };
    int written = 0;
    int refused = 0;
    for (int round = 0; round < 2000; ++round) {
        TDataTable table(u"", MakeColumnSet({1}));
        if (rng() % 2 == 0) {
            std::vector<UString> props;
            const int count = std::uniform_int_distribution<int>(1, 4)(rng);
            for (int i = 0; i < count; ++i) {
                UString text = pick(plain, 4);
                std::erase(text, u'#');
                props.push_back(text);
            }
            table.PropertyRow().Init(u"", u',');
            for (int i = 1; i < count; ++i) {
                table.PropertyRow().AddItem(0);
            }
            for (int i = 0; i < count; ++i) {
                table.PropertyRow().Items(i).SetText(props[static_cast<size_t>(i)]);
            }
        }
        const int rows = std::uniform_int_distribution<int>(0, 5)(rng);
        for (int r = 0; r < rows; ++r) {
            std::vector<UString> texts;
            const int cells = std::uniform_int_distribution<int>(1, 5)(rng);
            for (int c = 0; c < cells; ++c) {
                texts.push_back(pick(c == 1 ? anyText : plain, 5));  // column 1 converts
            }
            table.AddTextRow(texts);
        }
        UString text;
        try {
            text = table.ToText();
        } catch (const EConvertError&) {
            // Only a header followed by a single empty row has no text form.
            EXPECT_EQ(StoredRows(table), Rows{{u""}});
            ++refused;
            continue;
        }
        ++written;
        TDataTable back(u"", MakeColumnSet({1}));
        back.Init(text);
        ASSERT_EQ(StoredRows(back), StoredRows(table)) << testing::PrintToString(text);
        ASSERT_EQ(StoredCells(back.PropertyRow()), StoredCells(table.PropertyRow()));
        for (int r = 0; r < back.ItemCount(); ++r) {
            for (int c = 0; c < back.Items(r).ItemCount(); ++c) {
                ASSERT_EQ(back.Items(r).Items(c).Text(), table.Items(r).Items(c).Text());
            }
        }
    }
    EXPECT_GT(written, 1500);
    std::printf("round trips: %d written, %d refused\n", written, refused);
}

} // namespace
