// The edit box's key events: codes and modifier states, the order of the handler and the
// box's own handling, line breaks as CR LF, and the selection hidden without the focus.
#include <gtest/gtest.h>

#include <vector>

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTest>

#include "answer/TextCodecs.h"
#include "toolkit/KeyEditBox.h"

namespace tavelo {
namespace {

constexpr int kTimeoutMs = 30000;

struct KeyRecord {
    int keyCode;
    int modifierState;
    bool operator==(const KeyRecord&) const = default;
};

bool IsModifierKey(int keyCode) {
    return keyCode == 16 || keyCode == 17 || keyCode == 18;
}

class KeyEditBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(300, 200);
        box = new KeyEditBox(&window);
        box->setGeometry(0, 0, 300, 100);
        // The modifier keys report themselves too; the tables look at the other keys.
        QObject::connect(box, &KeyEditBox::keyPressed, [this](int code, int state) {
            if (!IsModifierKey(code)) {
                pressed.push_back({code, state});
            }
        });
        QObject::connect(box, &KeyEditBox::keyReleased, [this](int code, int state) {
            if (!IsModifierKey(code)) {
                released.push_back({code, state});
            }
        });
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window, kTimeoutMs));
    }

    // Focus changes sent straight to the box: tests share one display, where a window of
    // another test may take the keyboard focus at any moment.
    void giveFocus(bool focused) {
        QFocusEvent change(focused ? QEvent::FocusIn : QEvent::FocusOut, Qt::OtherFocusReason);
        QApplication::sendEvent(box, &change);
    }

    QWidget window;
    KeyEditBox* box = nullptr;
    std::vector<KeyRecord> pressed;
    std::vector<KeyRecord> released;
};

struct KeyRow {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    KeyRecord expected;
};

class KeyCodesAndModifiers : public KeyEditBoxTest, public ::testing::WithParamInterface<KeyRow> {};

