#include <gtest/gtest.h>

#include <QObject>
#include <QVariant>
#include <array>
#include <string>

#include "decor/MemoryImage.h"
#include "decor/NineSlice.h"
#include "decor/ShadowPicture.h"
#include "embedded/ShadowFrame10.h"
#include "embedded/ShadowFrame5.h"
#include "platform/PngImage.h"
#include "toolkit/QtImage.h"

namespace tavelo {
namespace {

QRgb At(const QImage& image, int x, int y) {
    return image.pixelColor(x, y).rgba();
}

int AlphaAt(const QImage& image, int x, int y) {
    return qAlpha(At(image, x, y));
}

QImage LoadedFrame(std::string_view png) {
    MemoryImage image;
    EXPECT_TRUE(image.Load(png));
    return image.Handle() ? *image.Handle() : QImage();
}

// Paints the shadow of the colour and width for an owner of ownerWidth x ownerHeight.
QImage Shadow(ColourValue colour, int size, int ownerWidth, int ownerHeight) {
    QObject shadow;
    shadow.setProperty(kShadowColorProperty, colour);
    shadow.setProperty(kShadowSizeProperty, size);
    QImage picture(ownerWidth + 2 * size, ownerHeight + 2 * size,
                   QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    PaintShadow(shadow, picture);
    return picture;
}

// Whether every pixel of the owner's rectangle inside the picture is fully transparent.
bool ClearOverOwner(const QImage& picture, int size) {
    for (int y = size; y < picture.height() - size; ++y) {
        for (int x = size; x < picture.width() - size; ++x) {
            if (AlphaAt(picture, x, y) != 0) {
                return false;
            }
        }
    }
    return true;
}

TEST(MemoryImage, RefusesShortAndBrokenBytesAndEndsEmpty) {
    const std::string png(embedded::ShadowFrame5());
    MemoryImage image;
    ASSERT_TRUE(image.Load(png));
    EXPECT_EQ(image.Width(), 100);
    EXPECT_EQ(image.Height(), 100);

    const std::string broken[] = {"", png.substr(0, 4), png.substr(0, png.size() / 2),
                                  std::string(600, '\x89')};
    for (const std::string& bytes : broken) {
        ASSERT_TRUE(image.Load(png));
        EXPECT_FALSE(image.Load(bytes)) << bytes.size() << " bytes";
        EXPECT_EQ(image.Handle(), nullptr);
        EXPECT_EQ(image.Width(), 0);
    }
}

// The 5-pixel frame picture: black where visible, white where clear, the corner fade given
// as its top-left 11 x 11 pixels and mirrored into the other corners, a 5-pixel band between.
TEST(ShadowFramePictures, FiveHasItsCornersBandAndClearMiddle) {
    constexpr std::array<std::array<int, 11>, 11> corner = {{
        {0, 0, 0, 0, 3, 6, 9, 12, 13, 14, 15},
        {0, 0, 1, 7, 11, 16, 21, 25, 28, 30, 31},
        {0, 1, 8, 14, 21, 29, 37, 43, 47, 50, 52},
        {0, 7, 14, 23, 34, 46, 57, 65, 72, 76, 78},
        {2, 11, 21, 34, 50, 66, 81, 93, 102, 107, 110},
        {6, 16, 29, 46, 66, 0, 0, 0, 0, 0, 0},
        {9, 20, 36, 56, 81, 0, 0, 0, 0, 0, 0},
        {11, 24, 42, 65, 93, 0, 0, 0, 0, 0, 0},
        {12, 27, 47, 71, 102, 0, 0, 0, 0, 0, 0},
        {14, 29, 50, 76, 107, 0, 0, 0, 0, 0, 0},
        {14, 30, 52, 78, 110, 0, 0, 0, 0, 0, 0},
    }};
    constexpr int band[] = {15, 31, 53, 79, 111};
    // Straight from the file: drawing would premultiply the clear pixels' white away.
    const QImage frame = ToQImage(DecodePng(embedded::ShadowFrame5()));
    ASSERT_EQ(frame.size(), QSize(100, 100));
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            const int fx = std::min(x, 99 - x);
            const int fy = std::min(y, 99 - y);
            int expected = 0;
            if (fx <= 10 && fy <= 10) {
                expected = corner[fy][fx];
            } else if (std::min(fx, fy) < 5) {
                expected = band[std::min(fx, fy)];
            }
            const QRgb pixel = frame.pixel(x, y);
            ASSERT_EQ(qAlpha(pixel), expected) << "at " << x << ", " << y;
            ASSERT_EQ(pixel & 0xFFFFFF, expected == 0 ? 0xFFFFFFu : 0u) << "at " << x << ", " << y;
        }
    }
}

TEST(ShadowFramePictures, TenHasItsBandsAndClearMiddle) {
    constexpr int topLeft[] = {11, 19, 28, 40, 53, 68, 85, 105, 122, 137};
    constexpr int bottomRight[] = {11, 19, 28, 40, 53, 68, 85, 105, 122, 124};
    const QImage frame = LoadedFrame(embedded::ShadowFrame10());
    ASSERT_EQ(frame.size(), QSize(100, 100));
    for (int along = 19; along <= 80; ++along) {
        for (int depth = 0; depth < 10; ++depth) {
            EXPECT_EQ(AlphaAt(frame, along, depth), topLeft[depth]);
            EXPECT_EQ(AlphaAt(frame, depth, along), topLeft[depth]);
            EXPECT_EQ(AlphaAt(frame, along, 99 - depth), bottomRight[depth]);
            EXPECT_EQ(AlphaAt(frame, 99 - depth, along), bottomRight[depth]);
        }
    }
    for (int y = 10; y < 90; ++y) {
        for (int x = 10; x < 90; ++x) {
            ASSERT_EQ(AlphaAt(frame, x, y), 0) << "at " << x << ", " << y;
        }
    }
}

TEST(NineSlice, MarginFollowsThePictureSize) {
    struct Row {
        int width, height, margin;
    } const rows[] = {{100, 100, 20}, {81, 81, 20}, {80, 100, 10},
                      {51, 51, 10},   {50, 100, 5}, {20, 20, 5}};
    for (const Row& row : rows) {
        const NineSliceMargins m = DefaultNineSliceMargins(row.width, row.height);
        EXPECT_EQ(m.left, row.margin) << row.width << " x " << row.height;
        EXPECT_EQ(m.top, row.margin);
        EXPECT_EQ(m.right, row.width - row.margin);
        EXPECT_EQ(m.bottom, row.height - row.margin);
    }
}

// The main window's shadow: 567 x 430 grown by 5 on every side.
TEST(PaintShadow, DefaultShadowIsTheFrameInNinePieces) {
    const QImage picture = Shadow(0, 5, 567, 430);
    const QImage frame = LoadedFrame(embedded::ShadowFrame5());
    ASSERT_EQ(picture.size(), QSize(577, 440));

    // 20 x 20 corners, unstretched.
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            ASSERT_EQ(At(picture, x, y), At(frame, x, y));
            ASSERT_EQ(At(picture, 557 + x, y), At(frame, 80 + x, y));
            ASSERT_EQ(At(picture, x, 420 + y), At(frame, x, 80 + y));
            ASSERT_EQ(At(picture, 557 + x, 420 + y), At(frame, 80 + x, 80 + y));
        }
    }
    // The edges stretched over 537 pixels across and 400 down.
    constexpr int band[] = {15, 31, 53, 79, 111};
    for (int depth = 0; depth < 20; ++depth) {
        const int expected = depth < 5 ? band[depth] : 0;
        for (int x = 20; x < 557; ++x) {
            ASSERT_EQ(AlphaAt(picture, x, depth), expected) << x;
            ASSERT_EQ(AlphaAt(picture, x, 439 - depth), expected) << x;
        }
        for (int y = 20; y < 420; ++y) {
            ASSERT_EQ(AlphaAt(picture, depth, y), expected) << y;
            ASSERT_EQ(AlphaAt(picture, 576 - depth, y), expected) << y;
        }
    }
    EXPECT_EQ(At(picture, 20, 2), qRgba(0, 0, 0, 53));
    EXPECT_TRUE(ClearOverOwner(picture, 5));
}

