// The screen through the desktop portal, against a test peer that owns the portal's name on a private session
// bus and speaks its Request/Response protocol. Runs under dbus-run-session with a bus that starts no services.
#include "KWinPicture.h"
#include "PortalScreenService.h"
#include "PreferredFont.h"
#include "ScreenBackend.h"
#include "SessionType.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>
#include <QUrl>

#include <memory>
#include <optional>
#include <typeinfo>

#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// The Request object of one screenshot; the client closes it when it gives up.
class FakeRequest : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")

public:
    bool closed = false;

public slots:
    void Close() { closed = true; }
};

class FakePortal : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")

public:
    enum Answer { Picture, PictureBeforeReply, OwnHandle, Deny, Fail, NoUri, Never };

    Answer answer = Picture;
    QImage image;    // what a successful answer shows, saved afresh for each, as the portals do
    QString picture; // the file it was saved to
    QString folder;
    QString named; // what the answer names instead of the file, when not empty
    QVariantMap options;
    QString handle;
    std::unique_ptr<FakeRequest> request;

public slots:
    QDBusObjectPath Screenshot(const QString &, const QVariantMap &callOptions)
    {
        options = callOptions;
        QString caller = message().service().mid(1);
        caller.replace(u'.', u'_');
        handle = answer == OwnHandle ? PortalPath + QStringLiteral("/request/legacy/7")
                                     : QStringLiteral("%1/request/%2/%3")
                                           .arg(PortalPath, caller, callOptions.value("handle_token").toString());
        request = std::make_unique<FakeRequest>();
        connection().registerObject(handle, request.get(), QDBusConnection::ExportAllSlots);

        setDelayedReply(true);
        const QDBusMessage reply = message().createReply(QVariant::fromValue(QDBusObjectPath(handle)));
        QDBusMessage response = QDBusMessage::createTargetedSignal(
            message().service(), handle, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
        static int count = 0;
        picture = QStringLiteral("%1/shot%2.png").arg(folder).arg(++count);
        image.save(picture);
        const QVariantMap withPicture{
            {QStringLiteral("uri"), QUrl::fromLocalFile(named.isEmpty() ? picture : named).toString()}};
        switch (answer) {
        case Picture:
        case PictureBeforeReply:
        case OwnHandle:
            response << 0u << withPicture;
            break;
        case Deny:
            response << 1u << QVariantMap();
            break;
        case Fail:
            response << 2u << QVariantMap();
            break;
        case NoUri:
            response << 0u << QVariantMap();
            break;
        case Never:
            break;
        }
        QDBusConnection bus = connection();
        if (answer == PictureBeforeReply) bus.send(response);
        bus.send(reply);
        if (answer == OwnHandle)
            // Those portals answer later: a client can listen only once it knows the handle.
            QTimer::singleShot(100ms, this, [bus, response]() mutable { bus.send(response); });
        else if (answer != PictureBeforeReply && answer != Never)
            bus.send(response);
        return {};
    }
};

struct Outcome
{
    std::optional<QImage> snapshot;
    bool cancelled = false;
    QString failure, details;
    int answers = 0;
};

Outcome Request(PortalScreenService &service)
{
    Outcome outcome;
    QEventLoop waiting;
    QObject::connect(&service, &ScreenService::snapshotReady, &waiting, [&](const QList<ScreenPicture> &pictures) {
        outcome.snapshot = pictures.value(0).image;
        ++outcome.answers;
        waiting.quit();
    });
    QObject::connect(&service, &ScreenService::snapshotCancelled, &waiting, [&] {
        outcome.cancelled = true;
        ++outcome.answers;
        waiting.quit();
    });
    QObject::connect(&service, &ScreenService::snapshotFailed, &waiting,
                     [&](const QString &message, const QString &details) {
                         outcome.failure = message;
                         outcome.details = details;
                         ++outcome.answers;
                         waiting.quit();
                     });
    QTimer::singleShot(10s, &waiting, &QEventLoop::quit);
    service.requestSnapshot({QGuiApplication::primaryScreen()});
    waiting.exec();
    // A second answer to the same request would come now.
    QTest::qWait(50);
    return outcome;
}

} // namespace