TEST_P(KeyCodesAndModifiers, EachKeyEventCarriesCodeAndModifierState) {
    const KeyRow& row = GetParam();
    QTest::keyPress(box, row.key, row.modifiers);
    QTest::keyRelease(box, row.key, row.modifiers);
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_EQ(pressed[0], row.expected);
    ASSERT_EQ(released.size(), 1u);
    EXPECT_EQ(released[0], row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyCodesAndModifiers,
    ::testing::Values(
        KeyRow{"Enter", Qt::Key_Return, Qt::NoModifier, {13, 0}},
        KeyRow{"CtrlEnter", Qt::Key_Return, Qt::ControlModifier, {13, 1}},
        KeyRow{"ShiftEnter", Qt::Key_Return, Qt::ShiftModifier, {13, 2}},
        KeyRow{"CtrlShiftEnter", Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier, {13, 3}},
        KeyRow{"KeypadEnter", Qt::Key_Enter, Qt::KeypadModifier, {13, 0}},
        KeyRow{"AltA", Qt::Key_A, Qt::AltModifier, {65, 4}},
        KeyRow{"CtrlAltF5", Qt::Key_F5, Qt::ControlModifier | Qt::AltModifier, {116, 5}},
        KeyRow{"AllThreeWithDigit",
               Qt::Key_7,
               Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier,
               {55, 7}},
        KeyRow{"Backspace", Qt::Key_Backspace, Qt::NoModifier, {8, 0}},
        KeyRow{"Left", Qt::Key_Left, Qt::NoModifier, {37, 0}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(KeyEditBoxTest, TheHandlerSeesTheTextBeforeTheKeyIsHandled) {
    box->setText("x");
    box->moveCursor(QTextCursor::End);
    QString seen;
    QObject::connect(box, &KeyEditBox::keyPressed, [&] { seen = box->toPlainText(); });
    QTest::keyClick(box, Qt::Key_A);
    EXPECT_EQ(seen, "x");
    EXPECT_EQ(box->toPlainText(), "xa");
}

class EnterBreaksTheLine : public KeyEditBoxTest,
                           public ::testing::WithParamInterface<Qt::KeyboardModifiers> {};

TEST_P(EnterBreaksTheLine, AfterAHandlerThatEmptiedTheBox) {
    box->setText("hello");
    box->moveCursor(QTextCursor::End);
    QObject::connect(box, &KeyEditBox::keyPressed, [this] { box->setText(""); });
    QTest::keyClick(box, Qt::Key_Return, GetParam());
    EXPECT_EQ(box->text(), "\r\n");
}

INSTANTIATE_TEST_SUITE_P(Modifiers, EnterBreaksTheLine,
                         ::testing::Values(Qt::NoModifier, Qt::ControlModifier, Qt::ShiftModifier,
                                           Qt::ControlModifier | Qt::ShiftModifier,
                                           Qt::AltModifier));

TEST_F(KeyEditBoxTest, LineBreaksAreCrLfAtTheTextEdge) {
    const Text typed = Utf8ToGbk("你好\r\n世界\nend");
    box->setText(typed);
    EXPECT_EQ(box->document()->blockCount(), 3);
    EXPECT_EQ(box->text(), Utf8ToGbk("你好\r\n世界\r\nend"));
    box->moveCursor(QTextCursor::End);
    QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(box, Qt::Key_Z);
    EXPECT_EQ(box->text(), Utf8ToGbk("你好\r\n世界\r\nend\r\nz"));
}

TEST_F(KeyEditBoxTest, AHandlerMayDestroyTheBox) {
    QPointer<KeyEditBox> watched = box;
    QObject::connect(box, &KeyEditBox::keyPressed, [this] {
        // What a nested event loop inside a handler can do to the box.
        box->deleteLater();
        QCoreApplication::sendPostedEvents(box, QEvent::DeferredDelete);
    });
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(watched.isNull());
}

TEST_F(KeyEditBoxTest, AutoRepeatReleasesAreNotReported) {
    QKeyEvent repeatedRelease(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r", true);
    QApplication::sendEvent(box, &repeatedRelease);
    EXPECT_TRUE(released.empty());
    QKeyEvent finalRelease(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, "\r", false);
    QApplication::sendEvent(box, &finalRelease);
    EXPECT_EQ(released.size(), 1u);
}

int CountHighlightPixels(const QImage& image, const QColor& highlight) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == highlight) {
                ++count;
            }
        }
    }
    return count;
}

TEST_F(KeyEditBoxTest, SelectionShowsOnlyWhileTheBoxHasTheFocus) {
    const QColor highlight(0, 0, 255);
    QPalette colours = box->palette();
    colours.setColor(QPalette::Active, QPalette::Highlight, highlight);
    box->setPalette(colours);
    box->setPlainText("WWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    box->selectAll();
    giveFocus(true);
    EXPECT_GT(CountHighlightPixels(box->viewport()->grab().toImage(), highlight), 100);

    bool lost = false;
    QObject::connect(box, &KeyEditBox::focusLost, [&] { lost = true; });
    giveFocus(false);
    EXPECT_TRUE(lost);
    EXPECT_TRUE(box->textCursor().hasSelection()) << "the selection itself is kept";
    const QImage unfocused = box->viewport()->grab().toImage();
    EXPECT_EQ(CountHighlightPixels(unfocused, highlight), 0);
    EXPECT_EQ(CountHighlightPixels(unfocused,
                                   box->palette().color(QPalette::Inactive, QPalette::Highlight)),
              0);

    box->setHideSelection(false);
    EXPECT_GT(CountHighlightPixels(box->viewport()->grab().toImage(),
                                   box->palette().color(QPalette::Inactive, QPalette::Highlight)),
              100);
}

TEST_F(KeyEditBoxTest, ReportsTheRightButtonRelease) {
    int rightReleases = 0;
    QObject::connect(box, &KeyEditBox::rightButtonReleased, [&] { ++rightReleases; });
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(rightReleases, 0);
    QTest::mouseRelease(box->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_EQ(rightReleases, 1);
}

}  // namespace
}  // namespace tavelo
