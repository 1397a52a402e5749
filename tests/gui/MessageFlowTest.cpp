#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "SettingsFiller.h"
#include "answer/TextCodecs.h"
#include "app/AppState.h"
#include "app/MainWindow.h"
#include "app/MessageFlow.h"
#include "platform/FileSystem.h"
#include "support/Gate.h"
#include "support/HttpsTestServer.h"
#include "support/PageProbe.h"
#include "support/TempDir.h"
#include "toolkit/ChatView.h"
#include "toolkit/GradientLabel.h"
#include "toolkit/KeyEditBox.h"
#include "toolkit/PictureButton.h"
#include "toolkit/QtText.h"

namespace tavelo {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const Text kNickname = Utf8ToGbk("柠檬遇到糖");
const Text kTyping = Utf8ToGbk("(正在输入中…)");
const Text kOnline = Utf8ToGbk("(在线)");
const Text kFallback = Utf8ToGbk("我不知道哦！");

struct Bubble {
    std::string side;  // "user" or "bot"
    std::string name;  // the bot's name line; empty for the user
    std::string html;  // the bubble's content as the page holds it (UTF-8)
    std::string avatar;

    bool operator==(const Bubble& other) const {
        return side == other.side && name == other.name && html == other.html;
    }
};

void PrintTo(const Bubble& bubble, std::ostream* os) {
    *os << bubble.side << " [" << bubble.name << "] " << bubble.html;
}

Bubble User(std::string html) {
    return {"user", "", std::move(html), ""};
}

Bubble Bot(std::string html, std::string name = "柠檬遇到糖") {
    return {"bot", std::move(name), std::move(html), ""};
}

// The answer service's JSON reply carrying `answer` (UTF-8) where the bot looks first.
test::TestReply AnswerReply(const std::string& answer) {
    QString escaped = QString::fromUtf8(answer);
    escaped.replace("\\", "\\\\").replace("\"", "\\\"").replace("\r", "\\r").replace("\n", "\\n");
    return {.headers = {{"Content-Type", "application/json; charset=utf-8"}},
            .body = R"({"data":[{"value":{"answer":")" + escaped.toStdString() + R"("}}]})"};
}

// The question as the service receives it: every byte of its code page 936 text as %XX.
std::string EncodedQuestion(const Text& gbk) {
    static const char* kHex = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char byte : gbk) {
        encoded += '%';
        encoded += kHex[byte >> 4];
        encoded += kHex[byte & 15];
    }
    return encoded;
}

// The value of "q" in a recorded request's target, as it was sent (still percent-encoded).
std::string QueryQuestion(const test::RecordedRequest& request) {
    const auto start = request.target.find("&q=");
    if (start == std::string::npos) {
        return "<no q>";
    }
    const auto end = request.target.find('&', start + 3);
    return request.target.substr(start + 3, end - start - 3);
}

// The chat window as the program shows it, talking to a local answer service.
class MessageFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        server_ = std::make_unique<test::HttpsTestServer>();
        qputenv("TAVELO_ANSWER_URL", QByteArray::fromStdString(server_->Url()));
        OverrideRunDirectory(dir_.path().string());
        CreateAppState();
        window_ = std::make_unique<MainWindow>();
        window_->show();
        ASSERT_TRUE(test::WaitForScript(page(), "typeof AddMsg === 'function'"));
    }

    void TearDown() override {
        window_.reset();
        for (const auto& gate : gates_) {
            gate->Open();  // no handler of the server is left waiting
        }
        qunsetenv("TAVELO_ANSWER_URL");
        OverrideRunDirectory("");
    }

    std::shared_ptr<test::Gate> NewGate() {
        return gates_.emplace_back(std::make_shared<test::Gate>());
    }

    QWebEnginePage& page() { return *window_->chatView()->page(); }
    KeyEditBox& inputBox() { return *window_->inputBox(); }
    Text title() { return ToText(window_->titleLabel()->text()); }

    // Types `gbk` into the input box and presses Enter, as the user does; returns when the
    // key press has been handled, that is after the whole exchange.
    void TypeAndEnter(const Text& gbk) {
        inputBox().setText(gbk);
        QTest::keyClick(&inputBox(), Qt::Key_Return);
    }

    std::vector<Bubble> Bubbles() {
        const auto value = test::Evaluate(page(), R"(
            Array.from(document.querySelectorAll('#msgs .msg')).map(function (m) {
                var left = m.querySelector('.msg-left');
                return [m.classList.contains('robot') ? 'bot' : 'user',
                        left ? left.getAttribute('worker') : '',
                        m.querySelector('.msg-ball').innerHTML,
                        m.querySelector('.msg-host').style.backgroundImage];
            }))");
        std::vector<Bubble> bubbles;
        if (!value) {
            ADD_FAILURE() << "the page gave no answer";
            return bubbles;
        }
        for (const QVariant& row : value->toList()) {
            const QVariantList fields = row.toList();
            bubbles.push_back(
                {fields[0].toString().toStdString(), fields[1].toString().toStdString(),
                 fields[2].toString().toStdString(), fields[3].toString().toStdString()});
        }
        return bubbles;
    }

    // Bubbles once there are `count` of them (script lines run in the page asynchronously).
    std::vector<Bubble> BubblesWhenThereAre(std::size_t count) {
        std::vector<Bubble> bubbles;
        test::WaitUntil([&] { return (bubbles = Bubbles()).size() >= count; });
        return bubbles;
    }

    test::TempDir dir_;
    std::unique_ptr<test::HttpsTestServer> server_;
    std::vector<std::shared_ptr<test::Gate>> gates_;
    std::unique_ptr<MainWindow> window_;
};

