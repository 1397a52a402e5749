// What the drawn controls show: gradient labels, shape boxes, canvases and the two kinds of
// button, read back from their pixels.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include "toolkit/Canvas.h"
#include "toolkit/ColourButton.h"
#include "toolkit/GradientLabel.h"
#include "toolkit/PictureButton.h"
#include "toolkit/ShapeBox.h"

namespace tavelo {
namespace {

constexpr int kTimeoutMs = 30000;

::testing::AssertionResult Near(const QColor& actual, const QColor& expected, int tolerance = 1) {
    if (std::abs(actual.red() - expected.red()) <= tolerance &&
        std::abs(actual.green() - expected.green()) <= tolerance &&
        std::abs(actual.blue() - expected.blue()) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << actual.name().toStdString() << " is not near " << expected.name().toStdString();
}

QColor PixelOf(QWidget& widget, QPoint at) {
    return widget.grab().toImage().pixelColor(at);
}

TEST(GradientLabel, ThreeStopsAcrossTheWidthInterpolateEachChannel) {
    QWidget parent;
    GradientLabel label(&parent);
    label.setGeometry(0, 0, 101, 10);
    label.setGradientColourNames({"#0080FF", "#17C4E8", "#17C4E8"});
    const QImage image = label.grab().toImage();
    EXPECT_TRUE(Near(image.pixelColor(0, 5), QColor(0, 128, 255)));
    EXPECT_TRUE(Near(image.pixelColor(25, 5), QColor(12, 162, 244)));  // half way to the middle
    EXPECT_TRUE(Near(image.pixelColor(50, 5), QColor(23, 196, 232)));
    EXPECT_TRUE(Near(image.pixelColor(100, 5), QColor(23, 196, 232)));
    EXPECT_EQ(label.gradientColourNames(), QStringList({"#0080FF", "#17C4E8", "#17C4E8"}));
}

TEST(GradientLabel, OneColourFillsAndNoneLeavesTheParentsBackground) {
    QWidget parent;
    parent.resize(40, 20);
    parent.setAutoFillBackground(true);
    QPalette colours = parent.palette();
    colours.setColor(QPalette::Window, QColor(0, 200, 0));
    parent.setPalette(colours);
    auto* solid = new GradientLabel(&parent);
    solid->setGeometry(0, 0, 20, 20);
    solid->setGradientColours({QColor(200, 0, 0)});
    auto* plain = new GradientLabel(&parent);
    plain->setGeometry(20, 0, 20, 20);
    const QImage image = parent.grab().toImage();
    EXPECT_TRUE(Near(image.pixelColor(10, 10), QColor(200, 0, 0)));
    EXPECT_TRUE(Near(image.pixelColor(30, 10), QColor(0, 200, 0)));
}

TEST(ShapeBox, OutlineOnTheEdgeAndFillInside) {
    QWidget parent;
    parent.resize(100, 100);
    parent.setAutoFillBackground(true);
    QPalette colours = parent.palette();
    colours.setColor(QPalette::Window, QColor(0, 200, 0));
    parent.setPalette(colours);
    auto* filled = new ShapeBox(&parent);
    filled->setGeometry(0, 0, 40, 30);
    filled->setLineColour(QColor(255, 0, 0));
    filled->setFillColour(Qt::white);
    auto* thick = new ShapeBox(&parent);
    thick->setGeometry(50, 0, 40, 30);
    thick->setLineColour(QColor(0, 0, 255));
    thick->setLineWidth(3);
    const QImage image = parent.grab().toImage();
    EXPECT_TRUE(Near(image.pixelColor(0, 0), QColor(255, 0, 0)));
    EXPECT_TRUE(Near(image.pixelColor(39, 29), QColor(255, 0, 0)));
    EXPECT_TRUE(Near(image.pixelColor(20, 29), QColor(255, 0, 0)));
    EXPECT_TRUE(Near(image.pixelColor(1, 1), Qt::white));
    EXPECT_TRUE(Near(image.pixelColor(38, 28), Qt::white));
    // Three pixels of line, then the parent shows through a box without fill.
    EXPECT_TRUE(Near(image.pixelColor(52, 2), QColor(0, 0, 255)));
    EXPECT_TRUE(Near(image.pixelColor(53, 3), QColor(0, 200, 0)));
    EXPECT_TRUE(Near(image.pixelColor(87, 15), QColor(0, 0, 255)));
    EXPECT_TRUE(Near(image.pixelColor(86, 15), QColor(0, 200, 0)));
}

TEST(ShapeBox, DuplicateIsAnEqualSibling) {
    QWidget parent;
    auto* original = new ShapeBox(&parent);
    original->setGeometry(24, 216, 48, 32);
    original->setLineColour(QColor("#C0C0C0"));
    original->setFillColour(Qt::white);
    original->setLineWidth(2);
    original->hide();
    ShapeBox* copy = original->duplicate();
    EXPECT_NE(copy, original);
    EXPECT_EQ(copy->parentWidget(), &parent);
    EXPECT_EQ(copy->geometry(), original->geometry());
    EXPECT_EQ(copy->lineColour(), original->lineColour());
    EXPECT_EQ(copy->fillColour(), original->fillColour());
    EXPECT_EQ(copy->lineWidth(), 2);
    EXPECT_TRUE(copy->isHidden());
}

TEST(Canvas, BackgroundPictureBlendsOverTheColourAndFramesCopyOut) {
    QWidget parent;
    auto* source = new Canvas(&parent);
    source->setGeometry(0, 0, 8, 4);
    source->setBackgroundColour(QColor(23, 196, 232));
    source->hide();
    QImage strip(4, 2, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    strip.setPixelColor(0, 0, QColor(255, 255, 255));
    strip.setPixelColor(2, 0, QColor(0, 0, 0, 26));
    source->setBackgroundPicture(strip);

    auto* frame = new Canvas(&parent);
    frame->hide();
    frame->resize(2, 2);  // hidden canvases get no resize event: the surface must follow
    frame->copyFrom(*source, QRect(2, 0, 2, 2), QPoint(0, 0));
    const QImage picture = frame->content();
    ASSERT_EQ(picture.size(), QSize(2, 2));
    EXPECT_TRUE(Near(picture.pixelColor(0, 0), QColor(21, 176, 208), 2));  // 10 % black veil
    EXPECT_TRUE(Near(picture.pixelColor(1, 1), QColor(23, 196, 232)));
    EXPECT_TRUE(Near(source->content().pixelColor(0, 0), Qt::white));
    EXPECT_TRUE(Near(source->content().pixelColor(7, 3), QColor(23, 196, 232)));
}

QPixmap Solid(QSize size, const QColor& colour) {
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return pixmap;
}

class PictureButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(200, 100);
        button = new PictureButton(&window);
        button->setGeometry(50, 30, 72, 28);
        button->setPictures(Solid({62, 28}, normal), Solid({62, 28}, hover),
                            Solid({62, 28}, pressed), Solid({62, 28}, disabled));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, kTimeoutMs));
        QTest::mouseMove(&window, QPoint(5, 5));
    }
    QColor centre() { return PixelOf(*button, QPoint(36, 14)); }

