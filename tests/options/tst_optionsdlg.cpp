// The preferences dialog: values shown within range, what OK, Enter, Apply and Cancel leave in the store
// and the registry, the keys the number fields refuse, and text that is no number.
#include "CVApp.h"
#include "CVBeep.h"
#include "CVExceptions.h"
#include "CVMsgDetailsFrm.h"
#include "frmOptions.h"
#include "HelpTesting.h"
#include "RegistryTesting.h"
#include "SpinEdit.h"
#include "uOptions.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>

using namespace registry;

namespace {
const QString AppKey = QStringLiteral("Software\\Corvane\\Corvane Devbench\\Tintwell");

struct Stored
{
    bool saveWindow;
    int width, height, delay;
    bool operator==(const Stored &) const = default;
};

Stored Fields(const TTintOptions &options)
{
    return {options.SaveWindow, options.ThumbnailWidth, options.ThumbnailHeight, options.CaptureDelay};
}

Stored InRegistry()
{
    TTintOptions reloaded(HKEY_LOCAL_MACHINE, AppKey);
    reloaded.SaveWindow = false;
    reloaded.ThumbnailWidth = reloaded.ThumbnailHeight = reloaded.CaptureDelay = -1;
    reloaded.Load();
    return Fields(reloaded);
}

void Retype(TSpinEdit *field, const QString &text)
{
    field->setFocus();
    field->selectAll();
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Backspace);
    else
        QTest::keyClicks(field, text);
}

// Runs the modal dialog and, once it is up and active (the keys go to it), works it with the given steps.
void WithModalPreferences(const std::function<void(TOptionsDlg *)> &steps)
{
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<TOptionsDlg *>(QApplication::activeModalWidget());
        if (dialog && dialog->isActiveWindow()) {
            poll.stop();
            steps(dialog);
            if (QTest::currentTestFailed()) dialog->close(); // a failed step must not leave the dialog waiting
        }
    });
    poll.start();
    ShowPreferences(nullptr, {});
}
} // namespace

namespace QTest {
template <> char *toString(const Stored &s)
{
    return qstrdup(QByteArray::number(s.saveWindow) + "," + QByteArray::number(s.width) + "," +
                   QByteArray::number(s.height) + "," + QByteArray::number(s.delay));
}
} // namespace QTest

class TestOptionsDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void storedValuesShowWithinTheirRange();
    void okStoresAndSavesBroughtIntoRange();
    void enterInAFieldConfirmsTheDialog();
    void refusedKeysBeepAndArrowsStayInRange();
    void applyThenCancelKeepsTheAppliedValues();
    void captureCheckBoxesComeLast();
    void textThatIsNoNumberStoresNothing_data();
    void textThatIsNoNumberStoresNothing();
    void keysActWhereverTheFocusIs_data();
    void keysActWhereverTheFocusIs();
    void enterClicksTheFocusedButton();
    void escapeOnAWarningLeavesTheDialogOpen();

private:
    std::unique_ptr<TempRegistry> m_registry;
    int m_beeps = 0;
};

void TestOptionsDialog::initTestCase()
{
    Application = new TCVApplication;
    Application->ExePath = QStringLiteral(VIEWER_DIR "/");
    Application->HelpFile = QStringLiteral(HELP_FILE);
}

void TestOptionsDialog::cleanupTestCase()
{
    delete Application;
    Application = nullptr;
}

void TestOptionsDialog::init()
{
    m_registry = std::make_unique<TempRegistry>();
    TintOptions = new TTintOptions(HKEY_LOCAL_MACHINE, AppKey);
    m_beeps = 0;
    SetBeepHook([this] { ++m_beeps; });
}

void TestOptionsDialog::cleanup()
{
    SetBeepHook({});
    delete TintOptions;
    TintOptions = nullptr;
    m_registry.reset();
}

