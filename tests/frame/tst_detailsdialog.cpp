// The details dialog: captions per language, the two heights and the Details toggle, the picture of each
// kind, line breaks, and the two set-up errors.
#include "CVApp.h"
#include "CVMsgDetailsFrm.h"

#include <QAccessible>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

#include <stdexcept>

namespace {
struct Dialog
{
    TCVMessageDetails form;
    QPushButton *ok() { return form.findChild<QPushButton *>("cmdOK"); }
    QPushButton *details() { return form.findChild<QPushButton *>("cmdDetails"); }
    QString message() { return form.findChild<QLabel *>("lblErrorMsg")->text(); }
    QStringList visiblePictures()
    {
        QStringList names;
        for (const char *name : {"imgCritical", "imgWarning", "imgInformation"})
            if (!form.findChild<QLabel *>(name)->isHidden()) names << name;
        return names;
    }
};
} // namespace

class TestDetailsDialog : public QObject
{
    Q_OBJECT

private slots:
    void lineBreaksBecomeOneCrLfEach_data();
    void lineBreaksBecomeOneCrLfEach();
    void captionsFollowTheLanguage_data();
    void captionsFollowTheLanguage();
    void detailsToggleSwitchesHeightAndCaption();
    void emptyDetailsHideTheButtonEvenWhenAskedToExpand();
    void eachKindShowsItsOwnPicture_data();
    void eachKindShowsItsOwnPicture();
    void invalidLanguageOrKindIsRefused();
    void emptyCaptionGivesTheApplicationTitle();
    void shownDialogClosesWithOkEscapeAndCloseBox();
};

void TestDetailsDialog::lineBreaksBecomeOneCrLfEach_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("LF") << "a\nb"
                        << "a\r\nb";
    QTest::newRow("CR LF") << "a\r\nb"
                           << "a\r\nb";
    QTest::newRow("lone CR") << "a\rb"
                             << "a\r\nb";
    QTest::newRow("LF first") << "\nb"
                              << "\r\nb";
    QTest::newRow("two LF") << "a\n\nb"
                            << "a\r\n\r\nb";
    QTest::newRow("CR LF then LF") << "a\r\n\nb"
                                   << "a\r\n\r\nb";
    QTest::newRow("LF CR") << "a\n\rb"
                           << "a\r\n\r\nb";
    QTest::newRow("trailing LF") << "a\n"
                                 << "a";
    QTest::newRow("trailing CR LF") << "a\r\n"
                                    << "a";
    QTest::newRow("trailing CR") << "a\r"
                                 << "a";
    QTest::newRow("only LF") << "\n"
                             << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestDetailsDialog::lineBreaksBecomeOneCrLfEach()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(NormaliseLineBreaks(text), shown);
}

void TestDetailsDialog::captionsFollowTheLanguage_data()
{
    QTest::addColumn<TCVLanguage>("language");
    QTest::addColumn<QString>("collapsed");
    QTest::addColumn<QString>("expanded");
    QTest::newRow("English") << TCVLanguage::English << "&Details >>"
                             << "&Details <<";
    QTest::newRow("Portuguese") << TCVLanguage::Portuguese << "&Detalhes >>"
                                << "&Detalhes <<";
}

void TestDetailsDialog::captionsFollowTheLanguage()
{
    QFETCH(TCVLanguage, language);
    QFETCH(QString, collapsed);
    QFETCH(QString, expanded);
    Dialog d;
    d.form.SetupDetails("Message", "Details", "Caption", TCVMessageKind::Warning, language, {}, false);
    QCOMPARE(d.ok()->text(), QStringLiteral("&OK"));
    QCOMPARE(d.details()->text(), collapsed);
    Dialog opened;
    opened.form.SetupDetails("Message", "Details", "Caption", TCVMessageKind::Warning, language, {}, true);
    QCOMPARE(opened.details()->text(), expanded);
    QCOMPARE(opened.form.height(), TCVMessageDetails::ExpandedHeight);
}

void TestDetailsDialog::detailsToggleSwitchesHeightAndCaption()
{
    Dialog d;
    d.form.SetupDetails("Cannot open help", "No such file\nor folder", "", TCVMessageKind::Warning,
                        TCVLanguage::English, "No Such Font Family", false);
    d.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d.form));
    QCOMPARE(d.form.size(), QSize(409, 73));
    QVERIFY(!d.details()->isHidden());
    QCOMPARE(d.form.findChild<QPlainTextEdit *>("txtErrorDetails")->document()->blockCount(), 2);

    QTest::mouseClick(d.details(), Qt::LeftButton);
    QCOMPARE(d.form.size(), QSize(409, 183));
    QCOMPARE(d.details()->text(), QStringLiteral("&Details <<"));
    QVERIFY(d.form.findChild<QPlainTextEdit *>("txtErrorDetails")->isVisible());
    QVERIFY(d.form.findChild<QPlainTextEdit *>("txtErrorDetails")->isReadOnly());
    QCOMPARE(QAccessible::queryAccessibleInterface(d.form.findChild<QPlainTextEdit *>("txtErrorDetails"))
                 ->text(QAccessible::Name),
             QStringLiteral("Details"));

    QTest::mouseClick(d.details(), Qt::LeftButton);
    QCOMPARE(d.form.size(), QSize(409, 73));
    QCOMPARE(d.details()->text(), QStringLiteral("&Details >>"));
}

