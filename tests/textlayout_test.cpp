// Text laid out as strokes, worked out by hand at a height of 21 drawing
// units (one font unit a drawing unit): H advances 22 (stems at 4 and 18,
// bar at 11), I advances 8 (stem at 4), a space 16; the descent is 7 and
// the line pitch 35.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/textlayout.h"

using namespace ostra;

namespace {

using stroke = std::vector<std::pair<double, double>>;

struct laidout {
    std::vector<stroke> strokes;
    textbox box;
    std::size_t lines, missing, cut;
    double height, widthfactor;
};

laidout lay(const std::string& content, const textstyle& style) {
    textlayout t;
    t.layout(content.data(), content.size(), style);
    laidout out{{}, t.box(), t.lines(), t.missing(), t.cut(), t.height(), t.widthfactor()};
    while (t.next()) {
        out.strokes.emplace_back();
        for (std::size_t i = 0; i < t.size(); ++i) out.strokes.back().emplace_back(t.points()[i].x, t.points()[i].y);
    }
    return out;
}

textstyle at(double height) {
    textstyle s;
    s.height = height;
    return s;
}

textstyle text(int halign, int valign) {
    textstyle s = at(21);
    s.halign = halign;
    s.valign = valign;
    return s;
}

textstyle mtext(int attachment, double width = 0) {
    textstyle s = at(21);
    s.attachment = attachment;
    s.width = width;
    return s;
}

void expectbox(const laidout& l, double xmin, double ymin, double xmax, double ymax) {
    EXPECT_DOUBLE_EQ(l.box.xmin, xmin);
    EXPECT_DOUBLE_EQ(l.box.ymin, ymin);
    EXPECT_DOUBLE_EQ(l.box.xmax, xmax);
    EXPECT_DOUBLE_EQ(l.box.ymax, ymax);
}

stroke line(double x0, double y0, double x1, double y1) { return {{x0, y0}, {x1, y1}}; }

}  // namespace

TEST(TextLayout, AdvanceWidths) {
    laidout l = lay("HI", at(21));
    ASSERT_EQ(l.strokes.size(), 4u);
    EXPECT_EQ(l.strokes[0], line(4, 21, 4, 0));
    EXPECT_EQ(l.strokes[2], line(4, 11, 18, 11));
    EXPECT_EQ(l.strokes[3], line(26, 21, 26, 0));  // I after H's 22
    expectbox(l, 0, -7, 30, 21);
    EXPECT_EQ(l.lines, 1u);
    EXPECT_EQ(l.missing, 0u);
    expectbox(lay("HI", at(42)), 0, -14, 60, 42);
    textstyle narrow = at(21);
    narrow.widthfactor = 0.5;
    l = lay("HI", narrow);
    expectbox(l, 0, -7, 15, 21);
    EXPECT_EQ(l.strokes[1], line(9, 21, 9, 0));
    EXPECT_DOUBLE_EQ(l.widthfactor, 0.5);
    expectbox(lay("H I", at(21)), 0, -7, 46, 21);
}

TEST(TextLayout, EveryTextAlignment) {
    struct {
        int h, v;
        double xmin, ymin, xmax, ymax;
    } cases[] = {
        {0, 0, 0, -7, 30, 21},      {1, 0, -15, -7, 15, 21},      {2, 0, -30, -7, 0, 21},
        {0, 1, 0, 0, 30, 28},       {1, 1, -15, 0, 15, 28},       {2, 1, -30, 0, 0, 28},
        {0, 2, 0, -17.5, 30, 10.5}, {1, 2, -15, -17.5, 15, 10.5}, {2, 2, -30, -17.5, 0, 10.5},
        {0, 3, 0, -28, 30, 0},      {1, 3, -15, -28, 15, 0},      {2, 3, -30, -28, 0, 0},
        {4, 0, -15, -17.5, 15, 10.5},
        {4, 3, -15, -17.5, 15, 10.5},  // middle takes no vertical alignment
        {7, 9, 0, -7, 30, 21},         // out of range: left, baseline
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "72 = " << c.h << ", 73 = " << c.v);
        expectbox(lay("HI", text(c.h, c.v)), c.xmin, c.ymin, c.xmax, c.ymax);
    }
    EXPECT_EQ(lay("HI", text(2, 3)).strokes[0], line(-26, 0, -26, -21));
    EXPECT_EQ(lay("HI", text(1, 0)).strokes[3], line(11, 21, 11, 0));
}

