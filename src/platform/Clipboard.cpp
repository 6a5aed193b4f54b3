#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

Clipboard::Clipboard(QObject *parent) : QObject(parent), m_system(QGuiApplication::clipboard())
{
    connect(m_system, &QClipboard::dataChanged, this, [this] { m_stale = true; });
}

const QString &Clipboard::cachedText()
{
    if (m_stale) {
        m_stale = false;
        m_cachedText = text();
    }
    return m_cachedText;
}

QString Clipboard::text()
{
    if (!m_failure.isEmpty() || !m_system) return QString();
    return m_system->text();
}

void Clipboard::setFailure(const QString &cause)
{
    m_failure = cause;
    m_stale = true;
}
