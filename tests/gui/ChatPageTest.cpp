// The chat page in the chat view, with the real Qt WebEngine: bubbles added through the
// program's script lines, what they show, and what the page lets their text do.
#include "page/ChatPage.h"

#include <gtest/gtest.h>

#include <QMutex>
#include <QMutexLocker>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>

#include "answer/TextCodecs.h"
#include "page/ScriptLine.h"
#include "support/PageProbe.h"
#include "support/TempDir.h"
#include "toolkit/ChatView.h"
#include "toolkit/QtText.h"

namespace tavelo {
namespace {

using test::ClickElement;
using test::Evaluate;
using test::WaitForScript;

// Keeps the page off the network (here there is none anyway): every web request is refused
// and recorded, so the tests show that the page works without its remote style sheet and
// script library, and which pictures it asked for.
class WebRequestBlocker : public QWebEngineUrlRequestInterceptor {
public:
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        const QUrl url = info.requestUrl();
        if (url.scheme() == u"http" || url.scheme() == u"https") {
            info.block(true);
            QMutexLocker lock(&mutex_);
            requested_.append(url);
        }
    }

    bool WasRequested(const QUrl& url) {
        QMutexLocker lock(&mutex_);
        return requested_.contains(url);
    }

private:
    QMutex mutex_;
    QList<QUrl> requested_;
};

// The bubble rows (the list keeps them in groups); a row inside a message does not count.
constexpr char kRows[] = "document.querySelectorAll('#msgs > .msg-group > .msg')";

constexpr char kUserAvatar[] = "http://127.0.0.1:9/me.jpg";
constexpr char kBotAvatar[] = "http://127.0.0.1:9/bot.png";

class ChatPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        view_.page()->profile()->setUrlRequestInterceptor(&blocker_);
        const auto path = dir_ / "ct7.html";
        test::WriteFileBytes(path, std::string(ChatPageBytes()));
        view_.resize(568, 300);
        view_.show();
        view_.setAddress(QString::fromStdString(path.string()));
        ASSERT_TRUE(WaitForScript(page(), "typeof AddMsg == 'function'"));
        // Records every breach of the page's policy, and a canary that injected script would
        // set.
        Evaluate(page(),
                 "window.violations = []; document.addEventListener("
                 "'securitypolicyviolation', function (e) {"
                 " violations.push(e.effectiveDirective); }); 1");
    }

    void TearDown() override { view_.page()->profile()->setUrlRequestInterceptor(nullptr); }

    QWebEnginePage& page() { return *view_.page(); }

    // Adds a bubble as the program does: texts in code page 936, escaped into the call line,
    // run through the view's address. The arguments are UTF-8.
    void AddBubble(std::string_view name, std::string_view message, std::string_view avatar) {
        const Text line = BubbleScriptLine(Utf8ToGbk(name), Utf8ToGbk(message), Utf8ToGbk(avatar));
        view_.setAddress("javascript:" + ToQString(line) + ";goBottom();");
        ++bubbles_;
        ASSERT_TRUE(WaitForScript(page(), QString("%1.length == %2").arg(kRows).arg(bubbles_)));
    }

    // The value of a script expression about the newest bubble, `row`.
    QVariant Newest(const QString& expression) {
        return Evaluate(page(),
                        "(function () { var row = document.getElementById('msgs')"
                        ".lastElementChild.lastElementChild; return " +
                            expression + "; })()")
            .value_or(QVariant());
    }

    // Waits for a breach of a directive whose name begins with `directive`.
    bool WaitForViolation(const QString& directive) {
        return WaitForScript(page(), "violations.some(function (v) { return v.indexOf('" +
                                         directive + "') == 0; })");
    }

    test::TempDir dir_;
    WebRequestBlocker blocker_;
    ChatView view_;
    int bubbles_ = 0;
};

TEST_F(ChatPageTest, HasTheElementsTheProgramReliesOn) {
    const auto layout = Evaluate(page(), R"(
        [document.documentElement.lang, document.body.lang, document.doctype === null,
         document.getElementById('show').className,
         Array.prototype.map.call(document.getElementById('show').children,
                                  function (e) { return e.id; }).join(),
         document.getElementById('histStart').textContent,
         typeof goBottom, typeof CreadMsg, typeof SendMsg, typeof stop].join('|'))");
    EXPECT_EQ(layout->toString(),
              QString::fromUtf8("zh|zh|true|abs cover pnl-msgs scroll|histStart,hists,msgs,demo2|"
                                "加载历史消息|function|function|function|function"));
    const auto metas = Evaluate(page(), R"(
        Array.prototype.map.call(document.head.querySelectorAll('meta'), function (m) {
            return m.getAttribute('charset') || m.httpEquiv || m.name; }).join())");
    EXPECT_EQ(metas->toString(),
              "utf-8,X-UA-Compatible,format-detection,X-UA-Compatible,Content-Security-Policy");
}