void TestDetailsDialog::emptyDetailsHideTheButtonEvenWhenAskedToExpand()
{
    Dialog d;
    d.form.SetupDetails("Message", "", "", TCVMessageKind::Information, TCVLanguage::English, {}, true);
    QVERIFY(d.details()->isHidden());
    QCOMPARE(d.form.height(), TCVMessageDetails::CollapsedHeight);
}

void TestDetailsDialog::eachKindShowsItsOwnPicture_data()
{
    QTest::addColumn<TCVMessageKind>("kind");
    QTest::addColumn<QString>("picture");
    QTest::newRow("error") << TCVMessageKind::Error << "imgCritical";
    QTest::newRow("warning") << TCVMessageKind::Warning << "imgWarning";
    QTest::newRow("information") << TCVMessageKind::Information << "imgInformation";
}

void TestDetailsDialog::eachKindShowsItsOwnPicture()
{
    QFETCH(TCVMessageKind, kind);
    QFETCH(QString, picture);
    Dialog d;
    // A second set-up must not leave the first kind's picture behind.
    d.form.SetupDetails("m", "", "", TCVMessageKind::Error, TCVLanguage::English, {}, false);
    d.form.SetupDetails("line one\nline two\n", "", "", kind, TCVLanguage::English, {}, false);
    QCOMPARE(d.visiblePictures(), QStringList{picture});
    QCOMPARE(d.form.findChild<QLabel *>(picture)->pixmap().size(), QSize(32, 32));
    QCOMPARE(d.message(), QStringLiteral("line one\r\nline two"));
}

void TestDetailsDialog::invalidLanguageOrKindIsRefused()
{
    Dialog d;
    try {
        d.form.SetupDetails("m", "", "", TCVMessageKind::Error, static_cast<TCVLanguage>(2), {}, false);
        QFAIL("language 2 was taken");
    } catch (const std::invalid_argument &e) {
        QCOMPARE(QString(e.what()), QStringLiteral("Invalid language id. in call to CVMessageDetails."));
    }
    try {
        d.form.SetupDetails("m", "", "", static_cast<TCVMessageKind>(3), TCVLanguage::English, {}, false);
        QFAIL("kind 3 was taken");
    } catch (const std::invalid_argument &e) {
        QCOMPARE(QString(e.what()), QStringLiteral("Invalid message type in call to CVMessageDetails."));
    }
}

void TestDetailsDialog::emptyCaptionGivesTheApplicationTitle()
{
    TCVApplication application;
    application.LongName = QStringLiteral("Corvane Tintwell");
    Application = &application;
    const auto forget = qScopeGuard([] { Application = nullptr; });
    Dialog d;
    d.form.SetupDetails("m", "", "", TCVMessageKind::Error, TCVLanguage::English, {}, false);
    QCOMPARE(d.form.windowTitle(), QStringLiteral("Corvane Tintwell"));
    d.form.SetupDetails("m", "", "Other", TCVMessageKind::Error, TCVLanguage::English, {}, false);
    QCOMPARE(d.form.windowTitle(), QStringLiteral("Other"));
}

void TestDetailsDialog::shownDialogClosesWithOkEscapeAndCloseBox()
{
    const QList<std::function<void(TCVMessageDetails *)>> closers = {
        [](TCVMessageDetails *d) { QTest::mouseClick(d->findChild<QPushButton *>("cmdOK"), Qt::LeftButton); },
        [](TCVMessageDetails *d) { QTest::keyClick(d, Qt::Key_Escape); },
        [](TCVMessageDetails *d) { d->close(); },
    };
    for (const auto &close : closers) {
        int shown = 0;
        const auto previous = SetDetailsDialogObserver([&](TCVMessageDetails *d) {
            ++shown;
            QVERIFY(d->isVisible());
            QVERIFY(d->isModal());
            close(d);
        });
        ShowDetailsDialog("Message", "Details", "", TCVMessageKind::Warning, TCVLanguage::English, {}, false);
        SetDetailsDialogObserver(previous);
        QCOMPARE(shown, 1);
    }
}

QTEST_MAIN(TestDetailsDialog)
#include "tst_detailsdialog.moc"
