// The settings window: filled from chat.ini, the focus frames, the checked save, and the
// ways of closing it without saving.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "answer/TextCodecs.h"
#include "app/AppState.h"
#include "decor/WindowShadow.h"
#include "platform/FileSystem.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsWindow.h"
#include "support/FileLimits.h"
#include "support/TempDir.h"
#include "toolkit/ColourButton.h"
#include "toolkit/PictureButton.h"
#include "toolkit/QtText.h"
#include "toolkit/ShapeBox.h"

namespace tavelo {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

constexpr int kTimeoutMs = 30000;
const QColor kSilver(0xC0, 0xC0, 0xC0);
const QColor kBlue(0x00, 0x88, 0xFF);

// What a message box showed before the test pressed its OK button.
struct ShownMessage {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::Critical;
    qsizetype buttons = 0;
};

// Answers the next message box with OK, from inside its own loop, and records it; stops
// looking when the returned watch goes.
std::unique_ptr<QTimer> AnswerNextMessageBox(std::optional<ShownMessage>& shown) {
    auto poll = std::make_unique<QTimer>();
    QObject::connect(poll.get(), &QTimer::timeout, [timer = poll.get(), &shown] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        timer->stop();
        shown = ShownMessage{box->text(), box->windowTitle(), box->icon(), box->buttons().size()};
        box->button(QMessageBox::Ok)->click();
    });
    poll->start(10);
    return poll;
}

class SettingsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        OverrideRunDirectory(dir_.path().string());
        App().BotNickname = "bot before";
        App().BotAvatarUrl = "http://before/bot.png";
        App().OwnAvatarUrl = "http://before/own.png";
    }

    void TearDown() override {
        delete window_;
        OverrideRunDirectory("");
    }

    // A new settings window, shown and active.
    void Open() {
        window_ = new SettingsWindow;
        window_->show();
        window_->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window_, kTimeoutMs));
    }

    QLineEdit* Box(const char* name) const { return window_->findChild<QLineEdit*>(name); }
    QString BoxText(const char* name) const { return Box(name)->text(); }

    void Type(const char* box, const std::string& gbk) const { Box(box)->setText(ToQString(gbk)); }

    void ClickSave() const { window_->findChild<ColourButton*>("SaveButton")->click(); }

    bool WaitUntilClosed() const {
        return QTest::qWaitFor([this] { return window_.isNull(); }, kTimeoutMs);
    }

    void ExpectTextsUntouched() const {
        EXPECT_EQ(App().BotNickname, "bot before");
        EXPECT_EQ(App().BotAvatarUrl, "http://before/bot.png");
        EXPECT_EQ(App().OwnAvatarUrl, "http://before/own.png");
    }

    TempDir dir_;
    std::filesystem::path file_ = dir_ / "chat.ini";
    QPointer<SettingsWindow> window_;
};

TEST_F(SettingsWindowTest, WithoutChatIniAllBoxesAreEmpty) {
    Open();
    for (const char* box : {"NicknameBox", "BotAvatarBox", "OwnAvatarBox", "SmartReplyBox"}) {
        EXPECT_EQ(BoxText(box), "") << box;
    }
}

TEST_F(SettingsWindowTest, BoxesShowTheFileNotTheProgramsTexts) {
    WriteFileBytes(file_, "[pz]\r\nname1=" + Utf8ToGbk("小柠") +
                              "\r\nname2=http://file/bot.png\r\nname3=\r\n");
    Open();
    EXPECT_EQ(BoxText("NicknameBox"), QString::fromUtf8("小柠"));
    EXPECT_EQ(BoxText("BotAvatarBox"), "http://file/bot.png");
    EXPECT_EQ(BoxText("OwnAvatarBox"), "");
}

struct AcceptedCase {
    const char* name;
    std::string nickname, botAvatar, ownAvatar;
};

void PrintTo(const AcceptedCase& row, std::ostream* os) {
    *os << row.name;
}