void TestOptionsDialog::storedValuesShowWithinTheirRange()
{
    TintOptions->SaveWindow = false;
    TintOptions->ThumbnailWidth = 0;
    TintOptions->ThumbnailHeight = 64;
    TintOptions->CaptureDelay = 5000;
    TOptionsDlg dialog(nullptr, {});
    dialog.LoadControls();
    QVERIFY(!dialog.chkSaveWindow->isChecked());
    QCOMPARE(dialog.txtWidth->text(), QStringLiteral("1"));
    QCOMPARE(dialog.txtHeight->text(), QStringLiteral("64"));
    QCOMPARE(dialog.txtDelay->text(), QStringLiteral("2000"));
    // What a screen reader reads: the values shown, and each control by its label.
    const auto read = [](QWidget *control) { return QAccessible::queryAccessibleInterface(control); };
    QCOMPARE(read(dialog.txtWidth)->valueInterface()->currentValue(), QVariant(1));
    QCOMPARE(read(dialog.txtDelay)->valueInterface()->currentValue(), QVariant(2000));
    QCOMPARE(read(dialog.txtDelay)->valueInterface()->maximumValue(), QVariant(2000));
    // Qt names a combo box on Linux by its value, and gives its label as the relation a reader names it by.
    const auto labels = read(dialog.cbSample)->relations(QAccessible::Label);
    QVERIFY(std::any_of(labels.begin(), labels.end(),
                        [](const auto &label) { return label.first->text(QAccessible::Name) == "Sample:"; }));
    for (QGroupBox *group : dialog.findChildren<QGroupBox *>())
        QCOMPARE(read(group)->text(QAccessible::Name), group->title().trimmed());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Preferences..."));
    QCOMPARE(dialog.pcOptions->tabText(0), QStringLiteral("  &General  "));
}

