// Errors thrown from real events (a shortcut, a menu click, a timer) reach the application-wide handler
// through the program's QApplication: warnings and information are shown and the program runs on, silent
// kinds show nothing, critical and unexpected errors are shown and end the event loop.
#include "CVApp.h"
#include "CVExceptions.h"
#include "CVMsgDetailsFrm.h"
#include "TintApplication.h"

#include <QEventLoop>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

Q_DECLARE_METATYPE(TCVMessageKind)

Q_DECLARE_METATYPE(std::function<void()>)

namespace {
struct Seen
{
    QString title, message, picture, detailsCaption, okCaption;
    bool detailsButton = false;
    int height = 0;
};

enum class Source { Shortcut, MenuClick, Timer };

// A window whose three ways in all run the same throwing action.

class ThrowingWindow : public QMainWindow
{
public:
    ThrowingWindow()
    {
        menu = menuBar()->addMenu(QStringLiteral("&File"));
        action = menu->addAction(QStringLiteral("&Fail"));
        action->setShortcut(Qt::Key_F9);
        addAction(action);
        timer.setSingleShot(true);
        timer.setInterval(0);
        connect(action, &QAction::triggered, this, [this] { raise(); });
        connect(&timer, &QTimer::timeout, this, [this] { raise(); });
        resize(300, 200);
    }

    void fire(Source source)
    {
        switch (source) {
        case Source::Shortcut:
            QTest::keyClick(this, Qt::Key_F9);
            break;
        case Source::MenuClick: {
            menu->popup(mapToGlobal(QPoint(0, 0)));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            break;
        }
        case Source::Timer:
            timer.start();
            break;
        }
    }

    std::function<void()> raise;
    QMenu *menu;
    QAction *action;
    QTimer timer;
};

Seen Inspect(TCVMessageDetails *d)
{
    Seen seen;
    seen.title = d->windowTitle();
    seen.message = d->findChild<QLabel *>("lblErrorMsg")->text();
    for (const char *name : {"imgCritical", "imgWarning", "imgInformation"})
        if (!d->findChild<QLabel *>(name)->isHidden()) seen.picture = name;
    auto *details = d->findChild<QPushButton *>("cmdDetails");
    seen.detailsButton = !details->isHidden();
    seen.detailsCaption = details->text();
    seen.okCaption = d->findChild<QPushButton *>("cmdOK")->text();
    seen.height = d->height();
    return seen;
}
} // namespace

class TestErrorHandler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void reportsAndRunsOn_data();
    void reportsAndRunsOn();
    void portugueseBuildShowsPortugueseButtons();
    void silentKindShowsNothing_data() { sources(); }
    void silentKindShowsNothing();
    // These end the event loop, so they come last.
    void criticalAndUnexpectedErrorsEndTheProgram_data();
    void criticalAndUnexpectedErrorsEndTheProgram();

private:
    static void sources();
    void answerDialogs();
    // True when an event loop started after the action still runs, i.e. nobody asked the program to end.
    static bool programRunsOn();

    std::unique_ptr<ThrowingWindow> m_window;
    std::optional<Seen> m_seen;
    int m_dialogs = 0;
};

void TestErrorHandler::initTestCase()
{
    Application = new TCVApplication;
    Application->LongName = QStringLiteral("Corvane Tintwell");
    Application->FontName = QStringLiteral("Tahoma");
}

void TestErrorHandler::cleanupTestCase()
{
    SetDetailsDialogObserver({});
    delete Application;
    Application = nullptr;
}

void TestErrorHandler::init()
{
    Application->EnglishUI = true;
    m_seen.reset();
    m_dialogs = 0;
    m_window = std::make_unique<ThrowingWindow>();
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    answerDialogs();
}

void TestErrorHandler::answerDialogs()
{
    SetDetailsDialogObserver([this](TCVMessageDetails *d) {
        ++m_dialogs;
        m_seen = Inspect(d);
        QTest::mouseClick(d->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
    });
}

bool TestErrorHandler::programRunsOn()
{
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&loop] { loop.exit(7); });
    return loop.exec() == 7;
}

void TestErrorHandler::sources()
{
    QTest::addColumn<Source>("source");
    QTest::newRow("shortcut") << Source::Shortcut;
    QTest::newRow("menu click") << Source::MenuClick;
    QTest::newRow("timer") << Source::Timer;
}