struct ExchangeCase {
    const char* name;
    std::string typed;     // UTF-8; converted to code page 936 as the input box holds it
    std::string shown;     // the user's bubble, as the page holds it
    std::string question;  // UTF-8 of what the service is asked
};

void PrintTo(const ExchangeCase& row, std::ostream* os) {
    *os << row.name;
}

class MessageExchange : public MessageFlowTest,
                        public ::testing::WithParamInterface<ExchangeCase> {};

TEST_P(MessageExchange, ShowsTheMessageAsksTheServiceAndShowsTheAnswer) {
    const auto& c = GetParam();
    server_->SetReply(AnswerReply("你好呀，夸克在此"));

    TypeAndEnter(Utf8ToGbk(c.typed));

    EXPECT_EQ(BubblesWhenThereAre(2),
              (std::vector<Bubble>{User(c.shown), Bot("你好呀，可爱小萝莉在此")}));
    ASSERT_EQ(server_->Requests().size(), 1u);
    EXPECT_EQ(QueryQuestion(server_->Requests()[0]), EncodedQuestion(Utf8ToGbk(c.question)));
    EXPECT_EQ(title(), kNickname + kOnline);
    EXPECT_EQ(App().BotNickname, kNickname);
    EXPECT_EQ(App().OwnAvatarUrl, kDefaultOwnAvatarUrl);
    EXPECT_EQ(App().BotAvatarUrl, kDefaultBotAvatarUrl);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageExchange,
    ::testing::Values(
        ExchangeCase{"two_lines", "你好\r\n世界", "你好<br>世界", "你好<br>世界"},
        ExchangeCase{"leading_line_break_dropped", "\r\nhello", "hello", "hello"},
        ExchangeCase{"only_one_leading_line_break_dropped", "\r\n\r\nhello", "<br>hello",
                     "<br>hello"},
        // The avatar pair runs over the inserted message, in any case; the name pair ran
        // before it was there. The service gets the message itself.
        ExchangeCase{"placeholders_in_the_message", "see #img and #NAME",
                     "see https://gravatar.com/avatar/00000000000000000000000000000000.jpg?d=mp "
                     "and #NAME",
                     "see #img and #NAME"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(MessageFlowTest, AvatarsAreTheDefaultsWhenTheSettingsGiveNone) {
    server_->SetReply(AnswerReply("ok"));
    TypeAndEnter("hi");
    const auto bubbles = BubblesWhenThereAre(2);
    ASSERT_EQ(bubbles.size(), 2u);
    EXPECT_NE(bubbles[0].avatar.find(std::string(kDefaultOwnAvatarUrl)), std::string::npos)
        << bubbles[0].avatar;
    EXPECT_NE(bubbles[1].avatar.find(std::string(kDefaultBotAvatarUrl)), std::string::npos)
        << bubbles[1].avatar;
}

TEST_F(MessageFlowTest, TypingStatusAndAnswerFollowTheirPauses) {
    server_->SetReply(AnswerReply("ok"));
    // Title changes as seen by a sampler running inside the send's pauses and wait; a change
    // is seen no sooner than it happens.
    std::optional<Clock::time_point> typingSeen, onlineSeen;
    QTimer sampler;
    sampler.setTimerType(Qt::PreciseTimer);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        const Text now = title();
        if (!typingSeen && now == kNickname + kTyping) {
            typingSeen = Clock::now();
        }
        if (!onlineSeen && now == kNickname + kOnline) {
            onlineSeen = Clock::now();
        }
    });
    sampler.start(1);

    const auto sent = Clock::now();
    TypeAndEnter("hello");
    test::WaitUntil([&] { return onlineSeen.has_value(); });

    ASSERT_TRUE(typingSeen && onlineSeen);
    EXPECT_GE(*typingSeen - sent, 500ms);
    EXPECT_GE(*onlineSeen - sent, 1000ms);
    EXPECT_LT(*typingSeen, *onlineSeen);
    EXPECT_EQ(BubblesWhenThereAre(2), (std::vector<Bubble>{User("hello"), Bot("ok")}));
}

struct NothingCase {
    const char* name;
    Text typed;
};

void PrintTo(const NothingCase& row, std::ostream* os) {
    *os << row.name;
}

class NothingToSend : public MessageFlowTest, public ::testing::WithParamInterface<NothingCase> {};

TEST_P(NothingToSend, ShowsNothingAndAsksNothing) {
    Text message = GetParam().typed;
    SendChatMessage(message);
    EXPECT_EQ(title(), "");
    // The fixed reply's bubble follows any bubble added before it, so it shows there was none.
    Text fixed = "233";
    SendChatMessage(fixed, 1);
    EXPECT_EQ(BubblesWhenThereAre(1), (std::vector<Bubble>{Bot("233")}));
    EXPECT_TRUE(server_->Requests().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, NothingToSend,
                         ::testing::Values(NothingCase{"empty", ""},
                                           NothingCase{"one_line_break", "\r\n"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(MessageFlowTest, AnswerOfOneLineBreakShowsNoBubbleAndKeepsTheTypingStatus) {
    server_->SetReply(AnswerReply("\r\n"));
    TypeAndEnter("hello");
    ASSERT_EQ(server_->Requests().size(), 1u);
    EXPECT_EQ(title(), kNickname + kTyping);
    // Nothing for the bot: the next bubble comes straight after the user's.
    Text fixed = "233";
    SendChatMessage(fixed, 1);
    EXPECT_EQ(BubblesWhenThereAre(2), (std::vector<Bubble>{User("hello"), Bot("233")}));
}

TEST_F(MessageFlowTest, SecondSendDuringTheFirstOnesWaitGetsBothAnswers) {
    // The first answer is held until the second message has been sent, so it arrives during
    // the second send's pauses, before the second worker starts. Each send still shows its
    // own answer, the second one first, as it runs inside the first.
    auto first = NewGate();
    server_->SetHandler([first](const test::RecordedRequest& request) {
        if (QueryQuestion(request) == EncodedQuestion("one")) {
            first->Wait();
            return AnswerReply("first answer");
        }
        return AnswerReply("second answer");
    });
    QTimer second;
    QObject::connect(&second, &QTimer::timeout, [&] {
        if (server_->Requests().size() != 1) {
            return;
        }
        second.stop();
        first->Open();
        TypeAndEnter("two");  // the whole second exchange runs in here
    });
    second.start(10);

    TypeAndEnter("one");

    EXPECT_EQ(
        BubblesWhenThereAre(4),
        (std::vector<Bubble>{User("one"), User("two"), Bot("second answer"), Bot("first answer")}));
    EXPECT_EQ(server_->Requests().size(), 2u);
    EXPECT_EQ(title(), kNickname + kOnline);
}

TEST_F(MessageFlowTest, WindowTakesInputWhileASendWaits) {
    // The service holds its answer until the window has handled a key typed meanwhile.
    auto answer = NewGate();
    server_->SetHandler([answer](const test::RecordedRequest&) {
        answer->Wait();
        return AnswerReply("done");
    });
    QTimer typist;
    QObject::connect(&typist, &QTimer::timeout, [&] {
        if (server_->Requests().empty()) {
            return;
        }
        typist.stop();
        QCoreApplication::postEvent(
            &inputBox(), new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x"));
    });
    QObject::connect(&inputBox(), &KeyEditBox::textChanged, [&] {
        if (inputBox().toPlainText() == "x") {
            answer->Open();
        }
    });
    typist.start(10);

    TypeAndEnter("hello");

    EXPECT_EQ(BubblesWhenThereAre(2), (std::vector<Bubble>{User("hello"), Bot("done")}));
}

TEST_F(MessageFlowTest, SettingsSavedDuringTheWaitNameTheAnswer) {
    // The service holds its answer until the settings window, opened and saved during the
    // wait, has gone; the send then goes on and shows the answer under the new nickname.
    auto answer = NewGate();
    server_->SetHandler([answer](const test::RecordedRequest&) {
        answer->Wait();
        return AnswerReply("ok");
    });
    QTimer opener;
    bool settingsClosed = false;
    QObject::connect(&opener, &QTimer::timeout, [&] {
        if (server_->Requests().empty()) {
            return;
        }
        opener.stop();
        test::SettingsFiller filler(QString::fromUtf8("小红"));
        // Returns once the modal settings window has been closed.
        QTest::mouseClick(window_->findChild<PictureButton*>("MenuButton"), Qt::LeftButton);
        settingsClosed = filler.saved();
        answer->Open();
    });
    opener.start(10);

    TypeAndEnter("hello");

    EXPECT_TRUE(settingsClosed);
    EXPECT_EQ(BubblesWhenThereAre(2), (std::vector<Bubble>{User("hello"), Bot("ok", "小红")}));
    EXPECT_EQ(title(), Utf8ToGbk("小红") + kOnline);
    EXPECT_EQ(
        test::ReadFileBytes(dir_ / "chat.ini").find(Utf8ToGbk("name1=小红")) != std::string::npos,
        true);
}

TEST_F(MessageFlowTest, ServiceThatNeverAnswersGivesTheFallback) {
    server_->SetReply({.neverAnswer = true});
    TypeAndEnter("hello");
    EXPECT_EQ(BubblesWhenThereAre(2),
              (std::vector<Bubble>{User("hello"), Bot(GbkToUtf8(kFallback))}));
    EXPECT_EQ(title(), kNickname + kOnline);
}

}  // namespace
}  // namespace tavelo
