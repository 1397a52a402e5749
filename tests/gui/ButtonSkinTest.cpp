// The title-bar buttons' pictures as cut from their strips: one frame each, over the title
// bar's colour, the close button red on hover and press, the others under a 10 % veil.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <string>

#include "decor/ButtonSkin.h"
#include "embedded/CloseButtonStrip.h"
#include "embedded/MaximizeButtonStrip.h"
#include "embedded/MenuButtonStrip.h"
#include "embedded/MinimizeButtonStrip.h"

namespace tavelo {
namespace {

constexpr QRgb kTitleBar = 0xFF17C4E8;  // RGB(23, 196, 232)

// The title bar's colour under white (lighten) or black at alpha 26, a tenth.
QRgb Veiled(int towards) {
    auto channel = [&](int c) { return c + ((towards - c) * 26 + 127) / 255; };
    return qRgb(channel(23), channel(196), channel(232));
}

// Each channel within one step: blending rounds.
bool Near(QRgb actual, QRgb expected) {
    return std::abs(qRed(actual) - qRed(expected)) <= 1 &&
           std::abs(qGreen(actual) - qGreen(expected)) <= 1 &&
           std::abs(qBlue(actual) - qBlue(expected)) <= 1;
}

std::string Hex(QRgb colour) {
    return QColor(colour).name().toStdString();
}

struct SkinCase {
    const char* name;
    std::string_view (*strip)();
    int frameWidth;
    QRgb normal, hover, pressed;
    QPoint glyph;  // a pixel of the white glyph
};

void PrintTo(const SkinCase& row, std::ostream* out) {
    *out << row.name;
}

class ButtonSkin : public ::testing::TestWithParam<SkinCase> {};

TEST_P(ButtonSkin, EachStateIsOneFrameOverTheTitleBarColour) {
    const SkinCase& c = GetParam();
    PictureButton button;
    ApplyButtonSkin(&button, c.strip(), c.frameWidth, 30);

    const struct {
        ButtonState state;
        QRgb background;
    } states[] = {{ButtonState::Normal, c.normal},
                  {ButtonState::Hover, c.hover},
                  {ButtonState::Pressed, c.pressed},
                  {ButtonState::Disabled, kTitleBar}};
    for (const auto& [state, background] : states) {
        const QImage picture = button.picture(state).toImage();
        const int index = static_cast<int>(state);
        ASSERT_EQ(picture.size(), QSize(c.frameWidth, 30)) << "state " << index;
        // The edges show this frame's background all along, nothing of a neighbour.
        for (int y = 0; y < 30; ++y) {
            for (int x : {0, c.frameWidth - 1}) {
                ASSERT_TRUE(Near(picture.pixel(x, y), background))
                    << "state " << index << " at " << x << ", " << y << ": "
                    << Hex(picture.pixel(x, y)) << " instead of " << Hex(background);
            }
        }
        EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 255) << "opaque";
        const QRgb glyph = picture.pixel(c.glyph);
        if (state == ButtonState::Disabled) {
            // Dimmed: white at alpha 77 over the title bar.
            EXPECT_TRUE(Near(glyph, qRgb(93, 213, 239))) << Hex(glyph);
        } else {
            EXPECT_EQ(glyph, qRgb(255, 255, 255)) << "state " << index;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    TitleBar, ButtonSkin,
    ::testing::Values(SkinCase{"Close", embedded::CloseButtonStrip, 38, kTitleBar,
                               qRgb(0xE9, 0x42, 0x42), qRgb(0xD7, 0x23, 0x23), QPoint(19, 15)},
                      SkinCase{"Maximize", embedded::MaximizeButtonStrip, 32, kTitleBar,
                               Veiled(255), Veiled(0), QPoint(15, 11)},
                      SkinCase{"Minimize", embedded::MinimizeButtonStrip, 32, kTitleBar,
                               Veiled(255), Veiled(0), QPoint(20, 18)},
                      SkinCase{"Menu", embedded::MenuButtonStrip, 32, kTitleBar, Veiled(255),
                               Veiled(0), QPoint(11, 15)}),
    [](const ::testing::TestParamInfo<SkinCase>& row) { return std::string(row.param.name); });

TEST(ButtonSkinStrip, ThatDoesNotDecodeGivesPlainPictures) {
    PictureButton button;
    ApplyButtonSkin(&button, "not a picture", 32, 30);
    for (int state = 0; state < 4; ++state) {
        const QImage picture = button.picture(static_cast<ButtonState>(state)).toImage();
        ASSERT_EQ(picture.size(), QSize(32, 30));
        EXPECT_EQ(picture.pixel(16, 15), kTitleBar);
    }
}

}  // namespace
}  // namespace tavelo
