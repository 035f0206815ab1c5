#include <gtest/gtest.h>

#include "toolkit/label.h"
#include "toolkit_test_support.h"

using toolkit_test::TestForm;

namespace {

struct LabelOnForm {
    Label label;
    TestForm form;
    explicit LabelOnForm(const Label::CreateArgs& args) : form([this, args] { label.create(form, args); }) {}
};

const FontSpec kBold13{-13, true, clBlack};

TEST(LabelAutoSize, RightJustifiedKeepsItsRightEdgeWhenTheTextGrows) {
    LabelOnForm f({{90, 13, 16, 13}, "99", kBold13, Alignment::taRightJustify, true});
    f.label.setCaption("12345");
    EXPECT_EQ(f.label.bounds().right(), 106);
}

TEST(LabelAutoSize, RightJustifiedKeepsItsRightEdgeWhenTheTextShrinks) {
    LabelOnForm f({{90, 13, 16, 13}, "99", kBold13, Alignment::taRightJustify, true});
    f.label.setCaption("1");
    EXPECT_EQ(f.label.bounds().right(), 106);
}

TEST(LabelAutoSize, WidthFollowsTheText) {
    LabelOnForm f({{90, 13, 16, 13}, "1", kBold13, Alignment::taRightJustify, true});
    const int narrow = f.label.width();
    f.label.setCaption("1234567");
    EXPECT_GT(f.label.width(), narrow * 4);
}

TEST(LabelAutoSize, LeftJustifiedKeepsItsLeftEdge) {
    LabelOnForm f({{56, 32, 8, 13}, "0", kBold13, Alignment::taLeftJustify, true});
    f.label.setCaption("123456");
    EXPECT_EQ(f.label.left(), 56);
}

TEST(LabelAutoSize, HeightIsTheFontsLineHeightNotTheDeclaredOne) {
    LabelOnForm small({{8, 8, 40, 40}, "勝ち", FontSpec{-12, false, clWindowText}, Alignment::taLeftJustify, true});
    LabelOnForm large({{8, 8, 40, 40}, "勝ち", FontSpec{-24, false, clWindowText}, Alignment::taLeftJustify, true});
    EXPECT_LT(small.label.height(), 40);
    EXPECT_GT(large.label.height(), small.label.height());
}

TEST(LabelFixedSize, KeepsItsDeclaredSize) {
    LabelOnForm f({{56, 16, 73, 15}, "99.9%", FontSpec{-15, true, clRed}, Alignment::taRightJustify, false});
    f.label.setCaption("100.00%");
    const Rect b = f.label.bounds();
    EXPECT_EQ(b.left, 56);
    EXPECT_EQ(b.width, 73);
    EXPECT_EQ(b.height, 15);
}

TEST(LabelCaption, IsTheWindowTextExactlyAmpersandsIncluded) {
    LabelOnForm f({{8, 8, 10, 13}, "今　回", std::nullopt, Alignment::taLeftJustify, true});
    f.label.setCaption("A&B ｹﾞｰﾑ");
    char text[32] = {};
    GetWindowTextA(f.label.handle(), text, sizeof text);
    EXPECT_STREQ(text, "A&B ｹﾞｰﾑ");
}

}  // namespace
