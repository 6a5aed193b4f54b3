// The colour slots and the colour dialog, driven through the real window and the real QColorDialog.
#include "ColourDialogDriver.h"
#include "ColourSwatch.h"
#include "ComponentControls.h"
#include "frmMain.h"
#include "ProgramState.h"
#include "WindowTesting.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

using namespace colour;

class TestSlots : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void saveColorPaintsOnlyTheRightClickedSlot();
    void leftClickOpensNoMenu();
    void doubleClickLoadsEvenTheFieldBeingTyped();
    void dialogOkAppliesColourAndWritesSixteenLines();
    void dialogCancelUndoesAddedCustomColour();
    void dialogSitsCentredInTheUpperThird();

private:
    template <typename T> T *child(const char *name) { return Child<T>(*window, name); }
    ColourSwatch *slot(int number) { return child<ColourSwatch>(QStringLiteral("pSlot%1").arg(number).toLatin1()); }
    void clickMenuItem(const char *name);
    bool runDialog(const std::function<void(QColorDialog &)> &answer) { return RunColourDialog(*window, answer); }

    QTemporaryDir qtConfig;
    std::unique_ptr<ProgramState> state; // the preferences, as the program has them before its window
    std::unique_ptr<TTintMain> window;
};

void TestSlots::initTestCase()
{
    // QColorDialog keeps its custom colours in QtProject.conf there.
    qputenv("XDG_CONFIG_HOME", qtConfig.path().toLocal8Bit());
}

void TestSlots::init()
{
    state = std::make_unique<ProgramState>();
    window = std::make_unique<TTintMain>();
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
}

void TestSlots::cleanup()
{
    window.reset();
    state.reset();
}

void TestSlots::clickMenuItem(const char *name)
{
    auto *popSlot = child<QMenu>("popSlot");
    QTRY_VERIFY(popSlot->isVisible());
    QTest::mouseClick(popSlot, Qt::LeftButton, {}, popSlot->actionGeometry(child<QAction>(name)).center());
    QTRY_VERIFY(!popSlot->isVisible());
}

void TestSlots::saveColorPaintsOnlyTheRightClickedSlot()
{
    window->SetColour(0x00336699);
    QTest::mouseClick(slot(5), Qt::RightButton, {}, QPoint(10, 12));
    auto *popSlot = child<QMenu>("popSlot");
    QTRY_VERIFY(popSlot->isVisible());
    QCOMPARE(popSlot->pos(), slot(5)->mapToGlobal(QPoint(10, 12)));
    clickMenuItem("popSlotSave");

    QCOMPARE(slot(5)->colour(), Colour(0x00336699));
    for (int number : {1, 4, 6, 12})
        QCOMPARE(slot(number)->colour(), White);
    QCOMPARE(window->currentColour(), Colour(0x00336699));

    // The slot was used up by the choice: a later Save reached without a right click changes nothing.
    window->SetColour(0x00000080);
    child<QAction>("popSlotSave")->trigger();
    QCOMPARE(slot(5)->colour(), Colour(0x00336699));
}

void TestSlots::leftClickOpensNoMenu()
{
    slot(2)->setColour(0x00112233);
    QTest::mouseClick(slot(2), Qt::LeftButton);
    QTest::mouseClick(slot(2), Qt::MiddleButton);
    QVERIFY(!child<QMenu>("popSlot")->isVisible());
    QCOMPARE(window->currentColour(), White);
}

void TestSlots::doubleClickLoadsEvenTheFieldBeingTyped()
{
    slot(7)->setColour(0x00C08040);
    auto *txtGreen = child<ComponentSpin>("txtGreen");
    txtGreen->setFocus();
    QTest::keyClick(txtGreen, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(txtGreen, "12");
    QCOMPARE(window->currentColour(), Colour(0x00FF0CFF));

    QTest::mouseDClick(slot(7), Qt::LeftButton);
    QVERIFY(!child<QMenu>("popSlot")->isVisible());
    QCOMPARE(window->currentColour(), Colour(0x00C08040));
    QCOMPARE(child<ComponentSpin>("txtRed")->text(), QStringLiteral("64"));
    QCOMPARE(txtGreen->text(), QStringLiteral("128"));
    QCOMPARE(child<ComponentSpin>("txtBlue")->text(), QStringLiteral("192"));
    QCOMPARE(child<ComponentSlider>("slGreen")->value(), 128);
    QCOMPARE(child<QLineEdit>("txtHTML")->text(), QStringLiteral("#4080C0"));
    QCOMPARE(child<ColourSwatch>("pCurrentColor")->colour(), Colour(0x00C08040));
}

void TestSlots::dialogOkAppliesColourAndWritesSixteenLines()
{
    window->SetColour(0x00102030);
    QColor offered;
    QVERIFY(runDialog([&](QColorDialog &dialog) {
        offered = dialog.currentColor();
        QColorDialog::setCustomColor(1, QColor(255, 0, 0));
        dialog.setCurrentColor(QColor(0x12, 0x34, 0x56));
        dialog.accept();
    }));
    QCOMPARE(offered, QColor(0x30, 0x20, 0x10));
    QCOMPARE(window->currentColour(), Colour(0x00563412));
    QCOMPARE(child<QLineEdit>("txtHex")->text(), QStringLiteral("0x00123456"));

    const QStringList list = window->customColourList();
    QCOMPARE(list.size(), 16);
    for (int i = 0; i < 16; ++i)
        QVERIFY2(list[i].startsWith(QStringLiteral("Color%1=").arg(QChar('A' + i))), qPrintable(list[i]));
    QCOMPARE(list[1], QStringLiteral("ColorB=0000FF"));

    // The list, not Qt's table, is what the next dialog is given.
    QColorDialog::setCustomColor(1, QColor(0, 255, 0));
    QColor offeredCustom;
    QVERIFY(runDialog([&](QColorDialog &dialog) {
        offeredCustom = QColorDialog::customColor(1);
        dialog.reject();
    }));
    QCOMPARE(offeredCustom, QColor(255, 0, 0));
}

void TestSlots::dialogCancelUndoesAddedCustomColour()
{
    window->SetColour(0x00102030);
    bool added = false;
    QVERIFY(runDialog([&](QColorDialog &dialog) {
        dialog.setCurrentColor(QColor(0x40, 0x50, 0x60));
        for (auto *button : dialog.findChildren<QPushButton *>())
            if (button->text().contains(QLatin1String("Add to Custom Colors"))) {
                button->click();
                added = QColorDialog::customColor(0) == QColor(0x40, 0x50, 0x60);
            }
        dialog.reject();
    }));
    QVERIFY(added);
    QCOMPARE(window->currentColour(), Colour(0x00102030));
    QVERIFY(window->customColourList().isEmpty());
    QCOMPARE(QColorDialog::customColor(0), QColor(Qt::white));
}

void TestSlots::dialogSitsCentredInTheUpperThird()
{
    QRect frame;
    QVERIFY(runDialog([&](QColorDialog &dialog) {
        frame = dialog.frameGeometry();
        dialog.reject();
    }));
    const QRect monitor = window->screen()->geometry();
    QCOMPARE(frame.left(), monitor.left() + (monitor.width() - frame.width()) / 2);
    QCOMPARE(frame.top(), monitor.top() + (monitor.height() - frame.height()) / 3);
}

QTEST_MAIN(TestSlots)
#include "tst_slots.moc"