class AcceptedSaveTest : public SettingsWindowTest,
                         public ::testing::WithParamInterface<AcceptedCase> {};

TEST_P(AcceptedSaveTest, UpdatesTheTextsWritesTheFileAndCloses) {
    const AcceptedCase& c = GetParam();
    WriteFileBytes(file_, "[other]\r\nname1=keep\r\n");
    Open();
    Type("NicknameBox", c.nickname);
    Type("BotAvatarBox", c.botAvatar);
    Type("OwnAvatarBox", c.ownAvatar);
    Type("SmartReplyBox", "never saved");
    ClickSave();

    EXPECT_EQ(App().BotNickname, c.nickname);
    EXPECT_EQ(App().BotAvatarUrl, c.botAvatar);
    EXPECT_EQ(App().OwnAvatarUrl, c.ownAvatar);
    EXPECT_EQ(ReadFileBytes(file_), "[other]\r\nname1=keep\r\n[pz]\r\nname1=" + c.nickname +
                                        "\r\nname2=" + c.botAvatar + "\r\nname3=" + c.ownAvatar +
                                        "\r\n");
    if (test::UserAttributesWork(dir_.path())) {
        EXPECT_EQ(GetFileAttributes(SettingsFilePath()), 0x26u);
    }
    EXPECT_TRUE(WaitUntilClosed());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AcceptedSaveTest,
    ::testing::Values(AcceptedCase{"plain_addresses", Utf8ToGbk("小柠"), "http://a/bot.png",
                                   "http://a/me.png"},
                      AcceptedCase{"secure_scheme", "Bot", "https://a/bot.png", "https://a/me.png"},
                      AcceptedCase{"both_avatars_empty", "Bot", "", ""},
                      AcceptedCase{"http_in_the_middle", "", "see http here", "xhttpx"},
                      AcceptedCase{"empty_nickname", "", "http://a", ""}),
    [](const auto& row) { return std::string(row.param.name); });

struct RejectedCase {
    const char* name;
    std::string botAvatar, ownAvatar;
};

void PrintTo(const RejectedCase& row, std::ostream* os) {
    *os << row.name;
}

class RejectedSaveTest : public SettingsWindowTest,
                         public ::testing::WithParamInterface<RejectedCase> {};

TEST_P(RejectedSaveTest, ShowsTheMessageAndChangesNothing) {
    const RejectedCase& c = GetParam();
    const std::string before = "[pz]\r\nname1=old\r\n";
    WriteFileBytes(file_, before);
    Open();
    Type("NicknameBox", "new nickname");
    Type("BotAvatarBox", c.botAvatar);
    Type("OwnAvatarBox", c.ownAvatar);

    std::optional<ShownMessage> shown;
    const auto watch = AnswerNextMessageBox(shown);
    ClickSave();

    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->text, QString::fromUtf8("头像请输入网址！"));
    EXPECT_EQ(shown->title, QString::fromUtf8("信息："));
    EXPECT_EQ(shown->icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown->buttons, 1);

    EXPECT_EQ(ReadFileBytes(file_), before);
    ExpectTextsUntouched();
    ASSERT_FALSE(window_.isNull());
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(BoxText("NicknameBox"), "new nickname");
    EXPECT_EQ(BoxText("BotAvatarBox"), ToQString(c.botAvatar));
    EXPECT_EQ(BoxText("OwnAvatarBox"), ToQString(c.ownAvatar));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RejectedSaveTest,
    ::testing::Values(RejectedCase{"no_address", "my bot", ""},
                      RejectedCase{"upper_case_letters", "HTTP://A/BOT.PNG", ""},
                      RejectedCase{"other_scheme", "ftp://a/bot.png", ""},
                      RejectedCase{"own_avatar_checked_too", "", "ftp://a/me.png"},
                      RejectedCase{"both_wrong_one_message", "bot", "me"},
                      // 0x81 0x68 is one character whose second byte is "h".
                      RejectedCase{"letters_across_a_character", "\x81\x68ttp://a", ""}),
    [](const auto& row) { return std::string(row.param.name); });

