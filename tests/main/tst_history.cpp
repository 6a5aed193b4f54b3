// The recent colours over a real store: newest first, each once, sixteen at most; several runs that share the
// store keep each other's colours and clears; what the store holds is what the program stores as colours.
#include "ColourHistory.h"
#include "RegistryTesting.h"

#include <QtTest>

using namespace registry;

using namespace colour;

namespace {
const QString Key = QStringLiteral("Software\\Tintwell\\History");

ColourHistory *Run(QObject *parent)
{
    auto *history = new ColourHistory(HKEY_CURRENT_USER, Key, parent);
    history->restore();
    return history;
}
} // namespace

class TestHistory : public QObject
{
    Q_OBJECT

private slots:
    void keepsSixteenNewestFirstEachOnce()
    {
        TempRegistry registry;
        QObject owner;
        ColourHistory *history = Run(&owner);
        for (Colour colour = 1; colour <= 20; ++colour)
            history->add(colour);
        history->add(10); // already there: to the top
        history->save();
        QList<Colour> expected = {10};
        for (Colour colour = 20; expected.size() < 16; --colour)
            if (colour != 10) expected.append(colour);
        QCOMPARE(Run(&owner)->colours(), expected);
        // Color1 is the newest, a REG_DWORD with red in the low byte, as every colour of the program.
        const auto stored = openRegistryStore(HKEY_CURRENT_USER, RegistryAccess::ReadOnly)->value(Key, "Color1");
        QCOMPARE(stored, RegistryValue::fromDword(10));
    }

    void twoRunsKeepEachOthersColours()
    {
        TempRegistry registry;
        QObject owner;
        ColourHistory *first = Run(&owner);
        ColourHistory *second = Run(&owner);
        first->add(1);
        first->add(2);
        second->add(3);
        first->save();
        second->save();
        QCOMPARE(second->colours(), (QList<Colour>{3, 2, 1}));
        first->add(4);
        first->save(); // takes in what the second saved
        QCOMPARE(first->colours(), (QList<Colour>{4, 3, 2, 1}));
        // A clear goes for what was there at the clear; what another run adds after it stays.
        second->clear();
        first->add(5);
        second->save();
        first->save();
        QCOMPARE(Run(&owner)->colours(), QList<Colour>{5});
        // A run with nothing to save writes nothing, and a refused save keeps its step for the next.
        second->save();
        {
            RefusedWrites refused;
            second->add(6);
            QVERIFY_THROWS_EXCEPTION(RegistryStoreError, second->save());
        }
        second->save();
        QCOMPARE(Run(&owner)->colours(), (QList<Colour>{6, 5}));
    }

    // A hand-edited store: values of another type and repeats are passed over.
    void readsPastWhatIsNoColour()
    {
        TempRegistry registry;
        RegistryBatch values;
        values.setValue(Key, "Color1", RegistryValue::fromString("red"));
        values.setValue(Key, "Color2", RegistryValue::fromDword(7));
        values.setValue(Key, "color3", RegistryValue::fromDword(7));
        values.setValue(Key, "Color17", RegistryValue::fromDword(9));
        values.setValue(Key, "Color4", RegistryValue::fromDword(8));
        // A top byte is no part of the colour: these three are white once.
        values.setValue(Key, "Color5", RegistryValue::fromDword(0xFFFFFFFF));
        values.setValue(Key, "Color6", RegistryValue::fromDword(0x01FFFFFF));
        values.setValue(Key, "Color7", RegistryValue::fromDword(0x00FFFFFF));
        openRegistryStore(HKEY_CURRENT_USER, RegistryAccess::ReadWrite)->apply(values);
        QObject owner;
        QCOMPARE(Run(&owner)->colours(), (QList<Colour>{7, 8, White}));
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
