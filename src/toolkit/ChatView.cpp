#include "toolkit/ChatView.h"

#include <QAuthenticator>
#include <QChildEvent>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>

namespace tavelo {

namespace {

constexpr QLatin1StringView kScriptScheme("javascript:");
// How long a press of the user stays the cause of a link navigation; the browser engine
// keeps a press as user activation for the same time.
constexpr qint64 kUserInputLifetimeMs = 5000;

bool IsWebLink(const QUrl& url) {
    return url.isValid() && (url.scheme() == u"http" || url.scheme() == u"https");
}

// Switches off everything a page of chat bubbles has no use for: windows, file access, drops,
// plug-ins, storage, unknown schemes, full screen and the like.
void RestrictSettings(QWebEngineSettings& settings) {
    using S = QWebEngineSettings;
    const std::pair<S::WebAttribute, bool> attributes[] = {
        {S::JavascriptEnabled, true},
        {S::AutoLoadImages, true},
        {S::JavascriptCanOpenWindows, false},
        {S::JavascriptCanAccessClipboard, false},
        {S::JavascriptCanPaste, false},
        {S::LocalStorageEnabled, false},
        {S::LocalContentCanAccessFileUrls, false},
        // A page file may show pictures from the web (the avatars) only with this on; what else
        // the page may reach is limited by its own content security policy.
        {S::LocalContentCanAccessRemoteUrls, true},
        {S::HyperlinkAuditingEnabled, false},
        {S::PluginsEnabled, false},
        {S::FullScreenSupportEnabled, false},
        {S::ScreenCaptureEnabled, false},
        {S::WebGLEnabled, false},
        {S::AutoLoadIconsForPage, false},
        {S::TouchIconsEnabled, false},
        {S::FocusOnNavigationEnabled, false},
        {S::AllowRunningInsecureContent, false},
        {S::AllowGeolocationOnInsecureOrigins, false},
        {S::AllowWindowActivationFromJavaScript, false},
        {S::WebRTCPublicInterfacesOnly, true},
        {S::DnsPrefetchEnabled, false},
        {S::PdfViewerEnabled, false},
        {S::NavigateOnDropEnabled, false},
    };
    for (const auto& [attribute, on] : attributes) {
        settings.setAttribute(attribute, on);
    }
    settings.setUnknownUrlSchemePolicy(S::DisallowUnknownUrlSchemes);
}

}  // namespace

// The view's page: silent (no alert, confirm or prompt boxes, no file choosers, no console
// output), refusing new windows, permissions and every navigation its view did not ask for.
class ChatViewPage : public QWebEnginePage {
public:
    explicit ChatViewPage(ChatView* view) : QWebEnginePage(view), view_(view) {
        RestrictSettings(*settings());
        connect(this, &QWebEnginePage::featurePermissionRequested, this,
                [this](const QUrl& origin, Feature feature) {
                    setFeaturePermission(origin, feature, PermissionDeniedByUser);
                });
        connect(this, &QWebEnginePage::fullScreenRequested,
                [](QWebEngineFullScreenRequest request) { request.reject(); });
        connect(this, &QWebEnginePage::registerProtocolHandlerRequested,
                [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
        connect(this, &QWebEnginePage::authenticationRequired,
                [](const QUrl&, QAuthenticator* authenticator) {
                    *authenticator = QAuthenticator();  // cancels the request
                });
        connect(this, &QWebEnginePage::proxyAuthenticationRequired,
                [](const QUrl&, QAuthenticator* authenticator, const QString&) {
                    *authenticator = QAuthenticator();
                });
        // A clicked link that asks for a new window (target="_blank", a middle click) is
        // opened like any other clicked link; no window is ever made.
        connect(this, &QWebEnginePage::newWindowRequested,
                [this](QWebEngineNewWindowRequest& request) {
                    if (request.isUserInitiated() && IsWebLink(request.requestedUrl())) {
                        view_->openLink(request.requestedUrl());
                    }
                });
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override {
        return view_->acceptNavigation(url, type == NavigationTypeLinkClicked, isMainFrame);
    }
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
    QStringList chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) override {
        return {};
    }
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override {
        return false;
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}

private:
    ChatView* view_;
};

ChatView::ChatView(QWidget* parent)
    : QWebEngineView(parent), linkOpener_([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setPage(new ChatViewPage(this));
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setZoomFactor(1.0);  // text size medium
    // Only loadPage can replace the document (every other navigation is refused, and a refused
    // one ends as a failed load), so a page stays ready until loadPage starts another.
    connect(this, &QWebEngineView::loadFinished, this, [this](bool ok) {
        if (ok) {
            pageReady_ = true;
            runPendingScripts();
        }
    });
}

void ChatView::setAddress(const QString& address) {
    if (address.startsWith(kScriptScheme, Qt::CaseInsensitive)) {
        runScript(address.mid(kScriptScheme.size()));
    } else {
        loadPage(address);
    }
}

void ChatView::setLinkOpener(LinkOpener opener) {
    linkOpener_ = std::move(opener);
}

void ChatView::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();  // the browser's own menu (back, reload, view source) never shows
}

void ChatView::childEvent(QChildEvent* event) {
    QWebEngineView::childEvent(event);
    // The widget that shows the page takes the user's input and drops for itself: watch its
    // presses, and let nothing be dropped on the chat.
    if ((event->added() || event->polished()) && event->child()->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(event->child());
        widget->setAcceptDrops(false);
        widget->installEventFilter(this);
    }
}

bool ChatView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::KeyPress) {
        lastUserInput_.start();
        userInputTaken_ = false;
    }
    return QWebEngineView::eventFilter(watched, event);
}

bool ChatView::takeUserInput() {
    const bool fresh = !userInputTaken_ && lastUserInput_.isValid() &&
                       lastUserInput_.elapsed() <= kUserInputLifetimeMs;
    userInputTaken_ = true;
    return fresh;
}

void ChatView::loadPage(const QString& address) {
    address_ = address;
    const QUrl url = address.startsWith(u"file:", Qt::CaseInsensitive)
                         ? QUrl(address)
                         : QUrl::fromLocalFile(QFileInfo(address).absoluteFilePath());
    pageLoadsAllowed_ = url == pageUrl_ ? pageLoadsAllowed_ + 1 : 1;
    pageUrl_ = url;
    pageReady_ = false;
    setUrl(pageUrl_);
}

void ChatView::runScript(const QString& script) {
    if (pageReady_) {
        page()->runJavaScript(script);
    } else {
        pendingScripts_.append(script);
    }
}

void ChatView::runPendingScripts() {
    const QStringList scripts = std::exchange(pendingScripts_, {});
    for (const QString& script : scripts) {
        page()->runJavaScript(script);
    }
}

bool ChatView::acceptNavigation(const QUrl& url, bool isLinkClick, bool isMainFrame) {
    if (isMainFrame && pageLoadsAllowed_ > 0 && url == pageUrl_) {
        --pageLoadsAllowed_;
        return true;
    }
    // Script that moves the page elsewhere arrives as a link click too; only a press of the
    // user makes it one.
    if (isMainFrame && isLinkClick && IsWebLink(url) && takeUserInput()) {
        openLink(url);
    }
    return false;
}

void ChatView::openLink(const QUrl& url) const {
    if (linkOpener_) {
        linkOpener_(url);
    }
}

}  // namespace tavelo
