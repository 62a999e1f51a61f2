#include "core/modem/report_pieces.h"

#include <gtest/gtest.h>

namespace kv820 {
namespace {

TEST(SplitReportPieces, CutsAtEveryCommaUpToTheEndMark) {
    const ReportPieces p = SplitReportPieces("a,b,,c!d,e");
    EXPECT_TRUE(p.hasEndMark);
    EXPECT_EQ(p[0], "a");
    EXPECT_EQ(p[1], "b");
    EXPECT_EQ(p[2], "");
    EXPECT_EQ(p[3], "c");
    for (std::size_t i = 4; i < ReportPieces::Count; ++i) {
        EXPECT_EQ(p[i], "") << i;
    }
}

TEST(SplitReportPieces, IgnoresTextAfterTheSixteenthPiece) {
    const ReportPieces p = SplitReportPieces("0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17!");
    EXPECT_EQ(p[15], "15");
    EXPECT_TRUE(p.hasEndMark);
}

TEST(SplitReportPieces, CutsLongPiecesTo127Characters) {
    const std::string longPiece(300, 'x');
    const ReportPieces p = SplitReportPieces("a," + longPiece + ",b!");
    EXPECT_EQ(p[1], std::string(127, 'x'));
    EXPECT_EQ(p[2], "b");
}

TEST(SplitReportPieces, WithoutEndMarkKeepsTheWholeTextAndSaysSo) {
    const ReportPieces p = SplitReportPieces("a,b\r\nOK\r\n");
    EXPECT_FALSE(p.hasEndMark);
    EXPECT_EQ(p[1], "b\r\nOK\r\n");
}

TEST(SplitReportPieces, EmptyReplyGivesEmptyPieces) {
    const ReportPieces p = SplitReportPieces("");
    EXPECT_FALSE(p.hasEndMark);
    for (const std::string& piece : p.pieces) {
        EXPECT_EQ(piece, "");
    }
}

TEST(SplitReportPieces, EndMarkFirstGivesEmptyPieces) {
    const ReportPieces p = SplitReportPieces("!a,b");
    EXPECT_TRUE(p.hasEndMark);
    EXPECT_EQ(p[0], "");
    EXPECT_EQ(p[1], "");
}

}  // namespace
}  // namespace kv820
