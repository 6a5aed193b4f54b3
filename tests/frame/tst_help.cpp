// The help: the viewer library found beside the executable, the topics of the three context numbers in one
// reused window, silence without a help file, the beep without a viewer, and the warning of a failed topic.
#include "CVAboutFrm2.h"
#include "CVApp.h"
#include "CVBeep.h"
#include "CVExceptions.h"
#include "CVHelp.h"
#include "CVMsgDetailsFrm.h"
#include "HelpTesting.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTextCursor>

namespace {
class UrlRecorder : public QObject
{
    Q_OBJECT

public slots:
    void open(const QUrl &url) { opened.append(url); }

public:
    QList<QUrl> opened;
};

QString ShownText()
{
    return HelpWindow()->findChild<QTextBrowser *>(QStringLiteral("helpBrowser"))->toPlainText();
}

int CountVisibleHelpWindows()
{
    int count = 0;
    for (QWidget *window : QApplication::topLevelWidgets())
        count += window->objectName() == QLatin1String("MainWindow") && window->isVisible();
    return count;
}
} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { SetBeepHook({}); }

    // The viewer, once loaded, stays loaded for the run, so the missing viewer comes first.
    void missingViewerBeepsAndShowsNothing();
    void missingHelpFileDoesNothingAtAll();
    void eachContextShowsItsTopicInOneWindow();
    void linksOpenTheHelpsPagesHereAndTheWebOnTheDesktop();
    void unknownContextRaisesTheWarning();
    void aboutBoxKeysActOnTheirPressWhereverTheFocusIs();

private:
    TCVApplication m_application;
    int m_beeps = 0;
    QTemporaryDir m_empty;
};

void TestHelp::init()
{
    m_application.ExePath = QStringLiteral(VIEWER_DIR "/");
    m_application.HelpFile = QStringLiteral(HELP_FILE);
    m_application.LongName = QStringLiteral("Corvane Tintwell");
    m_beeps = 0;
    SetBeepHook([this] { ++m_beeps; });
}

void TestHelp::missingViewerBeepsAndShowsNothing()
{
    m_application.ExePath = m_empty.path() + QLatin1Char('/');
    ShowHelp(m_application, 0);
    QCOMPARE(m_beeps, 1);
    QCOMPARE(HelpWindow(), nullptr);
}

void TestHelp::missingHelpFileDoesNothingAtAll()
{
    for (const QString &helpFile : {QString(), m_empty.filePath(QStringLiteral("tintwell.qch"))}) {
        m_application.HelpFile = helpFile;
        for (qint32 context : {0, 500, 60000})
            ShowHelp(m_application, context);
    }
    QCOMPARE(m_beeps, 0);
    QCOMPARE(HelpWindow(), nullptr);
}

void TestHelp::eachContextShowsItsTopicInOneWindow()
{
    ShowHelp(m_application, 0);
    QCOMPARE(ShownTopic(), QStringLiteral("index.html"));
    QVERIFY(ShownText().contains(QStringLiteral("Copying and pasting the colour")));
    QWidget *first = HelpWindow();

    ShowHelp(m_application, 500);
    QCOMPARE(ShownTopic(), QStringLiteral("prefs.html"));
    QVERIFY(ShownText().contains(QStringLiteral("Thumbnail image")));

    ShowHelp(m_application, 60000);
    QCOMPARE(ShownTopic(), QStringLiteral("support.html"));
    QVERIFY(ShownText().contains(QStringLiteral("support@corvane.example")));

    QCOMPARE(HelpWindow(), first);
    QCOMPARE(CountVisibleHelpWindows(), 1);
    QCOMPARE(m_beeps, 0);
    // The default topic's picture comes out of the compiled help too.
    auto *browser = first->findChild<QTextBrowser *>(QStringLiteral("helpBrowser"));
    ShowHelp(m_application, 0);
    const QVariant picture = browser->loadResource(QTextDocument::ImageResource,
                                                   browser->source().resolved(QUrl(QStringLiteral("screenshot.png"))));
    QVERIFY(!picture.toByteArray().isEmpty());
}

// Clicks the first link that reads `text` on the page shown, as a user does.
void ClickLink(QTextBrowser *browser, const QString &text)
{
    QTextCursor link = browser->document()->find(text);
    while (!link.isNull() && !link.charFormat().isAnchor())
        link = browser->document()->find(text, link);
    QVERIFY2(!link.isNull(), qPrintable(text));
    QTextCursor inside(browser->document());
    inside.setPosition(link.selectionStart() + 1);
    const QPoint point = browser->cursorRect(inside).center();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, point);
}

void TestHelp::linksOpenTheHelpsPagesHereAndTheWebOnTheDesktop()
{
    // What the desktop is handed, by scheme: the web address, and never a page of the help file.
    UrlRecorder desktop;
    for (const char *scheme : {"https", "qthelp"})
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &desktop, "open");
    ShowHelp(m_application, 0);
    auto *browser = HelpWindow()->findChild<QTextBrowser *>(QStringLiteral("helpBrowser"));
    const QList<std::pair<QString, QString>> clicks = {{"below", "index.html"},
                                                       {"Preferences", "prefs.html"},
                                                       {"Back to the contents", "index.html"},
                                                       {"Technical support", "support.html"},
                                                       {"https://www.corvane.example/tintwell", "support.html"},
                                                       {"preferences", "prefs.html"}};
    for (const auto &[text, topic] : clicks) {
        ClickLink(browser, text);
        QCOMPARE(ShownTopic(), topic);
    }
    QCOMPARE(desktop.opened, QList<QUrl>{QUrl(QStringLiteral("https://www.corvane.example/tintwell"))});
    for (const char *scheme : {"https", "qthelp"})
        QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
}

void TestHelp::unknownContextRaisesTheWarning()
{
    try {
        ShowHelp(m_application, 42);
        QFAIL("no warning");
    } catch (const ECVException &error) {
        QCOMPARE(error.ErrorMessage, QStringLiteral("Unable to show help file '%1'.").arg(QStringLiteral(HELP_FILE)));
        QVERIFY(error.Details.contains(QStringLiteral("42")));
        QCOMPARE(error.Kind, TCVMessageKind::Warning);
    }
}

void TestHelp::aboutBoxKeysActOnTheirPressWhereverTheFocusIs()
{
    TAboutForm about(nullptr, m_application);
    about.show();
    for (QPushButton *button : {about.cmdOK, about.cmdSysInfo, about.cmdSupport}) {
        CloseHelpWindow();
        button->setFocus();
        PressAndRelease(&about, Qt::Key_F1);
        QCOMPARE(ShownTopic(), QStringLiteral("index.html"));
        QVERIFY(about.isVisible());
    }
    QTest::mouseClick(about.cmdSupport, Qt::LeftButton);
    QCOMPARE(ShownTopic(), QStringLiteral("support.html"));

    // A warning over the box (the one System Info gives when it cannot start): the Escape pressed there
    // closes the warning alone, although its release arrives at the box.
    const DetailsDialogObserver previous = SetDetailsDialogObserver([&about](TCVMessageDetails *warning) {
        QTest::keyPress(warning, Qt::Key_Escape);
        QTest::keyRelease(about.focusWidget(), Qt::Key_Escape);
    });
    ShowDetailsDialog(QStringLiteral("Unable to run System Info at this time."), {}, {}, TCVMessageKind::Warning,
                      TCVLanguage::English, {}, false);
    SetDetailsDialogObserver(previous);
    QVERIFY(about.isVisible());

    PressAndRelease(&about, Qt::Key_Escape);
    QVERIFY(!about.isVisible());
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