class TestPortalScreen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void deliversThePortalsPicture();
    void answerNamingAUsersFileLeavesIt_data();
    void answerNamingAUsersFileLeavesIt();
    void responseMayOvertakeTheReply();
    void olderPortalsChooseTheirOwnHandle();
    void deniedRequestIsACancel();
    void portalFailuresAreWarnings_data();
    void portalFailuresAreWarnings();
    void silentPortalIsAbandonedAndClosed();
    void missingPortalNamesWhatToInstall_data();
    void missingPortalNamesWhatToInstall();
    void layoutIsCutToEachScreen_data();
    void layoutIsCutToEachScreen();
    void sessionChoosesThePortal_data();
    void sessionChoosesThePortal();
    void kwinPictureReadsItsRowsOrNothing_data();
    void kwinPictureReadsItsRowsOrNothing();

private:
    QTemporaryDir home;
    QByteArray userHome = qgetenv("HOME"); // given back at the end: the home above goes with the test
    QImage picture;
    std::unique_ptr<FakePortal> portal;
    std::optional<QDBusConnection> portalBus;
};

void TestPortalScreen::cleanupTestCase()
{
    qputenv("HOME", userHome);
}

void TestPortalScreen::initTestCase()
{
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
    // The portal saves where desktops keep screenshots: the Pictures folder of a home of the test's own.
    qputenv("HOME", home.path().toLocal8Bit());
    qunsetenv("XDG_CONFIG_HOME");
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("Pictures")));
    // Twice the screen's size, as a desktop at scale 2 gives it, with a mark at each corner.
    const QSize size = QGuiApplication::primaryScreen()->geometry().size() * 2;
    picture = QImage(size, QImage::Format_RGB32);
    picture.fill(qRgb(0x0a, 0x14, 0x1e));
    picture.setPixel(0, 0, qRgb(0xff, 0x80, 0x00));
    picture.setPixel(size.width() - 1, size.height() - 1, qRgb(0x12, 0x34, 0x56));
}

void TestPortalScreen::init()
{
    portalBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("portal"));
    portal = std::make_unique<FakePortal>();
    portal->image = picture;
    portal->folder = home.path() + QStringLiteral("/Pictures");
    QVERIFY(portalBus->registerObject(PortalPath, portal.get(), QDBusConnection::ExportAllSlots));
    QVERIFY(portalBus->registerService(PortalService));
}

void TestPortalScreen::cleanup()
{
    portalBus->unregisterService(PortalService);
    portalBus.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
    portal.reset();
}

void TestPortalScreen::deliversThePortalsPicture()
{
    PortalScreenService service(QDBusConnection::sessionBus(), nullptr);
    const Outcome outcome = Request(service);
    QCOMPARE(outcome.answers, 1);
    QVERIFY2(outcome.snapshot, qPrintable(outcome.failure));
    QCOMPARE(outcome.snapshot->size(), picture.size());
    QCOMPARE(outcome.snapshot->pixel(0, 0), picture.pixel(0, 0));
    QCOMPARE(outcome.snapshot->pixel(picture.width() - 1, picture.height() - 1),
             picture.pixel(picture.width() - 1, picture.height() - 1));
    // Without a question to the user: the program's windows are hidden and could not show one.
    QCOMPARE(portal->options.value("interactive"), QVariant(false));
    // The portal's file of the screen is removed once read.
    QVERIFY(!QFile::exists(portal->picture));
}

// An answer may name any file: only a snapshot written for the request, in a folder of screenshots, is removed;
// what is no regular file is not even opened.
void TestPortalScreen::answerNamingAUsersFileLeavesIt_data()
{
    QTest::addColumn<QString>("named");
    QTest::addColumn<bool>("read");
    QTest::newRow("a link to the snapshot") << "Pictures/link.png" << false;
    QTest::newRow("a text of the user's") << "victim/important.txt" << false;
    QTest::newRow("a picture of the user's") << "victim/photo.png" << true;
    QTest::newRow("through a folder link") << "Pictures/victim/photo.png" << true;
    QTest::newRow("a FIFO") << "victim/fifo" << false;
}