TEST(PaintShadow, TenPixelBlackShadowUsesItsFrame) {
    const QImage picture = Shadow(0, 10, 300, 200);
    EXPECT_EQ(AlphaAt(picture, 160, 0), 11);
    EXPECT_EQ(AlphaAt(picture, 160, 9), 137);
    EXPECT_EQ(AlphaAt(picture, 160, 219 - 9), 124);
    EXPECT_TRUE(ClearOverOwner(picture, 10));
}

// Other widths and colours: one ring a pixel, from the outside in, each step more opaque.
struct RingCase {
    const char* name;
    ColourValue colour;
    int size;
    std::vector<QRgb> rings;  // outermost first
};

void PrintTo(const RingCase& row, std::ostream* out) {
    *out << row.name;
}

class ComputedRings : public ::testing::TestWithParam<RingCase> {};

TEST_P(ComputedRings, GrowMoreOpaqueTowardTheOwnerAndStayOutsideIt) {
    const RingCase& c = GetParam();
    const QImage picture = Shadow(c.colour, c.size, 200, 120);
    const int width = picture.width();
    const int height = picture.height();
    for (int depth = 0; depth < c.size; ++depth) {
        const QRgb ring = c.rings[depth];
        // Away from the rounded corners each ring covers its pixels exactly.
        EXPECT_EQ(At(picture, width / 2, depth), ring) << "top, depth " << depth;
        EXPECT_EQ(At(picture, width / 2, height - 1 - depth), ring) << "bottom, depth " << depth;
        EXPECT_EQ(At(picture, depth, height / 2), ring) << "left, depth " << depth;
        EXPECT_EQ(At(picture, width - 1 - depth, height / 2), ring) << "right, depth " << depth;
    }
    EXPECT_TRUE(ClearOverOwner(picture, c.size));
}

