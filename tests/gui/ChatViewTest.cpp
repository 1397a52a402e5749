// The chat view with the real Qt WebEngine: its address, the lines kept until a page has
// loaded, and how it keeps the page in place, silent and confined.
#include "toolkit/ChatView.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineLoadingInfo>
#include <chrono>
#include <vector>

#include "support/PageProbe.h"
#include "support/TempDir.h"

namespace tavelo {
namespace {

using test::ClickElement;
using test::Evaluate;
using test::WaitForScript;
using test::WaitUntil;

// A plain page (no policy of its own) that logs what script lines push and tells one load
// from the next by a random id.
constexpr char kPlainPage[] = R"(<html><body>
<p id="text">hello world</p>
<a id="web" href="http://127.0.0.1:9/web">web</a>
<a id="sentinel" href="https://127.0.0.1:9/sentinel">sentinel</a>
<a id="blank" href="https://127.0.0.1:9/blank" target="_blank">new window</a>
<a id="file" href="file:///etc/hostname">file</a>
<a id="mail" href="mailto:someone@example.com">mail</a>
<a id="unknown" href="tavelo-unknown:thing">unknown scheme</a>
<script>
var log = [];
var pageId = Math.random();
document.addEventListener('contextmenu', function () { window.menuEvents = (window.menuEvents || 0) + 1; });
document.addEventListener('drop', function () { window.dropped = true; });
</script>
</body></html>)";

template <class Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& row) {
    return row.param.name;
}

class ChatViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::WriteFileBytes(dir_ / "page.html", kPlainPage);
        test::WriteFileBytes(dir_ / "other.html", kPlainPage);
        view_.resize(500, 400);
        view_.setLinkOpener([this](const QUrl& url) { opened_.push_back(url); });
        QObject::connect(view_.page(), &QWebEnginePage::loadingChanged,
                         [this](const QWebEngineLoadingInfo& info) {
                             if (info.status() == QWebEngineLoadingInfo::LoadStoppedStatus ||
                                 info.status() == QWebEngineLoadingInfo::LoadFailedStatus) {
                                 stopped_.push_back(info.url());
                             }
                         });
        view_.show();
    }

    QString PagePath(const char* name) const {
        return QString::fromStdString((dir_ / name).string());
    }

    // Loads the page and returns the id of that load of it.
    double ShowPage(const char* name = "page.html") {
        view_.setAddress(PagePath(name));
        EXPECT_TRUE(WaitForScript(*view_.page(), "typeof pageId == 'number'"));
        return PageId();
    }

    double PageId() { return Evaluate(*view_.page(), "pageId").value_or(QVariant()).toDouble(); }
    QVariant Log() { return Evaluate(*view_.page(), "log").value_or(QVariant()); }

    bool WaitForStoppedLoad(const QUrl& url) {
        // A form sent with GET adds an empty query.
        return WaitUntil([&] {
            return std::any_of(stopped_.begin(), stopped_.end(), [&](const QUrl& stopped) {
                return stopped.adjusted(QUrl::RemoveQuery) == url;
            });
        });
    }

    test::TempDir dir_;
    ChatView view_;
    std::vector<QUrl> opened_;
    std::vector<QUrl> stopped_;  // navigations that ended without loading
};

TEST_F(ChatViewTest, ScriptAddressRunsExactlyAsGivenInThePageShown) {
    const double id = ShowPage();

    view_.setAddress("javascript:log.push('50%25 a%20b');;log.push(\"%\")");
    view_.setAddress("JavaScript:log.push('any letter case')");

    ASSERT_TRUE(WaitForScript(*view_.page(), "log.length == 3"));
    EXPECT_EQ(Log(), QVariant(QVariantList{"50%25 a%20b", "%", "any letter case"}));
    EXPECT_EQ(PageId(), id);
    EXPECT_EQ(view_.address(), PagePath("page.html"));
    EXPECT_EQ(view_.url(), QUrl::fromLocalFile(PagePath("page.html")));
}

TEST_F(ChatViewTest, LinesGivenBeforeThePageHasLoadedRunInOrderOnceItHas) {
    // Before any address, right after the address, and while another page replaces the first.
    view_.setAddress("javascript:log.push(1)");
    view_.setAddress(PagePath("page.html"));
    for (int i = 2; i <= 30; ++i) {
        view_.setAddress(QString("javascript:log.push(%1)").arg(i));
    }
    ASSERT_TRUE(WaitForScript(*view_.page(), "typeof log == 'object' && log.length >= 30"));
    QVariantList expected;
    for (int i = 1; i <= 30; ++i) {
        expected.append(i);
    }
    EXPECT_EQ(Log(), QVariant(expected));

    const double firstId = PageId();
    view_.setAddress(PagePath("other.html"));
    view_.setAddress("javascript:log.push('a')");
    view_.setAddress("javascript:log.push('b')");
    ASSERT_TRUE(WaitForScript(
        *view_.page(), "pageId != " + QString::number(firstId, 'g', 17) + " && log.length >= 2"));
    EXPECT_EQ(Log(), QVariant(QVariantList{"a", "b"}));
}

