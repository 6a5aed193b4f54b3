// What assistive technology reads from the main window: every named control has an accessible name; the
// number fields and sliders carry their row's label and the notation fields theirs, without the access-key
// ampersand; the colour slots are numbered. Every command can be reached from the keyboard: by its own
// shortcut, or through a menu opened with Alt and its access key, where the command's access key is unique.
#include "frmMain.h"
#include "ProgramState.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QTest>

#include <functional>
#include <memory>

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyNamedControlHasAName();
    void controlsTakeTheirLabel_data();
    void controlsTakeTheirLabel();
    void slotsAreNumbered();
    void everyCommandIsReachableFromTheKeyboard();

private:
    QString accessibleName(const QString &objectName)
    {
        auto *widget = window->findChild<QWidget *>(objectName);
        if (!widget) qFatal("no control %s", qPrintable(objectName));
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    }

    std::unique_ptr<ProgramState> state;
    std::unique_ptr<TTintMain> window;
};

void TestAccessibility::init()
{
    state = std::make_unique<ProgramState>();
    window = std::make_unique<TTintMain>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void TestAccessibility::cleanup()
{
    window.reset();
    state.reset();
}

void TestAccessibility::everyNamedControlHasAName()
{
    // Panels and separators only arrange the controls; a reader passes over them.
    const QList<QAccessible::Role> layoutOnly{QAccessible::Client, QAccessible::Pane, QAccessible::Separator};
    QStringList unnamed;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_"))) continue;
        QAccessibleInterface *control = QAccessible::queryAccessibleInterface(widget);
        // A label that shows nothing, as the status bar's hint between hints, says nothing.
        const auto *label = qobject_cast<QLabel *>(widget);
        if (label && label->text().isEmpty()) continue;
        const QString name = control->text(QAccessible::Name);
        if (!layoutOnly.contains(control->role()) && (name.trimmed().isEmpty() || name != name.trimmed()))
            unnamed << widget->objectName() + QStringLiteral(" '%1'").arg(name);
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(QStringLiteral("no accessible name: ") + unnamed.join(u' ')));
}

void TestAccessibility::controlsTakeTheirLabel_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::newRow("red field") << "txtRed"
                               << "Red:";
    QTest::newRow("red slider") << "slRed"
                                << "Red:";
    QTest::newRow("green field") << "txtGreen"
                                 << "Green:";
    QTest::newRow("green slider") << "slGreen"
                                  << "Green:";
    QTest::newRow("blue field") << "txtBlue"
                                << "Blue:";
    QTest::newRow("blue slider") << "slBlue"
                                 << "Blue:";
    QTest::newRow("RGB") << "txtRGB"
                         << "RGB:";
    QTest::newRow("hexadecimal") << "txtHex"
                                 << "Hex.:";
    QTest::newRow("HTML") << "txtHTML"
                          << "HTML:";
}

void TestAccessibility::controlsTakeTheirLabel()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    QCOMPARE(accessibleName(control), name);
}

void TestAccessibility::slotsAreNumbered()
{
    for (int i = 1; i <= 12; ++i)
        QCOMPARE(accessibleName(QStringLiteral("pSlot%1").arg(i)), QStringLiteral("Color slot %1").arg(i));
}

namespace {

// The letter after a single '&' of a caption, lower-cased; none when the caption has no access key.
QChar AccessKey(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != u'&') continue;
        if (caption.at(i + 1) != u'&') return caption.at(i + 1).toLower();
        ++i;
    }
    return {};
}

} // namespace

void TestAccessibility::everyCommandIsReachableFromTheKeyboard()
{
    auto *menuBar = window->findChild<QMenuBar *>();
    QVERIFY(menuBar);
    QList<QAction *> reached;
    for (QAction *title : menuBar->actions()) {
        const QChar menuKey = AccessKey(title->text());
        QVERIFY2(!menuKey.isNull(), qPrintable(title->text()));
        QTest::keyClick(window.get(), menuKey.toLatin1(), Qt::AltModifier);
        QTRY_COMPARE(QApplication::activePopupWidget(), title->menu());
        // Each entry of a menu, and of a submenu, has an access key of its own there.
        const std::function<void(QMenu *)> reach = [&](QMenu *menu) {
            QList<QChar> keys;
            for (QAction *item : menu->actions()) {
                if (item->isSeparator()) continue;
                const QChar key = AccessKey(item->text());
                QVERIFY2(!key.isNull() && !keys.contains(key), qPrintable(item->text()));
                keys << key;
                reached << item;
                if (item->menu()) reach(item->menu());
            }
        };
        reach(title->menu());
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); // the menu bar lets go of the keys
        QTRY_VERIFY(!QApplication::activePopupWidget());
    }
    QStringList unreachable;
    for (QAction *command : window->actions())
        if (!command->menu() && command->shortcut().isEmpty() && !reached.contains(command))
            unreachable << command->objectName();
    QVERIFY2(unreachable.isEmpty(), qPrintable(QStringLiteral("no key reaches ") + unreachable.join(u' ')));
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
