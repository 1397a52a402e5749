// The window shadow on the real X display: its place around the owner, when it shows, that
// clicks pass through it, and that attaching twice or removing leaves nothing behind. The
// shadow is shown only while a compositing manager runs, so these tests start picom.
#include <gtest/gtest.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QProcess>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "decor/CompositingManager.h"
#include "decor/WindowShadow.h"
#include "support/CompositorProcess.h"

namespace tavelo {
namespace {

constexpr int kTimeoutMs = 30000;

xcb_connection_t* Connection() {
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

template <typename Reply>
std::unique_ptr<Reply, decltype(&std::free)> Owned(Reply* reply) {
    return {reply, &std::free};
}

// Where the X server has the window, relative to the root (no window manager reparents it).
QRect ServerGeometry(const QWidget* window) {
    auto reply = Owned(xcb_get_geometry_reply(
        Connection(), xcb_get_geometry(Connection(), static_cast<xcb_window_t>(window->winId())),
        nullptr));
    return reply ? QRect(reply->x, reply->y, reply->width, reply->height) : QRect();
}

// The root's children, bottom to top.
std::vector<xcb_window_t> Stacking() {
    xcb_connection_t* c = Connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    auto tree = Owned(xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr));
    if (!tree) {
        return {};
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return {children, children + xcb_query_tree_children_length(tree.get())};
}

bool IsAbove(const QWidget* upper, const QWidget* lower) {
    const auto stacking = Stacking();
    const auto upperAt = std::find(stacking.begin(), stacking.end(), upper->winId());
    const auto lowerAt = std::find(stacking.begin(), stacking.end(), lower->winId());
    return upperAt != stacking.end() && lowerAt != stacking.end() && upperAt > lowerAt;
}

int InputShapeRectangles(const QWidget* window) {
    auto reply = Owned(xcb_shape_get_rectangles_reply(
        Connection(),
        xcb_shape_get_rectangles(Connection(), static_cast<xcb_window_t>(window->winId()),
                                 XCB_SHAPE_SK_INPUT),
        nullptr));
    return reply ? static_cast<int>(reply->rectangles_len) : -1;
}

// A frameless top-level window standing for one of the program's borderless windows.
std::unique_ptr<QWidget> Owner(const QRect& geometry) {
    auto owner = std::make_unique<QWidget>(nullptr, Qt::FramelessWindowHint);
    owner->setGeometry(geometry);
    return owner;
}

int AlphaAt(const QImage& picture, int x, int y) {
    return picture.pixelColor(x, y).alpha();
}

bool ShownAt(const ShadowWindow* shadow, const QRect& place) {
    return shadow->isVisible() && shadow->geometry() == place && ServerGeometry(shadow) == place;
}

class WindowShadowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(compositor_.Running()) << "picom did not start"; }

    test::CompositorProcess compositor_;
};

TEST_F(WindowShadowTest, SurroundsTheOwnerAndFollowsItsMovesAndResizes) {
    auto owner = Owner({50, 50, 567, 430});
    ASSERT_TRUE(SetWindowShadow(owner.get()));
    ShadowWindow* shadow = ShadowOf(owner.get());
    ASSERT_NE(shadow, nullptr);
    EXPECT_FALSE(shadow->isVisible()) << "the owner is not shown yet";

    owner->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ShownAt(shadow, {45, 45, 577, 440}); }, kTimeoutMs));
    EXPECT_EQ(AlphaAt(shadow->picture(), 288, 2), 53);
    EXPECT_EQ(AlphaAt(shadow->picture(), 288, 220), 0) << "clear over the owner";

    owner->move(200, 120);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ShownAt(shadow, {195, 115, 577, 440}); }, kTimeoutMs));

    owner->resize(300, 200);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ShownAt(shadow, {195, 115, 310, 210}); }, kTimeoutMs));
    EXPECT_EQ(shadow->picture().size(), QSize(310, 210));
    EXPECT_EQ(AlphaAt(shadow->picture(), 155, 209), 15) << "the bottom edge redrawn";
}

TEST_F(WindowShadowTest, HiddenWhileTheOwnerIsMinimisedMaximisedOrHidden) {
    auto owner = Owner({60, 70, 300, 200});
    SetWindowShadow(owner.get());
    ShadowWindow* shadow = ShadowOf(owner.get());
    owner->show();
    const QRect place(55, 65, 310, 210);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ShownAt(shadow, place); }, kTimeoutMs));

    struct Step {
        const char* name;
        void (QWidget::*hide)();
        void (QWidget::*restore)();
    } const steps[] = {
        {"minimised", &QWidget::showMinimized, &QWidget::showNormal},
        {"maximised", &QWidget::showMaximized, &QWidget::showNormal},
        {"hidden", &QWidget::hide, &QWidget::show},
    };
    for (const Step& step : steps) {
        (owner.get()->*step.hide)();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !shadow->isVisible(); }, kTimeoutMs)) << step.name;
        (owner.get()->*step.restore)();
        EXPECT_TRUE(QTest::qWaitFor([&] { return ShownAt(shadow, place); }, kTimeoutMs))
            << "shown again after " << step.name;
    }
}

// Counts the left-button presses that reach a window.
class PressCounter : public QObject {
public:
    int presses = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) {
            ++presses;
        }
        return false;
    }
};