TEST_F(ChatViewTest, LinesStillRunAfterARefusedNavigation) {
    ShowPage();
    const QUrl target = QUrl::fromLocalFile(PagePath("other.html"));
    Evaluate(*view_.page(), "location.href = " + QString("'%1'").arg(target.toString()));
    ASSERT_TRUE(WaitForStoppedLoad(target));

    view_.setAddress("javascript:log.push('after')");
    EXPECT_TRUE(WaitForScript(*view_.page(), "log.length == 1 && log[0] == 'after'"));
}

TEST_F(ChatViewTest, PageDialogsAreSilent) {
    ShowPage();
    // The view's own dialogs would be modal and hold the script until someone answered them.
    const auto answers = Evaluate(*view_.page(), "alert('a'); [confirm('b'), prompt('c', 'd')]");
    ASSERT_TRUE(answers.has_value());
    EXPECT_EQ(*answers, QVariant(QVariantList{false, QVariant()}));
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        EXPECT_TRUE(widget == &view_ || !widget->isVisible()) << widget->metaObject()->className();
    }
}

struct NavigationCase {
    const char* name;
    const char* script;  // %1: the other page's URL
    const char* target;  // where it tries to go; "page" and "other" for the two pages
};

class ChatViewNavigationTest : public ChatViewTest,
                               public ::testing::WithParamInterface<NavigationCase> {};

TEST_P(ChatViewNavigationTest, IsRefusedAndThePageStays) {
    const double id = ShowPage();
    const QUrl other = QUrl::fromLocalFile(PagePath("other.html"));
    const QString where = GetParam().target;
    const QUrl target = where == "other"  ? other
                        : where == "page" ? QUrl::fromLocalFile(PagePath("page.html"))
                                          : QUrl(where);

    Evaluate(*view_.page(), QString(GetParam().script).arg(other.toString()));

    ASSERT_TRUE(WaitForStoppedLoad(target));
    EXPECT_EQ(PageId(), id);
    EXPECT_EQ(view_.url(), QUrl::fromLocalFile(PagePath("page.html")));
    EXPECT_TRUE(opened_.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Navigations, ChatViewNavigationTest,
    ::testing::Values(NavigationCase{"ScriptToOtherFile", "location.href = '%1'", "other"},
                      NavigationCase{"ScriptToSystemFile", "location.href = 'file:///etc/hostname'",
                                     "file:///etc/hostname"},
                      NavigationCase{"ScriptToWeb", "location.assign('http://127.0.0.1:9/away')",
                                     "http://127.0.0.1:9/away"},
                      NavigationCase{"Reload", "location.reload()", "page"},
                      NavigationCase{"FormSubmission",
                                     "var f = document.createElement('form'); f.action = '%1';"
                                     "document.body.appendChild(f); f.submit()",
                                     "other"},
                      NavigationCase{
                          "MetaRefresh",
                          "var m = document.createElement('meta'); m.httpEquiv = 'refresh';"
                          "m.content = '0;url=%1'; document.head.appendChild(m)",
                          "other"}),
    CaseName<NavigationCase>);

struct LinkCase {
    const char* name;
    const char* selector;
    Qt::MouseButton button;
    const char* opens;  // what reaches the default browser; empty: nothing
};

class ChatViewLinkTest : public ChatViewTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(ChatViewLinkTest, WebLinksGoToTheDefaultBrowserOthersNowhere) {
    const double id = ShowPage();
    const int windows = QApplication::topLevelWidgets().size();

    ASSERT_TRUE(ClickElement(view_, GetParam().selector, GetParam().button));
    // A click on a web link after it shows that the first click has been dealt with.
    ASSERT_TRUE(ClickElement(view_, "#sentinel"));
    const QUrl sentinel("https://127.0.0.1:9/sentinel");
    ASSERT_TRUE(WaitUntil([&] { return !opened_.empty() && opened_.back() == sentinel; }));

    std::vector<QUrl> expected;
    if (*GetParam().opens) {
        expected.emplace_back(GetParam().opens);
    }
    expected.push_back(sentinel);
    EXPECT_EQ(opened_, expected);
    EXPECT_EQ(PageId(), id);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
}

INSTANTIATE_TEST_SUITE_P(
    Links, ChatViewLinkTest,
    ::testing::Values(LinkCase{"Web", "#web", Qt::LeftButton, "http://127.0.0.1:9/web"},
                      LinkCase{"NewWindowTarget", "#blank", Qt::LeftButton,
                               "https://127.0.0.1:9/blank"},
                      LinkCase{"MiddleButton", "#web", Qt::MiddleButton, "http://127.0.0.1:9/web"},
                      LinkCase{"LocalFile", "#file", Qt::LeftButton, ""},
                      LinkCase{"Mail", "#mail", Qt::LeftButton, ""},
                      LinkCase{"UnknownScheme", "#unknown", Qt::LeftButton, ""}),
    CaseName<LinkCase>);

TEST_F(ChatViewTest, RightClickShowsNoMenu) {
    ShowPage();
    ASSERT_TRUE(ClickElement(view_, "#text", Qt::RightButton));
    // The page saw the click and the view was asked for its menu ...
    ASSERT_TRUE(WaitForScript(*view_.page(), "window.menuEvents == 1"));
    ASSERT_TRUE(WaitUntil([&] { return view_.lastContextMenuRequest() != nullptr; }));
    // ... which it did not show.
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(qobject_cast<QMenu*>(widget) && widget->isVisible());
    }
}

