// Reads the clipboard's text on a thread of its own, over a connection of its own to the X server, so that an
// owner that answers slowly, or never, costs the GUI thread nothing. Requests made while a read runs fold into
// one read after it.
#pragma once

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class X11ClipboardReader
{
public:
    // Told on the reader's thread, with the latest request's number, what a read gave (readClipboardText).
    using Done = std::function<void(quint64 request, const QString &text)>;

    X11ClipboardReader(qsizetype limit, std::chrono::milliseconds bound, Done done);
    ~X11ClipboardReader(); // gives up a read under way

    void request(quint64 number);

private:
    void run();

    const qsizetype m_limit;
    const std::chrono::milliseconds m_bound;
    const Done m_done;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    quint64 m_wanted = 0;
    bool m_pending = false;
    std::atomic_bool m_stop{false};
    std::thread m_thread;
};
