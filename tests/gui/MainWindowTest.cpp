// The chat window in one process: its page file and page, its key and button events, its
// place on the screen and its free move. The program's ends are in ProgramEndTest.cpp.
#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QWebEnginePage>
#include <QWindow>

#include "SettingsFiller.h"
#include "answer/TextCodecs.h"
#include "app/AppState.h"
#include "app/ChatPageFile.h"
#include "app/MainWindow.h"
#include "decor/ButtonSkin.h"
#include "decor/WindowShadow.h"
#include "embedded/CloseButtonStrip.h"
#include "embedded/MaximizeButtonStrip.h"
#include "embedded/MenuButtonStrip.h"
#include "embedded/MinimizeButtonStrip.h"
#include "page/ChatPage.h"
#include "platform/FileSystem.h"
#include "support/HttpsTestServer.h"
#include "support/PageProbe.h"
#include "support/TempDir.h"
#include "toolkit/ChatView.h"
#include "toolkit/GradientLabel.h"
#include "toolkit/KeyEditBox.h"
#include "toolkit/PictureButton.h"
#include "toolkit/QtText.h"
#include "toolkit/ShapeBox.h"

namespace tavelo {
namespace {

using test::Evaluate;
using test::TempDir;
using test::WaitForScript;

constexpr std::uint32_t kPageMarks = kFileReadOnly | kFileHidden | kFileSystem | kFileArchive;

// Whether this file system keeps the hidden, system and archive marks (tmpfs keeps no user
// extended attributes on some kernels).
bool KeepsDosMarks(const TempDir& dir) {
    const Text probe = (dir / "probe").string();
    test::WriteFileBytes(probe, "x");
    SetFileAttributes(probe, kFileHidden);
    const bool kept = GetFileAttributes(probe) == kFileHidden;
    std::filesystem::remove(probe);
    return kept;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        OverrideRunDirectory(dir.path().string());
        CreateAppState();
        // Sends ask a local stand-in for the answer service.
        answerService.SetReply({.body = R"({"data":[{"value":{"answer":"ok"}}]})"});
        qputenv("TAVELO_ANSWER_URL", QByteArray::fromStdString(answerService.Url()));
    }
    void TearDown() override {
        window.reset();
        OverrideRunDirectory("");
        qunsetenv("TAVELO_ANSWER_URL");
    }

    // Creates and shows the window, and waits until its page can take bubbles.
    void Open() {
        window = std::make_unique<MainWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get(), 30000));
        ASSERT_TRUE(WaitForScript(page(),
                                  "typeof AddMsg === 'function' && "
                                  "document.getElementById('msgs') !== null"));
    }

    template <typename T>
    T* control(const char* name) {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    KeyEditBox* inputBox() { return window->inputBox(); }
    QWebEnginePage& page() { return *window->chatView()->page(); }

    int count(const char* selector) {
        const auto value = Evaluate(
            page(), QStringLiteral("document.querySelectorAll('%1').length").arg(selector));
        return value ? value->toInt() : -1;
    }
    QString evaluateString(const QString& script) {
        const auto value = Evaluate(page(), script);
        return value ? value->toString() : QStringLiteral("<no answer>");
    }

    // Clicks the fixed reply and waits for its bubble: every script line given before it has
    // then run, so what they did (or did not do) can be read. Only fixed replies say "233";
    // other bot bubbles may still be on their way when this starts.
    void settle() {
        const QString fixedReplies = QStringLiteral(
            "Array.from(document.querySelectorAll('#msgs .msg.robot .msg-ball'))"
            ".filter(function (ball) { return ball.innerHTML === '233'; }).length");
        const int before = Evaluate(page(), fixedReplies).value_or(-1).toInt();
        QTest::mouseClick(control<PictureButton>("FixedReplyButton"), Qt::LeftButton);
        ASSERT_TRUE(
            WaitForScript(page(), fixedReplies + QStringLiteral(" === %1").arg(before + 1)));
    }

    TempDir dir;
    test::HttpsTestServer answerService;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, FirstStartWritesThePageFileMarkedAndShowsIt) {
    Open();
    const Text path = ChatPagePath();
    EXPECT_EQ(path, (dir / "ct7.html").string());
    EXPECT_EQ(test::ReadFileBytes(path), std::string(ChatPageBytes()));
    const std::uint32_t marks = GetFileAttributes(path);
    EXPECT_EQ(marks & kFileReadOnly, kFileReadOnly);
    if (KeepsDosMarks(dir)) {
        EXPECT_EQ(marks, kPageMarks);
    }
    EXPECT_EQ(window->chatView()->address(), ToQString(path));
    EXPECT_EQ(count("#msgs .msg"), 0);
}

