// Whether a compositing manager is running, so that translucent windows show their alpha.
// On X11 one announces itself by owning the selection _NET_WM_CM_S<screen>; without one, a
// translucent window shows black where it should be clear.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <cstdint>

namespace tavelo {

class CompositingManager : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    // The watcher of this application, made on first use (a QGuiApplication must exist).
    static CompositingManager& Instance();

    // True while a compositing manager runs; always true on platforms other than X11, which
    // compose windows themselves.
    bool IsRunning() const { return running_; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    // A compositing manager started (true) or went away (false).
    void runningChanged(bool running);

private:
    explicit CompositingManager(QObject* parent);
    bool QuerySelectionOwner() const;

    bool running_ = true;
    // X11 only: the connection Qt uses, the selection's atom and where XFixes' events start.
    void* connection_ = nullptr;
    std::uint32_t selection_ = 0;
    int selectionNotifyEvent_ = -1;
};

}  // namespace tavelo
