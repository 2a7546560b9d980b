#include "ui/Application.h"
#include "ui/Controls.h"

#include <gtest/gtest.h>

namespace {

class Layout : public ::testing::Test {
protected:
    void SetUp() override {
        Application.Initialize();
        form.Create({.windowClass = u"TUiLayoutForm", .caption = u"Layout", .width = 503, .height = 398});
    }
    TForm form;
};

TEST_F(Layout, TopAlignedPanelsStackAndHiddenOnesTakeNoRoom) {
    TPanel first;
    TPanel second;
    TPanel third;
    first.Create(form, {.bounds = {0, 0, 100, 50}, .align = TAlign::Top});
    second.Create(form, {.bounds = {0, 0, 100, 30}, .align = TAlign::Top, .visible = false});
    third.Create(form, {.bounds = {0, 200, 100, 40}, .align = TAlign::Top});
    EXPECT_EQ(first.Top(), 0);
    EXPECT_EQ(first.Width(), form.ClientWidth());
    EXPECT_EQ(third.Top(), 50);
    EXPECT_EQ(third.Height(), 40);

    first.SetVisible(false);
    EXPECT_EQ(third.Top(), 0);
    second.SetVisible(true);
    third.SetVisible(false);
    EXPECT_EQ(second.Top(), 0);
    EXPECT_EQ(second.Width(), form.ClientWidth());
}

TEST_F(Layout, LeftAndRightAlignedControlsTakeTheBandsHeight) {
    TPanel header;
    header.Create(form, {.bounds = {0, 0, 504, 56}, .align = TAlign::Top, .color = clCream});
    TImage right;
    right.Create(header, {.bounds = {437, 0, 67, 56}, .align = TAlign::Right, .center = true, .transparent = true});
    TImage left;
    left.Create(header, {.bounds = {0, 0, 40, 10}, .align = TAlign::Left});
    EXPECT_EQ(right.Left(), header.Width() - 67);
    EXPECT_EQ(right.Width(), 67);
    EXPECT_EQ(right.Height(), 56);
    EXPECT_EQ(left.Left(), 0);
    EXPECT_EQ(left.Height(), 56);
    EXPECT_EQ(header.Color(), clCream);
}

TEST_F(Layout, BevelUnderATopAlignedHeader) {
    TPanel page;
    page.Create(form, {.bounds = {0, 0, 100, 308}, .align = TAlign::Top});
    TBevel line;
    line.Create(page, {.bounds = {0, 56, 504, 2}, .align = TAlign::Top});
    TPanel header;
    header.Create(page, {.bounds = {0, 0, 504, 56}, .align = TAlign::Top});
    EXPECT_EQ(header.Top(), 0);
    EXPECT_EQ(line.Top(), 56);
    EXPECT_EQ(line.Height(), 2);
    EXPECT_EQ(line.Width(), page.Width());
}

TEST_F(Layout, MovingAControlToAnotherParentRealignsBoth) {
    TPanel one;
    TPanel two;
    one.Create(form, {.bounds = {0, 0, 300, 308}, .align = TAlign::Top});
    two.Create(form, {.bounds = {0, 0, 300, 308}, .align = TAlign::Top, .visible = false});
    TImage picture;
    picture.Create(one, {.bounds = {0, 0, 160, 308}, .align = TAlign::Left});
    TLabel text;
    text.Create(two, {.bounds = {183, 20, 305, 53}, .caption = u"done", .autoSize = false});
    picture.SetParent(two);
    EXPECT_EQ(picture.Parent(), &two);
    EXPECT_EQ(GetParent(picture.Handle()), two.Handle());
    EXPECT_EQ(one.Controls().size(), 0u);
    ASSERT_EQ(two.Controls().size(), 2u);
    EXPECT_EQ(picture.Left(), 0);
    EXPECT_EQ(picture.Top(), 0);
    EXPECT_EQ(picture.Height(), 308);
    EXPECT_EQ(text.Left(), 183);
}

TEST_F(Layout, PanelsAreControlParentsWithTheirColour) {
    TPanel page;
    page.Create(form, {.bounds = {0, 0, 100, 100}, .color = clWhite});
    EXPECT_TRUE(GetWindowLongPtrW(page.Handle(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    EXPECT_EQ(page.Color(), clWhite);
    // A label on the panel paints on the panel's colour.
    TLabel label;
    label.Create(page, {.bounds = {1, 1, 10, 10}, .caption = u"x"});
    const HDC dc = GetDC(label.Handle());
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(page.Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(label.Handle())));
    EXPECT_EQ(brush, page.BackgroundBrush());
    EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    ReleaseDC(label.Handle(), dc);
}

}  // namespace
