// Screen colour capture through the real window, with the screen service serving a known picture.
#include "frmCapture.h"
#include "frmMain.h"
#include "MadeProfiles.h"
#include "ProgramState.h"
#include "ScreenBackend.h"
#include "uOptions.h"
#include "WindowTesting.h"

#include <QAction>
#include <QApplication>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace colour;

namespace {

// Serves a fixed picture of each screen, or a failure, as the backend of the screen service; a desktop that
// asks the user first may also be declined.
class PictureScreen : public ScreenService
{
public:
    PictureScreen(QImage picture, QObject *parent, bool declined = false, bool pointerShown = false,
                  QByteArray profile = {})
        : ScreenService(parent), m_picture(std::move(picture)), m_declined(declined), m_pointerShown(pointerShown),
          m_profile(std::move(profile))
    {
    }
    void requestSnapshot(const QList<QScreen *> &screens) override
    {
        if (m_declined) {
            emit snapshotCancelled();
            return;
        }
        if (m_picture.isNull()) {
            emit snapshotFailed(QStringLiteral("No screen"), QStringLiteral("nothing to read"));
            return;
        }
        QList<ScreenPicture> pictures;
        for (QScreen *screen : screens)
            pictures.append({screen, m_picture, screen->geometry().topLeft(), m_pointerShown, m_profile});
        deliver(pictures);
    }

private:
    QImage m_picture;
    bool m_declined;
    bool m_pointerShown;
    QByteArray m_profile;
};

QImage Picture(QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            picture.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256) * 16 + y / 256));
    return picture;
}

} // namespace

class TestCapture : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void leftReleasePicksThePixel();
    void cancelWaysLeaveTheColour_data();
    void cancelWaysLeaveTheColour();
    void commandsAreUnavailableDuringCapture();
    void windowComesBackWithItsFocus();
    void missingSnapshotIsAWarning();
    void declinedSnapshotLeavesTheColour();
    void onWaylandTheWindowsHideForTheSnapshot();
    void keysMoveThePickPointAndPick();
    void zoomAndSampleAreKeptForTheNextCapture();
    void magnifierSaysWhatThePictureHolds_data();
    void magnifierSaysWhatThePictureHolds();
    void pointerPositionsMapToDevicePixels_data();
    void pointerPositionsMapToDevicePixels();

private:
    // Runs F12 and, once the capture window is up, `inside` on it.
    void capture(const std::function<void(TCaptureFrm *)> &inside);
    void serve(const QImage &picture)
    {
        setScreenServiceFactory([picture](QObject *parent) { return new PictureScreen(picture, parent); });
    }

    std::unique_ptr<ProgramState> state;
    std::unique_ptr<TTintMain> window;
};

void TestCapture::init()
{
    // Each test has its own store: what one window saves at its end must not reach the next.
    state = std::make_unique<ProgramState>();
    TintOptions->CaptureDelay = 1;
    serve(Picture(QGuiApplication::primaryScreen()->geometry().size()));
    window = std::make_unique<TTintMain>();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void TestCapture::cleanup()
{
    window.reset();
    setScreenServiceFactory({});
    state.reset();
}

void TestCapture::capture(const std::function<void(TCaptureFrm *)> &inside)
{
    bool ran = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        TCaptureFrm *form = nullptr;
        for (QWidget *shown : QApplication::topLevelWidgets())
            if (shown->isVisible() && qobject_cast<TCaptureFrm *>(shown)) form = static_cast<TCaptureFrm *>(shown);
        if (!form || ran) return;
        ran = true;
        QCOMPARE(form->geometry(), QGuiApplication::primaryScreen()->geometry());
        inside(form);
        if (form->isVisible()) form->close(); // a step that did not close it leaves no window behind
    });
    watch.start(20);
    window->activateWindow(); // offscreen, nothing gives it back after an earlier capture
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_F12);
    QVERIFY(ran);
}