void TestErrorHandler::reportsAndRunsOn_data()
{
    QTest::addColumn<Source>("source");
    QTest::addColumn<TCVMessageKind>("kind");
    QTest::addColumn<QString>("details");
    QTest::addColumn<QString>("picture");
    for (auto [name, source] : {std::pair{"shortcut", Source::Shortcut}, std::pair{"menu", Source::MenuClick},
                                std::pair{"timer", Source::Timer}}) {
        QTest::addRow("%s, warning with details", name) << source << TCVMessageKind::Warning << "No such file"
                                                        << "imgWarning";
        QTest::addRow("%s, warning", name) << source << TCVMessageKind::Warning << ""
                                           << "imgWarning";
        QTest::addRow("%s, information", name) << source << TCVMessageKind::Information << "Some detail"
                                               << "imgInformation";
    }
}

void TestErrorHandler::reportsAndRunsOn()
{
    QFETCH(Source, source);
    QFETCH(TCVMessageKind, kind);
    QFETCH(QString, details);
    QFETCH(QString, picture);
    m_window->raise = [&] { throw ECVException(QStringLiteral("Cannot open the help file."), details, kind); };
    m_window->fire(source);
    QTRY_COMPARE(m_dialogs, 1);
    QCOMPARE(m_seen->title, QStringLiteral("Corvane Tintwell"));
    QCOMPARE(m_seen->message, QStringLiteral("Cannot open the help file."));
    QCOMPARE(m_seen->picture, picture);
    QCOMPARE(m_seen->detailsButton, !details.isEmpty());
    QCOMPARE(m_seen->detailsCaption, QStringLiteral("&Details >>"));
    QCOMPARE(m_seen->height, TCVMessageDetails::CollapsedHeight);
    QVERIFY(programRunsOn());

    // The window still takes its shortcut after the report.
    bool ranAgain = false;
    m_window->raise = [&] { ranAgain = true; };
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keyClick(m_window.get(), Qt::Key_F9);
    QVERIFY(ranAgain);
}

void TestErrorHandler::portugueseBuildShowsPortugueseButtons()
{
    Application->EnglishUI = false;
    m_window->raise = [] {
        throw ECVException(QStringLiteral("Aviso"), QStringLiteral("detalhe"), TCVMessageKind::Warning);
    };
    m_window->fire(Source::Shortcut);
    QCOMPARE(m_dialogs, 1);
    QCOMPARE(m_seen->okCaption, QStringLiteral("&OK"));
    QCOMPARE(m_seen->detailsCaption, QStringLiteral("&Detalhes >>"));
}

void TestErrorHandler::silentKindShowsNothing()
{
    QFETCH(Source, source);
    bool thrown = false;
    m_window->raise = [&] {
        thrown = true;
        throw ECVException(QStringLiteral("quiet"), QString(), TCVMessageKind::Silent);
    };
    m_window->fire(source);
    QTRY_VERIFY(thrown);
    QTest::qWait(0);
    QCOMPARE(m_dialogs, 0);
    QVERIFY(programRunsOn());
}

void TestErrorHandler::criticalAndUnexpectedErrorsEndTheProgram_data()
{
    QTest::addColumn<Source>("source");
    QTest::addColumn<std::function<void()>>("raise");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("detailsButton");
    const std::function<void()> critical = [] {
        throw ECVException(QStringLiteral("Store lost"), QString(), TCVMessageKind::Error);
    };
    const std::function<void()> conversion = [] { throw std::invalid_argument("'12a' is not a valid integer"); };
    const std::function<void()> unknown = [] { throw 42; };
    for (auto [name, source] : {std::pair{"shortcut", Source::Shortcut}, std::pair{"menu", Source::MenuClick},
                                std::pair{"timer", Source::Timer}}) {
        QTest::addRow("%s, critical", name) << source << critical << "Store lost" << false;
        QTest::addRow("%s, conversion error", name) << source << conversion << "Unexpected error." << true;
        QTest::addRow("%s, not an exception class", name) << source << unknown << "Unexpected error." << true;
    }
}

void TestErrorHandler::criticalAndUnexpectedErrorsEndTheProgram()
{
    QFETCH(Source, source);
    QFETCH(std::function<void()>, raise);
    QFETCH(QString, message);
    QFETCH(bool, detailsButton);
    m_window->raise = raise;
    // Only a safety net against a hang: the loop is expected to end long before.
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(2); });
    guard.start(30000);
    QTimer::singleShot(0, m_window.get(), [&] { m_window->fire(source); });
    QCOMPARE(QApplication::exec(), 1);
    QCOMPARE(m_dialogs, 1);
    QCOMPARE(m_seen->message, message);
    QCOMPARE(m_seen->picture, QStringLiteral("imgCritical"));
    QCOMPARE(m_seen->detailsButton, detailsButton);
    QCOMPARE(m_seen->height, TCVMessageDetails::CollapsedHeight);
}

int main(int argc, char *argv[])
{
    TTintApplication app(argc, argv);
    TestErrorHandler test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_errorhandler.moc"
