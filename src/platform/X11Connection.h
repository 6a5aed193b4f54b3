// A connection of its own to the X server, for the clipboard work that must neither wait on the GUI thread's
// connection nor be answered through it: reading another program's clipboard with a time limit, and holding
// the clipboard after the program ends.
#pragma once

#include <QString>

#include <xcb/xcb.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>

struct FreeXcb
{
    void operator()(void *reply) const { std::free(reply); }
};
// xcb hands replies and events over in malloc'd blocks.
template <typename T> using XcbPtr = std::unique_ptr<T, FreeXcb>;

class X11Connection
{
public:
    using Clock = std::chrono::steady_clock;

    X11Connection(); // to the display named by $DISPLAY
    ~X11Connection();
    X11Connection(const X11Connection &) = delete;
    X11Connection &operator=(const X11Connection &) = delete;

    bool isOpen() const { return m_screen != nullptr; }
    xcb_connection_t *get() const { return m_connection; }
    xcb_atom_t atom(const std::string &name);
    xcb_window_t selectionOwner(xcb_atom_t selection);
    // An unmapped window that is told of changes to its properties; the caller destroys it.
    xcb_window_t createWindow();
    // The window that reads go through, kept from read to read: windows that come and go trouble programs that
    // walk the window tree meanwhile. forgetRequestor() destroys it, and the next read gets a new one.
    xcb_window_t requestor();
    void forgetRequestor();
    // The next event that `wanted` accepts, dropping the others; null once `deadline` has passed, `cancel`
    // is set or the connection is broken.
    XcbPtr<xcb_generic_event_t> waitForEvent(Clock::time_point deadline,
                                             const std::function<bool(const xcb_generic_event_t &)> &wanted,
                                             const std::atomic_bool *cancel = nullptr);
    // The server's time now, as a selection owner must give it; XCB_CURRENT_TIME when it did not come in time.
    xcb_timestamp_t serverTime(xcb_window_t window, Clock::time_point deadline);

private:
    xcb_connection_t *m_connection;
    xcb_screen_t *m_screen = nullptr;
    xcb_window_t m_requestor = XCB_WINDOW_NONE;
    std::map<std::string, xcb_atom_t> m_atoms;
};

// The clipboard's text as a colour may be read from it: the text before its first zero byte, read on `x`.
// Empty when there is no text, when that text is longer than `limit` bytes (of which no more is read), or when
// the owner does not answer, or send the next piece of a large text, within `bound`.
QString readClipboardText(X11Connection &x, qsizetype limit, std::chrono::milliseconds bound,
                          const std::atomic_bool *cancel = nullptr);