void TestCapture::leftReleasePicksThePixel()
{
    QImage picture = Picture(QGuiApplication::primaryScreen()->geometry().size());
    picture.setPixel(30, 20, qRgb(10, 20, 30));
    serve(picture);
    capture([](TCaptureFrm *form) {
        // Pressing does nothing; the release picks.
        QTest::mousePress(form, Qt::LeftButton, {}, QPoint(10, 20));
        QVERIFY(form->isVisible());
        QTest::mouseRelease(form, Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 20));
    });
    QCOMPARE(window->currentColour(), Colour(0x001E140A));
}

void TestCapture::cancelWaysLeaveTheColour_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("right button") << 0;
    QTest::newRow("escape released") << 1;
    QTest::newRow("closed") << 2;
}

void TestCapture::cancelWaysLeaveTheColour()
{
    QFETCH(int, way);
    window->SetColour(0x00123456);
    capture([way](TCaptureFrm *form) {
        // Neither the middle button nor any other key does anything, nor the press of Escape.
        QTest::mouseClick(form, Qt::MiddleButton, {}, QPoint(5, 5));
        QTest::keyClick(form, Qt::Key_F12);
        QTest::keyPress(form, Qt::Key_Escape);
        QVERIFY(form->isVisible());
        if (way == 0) QTest::mouseClick(form, Qt::RightButton, {}, QPoint(5, 5));
        if (way == 1) QTest::keyRelease(form, Qt::Key_Escape);
        if (way == 2) form->close();
        QVERIFY(!form->isVisible());
    });
    QCOMPARE(window->currentColour(), Colour(0x00123456));
}

void TestCapture::commandsAreUnavailableDuringCapture()
{
    QStringList available;
    capture([&](TCaptureFrm *form) {
        // An idle pass inside the capture's modal loop.
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
        for (QAction *a : window->actions())
            if (a->isEnabled()) available << a->objectName();
        QVERIFY(window->isCapturing());
        form->close();
    });
    QCOMPARE(available, QStringList({"actFile", "actEdit", "actView", "actHelp"}));
    QVERIFY(!window->isCapturing());
    QEventLoop loop;
    QTimer::singleShot(10, &loop, &QEventLoop::quit);
    loop.exec();
    QVERIFY(window->findChild<QAction *>(QStringLiteral("actEditCapture"))->isEnabled());
}

void TestCapture::windowComesBackWithItsFocus()
{
    QWidget *txtHex = window->findChild<QWidget *>(QStringLiteral("txtHex"));
    txtHex->setFocus();
    capture([this](TCaptureFrm *form) {
        QVERIFY(window->isMinimized());
        QTest::mouseClick(form, Qt::LeftButton, {}, QPoint(1, 2));
    });
    QVERIFY(!window->isMinimized());
    QVERIFY(window->isVisible());
    QTRY_VERIFY(txtHex->hasFocus());
    QCOMPARE(window->currentColour(), MakeColour(1, 2, 0));
}

void TestCapture::missingSnapshotIsAWarning()
{
    serve(QImage());
    window->SetColour(0x00ABCDEF);
    {
        ShownDialogs dialogs;
        window->findChild<QAction *>(QStringLiteral("actEditCapture"))->trigger();
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(dialogs.shown[0].warning);
        QCOMPARE(dialogs.shown[0].details, QStringLiteral("nothing to read"));
    }
    QCOMPARE(window->currentColour(), Colour(0x00ABCDEF));
    QVERIFY(!window->isCapturing());
    QVERIFY(!window->isMinimized());
}

void TestCapture::declinedSnapshotLeavesTheColour()
{
    setScreenServiceFactory([](QObject *parent) { return new PictureScreen(QImage(), parent, true); });
    window->SetColour(0x00ABCDEF);
    window->findChild<QAction *>(QStringLiteral("actEditCapture"))->trigger();
    QCOMPARE(window->currentColour(), Colour(0x00ABCDEF));
    QVERIFY(!window->isCapturing());
    QVERIFY(window->isVisible());
}

