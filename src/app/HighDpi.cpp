#include "app/HighDpi.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QList>

#include <cstdlib>
#include <xcb/xcb.h>

namespace {

// Whether the toolkit will open an X display: its default platform here, unless another is
// asked for.
bool usesX11()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    return qEnvironmentVariableIsSet("DISPLAY") && (platform.isEmpty() || platform.startsWith("xcb"));
}

// The X server's resource database as the desktop set it; empty without a display or one.
QByteArray xResources()
{
    int screenNumber = 0;
    xcb_connection_t *connection = xcb_connect(nullptr, &screenNumber);
    QByteArray resources;
    if (connection && !xcb_connection_has_error(connection)) {
        // The database lives on the first screen's root window.
        const xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(connection));
        if (roots.rem > 0) {
            const xcb_get_property_cookie_t cookie = xcb_get_property(
                connection, 0, roots.data->root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, 1 << 20);
            if (xcb_get_property_reply_t *reply = xcb_get_property_reply(connection, cookie, nullptr)) {
                resources = QByteArray(static_cast<const char *>(xcb_get_property_value(reply)),
                                       xcb_get_property_value_length(reply));
                std::free(reply);
            }
        }
    }
    if (connection)
        xcb_disconnect(connection);
    return resources;
}

} // namespace

QByteArray pinnedFontDpi(const QByteArray &resources)
{
    for (const QByteArray &line : resources.split('\n')) {
        const int colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed() == "Xft.dpi"
            && line.mid(colon + 1).trimmed().toDouble() > 0)
            return QByteArray();
    }
    return QByteArrayLiteral("96");
}

void enableHighDpi()
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    // Without Xft.dpi the toolkit's X platform takes the monitor's physical density for the
    // desktop's scale (a 100 dpi monitor would scale everything by 1.04). QT_FONT_DPI set by
    // the user stays theirs; QT_SCALE_FACTOR still scales on top.
    if (!qEnvironmentVariableIsSet("QT_FONT_DPI") && usesX11()) {
        const QByteArray dpi = pinnedFontDpi(xResources());
        if (!dpi.isEmpty())
            qputenv("QT_FONT_DPI", dpi);
    }
}
