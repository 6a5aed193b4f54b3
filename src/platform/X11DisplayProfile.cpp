#include "X11DisplayProfile.h"

#include "X11Connection.h"

#include <QGuiApplication>
#include <QScreen>

#include <xcb/randr.h>

#include <string>

namespace {
constexpr uint32_t ChunkWords = 64 * 1024; // profiles run to hundreds of KiB: read in pieces of 256 KiB

// The screen's place among the RandR monitors, by its name; -1 when it is none of them.
int MonitorIndex(xcb_connection_t *c, xcb_window_t root, const QScreen &screen)
{
    const XcbPtr<xcb_randr_get_monitors_reply_t> monitors(
        xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, root, true), nullptr));
    if (!monitors) return -1;
    int index = 0;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(monitors.get()); it.rem;
         xcb_randr_monitor_info_next(&it), ++index) {
        const XcbPtr<xcb_get_atom_name_reply_t> name(
            xcb_get_atom_name_reply(c, xcb_get_atom_name(c, it.data->name), nullptr));
        if (name && QString::fromUtf8(xcb_get_atom_name_name(name.get()), xcb_get_atom_name_name_length(name.get())) ==
                        screen.name())
            return index;
    }
    return -1;
}

xcb_atom_t Atom(xcb_connection_t *c, const std::string &name)
{
    const XcbPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, true, uint16_t(name.size()), name.data()), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}
} // namespace

QByteArray readX11DisplayProfile(const QScreen &screen)
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *c = x11 ? x11->connection() : nullptr;
    if (!c) return {};
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const int index = MonitorIndex(c, root, screen);
    const xcb_atom_t property =
        Atom(c, index <= 0 ? std::string("_ICC_PROFILE") : "_ICC_PROFILE_" + std::to_string(index));
    QByteArray profile;
    if (index < 0 || property == XCB_ATOM_NONE) return profile;
    for (uint32_t offset = 0;; offset += ChunkWords) {
        const XcbPtr<xcb_get_property_reply_t> piece(xcb_get_property_reply(
            c, xcb_get_property(c, false, root, property, XCB_ATOM_CARDINAL, offset, ChunkWords), nullptr));
        // Another type or format, or a property that shrank under us: no profile rather than a wrong one.
        if (!piece || piece->type != XCB_ATOM_CARDINAL || piece->format != 8 ||
            (xcb_get_property_value_length(piece.get()) == 0 && piece->bytes_after != 0))
            return {};
        profile.append(static_cast<const char *>(xcb_get_property_value(piece.get())),
                       xcb_get_property_value_length(piece.get()));
        if (piece->bytes_after == 0) return profile;
    }
}
