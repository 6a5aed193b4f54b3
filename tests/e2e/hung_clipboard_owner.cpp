// A clipboard owner that never answers, as a program hung in its event loop would be: takes the clipboard,
// prints "owned", then ignores every request until it is ended. With --endless it answers every request for
// text with a transfer in pieces (INCR) that never ends, as a broken owner can.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
xcb_atom_t Atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, false, std::strlen(name), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}
} // namespace

int main(int argc, char *argv[])
{
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return 1;
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, 0, window, xcb_setup_roots_iterator(xcb_get_setup(c)).data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_intern_atom_reply_t *clipboard =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, false, std::strlen("CLIPBOARD"), "CLIPBOARD"), nullptr);
    xcb_set_selection_owner(c, window, clipboard->atom, XCB_CURRENT_TIME);
    xcb_get_selection_owner_reply_t *owner =
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard->atom), nullptr);
    const bool owned = owner && owner->owner == window;
    std::free(owner);
    std::free(clipboard);
    if (!owned) return 1;
    std::puts("owned");
    std::fflush(stdout);
    const bool endless = argc > 1 && std::strcmp(argv[1], "--endless") == 0;
    const xcb_atom_t incr = Atom(c, "INCR"), utf8 = Atom(c, "UTF8_STRING");
    xcb_window_t requestor = XCB_WINDOW_NONE;
    xcb_atom_t property = XCB_ATOM_NONE;
    const std::string piece(4000, 'a');
    while (xcb_generic_event_t *event = xcb_wait_for_event(c)) {
        const int type = event->response_type & 0x7f;
        if (endless && type == XCB_SELECTION_REQUEST) {
            const auto *request = reinterpret_cast<xcb_selection_request_event_t *>(event);
            // The requestor tells of deletions of the property: each asks for the next piece.
            requestor = request->requestor;
            property = request->property;
            const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
            xcb_change_window_attributes(c, requestor, XCB_CW_EVENT_MASK, &events);
            const uint32_t size = 1 << 30;
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, requestor, property, incr, 32, 1, &size);
            xcb_selection_notify_event_t notify = {};
            notify.response_type = XCB_SELECTION_NOTIFY;
            notify.time = request->time;
            notify.requestor = requestor;
            notify.selection = request->selection;
            notify.target = request->target;
            notify.property = property;
            xcb_send_event(c, false, requestor, 0, reinterpret_cast<const char *>(&notify));
            xcb_flush(c);
        } else if (endless && type == XCB_PROPERTY_NOTIFY) {
            const auto *change = reinterpret_cast<xcb_property_notify_event_t *>(event);
            if (change->window == requestor && change->atom == property && change->state == XCB_PROPERTY_DELETE) {
                xcb_change_property(c, XCB_PROP_MODE_REPLACE, requestor, property, utf8, 8, uint32_t(piece.size()),
                                    piece.data());
                xcb_flush(c);
            }
        }
        std::free(event);
    }
    return 0;
}