TEST_F(ChatViewTest, CtrlCCopiesTheSelection) {
    ShowPage();
    QApplication::clipboard()->clear();
    view_.activateWindow();
    view_.setFocus();
    ASSERT_TRUE(Evaluate(*view_.page(),
                         "getSelection().selectAllChildren(document.getElementById('text')); 1"));
    // A page that has only just loaded may drop a key; a second Ctrl+C does no harm.
    bool copied = false;
    for (int attempt = 0; attempt < 6 && !copied; ++attempt) {
        QTest::keyClick(view_.focusProxy(), Qt::Key_C, Qt::ControlModifier);
        copied = WaitUntil([] { return QApplication::clipboard()->text() == "hello world"; },
                           std::chrono::seconds(5));
    }
    EXPECT_TRUE(copied);
}

struct ConfinementCase {
    const char* name;
    const char* probe;  // sets window.outcome, sooner or later
    const char* expected;
};

class ChatViewConfinementTest : public ChatViewTest,
                                public ::testing::WithParamInterface<ConfinementCase> {};

TEST_P(ChatViewConfinementTest, PageCannotReachBeyondItself) {
    ShowPage();
    const int windows = QApplication::topLevelWidgets().size();
    Evaluate(*view_.page(), GetParam().probe);
    ASSERT_TRUE(WaitForScript(*view_.page(), "window.outcome !== undefined"));
    EXPECT_EQ(Evaluate(*view_.page(), "String(window.outcome)")->toString(), GetParam().expected);
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windows);
}

INSTANTIATE_TEST_SUITE_P(
    Probes, ChatViewConfinementTest,
    ::testing::Values(
        ConfinementCase{"NewWindow", "window.outcome = window.open('about:blank')", "null"},
        ConfinementCase{"FetchOtherLocalFile",
                        "fetch('other.html').then(function () { window.outcome = 'read'; },"
                        " function () { window.outcome = 'refused'; })",
                        "refused"},
        ConfinementCase{"RequestSystemFile",
                        "var x = new XMLHttpRequest(); x.open('GET', 'file:///etc/hostname');"
                        "x.onload = function () { window.outcome = 'read'; };"
                        "x.onerror = function () { window.outcome = 'refused'; }; x.send()",
                        "refused"}),
    CaseName<ConfinementCase>);

TEST_F(ChatViewTest, TakesNoDrops) {
    const double id = ShowPage();
    // Drag and drop delivers only to widgets that take drops: neither the view nor the widget
    // that shows its page (which takes them unless told otherwise) may.
    EXPECT_FALSE(view_.acceptDrops());
    ASSERT_NE(view_.focusProxy(), nullptr);
    EXPECT_FALSE(view_.focusProxy()->acceptDrops());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(PagePath("other.html"))});
    const QPoint middle = view_.rect().center();
    QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view_.focusProxy(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view_.focusProxy(), &drop);
    view_.setAddress("javascript:log.push('after drop')");
    ASSERT_TRUE(WaitForScript(*view_.page(), "log.length == 1"));
    EXPECT_EQ(PageId(), id);
}

}  // namespace
}  // namespace tavelo