void TestPortalScreen::answerNamingAUsersFileLeavesIt()
{
    QFETCH(QString, named);
    QFETCH(bool, read);
    const QDir homeDir = QDir::home();
    QVERIFY(homeDir.mkpath(QStringLiteral("victim")));
    const QString victim = homeDir.filePath(QStringLiteral("victim"));
    QVERIFY(picture.save(victim + QStringLiteral("/photo.png")));
    QFile text(victim + QStringLiteral("/important.txt"));
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("keep me") == 7);
    text.close();
    QCOMPARE(::mkfifo(QFile::encodeName(victim + QStringLiteral("/fifo")).constData(), 0600), 0);
    QFile::link(victim, homeDir.filePath(QStringLiteral("Pictures/victim")));
    QFile::link(victim + QStringLiteral("/photo.png"), homeDir.filePath(QStringLiteral("Pictures/link.png")));
    const auto removeVictim = qScopeGuard([&] {
        QDir(victim).removeRecursively();
        QFile::remove(homeDir.filePath(QStringLiteral("Pictures/victim")));
        QFile::remove(homeDir.filePath(QStringLiteral("Pictures/link.png")));
    });

    portal->named = homeDir.filePath(named);
    PortalScreenService service(QDBusConnection::sessionBus(), nullptr);
    const Outcome outcome = Request(service);
    QCOMPARE(outcome.answers, 1);
    QCOMPARE(bool(outcome.snapshot), read);
    if (!read) QVERIFY2(outcome.failure.contains("could not be read"), qPrintable(outcome.failure));
    for (const QString &kept : {QStringLiteral("photo.png"), QStringLiteral("important.txt"), QStringLiteral("fifo")})
        QVERIFY2(QFileInfo::exists(victim + u'/' + kept), qPrintable(kept));
}

void TestPortalScreen::responseMayOvertakeTheReply()
{
    portal->answer = FakePortal::PictureBeforeReply;
    PortalScreenService service(QDBusConnection::sessionBus(), nullptr, 2s);
    const Outcome outcome = Request(service);
    QCOMPARE(outcome.answers, 1);
    QVERIFY2(outcome.snapshot, qPrintable(outcome.failure));
}

void TestPortalScreen::olderPortalsChooseTheirOwnHandle()
{
    portal->answer = FakePortal::OwnHandle;
    PortalScreenService service(QDBusConnection::sessionBus(), nullptr, 2s);
    const Outcome outcome = Request(service);
    QVERIFY2(outcome.snapshot, qPrintable(outcome.failure));
}

void TestPortalScreen::deniedRequestIsACancel()
{
    portal->answer = FakePortal::Deny;
    PortalScreenService service(QDBusConnection::sessionBus(), nullptr);
    const Outcome outcome = Request(service);
    QCOMPARE(outcome.answers, 1);
    QVERIFY(outcome.cancelled);

    // KDE's portal answers so when it has no Pictures folder to save in: that is said, not taken for a cancel.
    const QTemporaryDir bareHome;
    qputenv("XDG_CURRENT_DESKTOP", "KDE");
    qputenv("HOME", bareHome.path().toLocal8Bit());
    const Outcome withoutPictures = Request(service);
    qunsetenv("XDG_CURRENT_DESKTOP");
    qputenv("HOME", home.path().toLocal8Bit());
    QVERIFY(!withoutPictures.cancelled);
    QVERIFY2(withoutPictures.details.contains(bareHome.path() + QStringLiteral("/Pictures")),
             qPrintable(withoutPictures.details));
}

void TestPortalScreen::portalFailuresAreWarnings_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("says");
    QTest::newRow("screenshot failed") << int(FakePortal::Fail) << "could not take a screenshot";
    QTest::newRow("no file named") << int(FakePortal::NoUri) << "could not be read";
}

void TestPortalScreen::portalFailuresAreWarnings()
{
    QFETCH(int, answer);
    QFETCH(QString, says);
    portal->answer = FakePortal::Answer(answer);
    PortalScreenService service(QDBusConnection::sessionBus(), nullptr);
    const Outcome outcome = Request(service);
    QCOMPARE(outcome.answers, 1);
    QVERIFY2(outcome.failure.contains(says), qPrintable(outcome.failure));
}

void TestPortalScreen::silentPortalIsAbandonedAndClosed()
{
    portal->answer = FakePortal::Never;
    PortalScreenService service(QDBusConnection::sessionBus(), nullptr, 300ms);
    // Request waits up to 10 s: an answer at all means the service gave up by its own bound.
    const Outcome silent = Request(service);
    QCOMPARE(silent.answers, 1);
    QVERIFY2(silent.failure.contains("within 0.3 seconds"), qPrintable(silent.failure));
    QTRY_VERIFY(portal->request->closed);

    // The abandoned request does not stand in the way of the next one.
    portal->answer = FakePortal::Picture;
    const Outcome next = Request(service);
    QCOMPARE(next.answers, 1);
    QVERIFY2(next.snapshot, qPrintable(next.failure));
}

