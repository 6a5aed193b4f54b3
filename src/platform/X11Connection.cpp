#include "X11Connection.h"

#include <QByteArray>

#include <algorithm>
#include <optional>

#include <poll.h>

namespace {

using Clock = X11Connection::Clock;

int ResponseType(const xcb_generic_event_t &event)
{
    return event.response_type & 0x7f;
}

// Cuts `text` at its first zero byte; true once what stands before it is known: a zero byte is in, the text
// is `complete`, or it is already longer than `limit`.
bool Settled(QByteArray &text, qsizetype limit, bool complete)
{
    const qsizetype zero = text.indexOf('\0');
    if (zero >= 0) text.truncate(zero);
    return zero >= 0 || complete || text.size() > limit;
}

std::optional<QByteArray> WithinLimit(const QByteArray &text, qsizetype limit)
{
    if (text.size() > limit) return std::nullopt;
    return text;
}

// How long the rest of a text is drained once what counts of it is known: a real owner sends 20 MB in a tenth of
// a second; one that sends without end is dropped.
constexpr std::chrono::seconds DrainBound(2);

// The text the owner placed in `property` of `window`, up to its first zero byte; nothing when that is longer
// than `limit`, when a piece of it does not come within `bound`, or when it does not end within DrainBound of
// the moment it can no longer count.
std::optional<QByteArray> TakeText(X11Connection &x, xcb_window_t window, xcb_atom_t property, qsizetype limit,
                                   std::chrono::milliseconds bound, const std::atomic_bool *cancel)
{
    xcb_connection_t *c = x.get();
    QByteArray text;
    bool settled = false;
    // Reads the property's type and size, and of its bytes no more than may still count.
    const auto read = [&] {
        const uint32_t longs = settled ? 0 : uint32_t((limit + 1 - text.size() + 3) / 4);
        return XcbPtr<xcb_get_property_reply_t>(xcb_get_property_reply(
            c, xcb_get_property(c, false, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, longs), nullptr));
    };
    const auto append = [&](const xcb_get_property_reply_t &piece, bool complete) {
        text.append(static_cast<const char *>(xcb_get_property_value(&piece)), xcb_get_property_value_length(&piece));
        settled = Settled(text, limit, complete);
    };
    auto reply = read();
    if (!reply) return std::nullopt;
    if (reply->type != x.atom("INCR")) {
        if (reply->format != 8) return std::nullopt;
        append(*reply, true);
        return WithinLimit(text, limit);
    }
    // A large text comes in pieces: deleting the property asks for the next one, and an empty piece ends the
    // text. Once what stands before the zero byte is known, the rest is deleted unread, but to the end: some
    // owners (xclip) serve nobody else while a transfer is open.
    std::optional<Clock::time_point> drainedBy;
    for (;;) {
        xcb_delete_property(c, window, property);
        const auto piece = x.waitForEvent(
            Clock::now() + bound,
            [&](const xcb_generic_event_t &event) {
                const auto &notify = reinterpret_cast<const xcb_property_notify_event_t &>(event);
                return ResponseType(event) == XCB_PROPERTY_NOTIFY && notify.window == window &&
                       notify.atom == property && notify.state == XCB_PROPERTY_NEW_VALUE;
            },
            cancel);
        if (!piece || !(reply = read())) return std::nullopt;
        const bool last = reply->value_len == 0 && reply->bytes_after == 0;
        if (!settled) append(*reply, last);
        if (last) return WithinLimit(text, limit);
        if (settled && !drainedBy) drainedBy = Clock::now() + DrainBound;
        if (drainedBy && Clock::now() >= *drainedBy) return std::nullopt;
    }
}

} // namespace

X11Connection::X11Connection() : m_connection(xcb_connect(nullptr, nullptr))
{
    if (!xcb_connection_has_error(m_connection)) m_screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
}

X11Connection::~X11Connection()
{
    xcb_disconnect(m_connection);
}

xcb_atom_t X11Connection::atom(const std::string &name)
{
    if (const auto known = m_atoms.find(name); known != m_atoms.end()) return known->second;
    const XcbPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(m_connection, xcb_intern_atom(m_connection, false, name.size(), name.data()), nullptr));
    if (!reply) return XCB_ATOM_NONE;
    return m_atoms[name] = reply->atom;
}