struct CloseCase {
    const char* name;
    std::function<void(SettingsWindow*)> close;
};

void PrintTo(const CloseCase& row, std::ostream* os) {
    *os << row.name;
}

class CloseWithoutSavingTest : public SettingsWindowTest,
                               public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseWithoutSavingTest, LeavesFileAndTextsAsTheyWere) {
    const std::string before = "[pz]\r\nname1=old\r\n";
    WriteFileBytes(file_, before);
    Open();
    Type("NicknameBox", "new");
    Type("BotAvatarBox", "http://new");
    GetParam().close(window_);

    EXPECT_TRUE(WaitUntilClosed());
    EXPECT_EQ(ReadFileBytes(file_), before);
    ExpectTextsUntouched();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CloseWithoutSavingTest,
    ::testing::Values(
        CloseCase{"cross",
                  [](SettingsWindow* window) {
                      QTest::mouseClick(window->findChild<PictureButton*>("SettingsCloseButton"),
                                        Qt::LeftButton);
                  }},
        CloseCase{"escape",
                  [](SettingsWindow* window) {
                      QTest::keyClick(window->findChild<QLineEdit*>("NicknameBox"), Qt::Key_Escape);
                  }},
        CloseCase{"minimise_button_does_nothing_then_cross",
                  [](SettingsWindow* window) {
                      QTest::mouseClick(window->findChild<PictureButton*>("SettingsMinimizeButton"),
                                        Qt::LeftButton);
                      EXPECT_TRUE(window->isVisible());
                      window->findChild<PictureButton*>("SettingsCloseButton")->click();
                  }}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SettingsWindowTest, SaveThatCannotWriteKeepsTheNewValuesForTheRun) {
    // A read-only file refuses the writes; the marking that follows them lifts read-only.
    const std::string before = "[pz]\r\nname1=old\r\nname2=http://old\r\n";
    WriteFileBytes(file_, before);
    SetFileAttributes(SettingsFilePath(), kFileReadOnly);
    Open();
    Type("NicknameBox", "new");
    Type("BotAvatarBox", "http://new");
    Type("SmartReplyBox", "typed");
    ClickSave();
    ASSERT_TRUE(WaitUntilClosed());

    EXPECT_EQ(App().BotNickname, "new");
    EXPECT_EQ(App().BotAvatarUrl, "http://new");
    EXPECT_EQ(ReadFileBytes(file_), before);

    Open();
    EXPECT_EQ(BoxText("NicknameBox"), "old");
    EXPECT_EQ(BoxText("BotAvatarBox"), "http://old");
    EXPECT_EQ(BoxText("SmartReplyBox"), "");
}

// The box of each entry of FocusFrames, in order; the fifth entry has none.
constexpr const char* kFramedBoxes[] = {"NicknameBox", "BotAvatarBox", "OwnAvatarBox",
                                        "SmartReplyBox"};

TEST_F(SettingsWindowTest, FramesSitOnePixelAroundTheirBoxesBehindThem) {
    Open();
    const auto& frames = App().FocusFrames;
    for (std::size_t i = 0; i < 4; ++i) {
        QLineEdit* box = Box(kFramedBoxes[i]);
        ASSERT_FALSE(frames[i].isNull());
        EXPECT_EQ(frames[i]->parentWidget(), window_.data());
        EXPECT_TRUE(frames[i]->isVisible());
        EXPECT_EQ(frames[i]->geometry(), box->geometry().adjusted(-1, -1, 1, 1));
        EXPECT_FALSE(box->hasFrame());
        const QObjectList& siblings = window_->children();
        EXPECT_LT(siblings.indexOf(frames[i]), siblings.indexOf(box)) << "frame behind its box";
    }
    ASSERT_FALSE(frames[4].isNull());
    EXPECT_FALSE(frames[4]->isVisible());
}

TEST_F(SettingsWindowTest, EveryOpeningMakesFreshFrames) {
    Open();
    const QPointer<ShapeBox> first = App().FocusFrames[0];
    window_->close();
    ASSERT_TRUE(WaitUntilClosed());
    EXPECT_TRUE(first.isNull()) << "the frames go with their window";

    Open();
    for (const auto& frame : App().FocusFrames) {
        ASSERT_FALSE(frame.isNull());
        EXPECT_EQ(frame->parentWidget(), window_.data());
    }
}

TEST_F(SettingsWindowTest, OnlyTheFocusedBoxHasTheBlueFrame) {
    Open();
    const auto expectBlueOnly = [this](int focused) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(App().FocusFrames[i]->lineColour(), i == focused ? kBlue : kSilver)
                << kFramedBoxes[i] << " while " << kFramedBoxes[focused] << " has the focus";
        }
    };
    Box("BotAvatarBox")->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Box("BotAvatarBox")->hasFocus(); }, kTimeoutMs));
    expectBlueOnly(1);

    QTest::keyClick(Box("BotAvatarBox"), Qt::Key_Tab);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Box("OwnAvatarBox")->hasFocus(); }, kTimeoutMs));
    expectBlueOnly(2);

    QTest::mouseClick(Box("SmartReplyBox"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Box("SmartReplyBox")->hasFocus(); }, kTimeoutMs));
    expectBlueOnly(3);
}

