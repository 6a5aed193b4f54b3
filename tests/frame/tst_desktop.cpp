// The hand-offs to the desktop: web addresses as the browser gets them, the e-mail as a recording xdg-email
// receives it, the system-information tool from the store or PATH with its warnings, and the about box.
#include "CVAboutFrm2.h"
#include "CVApp.h"
#include "CVExceptions.h"
#include "CVMapi.h"
#include "CVSysInfo.h"
#include "CVWeb.h"
#include "Registry.h"
#include "RegistryTesting.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace registry;

namespace {
const QString SystemInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");

// Takes the addresses that would go to the browser.
class AddressRecorder : public QObject
{
    Q_OBJECT

public:
    AddressRecorder()
    {
        for (const char *scheme : {"http", "https", "ftp"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "open");
    }
    ~AddressRecorder() override
    {
        for (const char *scheme : {"http", "https", "ftp"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }
    QStringList opened;

public slots:
    void open(const QUrl &url) { opened << url.toString(); }
};

void WriteScript(const QString &path, const QByteArray &body)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + body);
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
}

// A tool body that leaves a word in the marker file, whole, by a rename.
QByteArray MarkerWriter(const QString &marker, const QByteArray &word)
{
    const QByteArray path = marker.toUtf8();
    return "echo " + word + " > \"" + path + ".part\"\nmv \"" + path + ".part\" \"" + path + "\"\n";
}

QString SystemInfoFailure()
{
    try {
        RunSystemInfo();
    } catch (const ECVException &error) {
        if (error.ErrorMessage != QLatin1String("Unable to run System Info at this time.") ||
            error.Kind != TCVMessageKind::Warning)
            return QStringLiteral("wrong warning: ") + error.ErrorMessage;
        return error.Details;
    }
    return {};
}

void StoreSystemInfoPath(const RegistryValue &value)
{
    TRegistry registry;
    registry.setRootKey(HKEY_LOCAL_MACHINE);
    registry.openKey(SystemInfoKey, true);
    registry.writeValue(QStringLiteral("Path"), value);
}
} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void webAddressesGetAPrefixOnlyWithoutAScheme();
    void supportMailGoesToTheMailboxWithNameAndVersion();
    void messageListsRecipientsCopiesAndAttachmentsInOrder();
    void composerOutcomesArriveAsSignals();
    void systemInfoFromTheStoreThenFromPath();
    void systemInfoFailuresAreOneWarningWithTheCause();
    void aboutBoxShowsTheIdentity();

private:
    QStringList RecordedArguments();

    std::unique_ptr<QTemporaryDir> m_bin;
    std::unique_ptr<TempRegistry> m_registry;
    QByteArray m_path;
    TCVApplication m_application;
};

void TestDesktop::init()
{
    m_bin = std::make_unique<QTemporaryDir>();
    m_registry = std::make_unique<TempRegistry>();
    m_path = qgetenv("PATH");
    // The recording composer writes each argument NUL-terminated and ends with the code it is given. The record
    // appears whole, by a rename, so that a reader never meets it half written.
    WriteScript(m_bin->filePath(QStringLiteral("xdg-email")),
                "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$0.part\"\nmv \"$0.part\" \"$0.args\"\n"
                "exit ${XDG_EMAIL_EXIT:-0}\n");
    qputenv("PATH", m_bin->path().toLocal8Bit() + ":/usr/bin:/bin");
    m_application.LongName = QStringLiteral("Corvane Tintwell");
    m_application.FamilyName = QStringLiteral("Corvane Devbench");
    m_application.VersionText = QStringLiteral("1.4.0 Build 26");
    m_application.WebAddresses->EMail = QStringLiteral("support@corvane.example");
}

void TestDesktop::cleanup()
{
    qputenv("PATH", m_path);
    qunsetenv("XDG_EMAIL_EXIT");
    m_registry.reset();
    m_bin.reset();
}

QStringList TestDesktop::RecordedArguments()
{
    QFile record(m_bin->filePath(QStringLiteral("xdg-email.args")));
    if (!QTest::qWaitFor([&] { return record.exists(); }, 5000) || !record.open(QIODevice::ReadOnly)) return {};
    QStringList arguments = QString::fromUtf8(record.readAll()).split(QChar(0));
    arguments.removeLast();
    return arguments;
}

void TestDesktop::webAddressesGetAPrefixOnlyWithoutAScheme()
{
    AddressRecorder browser;
    OpenWebAddress(QString());
    OpenWebAddress(QStringLiteral("www.corvane.example/tintwell"));
    OpenWebAddress(QStringLiteral("http://www.corvane.example/"));
    OpenWebAddress(QStringLiteral("HTTPS://www.corvane.example/"));
    OpenWebAddress(QStringLiteral("ftp://files.corvane.example/"));
    QCOMPARE(browser.opened,
             QStringList({QStringLiteral("http://www.corvane.example/tintwell"),
                          QStringLiteral("http://www.corvane.example/"), QStringLiteral("https://www.corvane.example/"),
                          QStringLiteral("ftp://files.corvane.example/")}));
}

void TestDesktop::supportMailGoesToTheMailboxWithNameAndVersion()
{
    QWidget window;
    SendSupportMail(&window, m_application);
    QCOMPARE(RecordedArguments(), QStringList({"--utf8", "--subject", "Corvane Tintwell 1.4.0 Build 26", "--body", " ",
                                               "support@corvane.example"}));
    // The component goes once the composer has finished.
    QTRY_VERIFY(window.findChildren<TCVMapi *>().isEmpty());
}

