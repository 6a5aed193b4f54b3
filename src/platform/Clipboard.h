// The system clipboard as the editor uses it. On X11 every read is a round trip to the program that owns
// the clipboard, so the text is read once per change of the clipboard and kept for the idle-time rules;
// a paste reads it afresh.
#pragma once

#include <QObject>
#include <QString>

class QClipboard;
class QImage;

class Clipboard : public QObject
{
    Q_OBJECT

public:
    explicit Clipboard(QObject *parent = nullptr);

    // The clipboard's text as of its last change; empty when it holds no text or cannot be read.
    const QString &cachedText();
    // The clipboard's text read now; empty when it holds no text or cannot be read.
    QString text();

    // Replace everything on the clipboard by one text or one image. False, with the cause, when the clipboard
    // cannot be used: no clipboard service, or the program does not hold what it has just placed.
    bool setText(const QString &text, QString &failure);
    bool setImage(const QImage &image, QString &failure);

    // Test seam: while a cause is set the clipboard counts as unusable.
    void setFailure(const QString &cause);
    QString failure() const { return m_failure; }

private:
    bool usable(QString &failure) const;

    QClipboard *m_system;
    QString m_cachedText;
    QString m_failure;
    bool m_stale = true;
};
