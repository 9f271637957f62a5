#include "core/catalogue/ThumbnailSizing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

using namespace zelvarion::thumbnailSizing;

// Sizes in failure messages as "WxH"; found by argument-dependent lookup, so it lives beside QSize.
static void PrintTo(const QSize &size, std::ostream *os)
{
    *os << size.width() << "x" << size.height();
}

namespace {

struct SizeCase
{
    QSize source;
    QSize expected;
};

// Within a pixel of the source's proportions, measured along the side where a pixel of error is
// the smaller relative error (the other side of a long panorama is only a pixel or two).
bool keepsProportions(QSize source, QSize thumb)
{
    const double p = source.width(), q = source.height();
    const double widthFromHeight = thumb.height() * p / q;
    const double heightFromWidth = thumb.width() * q / p;
    return std::abs(thumb.width() - widthFromHeight) <= 1.0 || std::abs(thumb.height() - heightFromWidth) <= 1.0;
}

} // namespace

TEST(ScanThumbnailSize, followsTheDocumentedExamples)
{
    const SizeCase cases[] = {
        {{100, 60}, {150, 90}},
        {{3000, 2000}, {180, 120}},
        {{2000, 3000}, {80, 120}},
        // A panorama is squeezed to the full cell.
        {{4000, 1000}, {180, 120}},
    };
    for (const SizeCase &c : cases)
        EXPECT_EQ(scanThumbnailSize(c.source), c.expected) << c.source.width() << "x" << c.source.height();
}

TEST(ScanThumbnailSize, switchesRulesAtTheEdgesOfTheBox)
{
    const SizeCase cases[] = {
        {{120, 80}, {180, 120}},  // largest source still enlarged by half
        {{121, 80}, {180, 120}},  // 1815 twips wide: squeezed to the full cell
        {{120, 81}, {178, 120}},  // 1215 twips high: 1200 high, width 1777.8 twips
        {{1, 1}, {2, 2}},         // 1.5 rounds half up
        {{99, 1}, {149, 2}},      // 148.5 rounds half up
        {{90, 90}, {120, 120}},   // 1350 twips high: brought down to 1200 both ways
        {{80, 80}, {120, 120}},
        {{10000, 1}, {180, 120}}, // a line of pixels is stretched to the cell
        {{1, 10000}, {1, 120}},
    };
    for (const SizeCase &c : cases)
        EXPECT_EQ(scanThumbnailSize(c.source), c.expected) << c.source.width() << "x" << c.source.height();
}

TEST(ScanThumbnailSize, givesNothingForAnUnreadableImage)
{
    for (const QSize source : {QSize(), QSize(0, 0), QSize(0, 50), QSize(50, 0), QSize(-3, 20)})
        EXPECT_TRUE(scanThumbnailSize(source).isEmpty());
}

TEST(ScanThumbnailSize, staysInTheBoxAndKeepsProportionsUpToThreeToTwoOverASweep)
{
    for (int p = 1; p <= 6000; p += (p < 300 ? 7 : 331)) {
        for (int q = 1; q <= 6000; q += (q < 300 ? 11 : 257)) {
            const QSize thumb = scanThumbnailSize({p, q});
            ASSERT_LE(thumb.width(), 180) << p << "x" << q;
            ASSERT_LE(thumb.height(), 120) << p << "x" << q;
            ASSERT_GE(thumb.width(), 1);
            ASSERT_GE(thumb.height(), 1);
            // Up to 3 to 2 the proportions stay; wider sources are squeezed to 180 by 120.
            if (2 * p <= 3 * q) {
                ASSERT_TRUE(keepsProportions({p, q}, thumb)) << p << "x" << q << " -> " << thumb.width() << "x"
                                                             << thumb.height();
            } else if (p > 120 || q > 80) {
                ASSERT_EQ(thumb, QSize(180, 120)) << p << "x" << q;
            }
            // Small sources are enlarged by exactly half, larger ones touch the box.
            if (p <= 120 && q <= 80)
                ASSERT_EQ(thumb, QSize(int(std::floor(1.5 * p + 0.5)), int(std::floor(1.5 * q + 0.5))));
            else
                ASSERT_EQ(thumb.height(), 120) << p << "x" << q;
        }
    }
}

TEST(FitBoxTwips, leavesAFittingPictureAndShrinksALargerOne)
{
    const SizeCase cases[] = {
        {{1800, 1200}, {1800, 1200}},
        {{900, 300}, {900, 300}},
        {{2700, 1800}, {1800, 1200}},  // a 180 by 120 thumbnail
        {{1200, 1800}, {800, 1200}},   // a portrait thumbnail
        {{2700, 675}, {1800, 1200}},   // a panorama thumbnail is squeezed
        {{1801, 1200}, {1800, 1200}},
    };
    for (const SizeCase &c : cases)
        EXPECT_EQ(fitBoxTwips(c.source), c.expected) << c.source.width() << "x" << c.source.height();
    EXPECT_TRUE(fitBoxTwips(QSize(0, 100)).isEmpty());
}
