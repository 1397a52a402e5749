// The chat window's browser control: its address loads a page file, or runs a "javascript:"
// line in the page it shows. It stays on that page, shows no dialogs or menus of its own and
// lets the page do no more than a chat needs.
#pragma once

#include <QElapsedTimer>
#include <QStringList>
#include <QUrl>
#include <QWebEngineView>
#include <functional>

namespace tavelo {

class ChatView : public QWebEngineView {
    Q_OBJECT

public:
    // Opens a web address outside the view.
    using LinkOpener = std::function<void(const QUrl&)>;

    explicit ChatView(QWidget* parent = nullptr);

    // A file path (or a "file:" URL) loads that page file. An address that begins with
    // "javascript:" runs the rest, exactly as given, as script in the page shown, without
    // replacing the page; lines given while no page has finished loading are kept and run in
    // order once one has.
    void setAddress(const QString& address);
    // The page address last set; script lines leave it unchanged.
    QString address() const { return address_; }

    // Where a clicked http or https link goes: the user's default browser unless replaced.
    void setLinkOpener(LinkOpener opener);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void childEvent(QChildEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class ChatViewPage;

    void loadPage(const QString& address);
    void runScript(const QString& script);
    void runPendingScripts();
    // Called by the page for every navigation; true only for the page load that loadPage
    // asked for.
    bool acceptNavigation(const QUrl& url, bool isLinkClick, bool isMainFrame);
    // Takes the user's last press in the view as the cause of a link navigation, once.
    bool takeUserInput();
    void openLink(const QUrl& url) const;

    QString address_;
    QUrl pageUrl_;
    int pageLoadsAllowed_ = 0;  // loads of pageUrl_ asked for by loadPage and not yet begun
    bool pageReady_ = false;    // a page has loaded and loadPage has not begun another
    QStringList pendingScripts_;
    QElapsedTimer lastUserInput_;  // the user's last mouse or key press in the page
    bool userInputTaken_ = true;
    LinkOpener linkOpener_;
};

}  // namespace tavelo