void TestOptionsDialog::okStoresAndSavesBroughtIntoRange()
{
    int told = 0;
    TOptionsDlg dialog(nullptr, [&] { ++told; });
    dialog.LoadControls();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    Retype(dialog.txtWidth, QStringLiteral("0"));
    Retype(dialog.txtHeight, QStringLiteral("+48"));
    dialog.chkSaveWindow->setChecked(false);
    QTest::mouseClick(dialog.cmdOK, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(told, 1);
    QCOMPARE(Fields(*TintOptions), (Stored{false, 1, 48, 500}));
    QCOMPARE(InRegistry(), (Stored{false, 1, 48, 500}));
}

void TestOptionsDialog::enterInAFieldConfirmsTheDialog()
{
    WithModalPreferences([](TOptionsDlg *dialog) {
        Retype(dialog->txtDelay, QStringLiteral("5000"));
        QCOMPARE(dialog->txtDelay->text(), QStringLiteral("5000"));
        QTest::keyClick(dialog->txtDelay, Qt::Key_Return);
    });
    QCOMPARE(InRegistry(), (Stored{true, 32, 32, 2000}));
}

void TestOptionsDialog::refusedKeysBeepAndArrowsStayInRange()
{
    TintOptions->ThumbnailWidth = 999;
    TOptionsDlg dialog(nullptr, {});
    dialog.LoadControls();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    TSpinEdit *width = dialog.txtWidth;
    width->setFocus();
    for (char refused : {'a', ' ', '.', 'x'})
        QTest::keyClick(width, refused);
    QCOMPARE(m_beeps, 4);
    QCOMPARE(dialog.txtWidth->text(), QStringLiteral("999"));

    QTest::keyClick(width, Qt::Key_Up);
    QTest::keyClick(width, Qt::Key_Up);
    QCOMPARE(dialog.txtWidth->text(), QStringLiteral("1000"));

    // A number out of range becomes the nearest bound when the focus leaves; a signed one in range stays.
    Retype(dialog.txtHeight, QStringLiteral("-7"));
    dialog.txtDelay->setFocus();
    QCOMPARE(dialog.txtHeight->text(), QStringLiteral("1"));
    Retype(dialog.txtHeight, QStringLiteral("+7"));
    dialog.txtDelay->setFocus();
    QCOMPARE(dialog.txtHeight->text(), QStringLiteral("+7"));
    QCOMPARE(m_beeps, 4);
}

void TestOptionsDialog::applyThenCancelKeepsTheAppliedValues()
{
    WithModalPreferences([](TOptionsDlg *dialog) {
        Retype(dialog->txtWidth, QStringLiteral("64"));
        QTest::mouseClick(dialog->cmdApply, Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        Retype(dialog->txtWidth, QStringLiteral("99"));
        QTest::mouseClick(dialog->cmdCancel, Qt::LeftButton);
    });
    QCOMPARE(TintOptions->ThumbnailWidth, 64);
    QCOMPARE(InRegistry(), (Stored{true, 64, 32, 500}));

    // Escape leaves without storing too.
    WithModalPreferences([](TOptionsDlg *dialog) {
        Retype(dialog->txtWidth, QStringLiteral("77"));
        QTest::keyClick(dialog->txtWidth, Qt::Key_Escape);
    });
    QCOMPARE(InRegistry(), (Stored{true, 64, 32, 500}));
}

void TestOptionsDialog::captureCheckBoxesComeLast()
{
    TintOptions->CaptureAllScreens = true;
    TintOptions->CaptureSample = 4; // as a hand-edited store may hold: the nearer side below shows
    WithModalPreferences([](TOptionsDlg *dialog) {
        QCOMPARE(dialog->cbSample->currentText(), QStringLiteral("3x3 average"));
        QCOMPARE(dialog->chkCaptureAllScreens->text(), QStringLiteral("Capture from all screens"));
        QVERIFY(dialog->chkCaptureAllScreens->isChecked());
        QVERIFY(dialog->chkCaptureAllScreens->geometry().top() > dialog->txtDelay->geometry().bottom());
        QCOMPARE(dialog->chkCaptureSRGB->text(), QStringLiteral("Convert picked colors to sRGB"));
        QVERIFY(!dialog->chkCaptureSRGB->isChecked());
        // Tab goes from the delay to the sample, the check boxes and on to OK; Space toggles each box.
        dialog->txtDelay->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog->cbSample);
        QTest::keyClick(dialog->cbSample, Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog->chkCaptureAllScreens);
        QTest::keyClick(dialog->chkCaptureAllScreens, Qt::Key_Space);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog->chkCaptureSRGB);
        QTest::keyClick(dialog->chkCaptureSRGB, Qt::Key_Space);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), dialog->cmdOK);
        QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
    });
    QCOMPARE(TintOptions->CaptureAllScreens, false);
    QCOMPARE(TintOptions->CaptureSRGB, true);
    TTintOptions reloaded(HKEY_LOCAL_MACHINE, AppKey);
    reloaded.CaptureAllScreens = true;
    reloaded.Load();
    QVERIFY(!reloaded.CaptureAllScreens);
    QVERIFY(reloaded.CaptureSRGB);
    QCOMPARE(reloaded.CaptureSample, 5);
}

void TestOptionsDialog::textThatIsNoNumberStoresNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("emptied") << QString();
    QTest::newRow("lone sign") << QStringLiteral("-");
    QTest::newRow("pasted blanks") << QStringLiteral(" 12 ");
    QTest::newRow("pasted hexadecimal") << QStringLiteral("0x1F");
}

void TestOptionsDialog::textThatIsNoNumberStoresNothing()
{
    QFETCH(QString, text);
    TOptionsDlg dialog(nullptr, {});
    dialog.LoadControls();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    Retype(dialog.txtWidth, QStringLiteral("50"));
    dialog.chkSaveWindow->setChecked(false);
    dialog.txtHeight->findChild<QLineEdit *>()->setText(text);
    dialog.cmdApply->setFocus();
    try {
        dialog.StoreControls();
        QFAIL("the text was taken");
    } catch (const ECVException &error) {
        QCOMPARE(error.ErrorMessage,
                 QStringLiteral("Thumbnail image, Height: '%1' is not a valid integer value").arg(text));
        QCOMPARE(error.Kind, TCVMessageKind::Warning);
    }
    QCOMPARE(QApplication::focusWidget(), dialog.txtHeight);
    QCOMPARE(Fields(*TintOptions), (Stored{true, 32, 32, 500}));
    QCOMPARE(InRegistry(), (Stored{false, -1, -1, -1}));
}