void TestDesktop::messageListsRecipientsCopiesAndAttachmentsInOrder()
{
    TCVMapi mail(nullptr);
    mail.Recipients = {QStringLiteral("a@corvane.example"), QStringLiteral("b@corvane.example")};
    mail.CopyTo = {QStringLiteral("c@corvane.example"), QStringLiteral("d@corvane.example")};
    mail.BlindCopyTo = {QStringLiteral("e@corvane.example")};
    mail.AttachedFiles = {QStringLiteral("/tmp/report one.txt"), QStringLiteral("/var/log/a.log")};
    mail.Subject = QStringLiteral("Subject; with `odd` $(characters)");
    mail.Body = QStringLiteral("Line one\nLine two");
    QSignalSpy success(&mail, &TCVMapi::OnSuccess);
    mail.Send();
    QCOMPARE(mail.DisplayFileName(), QStringList({"report one.txt", "a.log"}));
    QCOMPARE(
        RecordedArguments(),
        QStringList({"--utf8", "--cc", "c@corvane.example", "--cc", "d@corvane.example", "--bcc", "e@corvane.example",
                     "--subject", "Subject; with `odd` $(characters)", "--body", "Line one\nLine two", "--attach",
                     "/tmp/report one.txt", "--attach", "/var/log/a.log", "a@corvane.example", "b@corvane.example"}));
    QTRY_COMPARE(success.count(), 1);
}

void TestDesktop::composerOutcomesArriveAsSignals()
{
    TCVMapi mail(nullptr);
    QSignalSpy success(&mail, &TCVMapi::OnSuccess);
    QSignalSpy abort(&mail, &TCVMapi::OnUserAbort);
    QSignalSpy error(&mail, &TCVMapi::OnMapiError);

    qputenv("XDG_EMAIL_EXIT", "3");
    mail.Send();
    QTRY_COMPARE(error.count(), 1);
    QCOMPARE(error.first().at(1).toInt(), 3);

    // Without a composer the message counts as cancelled, at once.
    qputenv("PATH", m_bin->filePath(QStringLiteral("nothing")).toLocal8Bit());
    mail.Send();
    QCOMPARE(abort.count(), 1);
    QCOMPARE(success.count(), 0);
}

void TestDesktop::systemInfoFromTheStoreThenFromPath()
{
    const QString marker = m_bin->filePath(QStringLiteral("started"));
    WriteScript(m_bin->filePath(QStringLiteral("hardinfo")), MarkerWriter(marker, "path"));
    RunSystemInfo();
    QTRY_VERIFY(QFile::exists(marker));
    QFile::remove(marker);

    const QString stored = m_bin->filePath(QStringLiteral("stored tool"));
    WriteScript(stored, MarkerWriter(marker, "stored"));
    StoreSystemInfoPath(RegistryValue::fromString(stored));
    RunSystemInfo();
    QTRY_VERIFY(QFile::exists(marker));
    QFile file(marker);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("stored\n"));
}

void TestDesktop::systemInfoFailuresAreOneWarningWithTheCause()
{
    QCOMPARE(SystemInfoFailure(), QStringLiteral("No system information tool is installed: Tintwell looks for "
                                                 "hardinfo, kinfocenter, gnome-system-monitor and xfce4-taskmanager."));
    StoreSystemInfoPath(RegistryValue::fromString(m_bin->filePath(QStringLiteral("missing"))));
    QCOMPARE(SystemInfoFailure(),
             QStringLiteral("An error was raised by the Operating System while running System Info."));
    StoreSystemInfoPath(RegistryValue::fromDword(7));
    QCOMPARE(SystemInfoFailure(), QStringLiteral("Invalid data type for 'Path'"));
}

void TestDesktop::aboutBoxShowsTheIdentity()
{
    m_application.Copyright = QStringLiteral("Copyright \u00A9 2024 Corvane. All rights reserved.");
    m_application.OtherCopyrights = QStringLiteral("First line\rSecond line");
    TAboutForm about(nullptr, m_application);
    QCOMPARE(about.windowTitle(), QStringLiteral("About Corvane Tintwell..."));
    QCOMPARE(about.lblApplicationName->text(), QStringLiteral("Corvane Tintwell"));
    QVERIFY(about.lblApplicationName->font().bold());
    QCOMPARE(about.lblApplicationVersion->text(), QStringLiteral("Version 1.4.0 Build 26"));
    QCOMPARE(about.lblCopyright->text(), m_application.Copyright);
    QCOMPARE(about.lblOtherCopyrights->text(), QStringLiteral("First line\nSecond line"));
    QCOMPARE(about.cmdOK->text(), QStringLiteral("&OK"));
    QCOMPARE(about.cmdSysInfo->text(), QStringLiteral("&System Info..."));
    QCOMPARE(about.cmdSupport->text(), QStringLiteral("&Tech. Support..."));
    QVERIFY(about.cmdOK->isDefault());

    // A program named after its family shows the suite's name instead.
    m_application.LongName = m_application.FamilyName;
    m_application.SuiteName = QStringLiteral("Corvane Devbench Suite");
    TAboutForm family(nullptr, m_application);
    QCOMPARE(family.lblApplicationName->text(), QStringLiteral("Corvane Devbench Suite"));
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
