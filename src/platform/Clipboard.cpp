#include "Clipboard.h"

#include "X11ClipboardReader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

namespace {

// How long a read waits for the clipboard's owner.
constexpr std::chrono::milliseconds ReadBound{500};

// What a colour may be read from: the text before its first zero byte, and nothing of a longer text.
QString ColourText(QString text)
{
    if (const qsizetype zero = text.indexOf(QChar(0)); zero >= 0) text.truncate(zero);
    return text.size() > Clipboard::MaxColourText ? QString() : text;
}

} // namespace

Clipboard::Clipboard(QObject *parent) : QObject(parent), m_system(QGuiApplication::clipboard())
{
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        // Told on the reader's thread; kept on this one.
        const auto report = [this](quint64 change, const QString &text) {
            QMetaObject::invokeMethod(
                this, [this, change, text] { keepText(change, text); }, Qt::QueuedConnection);
        };
        m_reader = std::make_unique<X11ClipboardReader>(MaxColourText, ReadBound, report);
    }
    if (m_system) connect(m_system, &QClipboard::dataChanged, this, &Clipboard::readAfterChange);
    readAfterChange();
}

// The reader goes first: it must not report to a clipboard that is half gone.
Clipboard::~Clipboard()
{
    m_reader.reset();
}

// Another program's clipboard, on X11. Wayland has no asynchronous read: there Qt reads, within its own bound.
bool Clipboard::readsInBackground() const
{
    return m_reader && m_system && m_failure.isEmpty() && !m_system->ownsClipboard();
}

void Clipboard::readAfterChange()
{
    ++m_change;
    if (readsInBackground()) {
        // Until the new owner has answered, nothing can be pasted.
        keepText(m_change, QString());
        m_reader->request(m_change);
    } else {
        keepText(m_change, text());
    }
}

void Clipboard::keepText(quint64 change, const QString &text)
{
    if (change != m_change) return;
    m_lastText = text;
    emit textRead();
}

QString Clipboard::text()
{
    if (!m_failure.isEmpty() || !m_system) return QString();
    // Another program's clipboard on X11 is read once after each change. The notice of a change comes in order
    // with the keys and clicks, so the text read then is the clipboard's text now (empty while it is read).
    if (readsInBackground()) return m_lastText;
    // While the program owns the clipboard, Qt answers from what it placed.
    return ColourText(m_system->text());
}

void Clipboard::setFailure(const QString &cause)
{
    m_failure = cause;
    readAfterChange();
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
