// TCVMapi: one e-mail message handed to the desktop's mail composer (xdg-email). The composer always
// shows the message for the user to edit and send, so the originator and ShowDialog are kept but not
// passed. Send returns at once; the outcome arrives as one of the three signals.
#pragma once

#include <QObject>
#include <QStringList>

class QProcess;

class TCVMapi : public QObject
{
    Q_OBJECT

public:
    explicit TCVMapi(QObject *owner);

    QString Subject;
    QString Body;
    QString FromName;
    QString FromAdress;
    QStringList Recipients;
    QStringList CopyTo;
    QStringList BlindCopyTo;
    QStringList AttachedFiles;
    bool ShowDialog = false;

    // The names the receiver sees for the attachments, rebuilt by every Send.
    const QStringList &DisplayFileName() const { return m_displayFileName; }

    // No composer on the system counts as a cancelled message.
    void Send();

signals:
    void OnUserAbort(QObject *sender);
    void OnMapiError(QObject *sender, qint32 errorCode);
    void OnSuccess(QObject *sender);

private:
    QStringList ComposerArguments() const;
    void Report(qint32 result);

    QStringList m_displayFileName;
    QProcess *m_composer = nullptr;
};

class QWidget;
class TCVApplication;

// A message to the support mailbox, subject the program's name and version, for the user to write.
void SendSupportMail(QWidget *mainWindow, const TCVApplication &application);