TEST(TextLayout, AlignedAndFit) {
    textstyle aligned = text(3, 3);  // standing on the baseline whatever 73 says
    aligned.fitlength = 60;
    laidout l = lay("HI", aligned);
    expectbox(l, 0, -14, 60, 42);  // twice as large
    EXPECT_DOUBLE_EQ(l.height, 42);
    EXPECT_DOUBLE_EQ(l.widthfactor, 1);
    EXPECT_EQ(l.strokes[0], line(8, 42, 8, 0));
    aligned.fitlength = 15;
    l = lay("HI", aligned);
    expectbox(l, 0, -3.5, 15, 10.5);
    EXPECT_DOUBLE_EQ(l.height, 10.5);

    textstyle fit = text(5, 0);
    fit.fitlength = 60;
    l = lay("HI", fit);
    expectbox(l, 0, -7, 60, 21);  // twice as wide only
    EXPECT_DOUBLE_EQ(l.height, 21);
    EXPECT_DOUBLE_EQ(l.widthfactor, 2);
    EXPECT_EQ(l.strokes[0], line(8, 21, 8, 0));
    // Without a distance: left text.
    for (double d : {0.0, -5.0, double(NAN), double(INFINITY)}) {
        fit.fitlength = d;
        l = lay("HI", fit);
        expectbox(l, 0, -7, 30, 21);
        EXPECT_DOUBLE_EQ(l.widthfactor, 1);
    }
    fit.fitlength = 60;
    EXPECT_EQ(lay("   ", fit).box.xmax, 60);  // spaces have a width
    EXPECT_EQ(lay("", fit).lines, 0u);
}

TEST(TextLayout, BackwardAndUpsideDown) {
    textstyle s = at(21);
    s.backward = true;
    laidout l = lay("HI", s);
    expectbox(l, -30, -7, 0, 21);
    EXPECT_EQ(l.strokes[0], line(-4, 21, -4, 0));
    s.halign = 2;  // right text mirrored about its end goes right of it
    l = lay("HI", s);
    expectbox(l, 0, -7, 30, 21);
    EXPECT_EQ(l.strokes[0], line(26, 21, 26, 0));
    s.halign = 5;  // fit text stays between its points
    s.fitlength = 60;
    l = lay("HI", s);
    expectbox(l, 0, -7, 60, 21);
    EXPECT_EQ(l.strokes[0], line(52, 21, 52, 0));

    s = at(21);
    s.upsidedown = true;
    l = lay("HI", s);
    expectbox(l, 0, -21, 30, 7);
    EXPECT_EQ(l.strokes[0], line(4, -21, 4, 0));
    s.backward = true;
    expectbox(lay("HI", s), -30, -21, 0, 7);
}

TEST(TextLayout, Oblique) {
    textstyle s = at(21);
    s.oblique = 45;
    laidout l = lay("HI", s);
    EXPECT_NEAR(l.strokes[0][0].first, 25, 1e-12);  // the stem's top moves by its height
    EXPECT_EQ(l.strokes[0][1], std::make_pair(4.0, 0.0));
    EXPECT_NEAR(l.box.xmin, -7, 1e-12);
    EXPECT_NEAR(l.box.xmax, 51, 1e-12);
    s.oblique = -45;
    l = lay("HI", s);
    EXPECT_NEAR(l.strokes[0][0].first, -17, 1e-12);
    EXPECT_NEAR(l.box.xmin, -21, 1e-12);
    EXPECT_NEAR(l.box.xmax, 37, 1e-12);
    s.oblique = 89;  // held at 85
    EXPECT_NEAR(lay("H", s).strokes[0][0].first, 4 + 21 * std::tan(85 * std::atan(1.0) / 45), 1e-9);
    s.oblique = NAN;
    EXPECT_EQ(lay("H", s).strokes[0], line(4, 21, 4, 0));
}

TEST(TextLayout, WrappedMtextParagraph) {
    // "HI HI HI": words of 30, spaces of 16.
    laidout l = lay("HI HI HI", mtext(1, 80));
    EXPECT_EQ(l.lines, 2u);
    expectbox(l, 0, -63, 76, 0);  // "HI HI" (76) and "HI"; baselines -21 and -56
    EXPECT_EQ(l.strokes[8], line(4, -35, 4, -56));
    EXPECT_EQ(lay("HI HI HI", mtext(1, 76)).lines, 2u);  // exactly full
    EXPECT_EQ(lay("HI HI HI", mtext(1, 75.9)).lines, 3u);
    expectbox(lay("HI HI HI", mtext(1, 50)), 0, -98, 30, 0);
    EXPECT_EQ(lay("HI HI HI", mtext(1, 0)).box.xmax, 122);  // no wrapping
    EXPECT_EQ(lay("HI HI HI", mtext(1, NAN)).lines, 1u);
    // Centred lines, each on its own.
    l = lay("HI HI HI", mtext(2, 80));
    expectbox(l, -38, -63, 38, 0);
    EXPECT_EQ(l.strokes[8], line(-11, -35, -11, -56));
    // The spaces at a break are dropped; others stay.
    l = lay("HI   HI", mtext(1, 50));
    EXPECT_EQ(l.lines, 2u);
    EXPECT_EQ(l.strokes[4], line(4, -35, 4, -56));
    EXPECT_EQ(lay("  HIHI", mtext(1, 40)).lines, 1u);  // no word before the spaces
    EXPECT_EQ(lay("HI\u00A0HI", mtext(1, 50)).lines, 1u);  // a no-break space
    l = lay("HIHIHI HI", mtext(1, 50));  // a word wider than the width
    EXPECT_EQ(l.lines, 2u);
    EXPECT_EQ(l.box.xmax, 90);
    EXPECT_EQ(lay("HI\tHI", mtext(1, 50)).lines, 2u);  // a tab breaks too
    EXPECT_EQ(lay("HI HI\nHI", mtext(1, 80)).lines, 2u);  // paragraphs
}

