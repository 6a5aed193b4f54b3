#include "CVMapi.h"

#include "CVApp.h"
#include "CVExceptions.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

namespace {
constexpr qint32 Success = 0;
constexpr qint32 UserAbort = 1;
} // namespace

TCVMapi::TCVMapi(QObject *owner) : QObject(owner) {}

QStringList TCVMapi::ComposerArguments() const
{
    QStringList arguments{QStringLiteral("--utf8")};
    for (const QString &address : CopyTo)
        arguments << QStringLiteral("--cc") << address;
    for (const QString &address : BlindCopyTo)
        arguments << QStringLiteral("--bcc") << address;
    arguments << QStringLiteral("--subject") << Subject << QStringLiteral("--body") << Body;
    for (const QString &path : AttachedFiles)
        arguments << QStringLiteral("--attach") << path;
    return arguments + Recipients;
}

void TCVMapi::Send()
{
    m_displayFileName.clear();
    for (const QString &path : AttachedFiles)
        m_displayFileName << QFileInfo(path).fileName();

    const QString composer = QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
    if (composer.isEmpty() || m_composer) {
        Report(UserAbort);
        return;
    }
    m_composer = new QProcess(this);
    m_composer->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(m_composer, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        Report(status == QProcess::NormalExit ? exitCode : -1);
    });
    connect(m_composer, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) Report(UserAbort);
    });
    m_composer->start(composer, ComposerArguments());
}

void TCVMapi::Report(qint32 result)
{
    if (m_composer) m_composer->deleteLater();
    m_composer = nullptr;
    if (result == Success)
        emit OnSuccess(this);
    else if (result == UserAbort)
        emit OnUserAbort(this);
    else
        emit OnMapiError(this, result);
}

void SendSupportMail(QWidget *mainWindow, const TCVApplication &application)
{
    try {
        auto *mail = new TCVMapi(mainWindow);
        // The component lives until the composer has finished, whatever the outcome.
        for (auto outcome : {&TCVMapi::OnSuccess, &TCVMapi::OnUserAbort})
            QObject::connect(mail, outcome, mail, &QObject::deleteLater);
        QObject::connect(mail, &TCVMapi::OnMapiError, mail, &QObject::deleteLater);
        mail->ShowDialog = true;
        mail->Recipients = {application.WebAddresses->EMail};
        mail->Subject = application.LongName + QLatin1Char(' ') + application.VersionText;
        mail->Body = QStringLiteral(" ");
        mail->Send();
    } catch (const std::exception &error) {
        throw ECVException(QStringLiteral("Unable to prepare an e-mail to technical support."),
                           QString::fromStdString(error.what()), TCVMessageKind::Warning);
    }
}