TEST_F(WindowShadowTest, ClicksOnItReachTheWindowBeneathAndItIsNeverActivated) {
    // Away from the middle of the screen, where other tests' windows open.
    auto beneath = Owner({900, 700, 200, 200});
    PressCounter counter;
    beneath->installEventFilter(&counter);
    beneath->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(beneath.get(), kTimeoutMs));

    auto owner = Owner({1100, 750, 150, 150});
    SetWindowShadow(owner.get());
    ShadowWindow* shadow = ShadowOf(owner.get());
    owner->show();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return ShownAt(shadow, {1095, 745, 160, 160});
        },
        kTimeoutMs));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(shadow, kTimeoutMs));
    ASSERT_TRUE(IsAbove(shadow, beneath.get()));
    EXPECT_TRUE(shadow->windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_TRUE(shadow->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_EQ(InputShapeRectangles(shadow), 0);

    // (1097, 800) is on the shadow's left band, over the window beneath, off the owner.
    ASSERT_EQ(QProcess::execute("xdotool", {"mousemove", "--sync", "1097", "800", "click", "1"}),
              0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.presses > 0; }, kTimeoutMs));
    QProcess::execute("xdotool", {"mousemove", "1279", "1023"});
    EXPECT_FALSE(shadow->isActiveWindow());
    EXPECT_NE(QApplication::activeWindow(), shadow);
}

TEST_F(WindowShadowTest, SecondCallReusesTheShadowAndItsHandler) {
    auto owner = Owner({50, 50, 300, 200});
    owner->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(owner.get(), kTimeoutMs));
    ASSERT_TRUE(SetWindowShadow(owner.get()));
    ShadowWindow* shadow = ShadowOf(owner.get());
    const QObject* handler =
        owner->property(kShadowHandlerProperty).value<QPointer<QObject>>().data();
    ASSERT_NE(handler, nullptr);
    const auto children = owner->children().size();

    ASSERT_TRUE(SetWindowShadow(owner.get(), 0, 7));
    EXPECT_EQ(ShadowOf(owner.get()), shadow);
    EXPECT_EQ(owner->property(kShadowHandlerProperty).value<QPointer<QObject>>().data(), handler);
    EXPECT_EQ(owner->children().size(), children);
    EXPECT_EQ(shadow->property(kShadowSizeProperty).toInt(), 7);

    // Black rings 14, 28 ... 98 from the outside in, nothing over the owner.
    ASSERT_TRUE(QTest::qWaitFor([&] { return ShownAt(shadow, {43, 43, 314, 214}); }, kTimeoutMs));
    EXPECT_EQ(AlphaAt(shadow->picture(), 157, 0), 14);
    EXPECT_EQ(AlphaAt(shadow->picture(), 157, 6), 98);
    EXPECT_EQ(AlphaAt(shadow->picture(), 157, 7), 0);
    EXPECT_EQ(AlphaAt(shadow->picture(), 7, 107), 0);
}

TEST_F(WindowShadowTest, WidthZeroRemovesEverything) {
    EXPECT_FALSE(SetWindowShadow(nullptr));

    auto owner = Owner({50, 50, 300, 200});
    owner->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(owner.get(), kTimeoutMs));
    const auto childrenBefore = owner->children();
    const auto propertiesBefore = owner->dynamicPropertyNames();

    ASSERT_TRUE(SetWindowShadow(owner.get(), 0x0000FF));
    QPointer<ShadowWindow> shadow = ShadowOf(owner.get());
    ASSERT_TRUE(QTest::qWaitFor([&] { return shadow->isVisible(); }, kTimeoutMs));

    EXPECT_FALSE(SetWindowShadow(owner.get(), 0x0000FF, 0));
    EXPECT_TRUE(shadow.isNull());
    EXPECT_EQ(ShadowOf(owner.get()), nullptr);
    EXPECT_EQ(owner->children(), childrenBefore);
    EXPECT_EQ(owner->dynamicPropertyNames(), propertiesBefore);
    owner->move(80, 90);
    owner->hide();
    owner->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(owner->findChildren<ShadowWindow*>().isEmpty());

    // And it can be given a shadow again.
    ASSERT_TRUE(SetWindowShadow(owner.get()));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ShadowOf(owner.get()) && ShadowOf(owner.get())->isVisible(); }, kTimeoutMs));
}

// Without a compositing manager a translucent window shows black where it should be clear,
// so the shadow waits for one, and goes when it goes.
TEST(WindowShadowCompositor, ShownOnlyWhileACompositingManagerRuns) {
    if (CompositingManager::Instance().IsRunning()) {
        GTEST_SKIP() << "a compositing manager runs on this display already";
    }
    auto owner = Owner({50, 50, 300, 200});
    owner->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(owner.get(), kTimeoutMs));
    ASSERT_TRUE(SetWindowShadow(owner.get()));
    ShadowWindow* shadow = ShadowOf(owner.get());
    QCoreApplication::processEvents();
    EXPECT_FALSE(shadow->isVisible());

    test::CompositorProcess compositor;
    ASSERT_TRUE(compositor.Running());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ShownAt(shadow, {45, 45, 310, 210}); }, kTimeoutMs));

    ASSERT_TRUE(compositor.Stop());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !shadow->isVisible(); }, kTimeoutMs));
}

}  // namespace
}  // namespace tavelo