TEST_F(MainWindowTest, ALaterStartLeavesTheEarlierPageInPlaceAndShowsIt) {
    std::string earlier(ChatPageBytes());
    const auto bodyEnd = earlier.rfind("</body>");
    ASSERT_NE(bodyEnd, std::string::npos);
    earlier.insert(bodyEnd, "<div id=\"earlier\"></div>");
    const Text path = (dir / "ct7.html").string();
    test::WriteFileBytes(path, earlier);
    SetFileAttributes(path, kPageMarks);

    Open();
    EXPECT_EQ(test::ReadFileBytes(path), earlier);
    EXPECT_EQ(GetFileAttributes(path) & kFileReadOnly, kFileReadOnly);
    EXPECT_EQ(count("#earlier"), 1);
}

TEST_F(MainWindowTest, ReadsTheSettingsWhenCreated) {
    test::WriteFileBytes(dir / "chat.ini",
                         Utf8ToGbk("[pz]\r\nname1=小明\r\nname2=http://a/b.png\r\n"
                                   "name3=http://c/d.png\r\n"));
    Open();
    EXPECT_EQ(App().BotNickname, Utf8ToGbk("小明"));
    EXPECT_EQ(App().BotAvatarUrl, "http://a/b.png");
    EXPECT_EQ(App().OwnAvatarUrl, "http://c/d.png");
    ASSERT_TRUE(App().AnswerLock);
    EXPECT_TRUE(window->titleLabel()->text().isEmpty()) << "no status before the first message";

    settle();
    EXPECT_EQ(evaluateString("document.querySelector('#msgs .msg.robot .msg-left')"
                             ".getAttribute('worker')"),
              QString::fromUtf8("小明"));
    EXPECT_EQ(window->titleLabel()->text(), QString::fromUtf8("小明(在线)"));
}

TEST_F(MainWindowTest, ANicknameHoldingMarkupShowsInTheTitleAsTyped) {
    test::WriteFileBytes(dir / "chat.ini", Utf8ToGbk("[pz]\r\nname1=<b>龙</b>&lt;<br>x\r\n"));
    Open();
    settle();
    const QString expected = QString::fromUtf8("<b>龙</b>&lt;<br>x(在线)");
    EXPECT_EQ(window->titleLabel()->text(), expected);
    // Drawn as plain text, it looks exactly like a plain label with that text.
    QLabel plain;
    plain.setTextFormat(Qt::PlainText);
    plain.setFont(window->titleLabel()->font());
    plain.setAlignment(window->titleLabel()->alignment());
    plain.resize(window->titleLabel()->size());
    plain.setText(expected);
    EXPECT_EQ(window->titleLabel()->sizeHint(), plain.sizeHint());
}

TEST_F(MainWindowTest, FixedReplyShowsTheBotBubbleAndTheOnlineStatus) {
    Open();
    settle();
    EXPECT_EQ(count("#msgs .msg.guest"), 0);
    EXPECT_EQ(evaluateString("document.querySelector('#msgs .msg.robot .msg-ball').innerHTML"),
              "233");
    EXPECT_EQ(evaluateString("document.querySelector('#msgs .msg.robot .msg-left')"
                             ".getAttribute('worker')"),
              QString::fromUtf8("柠檬遇到糖"));
    EXPECT_EQ(window->titleLabel()->text(), QString::fromUtf8("柠檬遇到糖(在线)"));
    EXPECT_EQ(App().BotNickname, Utf8ToGbk("柠檬遇到糖"));
}