xcb_window_t X11Connection::selectionOwner(xcb_atom_t selection)
{
    const XcbPtr<xcb_get_selection_owner_reply_t> reply(
        xcb_get_selection_owner_reply(m_connection, xcb_get_selection_owner(m_connection, selection), nullptr));
    return reply ? reply->owner : xcb_window_t(XCB_WINDOW_NONE);
}

xcb_window_t X11Connection::createWindow()
{
    const xcb_window_t window = xcb_generate_id(m_connection);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(m_connection, 0, window, m_screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    return window;
}

xcb_window_t X11Connection::requestor()
{
    if (m_requestor == XCB_WINDOW_NONE) m_requestor = createWindow();
    return m_requestor;
}

void X11Connection::forgetRequestor()
{
    if (m_requestor == XCB_WINDOW_NONE) return;
    xcb_destroy_window(m_connection, m_requestor);
    xcb_flush(m_connection);
    m_requestor = XCB_WINDOW_NONE;
}

XcbPtr<xcb_generic_event_t> X11Connection::waitForEvent(Clock::time_point deadline,
                                                        const std::function<bool(const xcb_generic_event_t &)> &wanted,
                                                        const std::atomic_bool *cancel)
{
    xcb_flush(m_connection);
    for (;;) {
        while (xcb_generic_event_t *next = xcb_poll_for_event(m_connection)) {
            XcbPtr<xcb_generic_event_t> event(next);
            if (wanted(*event)) return event;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (xcb_connection_has_error(m_connection) || left <= 0 || (cancel && *cancel)) return nullptr;
        // Short naps, so that a cancel is seen soon.
        pollfd socket{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        poll(&socket, 1, int(std::min<long long>(left, 50)));
    }
}

xcb_timestamp_t X11Connection::serverTime(xcb_window_t window, Clock::time_point deadline)
{
    // Appending nothing to a property changes nothing, but the server reports the change with its time.
    const xcb_atom_t property = atom("TINTWELL_TIME");
    xcb_change_property(m_connection, XCB_PROP_MODE_APPEND, window, property, XCB_ATOM_STRING, 8, 0, nullptr);
    const auto notify = waitForEvent(deadline, [&](const xcb_generic_event_t &event) {
        const auto &change = reinterpret_cast<const xcb_property_notify_event_t &>(event);
        return ResponseType(event) == XCB_PROPERTY_NOTIFY && change.window == window && change.atom == property;
    });
    return notify ? reinterpret_cast<const xcb_property_notify_event_t *>(notify.get())->time : XCB_CURRENT_TIME;
}

QString readClipboardText(X11Connection &x, qsizetype limit, std::chrono::milliseconds bound,
                          const std::atomic_bool *cancel)
{
    if (!x.isOpen()) return QString();
    xcb_connection_t *c = x.get();
    const xcb_atom_t clipboard = x.atom("CLIPBOARD");
    const xcb_atom_t property = x.atom("TINTWELL_CLIPBOARD");
    // Most owners give UTF-8; the oldest only Latin-1.
    for (const bool utf8 : {true, false}) {
        const xcb_window_t window = x.requestor();
        xcb_convert_selection(c, window, clipboard, utf8 ? x.atom("UTF8_STRING") : xcb_atom_t(XCB_ATOM_STRING),
                              property, XCB_CURRENT_TIME);
        const auto notify = x.waitForEvent(
            Clock::now() + bound,
            [&](const xcb_generic_event_t &event) {
                return ResponseType(event) == XCB_SELECTION_NOTIFY &&
                       reinterpret_cast<const xcb_selection_notify_event_t &>(event).requestor == window;
            },
            cancel);
        if (notify && reinterpret_cast<const xcb_selection_notify_event_t *>(notify.get())->property == XCB_ATOM_NONE)
            continue; // no text in this form
        std::optional<QByteArray> text;
        if (notify) text = TakeText(x, window, property, limit, bound, cancel);
        xcb_delete_property(c, window, property);
        xcb_flush(c);
        if (!text) {
            // Whatever comes late of this answer must not be taken for part of the next one.
            x.forgetRequestor();
            return QString();
        }
        return utf8 ? QString::fromUtf8(*text) : QString::fromLatin1(*text);
    }
    return QString();
}