void TestPortalScreen::missingPortalNamesWhatToInstall_data()
{
    QTest::addColumn<bool>("portalRuns");
    QTest::addColumn<QByteArray>("desktop");
    QTest::addColumn<QStringList>("named");
    const QStringList every{"xdg-desktop-portal-gnome", "xdg-desktop-portal-kde", "xdg-desktop-portal-wlr"};
    QTest::newRow("no portal on the bus") << false << QByteArray() << every;
    QTest::newRow("a portal without Screenshot") << true << QByteArray() << every;
    QTest::newRow("on GNOME") << false << QByteArray("GNOME") << QStringList{"GNOME", "xdg-desktop-portal-gnome"};
    QTest::newRow("on KDE") << true << QByteArray("KDE") << QStringList{"KDE", "xdg-desktop-portal-kde", "Pictures"};
    QTest::newRow("on sway") << true << QByteArray("sway") << QStringList{"sway", "xdg-desktop-portal-wlr", "grim"};
}

void TestPortalScreen::missingPortalNamesWhatToInstall()
{
    QFETCH(bool, portalRuns);
    QFETCH(QByteArray, desktop);
    QFETCH(QStringList, named);
    portalBus->unregisterObject(PortalPath);
    if (!portalRuns) portalBus->unregisterService(PortalService);
    if (!desktop.isEmpty()) qputenv("XDG_CURRENT_DESKTOP", desktop);
    const auto forget = qScopeGuard([] { qunsetenv("XDG_CURRENT_DESKTOP"); });
    PortalScreenService service(QDBusConnection::sessionBus(), nullptr, 2s);
    const Outcome outcome = Request(service);
    QCOMPARE(outcome.answers, 1);
    for (const QString &name : named)
        QVERIFY2(outcome.details.contains(name), qPrintable(outcome.details));
    // The warning's text is shown whole in its few lines; the long form is in the details.
    const QFontMetrics metrics(PreferredFont(QStringLiteral("Tahoma"), 8));
    QVERIFY2(metrics.boundingRect(QRect(0, 0, 257, 1000), Qt::TextWordWrap, outcome.failure).height() <= 65,
             qPrintable(outcome.failure));
}

void TestPortalScreen::layoutIsCutToEachScreen_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QRect>("desktop");
    QTest::addColumn<QSize>("layout");
    QTest::addColumn<QRect>("part");
    QTest::newRow("one output") << QRect(0, 0, 1920, 1080) << QRect(0, 0, 1920, 1080) << QSize(1920, 1080)
                                << QRect(0, 0, 1920, 1080);
    QTest::newRow("primary left of a smaller output")
        << QRect(0, 0, 1920, 1080) << QRect(0, 0, 3200, 1080) << QSize(3200, 1080) << QRect(0, 0, 1920, 1080);
    QTest::newRow("primary right of a smaller output")
        << QRect(1280, 0, 1920, 1080) << QRect(0, 0, 3200, 1080) << QSize(3200, 1080) << QRect(1280, 0, 1920, 1080);
    QTest::newRow("scale 2") << QRect(1280, 0, 1920, 1080) << QRect(0, 0, 3200, 1080) << QSize(6400, 2160)
                             << QRect(2560, 0, 3840, 2160);
    QTest::newRow("scale 1.5, desktop left of the origin")
        << QRect(0, 0, 1280, 720) << QRect(-1280, 0, 2560, 720) << QSize(3840, 1080) << QRect(1920, 0, 1920, 1080);
}

void TestPortalScreen::layoutIsCutToEachScreen()
{
    QFETCH(QRect, screen);
    QFETCH(QRect, desktop);
    QFETCH(QSize, layout);
    QFETCH(QRect, part);
    QCOMPARE(PortalScreenService::ScreenRect(layout, screen, desktop), part);
}