INSTANTIATE_TEST_SUITE_P(
    PaintShadow, ComputedRings,
    ::testing::Values(
        RingCase{
            "RedWidth5", 0x0000FF, 5, {0x14FF0000, 0x28FF0000, 0x3CFF0000, 0x50FF0000, 0x64FF0000}},
        RingCase{"BlackWidth7",
                 0,
                 7,
                 {qRgba(0, 0, 0, 14), qRgba(0, 0, 0, 28), qRgba(0, 0, 0, 42), qRgba(0, 0, 0, 56),
                  qRgba(0, 0, 0, 70), qRgba(0, 0, 0, 84), qRgba(0, 0, 0, 98)}},
        RingCase{"GreenWidth3", 0x00FF00, 3, {0x2100FF00, 0x4200FF00, 0x6300FF00}},
        RingCase{"BlueWidth10",
                 0xFF0000,
                 10,
                 {0x0F0000FF, 0x1E0000FF, 0x2D0000FF, 0x3C0000FF, 0x4B0000FF, 0x5A0000FF,
                  0x690000FF, 0x780000FF, 0x870000FF, 0x960000FF}}),
    [](const ::testing::TestParamInfo<RingCase>& row) { return std::string(row.param.name); });

TEST(PaintShadow, WidthAboveOneHundredFiftyDrawsNothing) {
    const QImage picture = Shadow(0x0000FF, 151, 20, 20);
    EXPECT_EQ(picture, [&] {
        QImage clear(picture.size(), picture.format());
        clear.fill(Qt::transparent);
        return clear;
    }());
}

TEST(PaintShadow, MissingWidthDrawsNothing) {
    QObject shadow;
    QImage picture(50, 50, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    PaintShadow(shadow, picture);
    EXPECT_EQ(AlphaAt(picture, 0, 25), 0);
}

}  // namespace
}  // namespace tavelo