void TestCapture::onWaylandTheWindowsHideForTheSnapshot()
{
    // A second window of the program, as a floating toolbar or a dialog would be.
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    qputenv("WAYLAND_DISPLAY", "wayland-test");
    const auto unset = qScopeGuard([] { qunsetenv("WAYLAND_DISPLAY"); });
    capture([&](TCaptureFrm *form) {
        QVERIFY(!window->isVisible());
        QVERIFY(!window->isMinimized());
        QVERIFY(!other.isVisible());
        QTest::mouseClick(form, Qt::LeftButton, {}, QPoint(3, 4));
    });
    QVERIFY(window->isVisible());
    QVERIFY(other.isVisible());
    QCOMPARE(window->currentColour(), MakeColour(3, 4, 0));
}

void TestCapture::keysMoveThePickPointAndPick()
{
    capture([](TCaptureFrm *form) {
        QTest::mouseMove(form, QPoint(100, 50));
        QTest::keyClick(form, Qt::Key_Right);
        QTest::keyClick(form, Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(form, Qt::Key_Down);
        QCOMPARE(form->PickPoint(), QPoint(111, 51));
        // A repeat of Enter held since before, and a release without a press, pick nothing.
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(form, &repeat);
        QTest::keyRelease(form, Qt::Key_Space);
        QVERIFY(form->isVisible());
        QTest::keyPress(form, Qt::Key_Space);
    });
    QCOMPARE(window->currentColour(), MakeColour(111, 51, 0));
}

void TestCapture::magnifierSaysWhatThePictureHolds_data()
{
    QTest::addColumn<bool>("pointerShown");
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<QStringList>("below"); // the lines under the pixel's colour and place
    const auto profile = [](made_profiles::Kind kind) { return QByteArray::fromStdString(made_profiles::Make(kind)); };
    const QByteArray wide = profile(made_profiles::Kind::WideV2);
    // transicc makes 216.3 92.5 -71.0 of the device's 200 100 0 through that profile.
    const QString srgbLine = QStringLiteral("sRGB #D85D00 (clipped) via \"Wide P3 display\"");
    const QString pointerLine = QStringLiteral("The desktop drew its pointer into this picture");
    QTest::newRow("plain") << false << QByteArray() << QStringList();
    QTest::newRow("pointer drawn in") << true << QByteArray() << QStringList{pointerLine};
    QTest::newRow("colour profile") << false << wide << QStringList{srgbLine};
    QTest::newRow("both") << true << wide << QStringList{srgbLine, pointerLine};
    QTest::newRow("unusable profile") << false << profile(made_profiles::Kind::Cmyk)
                                      << QStringList{QStringLiteral("The screen's color profile can't be used")};
}

// Below the pixel's colour and place, the magnifier says what the pixel means in sRGB by the screen's colour
// profile, and when the desktop drew its pointer into the picture.
void TestCapture::magnifierSaysWhatThePictureHolds()
{
    QFETCH(bool, pointerShown);
    QFETCH(QByteArray, profile);
    QFETCH(QStringList, below);
    const QImage picture = Picture(QGuiApplication::primaryScreen()->geometry().size());
    setScreenServiceFactory(
        [&](QObject *parent) { return new PictureScreen(picture, parent, false, pointerShown, profile); });
    QStringList text;
    capture([&](TCaptureFrm *form) { text = form->MagnifierText(QPoint(200, 100)); });
    QCOMPARE(text.value(0), QStringLiteral("0x00C86400  (200, 100)"));
    QCOMPARE(text.mid(1), below);
}

void TestCapture::zoomAndSampleAreKeptForTheNextCapture()
{
    const auto turn = [](TCaptureFrm *form, int delta, Qt::KeyboardModifiers modifiers = {}) {
        QWheelEvent wheel(QPointF(10, 10), form->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, delta), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(form, &wheel);
    };
    QCOMPARE(TintOptions->CaptureZoom, 9);
    capture([&](TCaptureFrm *form) {
        turn(form, -120); // towards the user: more pixels across
        turn(form, -60);
        turn(form, -60);
        QTest::keyRelease(form, Qt::Key_Escape);
    });
    QCOMPARE(TintOptions->CaptureZoom, 25);
    TintOptions->CaptureZoom = 16; // as a hand-edited store may hold
    capture([&](TCaptureFrm *form) {
        turn(form, 120);
        QTest::keyRelease(form, Qt::Key_Escape);
    });
    QCOMPARE(TintOptions->CaptureZoom, 9);

    // ] steps the sample up, and so does Ctrl with the wheel away from the user; [ steps it down. At the corner
    // only the pixels on the screen count.
    QCOMPARE(TintOptions->CaptureSample, 1);
    QStringList text;
    capture([&](TCaptureFrm *form) {
        QTest::keyClick(form, Qt::Key_BracketRight);
        QTest::keyClick(form, Qt::Key_BracketRight);
        turn(form, 120, Qt::ControlModifier);
        QTest::keyClick(form, Qt::Key_BracketLeft);
        text = form->MagnifierText(QPoint(0, 0));
        QTest::keyRelease(form, Qt::Key_Escape);
    });
    QCOMPARE(TintOptions->CaptureZoom, 9);
    QCOMPARE(TintOptions->CaptureSample, 5);
    QCOMPARE(text, QStringList({"0x00010100  (0, 0)", "5x5 average, 9 pixels"}));
}

void TestCapture::pointerPositionsMapToDevicePixels_data()
{
    // Positions as the window system gives them: X11 in whole device pixels, which Qt divides by its scale;
    // Wayland in 1/256 of a logical pixel, at 1.5 over a window that Qt draws at scale 2.
    QTest::addColumn<QPointF>("position");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<qreal>("dpr");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QPoint>("pixel");
    QTest::newRow("X11, scale 1") << QPointF(100, 50) << QSize(1920, 1080) << 1.0 << QSize(1920, 1080)
                                  << QPoint(100, 50);
    QTest::newRow("X11, scale 1.25") << QPointF(2.4, 4) << QSize(1536, 864) << 1.25 << QSize(1920, 1080)
                                     << QPoint(3, 5);
    QTest::newRow("X11, scale 1.75, last pixel")
        << QPointF(1919 / 1.75, 1079 / 1.75) << QSize(1097, 617) << 1.75 << QSize(1920, 1080) << QPoint(1919, 1079);
    QTest::newRow("X11, scale 1.75, screen size rounded up")
        << QPointF(1365 / 1.75, 767 / 1.75) << QSize(781, 439) << 1.75 << QSize(1366, 768) << QPoint(1365, 767);
    QTest::newRow("X11, scale 2, odd pixel")
        << QPointF(0.5, 1.5) << QSize(960, 540) << 2.0 << QSize(1920, 1080) << QPoint(1, 3);
    QTest::newRow("Wayland, scale 1.5") << QPointF(667.332, 3.332) << QSize(1280, 720) << 2.0 << QSize(1920, 1080)
                                        << QPoint(1001, 5);
    QTest::newRow("Wayland, scale 2") << QPointF(1279.5, 719.5) << QSize(1280, 720) << 2.0 << QSize(2560, 1440)
                                      << QPoint(2559, 1439);
    QTest::newRow("beyond the edge") << QPointF(1536, 864) << QSize(1536, 864) << 1.25 << QSize(1920, 1080)
                                     << QPoint(1919, 1079);
}

void TestCapture::pointerPositionsMapToDevicePixels()
{
    QFETCH(QPointF, position);
    QFETCH(QSize, screen);
    QFETCH(qreal, dpr);
    QFETCH(QSize, picture);
    QFETCH(QPoint, pixel);
    QCOMPARE(TCaptureFrm::PicturePixel(position, TCaptureFrm::PictureScale(screen, dpr, picture), picture), pixel);
}

QTEST_MAIN(TestCapture)
#include "tst_capture.moc"