TEST_F(ChatPageTest, BubblesShowOnTheirSidesWithNamesAvatarsAndHtml) {
    AddBubble("default", "one<br><b>two</b>", kUserAvatar);
    EXPECT_EQ(Newest("row.className").toString(), "msg guest");
    EXPECT_EQ(Newest("row.querySelector('.msg-right .msg-ball').innerHTML").toString(),
              "one<br><b>two</b>");
    EXPECT_EQ(Newest("row.querySelector('.msg-ball b').textContent").toString(), "two");
    EXPECT_EQ(Newest("row.querySelector('.msg-host').style.backgroundImage").toString(),
              QString("url(\"%1\")").arg(kUserAvatar));
    EXPECT_EQ(Newest("getComputedStyle(row.firstChild, '::before').content").toString(), "none");
    // On the right: the bubble ends to the right of the middle, the avatar at the edge.
    EXPECT_TRUE(Newest("row.querySelector('.msg-ball').getBoundingClientRect().left > "
                       "innerWidth / 2 && row.querySelector('.msg-host')"
                       ".getBoundingClientRect().right > innerWidth - 30")
                    .toBool());
    EXPECT_EQ(Newest("getComputedStyle(row.querySelector('.msg-ball')).backgroundColor"),
              "rgb(240, 240, 240)");

    AddBubble("小龙", "hi", kBotAvatar);
    EXPECT_EQ(Newest("row.className").toString(), "msg robot");
    EXPECT_EQ(Newest("row.firstChild.getAttribute('worker')").toString(),
              QString::fromUtf8("小龙"));
    EXPECT_EQ(Newest("getComputedStyle(row.firstChild, '::before').content").toString(),
              QString::fromUtf8("\"小龙\""));
    EXPECT_EQ(Newest("row.querySelector('.msg-left .msg-ball').innerHTML").toString(), "hi");
    EXPECT_TRUE(Newest("row.querySelector('.msg-ball').getBoundingClientRect().right < "
                       "innerWidth / 2 && row.querySelector('.msg-host')"
                       ".getBoundingClientRect().left < 30")
                    .toBool());
    EXPECT_EQ(Newest("getComputedStyle(row.querySelector('.msg-ball')).backgroundColor"),
              "rgb(255, 192, 203)");
    EXPECT_TRUE(test::WaitUntil([&] { return blocker_.WasRequested(QUrl(kBotAvatar)); }));

    // A bot called "default" is shown as the user is.
    AddBubble("default", "same side", kBotAvatar);
    EXPECT_EQ(Newest("row.className").toString(), "msg guest");
}

TEST_F(ChatPageTest, LongWordWrapsInsideItsBubble) {
    AddBubble("bot", std::string(400, 'w'), kBotAvatar);
    EXPECT_TRUE(Newest("row.querySelector('.msg-ball').getBoundingClientRect().right <= "
                       "document.getElementById('show').clientWidth")
                    .toBool());
    EXPECT_EQ(Evaluate(page(),
                       "var s = document.getElementById('show');"
                       "s.scrollWidth <= s.clientWidth")
                  ->toBool(),
              true);
}

TEST_F(ChatPageTest, AddingABubbleLeavesTheOthersInPlace) {
    AddBubble("default", "first", kUserAvatar);
    Evaluate(page(), QString("window.firstRow = %1[0]; firstRow.marker = 'kept'; 1").arg(kRows));
    AddBubble("bot", "second", kBotAvatar);
    // Rewriting the list's HTML would have made new elements of the old bubbles.
    EXPECT_EQ(
        Evaluate(page(), QString("%1[0] === firstRow && firstRow.marker").arg(kRows))->toString(),
        "kept");
}

TEST_F(ChatPageTest, ManyBubblesStayInTheirOrder) {
    // Enough to fill a few of the groups the list keeps its bubbles in.
    constexpr int kCount = 250;
    for (int i = 0; i < kCount; ++i) {
        const Text line = BubbleScriptLine(i % 2 ? "bot" : "default", std::to_string(i), "u");
        view_.setAddress("javascript:" + ToQString(line) + ";goBottom();");
    }
    ASSERT_TRUE(WaitForScript(page(), QString("%1.length == %2").arg(kRows).arg(kCount)));
    const auto order = Evaluate(page(), QString("Array.prototype.map.call(%1, function (row) {"
                                                " return row.textContent; }).join()")
                                            .arg(kRows));
    QStringList expected;
    for (int i = 0; i < kCount; ++i) {
        expected << QString::number(i);
    }
    EXPECT_EQ(order->toString(), expected.join(','));
}

