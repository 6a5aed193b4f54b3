#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

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

bool Clipboard::usable(QString &failure) const
{
    if (!m_failure.isEmpty())
        failure = m_failure;
    else if (!m_system)
        failure = QStringLiteral("No clipboard service is available.");
    else
        return true;
    return false;
}

bool Clipboard::setText(const QString &text, QString &failure)
{
    if (!usable(failure)) return false;
    m_system->setText(text);
    // While the program owns the clipboard, reading it back is answered locally.
    if (m_system->text() == text) return true;
    failure = QStringLiteral("The clipboard did not take the text: another program holds it.");
    return false;
}

bool Clipboard::setImage(const QImage &image, QString &failure)
{
    if (!usable(failure)) return false;
    m_system->setImage(image);
    const QMimeData *held = m_system->mimeData();
    if (held && held->hasImage()) return true;
    failure = QStringLiteral("The clipboard did not take the image: another program holds it.");
    return false;
}
