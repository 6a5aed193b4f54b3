#include "X11ClipboardReader.h"

#include "X11Connection.h"

X11ClipboardReader::X11ClipboardReader(qsizetype limit, std::chrono::milliseconds bound, Done done)
    : m_limit(limit), m_bound(bound), m_done(std::move(done)), m_thread(&X11ClipboardReader::run, this)
{
}

X11ClipboardReader::~X11ClipboardReader()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void X11ClipboardReader::request(quint64 number)
{
    {
        const std::lock_guard lock(m_mutex);
        m_wanted = number;
        m_pending = true;
    }
    m_wake.notify_one();
}

void X11ClipboardReader::run()
{
    X11Connection x;
    for (;;) {
        quint64 number;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || m_pending; });
            if (m_stop) return;
            number = m_wanted;
            m_pending = false;
        }
        const QString text = readClipboardText(x, m_limit, m_bound, &m_stop);
        if (!m_stop) m_done(number, text);
    }
}
