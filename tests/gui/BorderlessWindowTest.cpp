// The borderless window: centred at its first show, closed by Esc, moved by a drag on its
// background, its labels and its shape boxes but not on its other controls.
#include <gtest/gtest.h>

#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include "toolkit/BorderlessWindow.h"
#include "toolkit/GradientLabel.h"
#include "toolkit/KeyEditBox.h"
#include "toolkit/PictureButton.h"
#include "toolkit/ShapeBox.h"
#include "toolkit/TransparentLabel.h"

namespace tavelo {
namespace {

constexpr int kTimeoutMs = 30000;

struct SizeCase {
    const char* name;
    int width;
    int height;
};

class CentredWindow : public ::testing::TestWithParam<SizeCase> {};

TEST_P(CentredWindow, FirstShowCentresWhateverThePlaceBefore) {
    const SizeCase& size = GetParam();
    BorderlessWindow window;
    window.resize(size.width, size.height);
    window.move(3, 7);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, kTimeoutMs));
    const QRect screen = window.screen()->geometry();
    EXPECT_EQ(window.pos(), QPoint(screen.x() + (screen.width() - size.width) / 2,
                                   screen.y() + (screen.height() - size.height) / 2));
    EXPECT_EQ(window.geometry().topLeft(), window.pos()) << "no frame around the window";
}

INSTANTIATE_TEST_SUITE_P(Sizes, CentredWindow,
                         ::testing::Values(SizeCase{"MainWindowSize", 567, 430},
                                           SizeCase{"OddSizes", 381, 263}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(BorderlessWindow, CentringHappensOnlyAtTheFirstShow) {
    BorderlessWindow window;
    window.resize(200, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, kTimeoutMs));
    window.hide();
    window.move(10, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, kTimeoutMs));
    EXPECT_EQ(window.pos(), QPoint(10, 20));
}

// A window with one control of each kind that matters for Esc and for dragging.
struct TestWindow {
    TestWindow() {
        window.resize(400, 300);
        label = new GradientLabel(&window);
        label->setGeometry(0, 0, 400, 30);
        frame = new ShapeBox(&window);
        frame->setGeometry(0, 150, 400, 100);
        frameLabel = new QLabel(frame);
        frameLabel->setGeometry(0, 10, 400, 2);
        edit = new KeyEditBox(frame);
        edit->setGeometry(0, 20, 400, 80);
        edit->setPlainText("some words to select");
        button = new PictureButton(&window);
        button->setGeometry(300, 260, 72, 28);
        overBackground = new TransparentLabel(&window);
        overBackground->setGeometry(0, 40, 200, 100);
        overEditBox = new TransparentLabel(&window);
        overEditBox->setGeometry(0, 190, 100, 40);
        window.show();
    }
    bool ready() { return QTest::qWaitForWindowExposed(&window, kTimeoutMs); }

    BorderlessWindow window;
    GradientLabel* label;
    ShapeBox* frame;
    QLabel* frameLabel;
    KeyEditBox* edit;
    PictureButton* button;
    TransparentLabel* overBackground;
    TransparentLabel* overEditBox;
};

TEST(BorderlessWindow, EscClosesTheWindowFromItselfAndFromItsEditBox) {
    for (const bool fromEditBox : {false, true}) {
        SCOPED_TRACE(fromEditBox ? "focus in the edit box" : "focus on the window");
        TestWindow test;
        ASSERT_TRUE(test.ready());
        QWidget* target = fromEditBox ? static_cast<QWidget*>(test.edit) : &test.window;
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !test.window.isVisible(); }, kTimeoutMs));
        EXPECT_EQ(test.edit->toPlainText(), "some words to select");
    }
}

enum class Handle {
    Background,
    Label,
    ShapeBox,
    LabelInShapeBox,
    EditBox,
    PictureButton,
    TransparentLabelOverBackground,
    TransparentLabelOverEditBox,
};

struct DragRow {
    const char* name;
    Handle handle;
    bool moves;
};

// The widget that receives the press, and where, for each handle.
std::pair<QWidget*, QPoint> PressPoint(TestWindow& test, Handle handle) {
    switch (handle) {
        case Handle::Background:
            return {&test.window, QPoint(300, 100)};
        case Handle::Label:
            return {test.label, QPoint(100, 15)};
        case Handle::ShapeBox:
            return {test.frame, QPoint(100, 5)};
        case Handle::LabelInShapeBox:
            return {test.frameLabel, QPoint(100, 1)};
        // The part of an edit box that takes the mouse.
        case Handle::EditBox:
            return {test.edit->viewport(), QPoint(150, 10)};
        case Handle::PictureButton:
            return {test.button, QPoint(30, 14)};
        case Handle::TransparentLabelOverBackground:
            return {test.overBackground, QPoint(50, 50)};
        case Handle::TransparentLabelOverEditBox:
            return {test.overEditBox, QPoint(50, 20)};
    }
    return {};
}

class WindowDrag : public ::testing::TestWithParam<DragRow> {};

TEST_P(WindowDrag, MovesTheWindowOnlyFromItsHandles) {
    const DragRow& row = GetParam();
    TestWindow test;
    ASSERT_TRUE(test.ready());
    const auto [target, local] = PressPoint(test, row.handle);
    // Through the window, as the window system delivers it: the window finds the control
    // under the pointer.
    QWindow* window = test.window.windowHandle();
    const QPoint at = target->mapTo(&test.window, local);
    const QPoint before = test.window.pos();
    const QPoint firstStep(20, 10);
    const QPoint delta(60, 40);
    QTest::mousePress(window, Qt::LeftButton, {}, at);
    QTest::mouseMove(window, at + firstStep);
    // A window that follows the pointer keeps the pointer over the press point, so window
    // coordinates shift with each step.
    const QPoint shift = row.moves ? firstStep : QPoint();
    QTest::mouseMove(window, at + delta - shift);
    QTest::mouseRelease(window, Qt::LeftButton, {}, row.moves ? at : at + delta);
    if (row.moves) {
        // Each move puts the press point back under the pointer.
        EXPECT_EQ(test.window.pos(), before + delta);
    } else {
        EXPECT_EQ(test.window.pos(), before);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Handles, WindowDrag,
    ::testing::Values(
        DragRow{"Background", Handle::Background, true}, DragRow{"Label", Handle::Label, true},
        DragRow{"ShapeBox", Handle::ShapeBox, true},
        DragRow{"LabelInShapeBox", Handle::LabelInShapeBox, true},
        DragRow{"EditBox", Handle::EditBox, false},
        DragRow{"PictureButton", Handle::PictureButton, false},
        // A transparent label passes the press to what lies below it.
        DragRow{"TransparentLabelOverBackground", Handle::TransparentLabelOverBackground, true},
        DragRow{"TransparentLabelOverEditBox", Handle::TransparentLabelOverEditBox, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(BorderlessWindow, DragInsideTheEditBoxSelectsText) {
    TestWindow test;
    ASSERT_TRUE(test.ready());
    QWidget* viewport = test.edit->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(2, 8));
    QTest::mouseMove(viewport, QPoint(200, 8));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(200, 8));
    EXPECT_TRUE(test.edit->textCursor().hasSelection());
}

}  // namespace
}  // namespace tavelo
