// A clipboard owner that never answers, as a program hung in its event loop would be: takes the clipboard,
// prints "owned", then ignores every request until it is ended.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main()
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
    while (xcb_generic_event_t *event = xcb_wait_for_event(c))
        std::free(event);
    return 0;
}
