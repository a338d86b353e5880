// Strip and nine-patch arithmetic: which source pixels go where.

#include <gtest/gtest.h>

#include "orvo/image_strip.h"

namespace Orvo {
namespace {

TEST(StripGeometry, FrameWidthIsIntegerDivisionAndNeverDividesByZero) {
    EXPECT_EQ(StripFrameWidth(320, 4), 80);
    EXPECT_EQ(StripFrameWidth(100, 3), 33);  // the last column is never shown
    EXPECT_EQ(StripFrameWidth(100, 0), 100);
    EXPECT_EQ(StripFrameWidth(100, -2), 100);
    EXPECT_EQ(StripFrameWidth(0, 4), 0);
}

TEST(StripGeometry, FrameRectClampsTheFrameNumber) {
    EXPECT_EQ(StripFrameRect(160, 20, 8, 0), (StripRect{0, 0, 20, 20}));
    EXPECT_EQ(StripFrameRect(160, 20, 8, 5), (StripRect{100, 0, 20, 20}));
    EXPECT_EQ(StripFrameRect(160, 20, 8, 9), (StripRect{140, 0, 20, 20}));
    EXPECT_EQ(StripFrameRect(160, 20, 8, -1), (StripRect{0, 0, 20, 20}));
    EXPECT_EQ(StripFrameRect(160, 20, 0, 3), (StripRect{0, 0, 160, 20}));
}

TEST(NinePatch, CornersStayAndEdgesStretch) {
    NinePatchPiece pieces[9];
    // Frame 1 of a 4-frame strip of 80 x 30 frames into a 200 x 40 box at (10, 5).
    const int count =
        ComputeNinePatch(StripRect{80, 0, 80, 30}, StripRect{10, 5, 200, 40}, 8, 8, 8, 8, pieces);
    ASSERT_EQ(count, 9);
    const NinePatchPiece expected[9] = {
        {{80, 0, 8, 8}, {10, 5, 8, 8}},       {{88, 0, 64, 8}, {18, 5, 184, 8}},
        {{152, 0, 8, 8}, {202, 5, 8, 8}},     {{80, 8, 8, 14}, {10, 13, 8, 24}},
        {{88, 8, 64, 14}, {18, 13, 184, 24}}, {{152, 8, 8, 14}, {202, 13, 8, 24}},
        {{80, 22, 8, 8}, {10, 37, 8, 8}},     {{88, 22, 64, 8}, {18, 37, 184, 8}},
        {{152, 22, 8, 8}, {202, 37, 8, 8}},
    };
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(pieces[i].source, expected[i].source) << "piece " << i;
        EXPECT_EQ(pieces[i].destination, expected[i].destination) << "piece " << i;
    }
}

TEST(NinePatch, SeparateMarginsAndDroppedPieces) {
    struct Case {
        const char* what;
        StripRect source;
        StripRect destination;
        int left, top, right, bottom;
        int pieces;
        StripRect firstDestination;
        StripRect lastDestination;
    };
    const Case cases[] = {
        // The combo box insets: left 6, top 6, right 32 (the drop arrow), bottom 6.
        {"combo insets",
         {0, 0, 120, 30},
         {0, 0, 160, 30},
         6,
         6,
         32,
         6,
         9,
         {0, 0, 6, 6},
         {128, 24, 32, 6}},
        // No margins: the centre alone, stretched.
        {"no margins",
         {0, 0, 10, 10},
         {0, 0, 40, 20},
         0,
         0,
         0,
         0,
         1,
         {0, 0, 40, 20},
         {0, 0, 40, 20}},
        // A destination narrower than both corners: corners shrink, no centre column.
        {"narrow destination",
         {0, 0, 30, 30},
         {0, 0, 10, 30},
         10,
         10,
         10,
         10,
         6,
         {0, 0, 5, 10},
         {5, 20, 5, 10}},
        // Margins larger than the source are cut to it.
        {"margins past the source",
         {0, 0, 8, 8},
         {0, 0, 50, 50},
         6,
         6,
         6,
         6,
         4,
         {0, 0, 4, 4},
         {46, 46, 4, 4}},
        // Negative margins count as zero.
        {"negative margins",
         {0, 0, 10, 10},
         {0, 0, 20, 20},
         -3,
         -3,
         -3,
         -3,
         1,
         {0, 0, 20, 20},
         {0, 0, 20, 20}},
    };
    for (const Case& c : cases) {
        NinePatchPiece pieces[9];
        const int count =
            ComputeNinePatch(c.source, c.destination, c.left, c.top, c.right, c.bottom, pieces);
        ASSERT_EQ(count, c.pieces) << c.what;
        EXPECT_EQ(pieces[0].destination, c.firstDestination) << c.what;
        EXPECT_EQ(pieces[count - 1].destination, c.lastDestination) << c.what;
    }
}

TEST(NinePatch, EmptySourceOrDestinationDrawsNothing) {
    NinePatchPiece pieces[9];
    EXPECT_EQ(ComputeNinePatch(StripRect{0, 0, 0, 30}, StripRect{0, 0, 10, 10}, 2, 2, 2, 2, pieces),
              0);
    EXPECT_EQ(ComputeNinePatch(StripRect{0, 0, 10, 10}, StripRect{5, 5, 0, 10}, 2, 2, 2, 2, pieces),
              0);
}

TEST(Alignment, OffsetsFollowDrawTextValues) {
    struct Case {
        int hAlign, vAlign, x, y;
    };
    const Case cases[] = {{1, 4, 30, 5}, {0, 0, 0, 0}, {2, 8, 60, 10}, {2, 4, 60, 5}, {7, 9, 0, 0}};
    for (const Case& c : cases) {
        const StripOffset offset = AlignContent(100, 20, 40, 10, c.hAlign, c.vAlign);
        EXPECT_EQ(offset.x, c.x) << c.hAlign << "/" << c.vAlign;
        EXPECT_EQ(offset.y, c.y) << c.hAlign << "/" << c.vAlign;
    }
}

}  // namespace
}  // namespace Orvo