    const QColor normal{0x12, 0xB7, 0xF5};
    const QColor hover{0x47, 0xC8, 0xF8};
    const QColor pressed{0x0F, 0xA3, 0xE4};
    const QColor disabled{0x80, 0x80, 0x80};
    QWidget window;
    PictureButton* button = nullptr;
};

TEST_F(PictureButtonTest, ShowsThePictureOfEachState) {
    EXPECT_EQ(button->currentState(), ButtonState::Normal);
    EXPECT_TRUE(Near(centre(), normal));
    // A narrower picture sits in the middle: the outer five columns stay clear.
    EXPECT_FALSE(Near(PixelOf(*button, QPoint(2, 14)), normal));
    EXPECT_TRUE(Near(PixelOf(*button, QPoint(6, 14)), normal));

    QTest::mouseMove(button, QPoint(36, 14));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return button->currentState() == ButtonState::Hover; }, kTimeoutMs));
    EXPECT_TRUE(Near(centre(), hover));

    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(36, 14));
    EXPECT_EQ(button->currentState(), ButtonState::Pressed);
    EXPECT_TRUE(Near(centre(), pressed));
    // Off the button with the button still held: the normal picture again.
    QTest::mouseMove(button, QPoint(100, 14));
    EXPECT_EQ(button->currentState(), ButtonState::Normal);
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(100, 14));

    button->setEnabled(false);
    EXPECT_TRUE(Near(centre(), disabled));
}

TEST_F(PictureButtonTest, AMissingPictureFallsBackToNormal) {
    button->setPicture(ButtonState::Disabled, QPixmap());
    button->setEnabled(false);
    EXPECT_EQ(button->currentState(), ButtonState::Disabled);
    EXPECT_TRUE(Near(centre(), normal));
}

TEST_F(PictureButtonTest, AClickOffThePictureStatesStillClicks) {
    int clicks = 0;
    QObject::connect(button, &PictureButton::clicked, [&] { ++clicks; });
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(36, 14));
    EXPECT_EQ(clicks, 1);
}

TEST(ColourButton, BackgroundFollowsHotAndFocus) {
    QWidget window;
    window.resize(300, 100);
    // First in the focus chain, so that the button gets the focus only when the test gives it.
    auto* firstInLine = new QLineEdit(&window);
    firstInLine->setGeometry(10, 60, 100, 30);
    auto* button = new ColourButton(&window);
    button->setGeometry(10, 10, 200, 36);
    button->setText("OK");
    button->setNormalColour(QColor(1, 2, 3));
    button->setHotColour(QColor(40, 50, 60));
    button->setFocusColour(QColor(70, 80, 90));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, kTimeoutMs));
    QTest::mouseMove(&window, QPoint(250, 80));
    EXPECT_TRUE(Near(PixelOf(*button, QPoint(2, 2)), QColor(1, 2, 3)));
    // Straight to the button: another test's window may hold the display's keyboard focus.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(button, &focusIn);
    EXPECT_TRUE(Near(PixelOf(*button, QPoint(2, 2)), QColor(70, 80, 90)));
    QTest::mouseMove(button, QPoint(20, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->underMouse(); }, kTimeoutMs));
    EXPECT_TRUE(Near(PixelOf(*button, QPoint(2, 2)), QColor(40, 50, 60)));
}

}  // namespace
}  // namespace tavelo
