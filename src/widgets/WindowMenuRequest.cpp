#include "widgets/WindowMenuRequest.h"

#include "common/Logging.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace {

struct ConnectionDeleter
{
    void operator()(xcb_connection_t *connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, ConnectionDeleter>;

struct ReplyDeleter
{
    void operator()(void *reply) const { std::free(reply); }
};

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0,
                                                            static_cast<uint16_t>(std::strlen(name)), name);
    std::unique_ptr<xcb_intern_atom_reply_t, ReplyDeleter> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// Whether the window manager lists `wanted` among the protocols it supports.
bool supported(xcb_connection_t *connection, xcb_window_t root, xcb_atom_t wanted)
{
    const xcb_atom_t list = atom(connection, "_NET_SUPPORTED");
    if (list == XCB_ATOM_NONE || wanted == XCB_ATOM_NONE)
        return false;
    const xcb_get_property_cookie_t cookie = xcb_get_property(connection, 0, root, list, XCB_ATOM_ATOM, 0,
                                                              4096);
    std::unique_ptr<xcb_get_property_reply_t, ReplyDeleter> reply(
        xcb_get_property_reply(connection, cookie, nullptr));
    if (!reply || reply->format != 32)
        return false;
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / int(sizeof(xcb_atom_t));
    for (int i = 0; i < count; ++i)
        if (atoms[i] == wanted)
            return true;
    return false;
}

} // namespace

namespace WindowMenuRequest {

bool open(QWindow *window, const QPoint &globalPosition)
{
    if (!window || QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    // A connection of its own: the message goes to the root window, which any client may send.
    Connection connection(xcb_connect(nullptr, nullptr));
    if (!connection || xcb_connection_has_error(connection.get()))
        return false;
    const xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(connection.get()));
    if (roots.rem <= 0)
        return false;
    const xcb_window_t root = roots.data->root;
    const xcb_atom_t showMenu = atom(connection.get(), "_GTK_SHOW_WINDOW_MENU");
    if (!supported(connection.get(), root, showMenu)) {
        qCDebug(lcWidgets) << "the window manager offers no window menu";
        return false;
    }
    // The root window's coordinates are the display's pixels.
    const qreal ratio = window->screen() ? window->screen()->devicePixelRatio() : 1.0;
    xcb_client_message_event_t message;
    std::memset(&message, 0, sizeof message);
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window->winId());
    message.type = showMenu;
    message.data.data32[0] = 0; // the pointer device: the window manager takes its own
    message.data.data32[1] = static_cast<uint32_t>(qRound(globalPosition.x() * ratio));
    message.data.data32[2] = static_cast<uint32_t>(qRound(globalPosition.y() * ratio));
    xcb_send_event(connection.get(), 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(connection.get());
    qCDebug(lcWidgets) << "window menu asked of the window manager at" << globalPosition;
    return true;
}

} // namespace WindowMenuRequest
