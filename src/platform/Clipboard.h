// The system clipboard as the editor uses it. On X11 every read is a round trip to the program that owns
// the clipboard, so the text is read once per change of the clipboard and kept for the idle-time rules;
// a paste reads it afresh.
#pragma once

#include <QObject>
#include <QString>

class QClipboard;

class Clipboard : public QObject
{
    Q_OBJECT

public:
    explicit Clipboard(QObject *parent = nullptr);

    // The clipboard's text as of its last change; empty when it holds no text or cannot be read.
    const QString &cachedText();
    // The clipboard's text read now; empty when it holds no text or cannot be read.
    QString text();

    // Test seam: while a cause is set the clipboard counts as unusable.
    void setFailure(const QString &cause);
    QString failure() const { return m_failure; }

private:
    QClipboard *m_system;
    QString m_cachedText;
    QString m_failure;
    bool m_stale = true;
};