void TestOptionsDialog::keysActWhereverTheFocusIs_data()
{
    QTest::addColumn<QString>("control");
    for (const char *name :
         {"pcOptions", "chkSaveWindow", "txtWidth", "txtHeight", "txtDelay", "cmdOK", "cmdCancel", "cmdApply"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// F1 shows the preferences topic and Escape cancels, whichever control has the focus.
void TestOptionsDialog::keysActWhereverTheFocusIs()
{
    QFETCH(QString, control);
    CloseHelpWindow();
    WithModalPreferences([&](TOptionsDlg *dialog) {
        Retype(dialog->txtWidth, QStringLiteral("77"));
        auto *focused = dialog->findChild<QWidget *>(control);
        focused->setFocus();
        QCOMPARE(dialog->focusWidget(), focused->focusProxy() ? focused->focusProxy() : focused);
        PressAndRelease(dialog, Qt::Key_F1);
        QCOMPARE(ShownTopic(), QStringLiteral("prefs.html"));
        QVERIFY(dialog->isVisible());
        PressAndRelease(dialog, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
    });
    QCOMPARE(TintOptions->ThumbnailWidth, 32);
    QCOMPARE(InRegistry(), (Stored{false, -1, -1, -1}));
}

void TestOptionsDialog::enterClicksTheFocusedButton()
{
    WithModalPreferences([](TOptionsDlg *dialog) {
        Retype(dialog->txtWidth, QStringLiteral("64"));
        dialog->cmdApply->setFocus();
        PressAndRelease(dialog, Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QCOMPARE(InRegistry(), (Stored{true, 64, 32, 500}));
        Retype(dialog->txtWidth, QStringLiteral("99"));
        dialog->cmdCancel->setFocus();
        PressAndRelease(dialog, Qt::Key_Return);
        QVERIFY(!dialog->isVisible());
    });
    QCOMPARE(TintOptions->ThumbnailWidth, 64);
    QCOMPARE(InRegistry(), (Stored{true, 64, 32, 500}));
}

// The warning about a field that holds no number comes up over the dialog: the Escape that closes it
// leaves the dialog and its edits as they were, although the key's release arrives at the dialog.
void TestOptionsDialog::escapeOnAWarningLeavesTheDialogOpen()
{
    WithModalPreferences([](TOptionsDlg *dialog) {
        Retype(dialog->txtWidth, QStringLiteral("64"));
        Retype(dialog->txtHeight, QString());
        const DetailsDialogObserver previous = SetDetailsDialogObserver([dialog](TCVMessageDetails *warning) {
            QTest::keyPress(warning, Qt::Key_Escape);
            QTest::keyRelease(dialog->focusWidget(), Qt::Key_Escape);
        });
        try {
            dialog->StoreControls();
        } catch (const ECVException &error) {
            ShowDetailsDialog(error.ErrorMessage, error.Details, {}, TCVMessageKind::Warning, TCVLanguage::English, {},
                              false);
        }
        SetDetailsDialogObserver(previous);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->txtWidth->text(), QStringLiteral("64"));
        Retype(dialog->txtHeight, QStringLiteral("48"));
        QTest::mouseClick(dialog->cmdOK, Qt::LeftButton);
    });
    QCOMPARE(InRegistry(), (Stored{true, 64, 48, 500}));
}

QTEST_MAIN(TestOptionsDialog)
#include "tst_optionsdlg.moc"
