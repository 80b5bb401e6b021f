#include "platform/TopMost.h"

#include "platform/PlatformLog.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace Platform {
namespace {

template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

// The _NET_WM_STATE request of the Extended Window Manager Hints: its actions and source.
constexpr uint32_t kRemove = 0;
constexpr uint32_t kAdd = 1;
constexpr uint32_t kFromApplication = 1;

xcb_intern_atom_cookie_t askAtom(xcb_connection_t* connection, const char* name) {
    return xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
}

xcb_atom_t atom(xcb_connection_t* connection, xcb_intern_atom_cookie_t cookie) {
    const ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// Asks the window manager to add or take away keep-above on a mapped window. Qt asks only
// when its own flag changes, so a state changed from outside (the window manager's menu, a
// taskbar, wmctrl) would otherwise stay.
bool requestKeepAbove(xcb_connection_t* connection, xcb_window_t window, bool on) {
    const auto stateCookie = askAtom(connection, "_NET_WM_STATE");
    const auto aboveCookie = askAtom(connection, "_NET_WM_STATE_ABOVE");
    const auto treeCookie = xcb_query_tree(connection, window);
    const xcb_atom_t state = atom(connection, stateCookie);
    const xcb_atom_t above = atom(connection, aboveCookie);
    const ReplyPtr<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, treeCookie, nullptr), &std::free);
    if (!tree || state == XCB_ATOM_NONE || above == XCB_ATOM_NONE) {
        qCWarning(lcPlatform) << "the X server did not answer the request to keep the clock"
                              << (on ? "above" : "among") << "other windows";
        return false;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = state;
    message.data.data32[0] = on ? kAdd : kRemove;
    message.data.data32[1] = above;
    message.data.data32[3] = kFromApplication;
    xcb_send_event(connection, 0, tree->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    return true;
}

} // namespace

bool setTopmost(QWindow* window, bool on) {
    if (window == nullptr)
        return false;
    const bool changed = window->flags().testFlag(Qt::WindowStaysOnTopHint) != on;
    // QWindow::setFlag updates the native window in place (on X11 it sends the window manager
    // the same request as below); QWidget::setWindowFlags would hide and re-create the window.
    window->setFlag(Qt::WindowStaysOnTopHint, on);
    // Before the window is mapped, Qt writes the state it starts with from the flag.
    if (changed || !window->isVisible())
        return true;
    // Elsewhere Qt's flag is all there is to set. (The offscreen platform offers an X11
    // interface too, without a connection.)
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (QGuiApplication::platformName() != QLatin1String("xcb") || connection == nullptr)
        return true;
    return requestKeepAbove(connection, static_cast<xcb_window_t>(window->winId()), on);
}

} // namespace Platform
