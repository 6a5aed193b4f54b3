// Toolbar places read and set by name: the saved layout read and rebuilt byte for byte, rows and offsets
// as far as Qt can express them, docking, and a toolbar that keeps its row to itself.
#include "DockToolBar.h"
#include "ToolBarState.h"
#include "WindowTesting.h"

#include <QMainWindow>
#include <QTest>

class TestDockToolBar : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rebuildsTheSavedLayoutExactly();
    void rowsAndOffsets();
    void docks();
    void takesItsWholeRow();

private:
    DockToolBar *AddBar(const QString &name, Qt::ToolBarArea area);

    std::unique_ptr<QMainWindow> m_window;
    DockToolBar *tbMenu = nullptr;
    DockToolBar *tbMain = nullptr;
};

DockToolBar *TestDockToolBar::AddBar(const QString &name, Qt::ToolBarArea area)
{
    auto *bar = new DockToolBar(name, m_window.get());
    bar->setObjectName(name);
    bar->addAction(name);
    m_window->addToolBar(area, bar);
    return bar;
}

void TestDockToolBar::init()
{
    m_window = std::make_unique<QMainWindow>();
    m_window->setCentralWidget(new QWidget);
    m_window->resize(400, 300);
    tbMenu = AddBar(QStringLiteral("tbMenu"), Qt::TopToolBarArea);
    tbMain = AddBar(QStringLiteral("tbMain"), Qt::TopToolBarArea);
    m_window->insertToolBarBreak(tbMain);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestDockToolBar::cleanup()
{
    m_window.reset();
}

void TestDockToolBar::rebuildsTheSavedLayoutExactly()
{
    auto *tbSpare = AddBar(QStringLiteral("tbSpare"), Qt::BottomToolBarArea);
    tbSpare->hide();
    FloatToolBar(*m_window, *tbMain, QRect(300, 200, 120, 30)); // floating geometry in the layout too
    const QByteArray saved = m_window->saveState();
    const std::optional<ToolBarState> state = ParseToolBarState(saved);
    QVERIFY(state);
    QCOMPARE(state->lines.size(), 3);
    QCOMPARE(BuildToolBarState(*state), saved);
    QVERIFY(!ParseToolBarState(saved.chopped(1)));
    QVERIFY(!ParseToolBarState(m_window->saveState(1)));
}

void TestDockToolBar::rowsAndOffsets()
{
    QCOMPARE(tbMenu->dockRow(), 0);
    QCOMPARE(tbMain->dockRow(), 1);
    tbMain->setDockPos(150); // the first toolbar of a row sits at its start whatever is asked
    QCOMPARE(tbMain->x(), 0);

    // The offset comes first, in a row where the toolbar is alone; the change of row then honours it.
    tbMain->setDockPos(150);
    tbMain->setDockRow(0);
    QCOMPARE(tbMain->dockRow(), 0);
    QCOMPARE(tbMain->dockPos(), 150);
    QCOMPARE(tbMain->x(), 150);
    QCOMPARE(tbMenu->dockPos(), 0);

    tbMain->setDockPos(90);
    QCOMPARE(tbMain->x(), 90);

    // Row 5 does not exist: the toolbar opens a new row below the others.
    tbMenu->setDockRow(5);
    QCOMPARE(tbMenu->dockRow(), 1);
    QCOMPARE(tbMain->dockRow(), 0);
    QCOMPARE(tbMenu->y(), tbMain->y() + tbMain->height());
}

void TestDockToolBar::docks()
{
    QMainWindow *window = m_window.get();
    QCOMPARE(tbMain->currentDock(), (TDock{window, Qt::TopToolBarArea}));
    QCOMPARE(tbMain->property("CurrentDock").value<TDock>(), tbMain->currentDock());

    QVERIFY(tbMain->setProperty("CurrentDock", QVariant::fromValue(TDock{window, Qt::BottomToolBarArea})));
    QCOMPARE(window->toolBarArea(tbMain), Qt::BottomToolBarArea);
    QCOMPARE(tbMain->dockRow(), 0);

    tbMain->setCurrentDock({}); // no dock: it stays
    QVERIFY(!tbMain->isFloating());
    QCOMPARE(window->toolBarArea(tbMain), Qt::BottomToolBarArea);

    FloatToolBar(*window, *tbMain, QRect(300, 200, 120, 30));
    QVERIFY(tbMain->isFloating());
    QCOMPARE(tbMain->currentDock(), TDock{});
    tbMain->setCurrentDock({window, Qt::TopToolBarArea});
    QVERIFY(!tbMain->isFloating());
    QCOMPARE(window->toolBarArea(tbMain), Qt::TopToolBarArea);
    QCOMPARE(tbMenu->dockRow(), 0);
}

void TestDockToolBar::takesItsWholeRow()
{
    auto *tbSpare = AddBar(QStringLiteral("tbSpare"), Qt::TopToolBarArea);
    tbSpare->show(); // added to a window already shown
    tbMain->setDockPos(120);
    tbMain->setDockRow(0);
    tbSpare->setDockPos(250);
    tbSpare->setDockRow(0);
    QCOMPARE(tbMain->dockRow(), 0);
    QCOMPARE(tbSpare->dockRow(), 0);

    // The others of its row go below it, in their order; rows further down follow.
    tbMenu->takeWholeRow();
    QCOMPARE(tbMenu->dockRow(), 0);
    QCOMPARE(tbMenu->x(), 0);
    QCOMPARE(tbMain->dockRow(), 1);
    QCOMPARE(tbSpare->dockRow(), 1);
    QVERIFY(tbMain->x() < tbSpare->x());
    const QByteArray alone = m_window->saveState();
    tbMenu->takeWholeRow();
    QCOMPARE(m_window->saveState(), alone);
}

QTEST_MAIN(TestDockToolBar)
#include "tst_docktoolbar.moc"
