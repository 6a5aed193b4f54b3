// The colour leaving through the clipboard as notation text or a thumbnail image, and coming back.
#include "Clipboard.h"
#include "frmMain.h"
#include "ProgramState.h"
#include "uOptions.h"
#include "WindowTesting.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace colour;

class TestClipboard : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void copiesCanonicalText_data();
    void copiesCanonicalText();
    void thumbnailTakesItsSizeWhenCopied_data();
    void thumbnailTakesItsSizeWhenCopied();
    void unusableClipboardIsAWarning();
    void pasteThroughTheFieldMenu();
    void copyAsKeepsItsFormatAcrossRuns();
    void pasteAnyColour_data();
    void pasteAnyColour();

private:
    QAction *command(const char *name) { return window->findChild<QAction *>(QLatin1String(name)); }

    std::unique_ptr<ProgramState> state;
    std::unique_ptr<TTintMain> window;
};

void TestClipboard::init()
{
    // Each test has its own store: what one window saves at its end must not reach the next.
    state = std::make_unique<ProgramState>();
    window = std::make_unique<TTintMain>();
    window->SetColour(MakeColour(255, 128, 0));
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void TestClipboard::cleanup()
{
    window.reset();
    state.reset();
}

void TestClipboard::copiesCanonicalText_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("popup");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("rgb") << "actEditCopyRGB"
                         << "actPopCopyRGB" << QByteArray("RGB(255, 128, 0)");
    QTest::newRow("hex") << "actEditCopyHEX"
                         << "actPopCopyHEX" << QByteArray("0x00FF8000");
    QTest::newRow("html") << "actEditCopyHTML"
                          << "actPopCopyHTML" << QByteArray("#FF8000");
}

void TestClipboard::copiesCanonicalText()
{
    QFETCH(QString, edit);
    QFETCH(QString, popup);
    QFETCH(QByteArray, text);
    // What the field shows, half typed, is not what is copied: the colour is formatted afresh.
    auto *txtHTML = window->findChild<QLineEdit *>(QStringLiteral("txtHTML"));
    txtHTML->setText(QStringLiteral("#12"));
    for (const QString &name : {edit, popup}) {
        QApplication::clipboard()->clear();
        command(qPrintable(name))->trigger();
        const QMimeData *data = QApplication::clipboard()->mimeData();
        QVERIFY(data->hasText());
        QCOMPARE(data->text().toLatin1(), text);
        QCOMPARE(data->text().size(), text.size()); // no terminating zero in the X selection
    }
}

void TestClipboard::thumbnailTakesItsSizeWhenCopied_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QSize>("size");
    QTest::newRow("defaults") << 32 << 32 << QSize(32, 32);
    QTest::newRow("other size") << 64 << 7 << QSize(64, 7);
    QTest::newRow("out of range stored") << 0 << 5000 << QSize(1, 1000);
}

void TestClipboard::thumbnailTakesItsSizeWhenCopied()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QSize, size);
    TintOptions->ThumbnailWidth = width;
    TintOptions->ThumbnailHeight = height;
    QApplication::clipboard()->setText(QStringLiteral("text before"));
    QTest::keyClick(window.get(), Qt::Key_F9);
    const QMimeData *data = QApplication::clipboard()->mimeData();
    QVERIFY(!data->hasText());
    const QImage thumbnail = qvariant_cast<QImage>(data->imageData());
    QCOMPARE(thumbnail.size(), size);
    const QImage solid = thumbnail.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < solid.height(); ++y)
        for (int x = 0; x < solid.width(); ++x)
            QCOMPARE(solid.pixel(x, y), qRgb(255, 128, 0));
}

void TestClipboard::unusableClipboardIsAWarning()
{
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    window->findChild<Clipboard *>()->setFailure(QStringLiteral("no clipboard service"));
    for (const char *name : {"actEditCopyRGB", "actEditCopyThumbnail"}) {
        ShownDialogs dialogs;
        command(name)->trigger();
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].message, QStringLiteral("Cannot open clipboard"));
        QCOMPARE(dialogs.shown[0].details, QStringLiteral("no clipboard service"));
        QVERIFY(dialogs.shown[0].warning);
    }
    window->findChild<Clipboard *>()->setFailure(QString());
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept"));
}