struct PictureCase {
    const char* name;
    const char* button;
    ButtonState state;
    QColor ink;
};

void PrintTo(const PictureCase& row, std::ostream* os) {
    *os << row.name;
}

class ButtonPictureTest : public SettingsWindowTest,
                          public ::testing::WithParamInterface<PictureCase> {};

TEST_P(ButtonPictureTest, GlyphInItsStateColourOnWhite) {
    const PictureCase& c = GetParam();
    Open();
    const QImage picture = window_->findChild<PictureButton*>(c.button)->picture(c.state).toImage();
    ASSERT_EQ(picture.size(), QSize(30, 30));
    // The middle lies on the glyph (on both strokes of the cross); the corners are ground.
    EXPECT_EQ(picture.pixelColor(15, 15), c.ink);
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(picture.pixelColor(29, 29), QColor(Qt::white));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ButtonPictureTest,
    ::testing::Values(
        PictureCase{"cross_normal", "SettingsCloseButton", ButtonState::Normal, QColor(0x2C6ED5)},
        PictureCase{"cross_hover", "SettingsCloseButton", ButtonState::Hover, QColor(0xFFB2B2)},
        PictureCase{"cross_pressed", "SettingsCloseButton", ButtonState::Pressed, QColor(0xFF3333)},
        PictureCase{"cross_disabled", "SettingsCloseButton", ButtonState::Disabled,
                    QColor(0x2C6ED5)},
        PictureCase{"bar_normal", "SettingsMinimizeButton", ButtonState::Normal, QColor(0x2C6ED5)},
        PictureCase{"bar_hover", "SettingsMinimizeButton", ButtonState::Hover, QColor(0x7F7F7F)},
        PictureCase{"bar_pressed", "SettingsMinimizeButton", ButtonState::Pressed,
                    QColor(0x33B3ED)},
        PictureCase{"bar_disabled", "SettingsMinimizeButton", ButtonState::Disabled,
                    QColor(0x2C6ED5)}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(SettingsWindowTest, CreationGivesTheShadowAndTheAccentColour) {
    Open();
    EXPECT_NE(ShadowOf(window_), nullptr);
    auto* save = window_->findChild<ColourButton*>("SaveButton");
    const QColor accent(0x46, 0xB1, 0xF2);
    EXPECT_EQ(save->normalColour(), accent);
    EXPECT_EQ(save->hotColour(), accent);
    EXPECT_EQ(save->focusColour(), accent);
    EXPECT_EQ(save->text(), QString::fromUtf8("保  存"));
}

}  // namespace
}  // namespace tavelo