TEST_F(ChatPageTest, MessageMarkupStaysInsideItsBubble) {
    AddBubble("bot", "<b>unclosed</div></div></div><div class=\"msg guest\">fake row</div>",
              kBotAvatar);
    AddBubble("bot", "after", kBotAvatar);
    EXPECT_EQ(Evaluate(page(), QString(kRows) + ".length")->toInt(), 2);
    EXPECT_EQ(
        Evaluate(page(), "document.querySelectorAll('#msgs .msg-ball .msg.guest').length")->toInt(),
        1);
}

TEST_F(ChatPageTest, NewestBubbleIsFullyVisibleAfterEachLine) {
    for (int i = 0; i < 40; ++i) {
        const std::string text =
            "line " + std::to_string(i) + (i % 3 == 0 ? "<br>more<br>and more" : "");
        AddBubble(i % 2 == 0 ? "default" : "bot", text, kUserAvatar);
        // Checked after the page has drawn itself twice, when every lazy layout has settled.
        Evaluate(page(),
                 "window.fits = undefined; requestAnimationFrame(function () {"
                 " requestAnimationFrame(function () {"
                 "  var area = document.getElementById('show').getBoundingClientRect();"
                 "  var ball = document.getElementById('msgs').lastElementChild"
                 "   .lastElementChild.querySelector('.msg-ball').getBoundingClientRect();"
                 "  window.fits = ball.top >= area.top && ball.bottom <= area.bottom; });"
                 " }); 1");
        ASSERT_TRUE(WaitForScript(page(), "window.fits !== undefined"));
        ASSERT_TRUE(Evaluate(page(), "window.fits")->toBool()) << "after bubble " << i;
    }
}

struct InjectionCase {
    const char* name;
    const char* who;
    const char* message;
    const char* avatar;
    // What the bubble must show, as a script expression about `row` and its expected value.
    const char* shown;
    const char* expected;
    // The policy directive that stopped it, when it got as far as the browser; "" if none.
    const char* stoppedBy;
};

class ChatPageInjectionTest : public ChatPageTest,
                              public ::testing::WithParamInterface<InjectionCase> {};

TEST_P(ChatPageInjectionTest, IsShownAsTextAndRunsNothing) {
    const InjectionCase& c = GetParam();
    AddBubble(c.who, c.message, c.avatar);
    EXPECT_EQ(Newest(c.shown).toString(), QString::fromUtf8(c.expected));
    if (*c.stoppedBy) {
        EXPECT_TRUE(WaitForViolation(c.stoppedBy));
    }
    // A line behind it still adds its bubble, and no injected script ran.
    AddBubble("default", "next", kUserAvatar);
    EXPECT_EQ(Evaluate(page(), "typeof canary")->toString(), "undefined");
}