struct EnterRow {
    const char* name;
    Qt::KeyboardModifiers modifiers;
    bool sends;
};

class EnterInTheInputBox : public MainWindowTest, public ::testing::WithParamInterface<EnterRow> {};

TEST_P(EnterInTheInputBox, SendsUnlessCtrlAloneIsHeld) {
    const EnterRow& row = GetParam();
    Open();
    QTest::keyClicks(inputBox(), "hi");
    QTest::keyClick(inputBox(), Qt::Key_Return, row.modifiers);
    settle();
    if (row.sends) {
        EXPECT_EQ(count("#msgs .msg.guest"), 1);
        EXPECT_EQ(evaluateString("document.querySelector('#msgs .msg.guest .msg-ball').innerHTML"),
                  "hi");
        EXPECT_EQ(inputBox()->text(), "") << "emptied once the key was released";
    } else {
        EXPECT_EQ(count("#msgs .msg.guest"), 0);
        EXPECT_EQ(inputBox()->text(), "hi\r\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Modifiers, EnterInTheInputBox,
                         ::testing::Values(EnterRow{"Plain", Qt::NoModifier, true},
                                           EnterRow{"Shift", Qt::ShiftModifier, true},
                                           EnterRow{"CtrlShift",
                                                    Qt::ControlModifier | Qt::ShiftModifier, true},
                                           EnterRow{"Alt", Qt::AltModifier, true},
                                           EnterRow{"CtrlAlone", Qt::ControlModifier, false}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(MainWindowTest, LinesTypedWithCtrlEnterArriveAsOneMessageWithBreaks) {
    Open();
    QTest::keyClicks(inputBox(), "one");
    QTest::keyClick(inputBox(), Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClicks(inputBox(), "two");
    QTest::keyClick(inputBox(), Qt::Key_Return);
    settle();
    EXPECT_EQ(evaluateString("document.querySelector('#msgs .msg.guest .msg-ball').innerHTML"),
              "one<br>two");
}

TEST_F(MainWindowTest, EnterInAnEmptyBoxShowsNothingAndLeavesTheBoxEmpty) {
    Open();
    QTest::keyClick(inputBox(), Qt::Key_Return);
    settle();
    EXPECT_EQ(count("#msgs .msg.guest"), 0);
    EXPECT_EQ(inputBox()->text(), "");
}

TEST_F(MainWindowTest, SendButtonSendsTheBoxTextAndEmptiesTheBox) {
    Open();
    inputBox()->setText(Utf8ToGbk("你好\r\n世界"));
    QTest::mouseClick(control<PictureButton>("SendButton"), Qt::LeftButton);
    EXPECT_EQ(inputBox()->text(), "");
    settle();
    EXPECT_EQ(evaluateString("document.querySelector('#msgs .msg.guest .msg-ball').innerHTML"),
              QString::fromUtf8("你好<br>世界"));
}

TEST_F(MainWindowTest, EscFromTheInputBoxClosesTheWindow) {
    Open();
    QTest::keyClick(inputBox(), Qt::Key_Escape);
    EXPECT_TRUE(test::WaitUntil([&] { return !window->isVisible(); }));
}

TEST_F(MainWindowTest, IsCentredOnTheScreen) {
    Open();
    const QRect screen = window->screen()->geometry();
    EXPECT_EQ(window->size(), QSize(567, 430));
    EXPECT_EQ(window->pos(), QPoint(screen.x() + (screen.width() - 567) / 2,
                                    screen.y() + (screen.height() - 430) / 2));
}

TEST_F(MainWindowTest, TheInputAreaLiesOverTheLowestPartOfTheChatView) {
    Open();
    EXPECT_EQ(window->childAt(300, 290), control<ShapeBox>("InputFrame"));
    EXPECT_EQ(window->childAt(300, 301), control<QLabel>("InputSeparator"));
    EXPECT_TRUE(inputBox()->isAncestorOf(window->childAt(100, 320)));
    EXPECT_TRUE(window->chatView()->isAncestorOf(window->childAt(100, 100)))
        << "the transparent overlay lets the page take the mouse";
}

TEST_F(MainWindowTest, MaximizeDoesNothingAndMinimizeMinimizes) {
    Open();
    const QRect before = window->geometry();
    QTest::mouseClick(control<PictureButton>("MaximizeButton"), Qt::LeftButton);
    EXPECT_EQ(window->geometry(), before);
    EXPECT_FALSE(window->isMaximized());
    QTest::mouseClick(control<PictureButton>("MinimizeButton"), Qt::LeftButton);
    EXPECT_TRUE(window->isMinimized());
}

TEST_F(MainWindowTest, CreationGivesTheShadowAndSkinsTheTitleBarButtons) {
    Open();
    EXPECT_TRUE(window->property(kShadowProperty).isValid());
    struct Skin {
        const char* button;
        std::string_view strip;
        int width;
    };
    const Skin skins[] = {{"CloseButton", embedded::CloseButtonStrip(), 38},
                          {"MaximizeButton", embedded::MaximizeButtonStrip(), 32},
                          {"MinimizeButton", embedded::MinimizeButtonStrip(), 32},
                          {"MenuButton", embedded::MenuButtonStrip(), 32}};
    for (const Skin& skin : skins) {
        PictureButton expected;
        ApplyButtonSkin(&expected, skin.strip, skin.width, 30);
        auto* button = control<PictureButton>(skin.button);
        for (ButtonState state : {ButtonState::Normal, ButtonState::Hover, ButtonState::Pressed,
                                  ButtonState::Disabled}) {
            const QImage picture = button->picture(state).toImage();
            EXPECT_EQ(picture.size(), QSize(skin.width, 30)) << skin.button;
            EXPECT_EQ(picture, expected.picture(state).toImage()) << skin.button;
        }
    }
}

TEST_F(MainWindowTest, MenuOpensTheSettingsWhoseSaveNamesTheNextBubbles) {
    Open();
    test::SettingsFiller filler(QString::fromUtf8("小红"));
    QTest::mouseClick(control<PictureButton>("MenuButton"), Qt::LeftButton);
    EXPECT_TRUE(filler.saved());
    EXPECT_TRUE(filler.wasModal());
    EXPECT_EQ(App().BotNickname, Utf8ToGbk("小红"));
    settle();
    EXPECT_EQ(evaluateString("document.querySelector('#msgs .msg.robot .msg-left')"
                             ".getAttribute('worker')"),
              QString::fromUtf8("小红"));
    EXPECT_EQ(window->titleLabel()->text(), QString::fromUtf8("小红(在线)"));
}

struct DragRow {
    const char* name;
    QPoint at;  // in the window
    bool moves;
};

class DragOnTheMainWindow : public MainWindowTest, public ::testing::WithParamInterface<DragRow> {};

TEST_P(DragOnTheMainWindow, MovesItOnlyByItsBackgroundLabelsAndShapeBoxes) {
    const DragRow& row = GetParam();
    Open();
    QWindow* handle = window->windowHandle();
    const QPoint before = window->pos();
    const QPoint delta(-50, -30);
    QTest::mousePress(handle, Qt::LeftButton, {}, row.at);
    QTest::mouseMove(handle, row.at + QPoint(5, 5));
    // Once the window follows the pointer, the pointer stays over the press point.
    const QPoint followed = row.moves ? QPoint(5, 5) : QPoint();
    QTest::mouseMove(handle, row.at + delta - followed);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, row.moves ? row.at : row.at + delta);
    EXPECT_EQ(window->pos(), row.moves ? before + delta : before);
}

INSTANTIATE_TEST_SUITE_P(Places, DragOnTheMainWindow,
                         ::testing::Values(DragRow{"TitleStrip", QPoint(100, 15), true},
                                           DragRow{"StripAboveTheInputBox", QPoint(300, 290), true},
                                           DragRow{"Separator", QPoint(300, 301), true},
                                           DragRow{"BottomStripBesideTheButtons", QPoint(200, 410),
                                                   true},
                                           DragRow{"InputBox", QPoint(100, 340), false},
                                           DragRow{"SendButton", QPoint(520, 410), false},
                                           DragRow{"ChatPage", QPoint(100, 100), false}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace tavelo