void TestClipboard::pasteThroughTheFieldMenu()
{
    QApplication::clipboard()->setText(QStringLiteral("RGB(0,0,255)"));
    command("actPopPasteRGB")->trigger();
    QCOMPARE(window->currentColour(), Colour(0x00FF0000));
    QCOMPARE(window->findChild<QLineEdit *>(QStringLiteral("txtRGB"))->text(), QStringLiteral("RGB(0, 0, 255)"));
    // Text of another notation changes nothing, without a message.
    QApplication::clipboard()->setText(QStringLiteral("#FF8000"));
    command("actPopPasteHEX")->trigger();
    QCOMPARE(window->currentColour(), Colour(0x00FF0000));
}

// Ctrl+Shift+C copies in the last format of Copy As, oklch at first; the choice outlives the run. Each entry of
// the submenu shows its text for the colour as its hint.
void TestClipboard::copyAsKeepsItsFormatAcrossRuns()
{
    const auto copied = [] { return QApplication::clipboard()->text(); };
    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(copied(), QStringLiteral("oklch(0.732 0.1858 53)"));
    QCOMPARE(command("actEditCopyAsAgain")->text(), QStringLiteral("Copy A&gain As CSS oklch()"));

    QMenu *copyAs = command("actEditCopyAs")->menu();
    emit copyAs->aboutToShow();
    QCOMPARE(command("actEditCopyAsHsl")->statusTip(), QStringLiteral("hsl(30.1 100% 50%)"));
    QCOMPARE(command("actEditCopyAsDisplayP3")->statusTip(), QStringLiteral("color(display-p3 0.936 0.53 0.199)"));
    QCOMPARE(copyAs->actions().size(), 8);
    command("actEditCopyAsHsl")->trigger();
    QCOMPARE(copied(), QStringLiteral("hsl(30.1 100% 50%)"));

    // Another run over the same store.
    window.reset();
    TintOptions->Save();
    delete TintOptions;
    TintOptions = new TTintOptions(Application->RegRoot, Application->RegAppKey);
    TintOptions->Load();
    window = std::make_unique<TTintMain>();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    window->SetColour(MakeColour(0, 0, 255));
    QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(copied(), QStringLiteral("hsl(240 100% 50%)"));
}

void TestClipboard::pasteAnyColour_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Colour>("colour");
    QTest::addColumn<QString>("said"); // in the status bar; empty: nothing new
    const Colour orange = MakeColour(255, 128, 0);
    QTest::newRow("named") << "RebeccaPurple" << MakeColour(102, 51, 153) << QString();
    QTest::newRow("the program's hex notation") << " 0x000080FF " << MakeColour(0, 128, 255) << QString();
    QTest::newRow("outside sRGB") << "oklch(0.7 0.3 40)" << MakeColour(255, 92, 0) << "Outside sRGB: mapped to #FF5C00";
    QTest::newRow("with an alpha") << "hsl(200 50% 50% / .5)" << MakeColour(64, 149, 191)
                                   << "Transparency dropped: #4095BF";
    QTest::newRow("both") << "lab(50 100 0 / 50%)" << MakeColour(238, 0, 125) << "Outside sRGB, alpha dropped: #EE007D";
    QTest::newRow("no colour") << "color: red" << orange << QString();
    QTest::newRow("4 KiB of blanks around a colour")
        << QString(2100, u' ') + "red" + QString(2100, u' ') << orange << QString();
}

// Ctrl+Shift+V takes a colour in any notation of the web, where the clipboard holds one, and says what had to
// give way.
void TestClipboard::pasteAnyColour()
{
    QFETCH(QString, text);
    QFETCH(Colour, colour);
    QFETCH(QString, said);
    // The word of an earlier paste, of another colour, goes with the next paste.
    auto *hint = window->findChild<QLabel *>("lblHint");
    const QString earlier = QStringLiteral("Outside sRGB: mapped to #FF0B0C");
    hint->setText(earlier);
    QApplication::clipboard()->setText(text);
    QTRY_COMPARE(window->findChild<Clipboard *>()->lastText().size(), text.size() > 4096 ? 0 : text.size());
    QTest::keyClick(window.get(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    const bool pasted = colour != MakeColour(255, 128, 0);
    QCOMPARE(command("actEditPasteAny")->isEnabled(), pasted);
    QCOMPARE(ColourToHTMLText(window->currentColour()), ColourToHTMLText(colour));
    QCOMPARE(hint->text(), pasted ? said : earlier);
}

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"
