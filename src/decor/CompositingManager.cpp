#include "decor/CompositingManager.h"

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPointer>
#include <cstdlib>
#include <memory>
#include <string>

namespace tavelo {

namespace {

xcb_connection_t* Connection(void* connection) {
    return static_cast<xcb_connection_t*>(connection);
}

// The number of the X screen that this process shows its windows on.
int ScreenNumber() {
    char* host = nullptr;
    int display = 0;
    int screen = 0;
    if (!xcb_parse_display(nullptr, &host, &display, &screen)) {
        screen = 0;
    }
    std::free(host);
    return screen;
}

xcb_window_t RootWindow(xcb_connection_t* connection, int screenNumber) {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; it.rem > 0; xcb_screen_next(&it), ++i) {
        if (i == screenNumber) {
            return it.data->root;
        }
    }
    return XCB_NONE;
}

template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPtr<Reply> Owned(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

}  // namespace

CompositingManager& CompositingManager::Instance() {
    static QPointer<CompositingManager> instance;
    if (instance.isNull()) {
        instance = new CompositingManager(QCoreApplication::instance());
    }
    return *instance;
}

CompositingManager::CompositingManager(QObject* parent) : QObject(parent) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr) {
        return;
    }
    xcb_connection_t* connection = x11->connection();
    connection_ = connection;
    const int screen = ScreenNumber();
    const std::string name = "_NET_WM_CM_S" + std::to_string(screen);
    auto atom = Owned(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.c_str()),
        nullptr));
    if (!atom) {
        return;
    }
    selection_ = atom->atom;

    // Ask XFixes to report every change of the selection's owner, so a compositing manager
    // that starts or stops later is noticed at once.
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
    const xcb_window_t root = RootWindow(connection, screen);
    if (xfixes != nullptr && xfixes->present && root != XCB_NONE) {
        auto version = Owned(xcb_xfixes_query_version_reply(
            connection,
            xcb_xfixes_query_version(connection, XCB_XFIXES_MAJOR_VERSION,
                                     XCB_XFIXES_MINOR_VERSION),
            nullptr));
        if (version && version->major_version >= 1) {
            selectionNotifyEvent_ = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;
            xcb_xfixes_select_selection_input(
                connection, root, selection_,
                XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                    XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                    XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
            xcb_flush(connection);
            QCoreApplication::instance()->installNativeEventFilter(this);
        }
    }
    running_ = QuerySelectionOwner();
}

bool CompositingManager::QuerySelectionOwner() const {
    xcb_connection_t* connection = Connection(connection_);
    auto owner = Owned(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, selection_), nullptr));
    return owner && owner->owner != XCB_NONE;
}

bool CompositingManager::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || selectionNotifyEvent_ < 0) {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != selectionNotifyEvent_) {
        return false;
    }
    const auto* notify = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(event);
    if (notify->selection != selection_) {
        return false;
    }
    // The event's owner field is not telling when the owner's window or client went away,
    // so ask the server who owns the selection now.
    const bool running = QuerySelectionOwner();
    if (running != running_) {
        running_ = running;
        emit runningChanged(running_);
    }
    return false;  // Qt keeps its own watch on the selection, too
}

}  // namespace tavelo
