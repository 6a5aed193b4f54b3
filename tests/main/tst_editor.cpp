// The editor window driven as a user drives it: typing, leaving fields, slider keys.
#include "ColourSwatch.h"
#include "ComponentControls.h"
#include "frmMain.h"
#include "ProgramState.h"
#include "WindowTesting.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <stdexcept>

using namespace colour;

class TestEditor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsWhite();
    void windowIsFixedWithoutMaximise();
    void typingAboveRangeShowsMaximum();
    void emptiedFieldStaysEmptyUntilLeft();
    void leadingZerosStayAsTyped();
    void arrowKeysStepWithinRange();
    void nonDigitsAreDropped();
    void textAroundTheKeyFilterIsRefused();
    void sliderKeys_data();
    void sliderKeys();
    void sliderRewritesFieldBeingTyped();
    void sliderFollowsTypingButFieldKeepsText();
    void notationFieldsApplyWhenLeft_data();
    void notationFieldsApplyWhenLeft();
    void invalidNotationIsPutBack_data();
    void invalidNotationIsPutBack();
    void notationWaitsForFocusToLeave();
    void tabOrderAndAccessKeys();
    void anErrorInsideARefreshLeavesTheEditorWorking();

private:
    template <typename T> T *child(const char *name) { return Child<T>(*window, name); }
    void typeInto(QWidget *field, const QString &text);
    void leave(QWidget *field);
    void expectColourShown(Colour colour);

    std::unique_ptr<ProgramState> state; // the preferences, as the program has them before its window
    std::unique_ptr<TTintMain> window;
};