void TestPortalScreen::sessionChoosesThePortal_data()
{
    QTest::addColumn<QByteArray>("waylandDisplay");
    QTest::addColumn<QByteArray>("sessionType");
    QTest::addColumn<QByteArray>("desktop");
    QTest::addColumn<QString>("service"); // the class of the screen service made
    QTest::newRow("X11") << QByteArray() << QByteArray("x11") << QByteArray("GNOME") << "X11ScreenService";
    QTest::newRow("Wayland") << QByteArray("wayland-0") << QByteArray("wayland") << QByteArray("GNOME")
                             << "PortalScreenService";
    QTest::newRow("through XWayland") << QByteArray() << QByteArray("wayland") << QByteArray("sway")
                                      << "PortalScreenService";
    QTest::newRow("a Wayland display alone")
        << QByteArray("/run/user/1000/wayland-1") << QByteArray() << QByteArray() << "PortalScreenService";
    QTest::newRow("KDE on Wayland") << QByteArray("wayland-0") << QByteArray("wayland") << QByteArray("KDE")
                                    << "KWinScreenService";
    QTest::newRow("KDE on X11") << QByteArray() << QByteArray("x11") << QByteArray("KDE") << "X11ScreenService";
}

void TestPortalScreen::sessionChoosesThePortal()
{
    QFETCH(QByteArray, waylandDisplay);
    QFETCH(QByteArray, sessionType);
    QFETCH(QByteArray, desktop);
    QFETCH(QString, service);
    const QByteArray savedDisplay = qgetenv("WAYLAND_DISPLAY"), savedType = qgetenv("XDG_SESSION_TYPE"),
                     savedDesktop = qgetenv("XDG_CURRENT_DESKTOP");
    const auto set = [](const char *name, const QByteArray &value) {
        value.isEmpty() ? qunsetenv(name) : qputenv(name, value);
    };
    set("WAYLAND_DISPLAY", waylandDisplay);
    set("XDG_SESSION_TYPE", sessionType);
    set("XDG_CURRENT_DESKTOP", desktop);
    const std::unique_ptr<ScreenService> made(createScreenService(nullptr));
    set("WAYLAND_DISPLAY", savedDisplay);
    set("XDG_SESSION_TYPE", savedType);
    set("XDG_CURRENT_DESKTOP", savedDesktop);
    const ScreenService &object = *made;
    const QString madeClass = QString::fromLatin1(typeid(object).name());
    QVERIFY2(madeClass.contains(service), qPrintable(madeClass));
}

// KWin's picture in a pipe: rows with padding after their pixels are read without it; a pipe that ends
// early, or an answer that is no raw picture, gives nothing.
void TestPortalScreen::kwinPictureReadsItsRowsOrNothing_data()
{
    QTest::addColumn<int>("padding");
    QTest::addColumn<int>("cutShort");
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("read");
    QTest::newRow("rows as wide as their pixels") << 0 << 0 << "raw" << true;
    QTest::newRow("rows padded") << 12 << 0 << "raw" << true;
    QTest::newRow("a short read") << 12 << 5 << "raw" << false;
    QTest::newRow("no raw picture") << 0 << 0 << "png" << false;
}

void TestPortalScreen::kwinPictureReadsItsRowsOrNothing()
{
    QFETCH(int, padding);
    QFETCH(int, cutShort);
    QFETCH(QString, type);
    constexpr int Width = 3, Height = 2;
    const qsizetype stride = Width * 4 + padding;
    QByteArray bytes(stride * Height, '\xEE'); // the padding's bytes must not show
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            qToLittleEndian(quint32(0xFF000000 | (x * 40) << 16 | (y * 90) << 8 | 7),
                            bytes.data() + y * stride + x * 4);
    int ends[2];
    QCOMPARE(::pipe(ends), 0);
    QCOMPARE(::write(ends[1], bytes.constData(), size_t(bytes.size() - cutShort)), ssize_t(bytes.size() - cutShort));
    ::close(ends[1]);
    const std::optional<QImage> kwin = ReadKWinPicture(ends[0], {{"type", type},
                                                                 {"width", Width},
                                                                 {"height", Height},
                                                                 {"stride", stride},
                                                                 {"format", int(QImage::Format_ARGB32)}});
    ::close(ends[0]);
    QFETCH(bool, read);
    QCOMPARE(kwin.has_value(), read);
    if (!read) return;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            QCOMPARE(kwin->pixel(x, y), qRgb(x * 40, y * 90, 7));
}

QTEST_MAIN(TestPortalScreen)
#include "tst_portalscreen.moc"
