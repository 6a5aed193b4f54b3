#include "KeyState.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

std::optional<bool> isKeyDown(quint32 nativeScanCode)
{
    // The offscreen platform answers for X11 too, without a connection.
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection || nativeScanCode > 255) return std::nullopt;
    const std::unique_ptr<xcb_query_keymap_reply_t, decltype(&std::free)> keymap(
        xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr), &std::free);
    if (!keymap) return std::nullopt;
    return (keymap->keys[nativeScanCode / 8] >> (nativeScanCode % 8) & 1) != 0;
}