void TestEditor::init()
{
    state = std::make_unique<ProgramState>();
    window = std::make_unique<TTintMain>();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void TestEditor::cleanup()
{
    window.reset();
    state.reset();
}

void TestEditor::typeInto(QWidget *field, const QString &text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

void TestEditor::leave(QWidget *field)
{
    QWidget *other = field == child<QWidget>("txtHTML") ? child<QWidget>("txtRGB") : child<QWidget>("txtHTML");
    other->setFocus();
    QVERIFY(!field->hasFocus());
}

void TestEditor::expectColourShown(Colour colour)
{
    QCOMPARE(window->currentColour(), colour);
    QCOMPARE(child<ColourSwatch>("pCurrentColor")->colour(), colour);
    QCOMPARE(child<QSlider>("slRed")->value(), GetRValue(colour));
    QCOMPARE(child<QSlider>("slGreen")->value(), GetGValue(colour));
    QCOMPARE(child<QSlider>("slBlue")->value(), GetBValue(colour));
    QCOMPARE(child<QLineEdit>("txtRGB")->text(), QString::fromStdString(ColourToRGBText(colour)));
    QCOMPARE(child<QLineEdit>("txtHex")->text(), QString::fromStdString(ColourToHEXText(colour)));
    QCOMPARE(child<QLineEdit>("txtHTML")->text(), QString::fromStdString(ColourToHTMLText(colour)));
}

void TestEditor::startsWhite()
{
    expectColourShown(White);
    QCOMPARE(child<ComponentSpin>("txtRed")->text(), QStringLiteral("255"));
    QCOMPARE(child<ComponentSpin>("txtGreen")->text(), QStringLiteral("255"));
    QCOMPARE(child<ComponentSpin>("txtBlue")->text(), QStringLiteral("255"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Corvane Tintwell"));
    QCOMPARE(child<QLineEdit>("txtRGB")->maxLength(), 18);
    QCOMPARE(child<QLineEdit>("txtHex")->maxLength(), 10);
    QCOMPARE(child<QLineEdit>("txtHTML")->maxLength(), 7);
    for (int i = 1; i <= 12; ++i) {
        auto *slot = window->findChild<ColourSwatch *>(QStringLiteral("pSlot%1").arg(i));
        QVERIFY(slot);
        QCOMPARE(slot->colour(), White);
        QCOMPARE(slot->size(), QSize(20, 20));
    }
    const int pitch = child<QWidget>("pSlot2")->x() - child<QWidget>("pSlot1")->x();
    QCOMPARE(pitch, 24);
}

void TestEditor::windowIsFixedWithoutMaximise()
{
    QCOMPARE(window->size(), QSize(300, 405));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    // Every control fits inside the window with its whole size hint.
    for (const char *name : {"txtRed", "slRed", "txtBlue", "txtRGB", "txtHTML", "lblHex"}) {
        QWidget *w = child<QWidget>(name);
        const QRect inWindow(w->mapTo(window.get(), QPoint(0, 0)), w->size());
        QVERIFY2(window->rect().contains(inWindow), name);
        QVERIFY2(w->height() >= w->minimumSizeHint().height(), name);
    }
}

void TestEditor::typingAboveRangeShowsMaximum()
{
    auto *txtRed = child<ComponentSpin>("txtRed");
    window->SetColour(0);
    typeInto(txtRed, QStringLiteral("3"));
    QCOMPARE(window->currentColour(), MakeColour(3, 0, 0));
    QTest::keyClicks(txtRed, QStringLiteral("0"));
    QCOMPARE(window->currentColour(), MakeColour(30, 0, 0));
    QTest::keyClicks(txtRed, QStringLiteral("0"));
    QCOMPARE(txtRed->text(), QStringLiteral("255"));
    expectColourShown(MakeColour(255, 0, 0));
    QTest::keyClicks(txtRed, QStringLiteral("9"));
    QCOMPARE(txtRed->text(), QStringLiteral("255"));
}

void TestEditor::emptiedFieldStaysEmptyUntilLeft()
{
    auto *txtGreen = child<ComponentSpin>("txtGreen");
    typeInto(txtGreen, QString());
    QCOMPARE(txtGreen->text(), QString());
    expectColourShown(MakeColour(255, 0, 255));
    leave(txtGreen);
    QCOMPARE(txtGreen->text(), QStringLiteral("0"));
    expectColourShown(MakeColour(255, 0, 255));
}

void TestEditor::leadingZerosStayAsTyped()
{
    auto *txtBlue = child<ComponentSpin>("txtBlue");
    typeInto(txtBlue, QStringLiteral("007"));
    QCOMPARE(txtBlue->text(), QStringLiteral("007"));
    expectColourShown(MakeColour(255, 255, 7));
    QCOMPARE(child<ComponentSpin>("txtRed")->text(), QStringLiteral("255"));
    leave(txtBlue);
    QCOMPARE(txtBlue->text(), QStringLiteral("007"));
    QCOMPARE(window->currentColour(), MakeColour(255, 255, 7));
    // Leaving a notation field with its valid text sets the colour again and rewrites the typed field.
    child<QWidget>("txtRGB")->setFocus();
    child<QWidget>("txtHex")->setFocus();
    QCOMPARE(txtBlue->text(), QStringLiteral("7"));

    // Typing in another component field makes that the field being typed in, even a keystroke that keeps
    // its value ("0" becoming "00"): the field typed before shows its value again.
    typeInto(txtBlue, QStringLiteral("007"));
    auto *txtRed = child<ComponentSpin>("txtRed");
    typeInto(txtRed, QStringLiteral("0"));
    QCOMPARE(txtBlue->text(), QStringLiteral("7"));
    typeInto(txtBlue, QStringLiteral("007"));
    txtRed->setFocus();
    QTest::keyClick(txtRed, Qt::Key_End);
    QTest::keyClicks(txtRed, QStringLiteral("0"));
    QCOMPARE(txtRed->text(), QStringLiteral("00"));
    QCOMPARE(txtBlue->text(), QStringLiteral("7"));
}

void TestEditor::arrowKeysStepWithinRange()
{
    auto *txtRed = child<ComponentSpin>("txtRed");
    txtRed->setFocus();
    QTest::keyClick(txtRed, Qt::Key_Up);
    QCOMPARE(GetRValue(window->currentColour()), 255);
    QTest::keyClick(txtRed, Qt::Key_Down);
    QTest::keyClick(txtRed, Qt::Key_Down);
    expectColourShown(MakeColour(253, 255, 255));
    QCOMPARE(txtRed->text(), QStringLiteral("253"));
    typeInto(txtRed, QStringLiteral("0"));
    QTest::keyClick(txtRed, Qt::Key_Down);
    QCOMPARE(txtRed->text(), QStringLiteral("0"));
    QCOMPARE(GetRValue(window->currentColour()), 0);
}

void TestEditor::nonDigitsAreDropped()
{
    auto *txtGreen = child<ComponentSpin>("txtGreen");
    typeInto(txtGreen, QStringLiteral("1a2-+ .3"));
    QCOMPARE(txtGreen->text(), QStringLiteral("123"));
    QCOMPARE(GetGValue(window->currentColour()), 123);
    QTest::keyClick(txtGreen, Qt::Key_Return);
    QCOMPARE(txtGreen->text(), QStringLiteral("123"));

    QCOMPARE(ValidateNumberKeys(QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"))),
             KeyVerdict::Beep);
    QCOMPARE(ValidateNumberKeys(QKeyEvent(QEvent::KeyPress, Qt::Key_Minus, Qt::NoModifier, QStringLiteral("-"))),
             KeyVerdict::Discard);
    QCOMPARE(ValidateNumberKeys(QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"))),
             KeyVerdict::Discard);
    QCOMPARE(ValidateNumberKeys(QKeyEvent(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"))),
             KeyVerdict::Pass);
    QCOMPARE(ValidateNumberKeys(QKeyEvent(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier)), KeyVerdict::Pass);
}

void TestEditor::textAroundTheKeyFilterIsRefused()
{
    auto *txtRed = child<ComponentSpin>("txtRed");
    typeInto(txtRed, QStringLiteral("1"));
    QApplication::clipboard()->setText(QStringLiteral("2x"));
    txtRed->findChild<QLineEdit *>()->paste();
    QCOMPARE(txtRed->text(), QStringLiteral("1"));
    QCOMPARE(GetRValue(window->currentColour()), 1);
    QApplication::clipboard()->setText(QStringLiteral("2"));
    txtRed->findChild<QLineEdit *>()->paste();
    QCOMPARE(txtRed->text(), QStringLiteral("12"));
    QCOMPARE(GetRValue(window->currentColour()), 12);

    // Text set straight into the field, past every filter: refused, the field shows its component again.
    txtRed->setText(QStringLiteral("1x"));
    QCOMPARE(GetRValue(window->currentColour()), 12);
    leave(txtRed);
    QCOMPARE(txtRed->text(), QStringLiteral("12"));
    QCOMPARE(GetRValue(window->currentColour()), 12);
}

void TestEditor::sliderKeys_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("125 right") << 125 << int(Qt::Key_Right) << 130;
    QTest::newRow("135 right") << 135 << int(Qt::Key_Right) << 150;
    QTest::newRow("125 left") << 125 << int(Qt::Key_Left) << 110;
    QTest::newRow("135 left") << 135 << int(Qt::Key_Left) << 130;
    QTest::newRow("3 left") << 3 << int(Qt::Key_Left) << 0;
    QTest::newRow("255 right") << 255 << int(Qt::Key_Right) << 255;
    QTest::newRow("255 left") << 255 << int(Qt::Key_Left) << 250;
    QTest::newRow("244 right") << 244 << int(Qt::Key_Right) << 250;
    QTest::newRow("5 right") << 5 << int(Qt::Key_Right) << 10;
    QTest::newRow("15 right") << 15 << int(Qt::Key_Right) << 30;
    QTest::newRow("77 home") << 77 << int(Qt::Key_Home) << 0;
    QTest::newRow("77 end") << 77 << int(Qt::Key_End) << 255;
}

void TestEditor::sliderKeys()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, expected);
    auto *slGreen = child<QSlider>("slGreen");
    window->SetColour(MakeColour(9, start, 99));
    slGreen->setFocus();
    QSignalSpy moves(slGreen, &QSlider::valueChanged);
    QTest::keyClick(slGreen, Qt::Key(key));
    QCOMPARE(slGreen->value(), expected);
    QCOMPARE(moves.count(), start == expected ? 0 : 1);
    expectColourShown(MakeColour(9, expected, 99));
    QCOMPARE(child<ComponentSpin>("txtGreen")->text(), QString::number(expected));
}

void TestEditor::sliderRewritesFieldBeingTyped()
{
    auto *txtRed = child<ComponentSpin>("txtRed");
    typeInto(txtRed, QStringLiteral("04"));
    QCOMPARE(txtRed->text(), QStringLiteral("04"));
    child<QSlider>("slBlue")->setValue(17);
    QCOMPARE(txtRed->text(), QStringLiteral("4"));
    expectColourShown(MakeColour(4, 255, 17));
}

void TestEditor::sliderFollowsTypingButFieldKeepsText()
{
    auto *txtGreen = child<ComponentSpin>("txtGreen");
    typeInto(txtGreen, QStringLiteral("09"));
    QCOMPARE(child<QSlider>("slGreen")->value(), 9);
    QCOMPARE(txtGreen->text(), QStringLiteral("09"));
    // Typing in another field leaves the first one as the refresh writes it.
    typeInto(child<ComponentSpin>("txtBlue"), QStringLiteral("1"));
    QCOMPARE(txtGreen->text(), QStringLiteral("9"));
    expectColourShown(MakeColour(255, 9, 1));
}

void TestEditor::notationFieldsApplyWhenLeft_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Colour>("colour");
    QTest::newRow("rgb with blanks") << "txtRGB"
                                     << " rgb ( 1,2,3 )" << Colour(0x00030201);
    QTest::newRow("hex lower case") << "txtHex"
                                    << "0x00ff0000" << Colour(0x000000FF);
    QTest::newRow("html lower case") << "txtHTML"
                                     << "#0a141e" << Colour(0x001E140A);
}

void TestEditor::notationFieldsApplyWhenLeft()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(Colour, colour);
    auto *edit = child<QLineEdit>(qPrintable(field));
    typeInto(child<ComponentSpin>("txtRed"), QStringLiteral("12"));
    typeInto(edit, typed);
    leave(edit);
    expectColourShown(colour);
    QCOMPARE(child<ComponentSpin>("txtRed")->text(), QString::number(GetRValue(colour)));
}

void TestEditor::invalidNotationIsPutBack_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::newRow("hex bad digits") << "txtHex"
                                    << "0x00zz0000";
    QTest::newRow("html short form") << "txtHTML"
                                     << "#FFF";
    QTest::newRow("rgb out of range") << "txtRGB"
                                      << "RGB(1,2,300)";
    QTest::newRow("rgb emptied") << "txtRGB"
                                 << "";
}

void TestEditor::invalidNotationIsPutBack()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    window->SetColour(0x00123456);
    auto *edit = child<QLineEdit>(qPrintable(field));
    const QString before = edit->text();
    typeInto(edit, typed);
    leave(edit);
    QCOMPARE(edit->text(), before);
    expectColourShown(0x00123456);
}

void TestEditor::notationWaitsForFocusToLeave()
{
    auto *txtHex = child<QLineEdit>("txtHex");
    typeInto(txtHex, QStringLiteral("0x00000000"));
    QCOMPARE(window->currentColour(), White);
    // Losing the focus to another window is not leaving the field.
    QFocusEvent deactivate(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(txtHex, &deactivate);
    QCOMPARE(window->currentColour(), White);
    leave(txtHex);
    expectColourShown(0);
}

void TestEditor::tabOrderAndAccessKeys()
{
    const QStringList order = {"txtRed", "slRed",  "txtGreen", "slGreen", "txtBlue",
                               "slBlue", "txtRGB", "txtHex",   "txtHTML", "txtRed"};
    child<QWidget>("txtRed")->setFocus();
    for (int i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focused = QApplication::focusWidget();
        while (focused && focused->objectName().isEmpty())
            focused = focused->parentWidget(); // spin's line edit
        QVERIFY(focused);
        QCOMPARE(focused->objectName(), order.at(i));
    }

    const QList<QPair<QString, QString>> labels = {{"lblRed", "Re&d:"}, {"lblGreen", "&Green:"}, {"lblBlue", "&Blue:"},
                                                   {"lblRGB", "&RGB:"}, {"lblHex", "He&x.:"},    {"lblHTML", "H&TML:"}};
    for (const auto &[name, caption] : labels)
        QCOMPARE(child<QLabel>(qPrintable(name))->text(), caption);

    child<QWidget>("txtRGB")->setFocus();
    QTest::keyClick(window.get(), Qt::Key_B, Qt::AltModifier);
    QVERIFY(child<QWidget>("txtBlue")->hasFocus());
    QTest::keyClick(window.get(), Qt::Key_X, Qt::AltModifier);
    QVERIFY(child<QWidget>("txtHex")->hasFocus());
}

// An error raised while the controls are being brought into line (here by the swatch, the first of them)
// leaves the editor listening to its controls: the next edit changes the colour.
void TestEditor::anErrorInsideARefreshLeavesTheEditorWorking()
{
    auto *swatch = child<ColourSwatch>("pCurrentColor");
    auto failing = std::make_unique<QObject>();
    connect(swatch, &ColourSwatch::colourChanged, failing.get(), [] { throw std::runtime_error("refresh failed"); });
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, window->SetColour(MakeColour(1, 2, 3)));
    failing.reset();
    typeInto(child<QWidget>("txtRed"), QStringLiteral("40"));
    QCOMPARE(window->currentColour(), MakeColour(40, 2, 3));
    QCOMPARE(child<QLineEdit>("txtHTML")->text(), QStringLiteral("#280203"));
}

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