INSTANTIATE_TEST_SUITE_P(
    Attempts, ChatPageInjectionTest,
    ::testing::Values(
        InjectionCase{"QuotesInMessage", "bot", R"('); canary = 1; (" \"); canary = 1; //)",
                      kBotAvatar, "row.querySelector('.msg-ball').textContent",
                      R"('); canary = 1; (" \"); canary = 1; //)", ""},
        InjectionCase{"BackslashesInMessage", "bot", R"(\\\"); canary = 1; //\)", kBotAvatar,
                      "row.querySelector('.msg-ball').textContent", R"(\\\"); canary = 1; //\)",
                      ""},
        InjectionCase{"ScriptEndInMessage", "bot", "</script><script>canary = 1</script>x",
                      kBotAvatar, "row.querySelector('.msg-ball').textContent", "canary = 1x", ""},
        InjectionCase{"NameBreakingOut", "default'); canary = 1; ('", "hi", kBotAvatar,
                      "row.firstChild.getAttribute('worker')", "default'); canary = 1; ('", ""},
        InjectionCase{"NameWithMarkup", R"(a"b'c\d</script><img src=x onerror="canary=1">)", "hi",
                      kBotAvatar,
                      "row.firstChild.getAttribute('worker') + '|' + "
                      "row.querySelectorAll('img').length",
                      R"(a"b'c\d</script><img src=x onerror="canary=1">|0)", ""},
        InjectionCase{"InlineHandlerInMessage", "bot", R"(<img src="x" onerror="canary = 1">)",
                      kBotAvatar, "row.querySelectorAll('.msg-ball img').length", "1",
                      "script-src-attr"},
        InjectionCase{"FrameInMessage", "bot",
                      R"(<iframe src="https://127.0.0.1:9/frame"></iframe>)", kBotAvatar,
                      "row.querySelectorAll('iframe').length", "1", "frame-src"},
        InjectionCase{"AvatarWithQuotesAndParentheses", "bot", "hi",
                      R"(http://127.0.0.1:9/a'b"c) d(.png)",
                      "row.querySelector('.msg-host').style.backgroundImage + '|' + "
                      "row.querySelector('.msg-host').style.length",
                      R"(url("http://127.0.0.1:9/a'b\"c) d(.png")|1)", ""},
        InjectionCase{"AvatarAddingStyles", "default", "hi",
                      "x); background-color: red; width: 500px; (",
                      "getComputedStyle(row.querySelector('.msg-host')).width + '|' + "
                      "row.querySelector('.msg-host').style.length",
                      "36px|1", ""}),
    [](const ::testing::TestParamInfo<InjectionCase>& row) { return std::string(row.param.name); });

TEST_F(ChatPageTest, ScriptLinkInAnswerRunsNothing) {
    AddBubble("bot", R"(<a id="bad" href="javascript:canary = 1">click</a>)", kBotAvatar);
    ASSERT_TRUE(ClickElement(view_, "#bad"));
    EXPECT_TRUE(WaitForViolation("script-src"));
    AddBubble("default", "next", kUserAvatar);
    EXPECT_EQ(Evaluate(page(), "typeof canary")->toString(), "undefined");
}

TEST_F(ChatPageTest, PolicyAllowsThePagesOwnCodeAndLittleElse) {
    const QString policy =
        Evaluate(page(),
                 "document.querySelector('meta[http-equiv=\"Content-Security-Policy\"]')"
                 ".content")
            ->toString();
    for (const char* directive :
         {"default-src 'none'", "script-src 'sha256-", "connect-src 'none'", "frame-src 'none'",
          "object-src 'none'", "form-action 'none'", "base-uri 'none'"}) {
        EXPECT_TRUE(policy.contains(directive)) << directive;
    }
    // The page's own script ran (its hash is right), and the script lines run beside it.
    EXPECT_TRUE(Evaluate(page(), "document.oncontextmenu === stop")->toBool());
    AddBubble("default", "hi", kUserAvatar);
    // Connections are refused.
    Evaluate(page(), "fetch('https://127.0.0.1:9/x').catch(function () {}); 1");
    EXPECT_TRUE(WaitForViolation("connect-src"));
}

TEST_F(ChatPageTest, ContextMenuSuppressedWithoutTheScriptLibrary) {
    // The library never loads here: every web request is refused.
    ASSERT_EQ(Evaluate(page(), "typeof jQuery")->toString(), "undefined");
    EXPECT_TRUE(Evaluate(page(),
                         "var e = new MouseEvent('contextmenu', {bubbles: true,"
                         " cancelable: true}); document.getElementById('show')"
                         ".dispatchEvent(e); e.defaultPrevented")
                    ->toBool());
}

TEST_F(ChatPageTest, PagesOwnSendPathWorksWithAnInputBox) {
    // The page has no input box; Enter there does nothing.
    Evaluate(page(), "document.dispatchEvent(new KeyboardEvent('keydown', {keyCode: 13})); 1");
    Evaluate(page(),
             "var input = document.createElement('textarea'); input.id = 'text';"
             "document.body.appendChild(input); input.value = '233';"
             "document.dispatchEvent(new KeyboardEvent('keydown', {keyCode: 13}));"
             "input.value = 'a b\\nc';"
             "document.dispatchEvent(new KeyboardEvent('keydown', {keyCode: 13})); 1");
    // "233" is refused; the other text is shown, and, the request being refused, the reply
    // is the page's fallback.
    ASSERT_TRUE(WaitForScript(page(), QString(kRows) + ".length == 2"));
    EXPECT_EQ(Evaluate(page(), "document.querySelector('#msgs .msg-ball').innerHTML")->toString(),
              "a&nbsp;b<br>c");
    EXPECT_EQ(
        Evaluate(page(), "document.querySelectorAll('#msgs .msg-ball')[1].textContent")->toString(),
        QString::fromUtf8("你好"));
    EXPECT_EQ(Evaluate(page(), "document.getElementById('text').value")->toString(), "");
}

}  // namespace
}  // namespace tavelo
