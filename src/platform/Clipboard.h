// The system clipboard as the editor uses it. Its text is read once per change of the clipboard and kept for
// the idle-time rules. On X11 every read of another program's clipboard is a round trip to that program, which
// may answer slowly or never: there that text is read on a thread of its own, and a read gives up after about
// half a second.
#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QClipboard;
class QImage;
class X11ClipboardReader;

class Clipboard : public QObject
{
    Q_OBJECT

public:
    // Clipboard text longer than this holds no colour in any notation; no more of it is read or converted.
    static constexpr qsizetype MaxColourText = 4096;

    explicit Clipboard(QObject *parent = nullptr);
    ~Clipboard() override;

    // The clipboard's text as last read (textRead() tells when): the text before its first zero byte; empty
    // when the clipboard holds no text, when that text is longer than MaxColourText, or when the clipboard
    // cannot be read in time.
    const QString &lastText() const { return m_lastText; }
    // The same as it stands, for a paste: read now, but for another program's clipboard on X11, whose notices
    // of change come in order with the keys and clicks; there it is lastText().
    QString text();

    // Replace everything on the clipboard by one text or one image. False, with the cause, when the clipboard
    // cannot be used: no clipboard service, or the program does not hold what it has just placed.
    bool setText(const QString &text, QString &failure);
    bool setImage(const QImage &image, QString &failure);

    // Test seam: while a cause is set the clipboard counts as unusable.
    void setFailure(const QString &cause);
    QString failure() const { return m_failure; }

signals:
    void textRead();

private:
    bool usable(QString &failure) const;
    bool readsInBackground() const;
    void readAfterChange();
    void keepText(quint64 change, const QString &text);

    QClipboard *m_system;
    std::unique_ptr<X11ClipboardReader> m_reader;
    QString m_lastText;
    QString m_failure;
    quint64 m_change = 0;
};
