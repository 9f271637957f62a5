// The picture's size read from its start-of-frame segment, what a template's {Width} and
// {Height} give: every frame kind, other segments before it, and headers that hold none.
#include "core/iptc/IptcTestBytes.h"
#include "core/iptc/JpegSegments.h"

#include <gtest/gtest.h>

using namespace zelvarion;
using namespace zelvarion::test::iptcbytes;

namespace {

QByteArray frame(int type, int width, int height)
{
    return segment(type, QByteArray(1, '\x08') + bigEndian16(height) + bigEndian16(width) + QByteArray("\x01\x01\x11\x00", 4));
}

} // namespace

TEST(JpegFrameSize, everyFrameKindGivesItsWidthAndHeight)
{
    for (int type : {0xC0, 0xC1, 0xC2, 0xC3, 0xC5, 0xC7, 0xC9, 0xCB, 0xCD, 0xCF}) {
        const std::optional<QSize> size = jpegFrameSize(jpeg({app0(), frame(type, 4000, 3000)}));
        ASSERT_TRUE(size) << std::hex << type;
        EXPECT_EQ(*size, QSize(4000, 3000)) << std::hex << type;
    }
    EXPECT_EQ(jpegFrameSize(jpeg({frame(0xC0, 1, 65535)})), QSize(1, 65535));
}

TEST(JpegFrameSize, tablesAndOtherSegmentsBeforeTheFrameAreNotTakenForIt)
{
    const QByteArray huffman = segment(0xC4, QByteArray(8, '\x01'));
    const QByteArray arithmetic = segment(0xCC, QByteArray(4, '\x02'));
    const QByteArray iptc = app13(resource(0x0404, dataset2(90, "Lyon")));
    EXPECT_EQ(jpegFrameSize(jpeg({app0(), iptc, huffman, arithmetic, frame(0xC0, 640, 480)})), QSize(640, 480));
}

TEST(JpegFrameSize, headersWithoutAFrameGiveNothing)
{
    const QByteArray whole = jpeg({app0(), frame(0xC0, 640, 480)});
    const qsizetype frameStart = whole.indexOf(QByteArray("\xFF\xC0", 2));
    const QByteArray cases[] = {
        jpeg({app0()}),                                 // no frame before the scan
        jpeg({frame(0xC0, 640, 0)}),                    // height given later (DNL)
        jpeg({frame(0xC0, 0, 480)}),
        jpeg({segment(0xC0, QByteArray("\x08\x01", 2))}), // too short to hold the size
        whole.left(frameStart + 7),                     // cut inside the frame
        QByteArray("\xFF\xC0\x00\x0B\x08\x01\xE0\x02\x80", 9), // no start of image
        QByteArray(),
    };
    for (const QByteArray &bytes : cases)
        EXPECT_FALSE(jpegFrameSize(bytes)) << bytes.toHex().toStdString();
}