TEST(TextLayout, EveryAttachmentPoint) {
    // "HI" (30) over "H" (22): baselines 35 apart.
    const double rows[3][2] = {{-63, 0}, {-35, 28}, {-7, 56}};
    const double columns[3][3] = {{0, 30, 4}, {-15, 15, -7}, {-30, 0, -18}};  // box and line 2's stem
    for (int a = 1; a <= 9; ++a) {
        SCOPED_TRACE(testing::Message() << "attachment " << a);
        laidout l = lay("HI\nH", mtext(a));
        const double* r = rows[(a - 1) / 3];
        const double* c = columns[(a - 1) % 3];
        expectbox(l, c[0], r[0], c[1], r[1]);
        ASSERT_EQ(l.strokes.size(), 7u);
        EXPECT_EQ(l.strokes[4], line(c[2], r[0] + 28, c[2], r[0] + 7));
    }
    expectbox(lay("HI\nH", mtext(12)), 0, -63, 30, 0);  // out of range: top left
}

TEST(TextLayout, LineSpacing) {
    struct {
        double factor, bottom;
    } cases[] = {{1, -63}, {2, -98}, {10, -168}, {0.1, -36.75}, {0, -63}, {NAN, -63}};
    for (const auto& c : cases) {
        textstyle s = mtext(1);
        s.linespacing = c.factor;
        EXPECT_DOUBLE_EQ(lay("H\nH", s).box.ymin, c.bottom) << c.factor;
    }
    textstyle single = at(21);  // TEXT keeps the plain pitch
    single.linespacing = 2;
    expectbox(lay("H\nH", single), 0, -42, 22, 21);
    expectbox(lay("H\n", mtext(7)), 0, -7, 22, 56);  // an empty last line counts
}

TEST(TextLayout, TabsAndMissingGlyphs) {
    EXPECT_EQ(lay("\tH", at(21)).strokes[0], line(68, 21, 68, 0));
    EXPECT_EQ(lay("H\tI", at(21)).strokes[3], line(68, 21, 68, 0));
    laidout l = lay("H\u2603I", at(21));
    EXPECT_EQ(l.missing, 1u);
    ASSERT_EQ(l.strokes.size(), 5u);
    EXPECT_EQ(l.strokes[3], (stroke{{24, 0}, {36, 0}, {36, 21}, {24, 21}, {24, 0}}));
    EXPECT_EQ(l.strokes[4], line(42, 21, 42, 0));
    EXPECT_EQ(l.box.xmax, 46);
    EXPECT_EQ(lay("\xFF\x01", at(21)).missing, 2u);  // an invalid byte, a control character
}

TEST(TextLayout, NothingToDraw) {
    for (double h : {0.0, -1.0, double(NAN), double(INFINITY)}) {
        laidout l = lay("HI", at(h));
        EXPECT_EQ(l.lines, 0u);
        EXPECT_TRUE(l.strokes.empty());
        expectbox(l, 0, 0, 0, 0);
    }
    EXPECT_EQ(lay("", at(21)).lines, 0u);
    textlayout t;
    t.layout(nullptr, 5, at(21));
    EXPECT_FALSE(t.next());
    textstyle odd = at(21);
    odd.widthfactor = -2;
    expectbox(lay("HI", odd), 0, -7, 30, 21);
}

TEST(TextLayout, HugeTextsAreCut) {
    std::string many(70000, 'I');
    many += "\n\n";
    laidout l = lay(many, at(21));
    EXPECT_EQ(l.cut, 70000u - maxtextglyphs);
    EXPECT_EQ(l.lines, 1u);
    EXPECT_EQ(l.strokes.size(), maxtextglyphs);
    EXPECT_EQ(l.box.xmax, 8.0 * maxtextglyphs);
}

TEST(TextLayout, RewindAndReuse) {
    textlayout t;
    const std::string first = "HI HI";
    t.layout(first.data(), first.size(), mtext(5, 40));
    std::size_t n = 0;
    while (t.next()) ++n;
    EXPECT_EQ(n, 8u);
    EXPECT_FALSE(t.next());
    t.rewind();
    ASSERT_TRUE(t.next());
    EXPECT_DOUBLE_EQ(t.points()[0].x, -11);
    const std::string second = "I";
    t.layout(second.data(), second.size(), at(21));
    ASSERT_TRUE(t.next());
    EXPECT_EQ(t.size(), 2u);
    EXPECT_DOUBLE_EQ(t.points()[0].x, 4);
    EXPECT_FALSE(t.next());
    EXPECT_EQ(t.lines(), 1u);
}
