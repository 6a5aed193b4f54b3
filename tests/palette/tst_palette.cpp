// Palette files: what damaged and hostile files get, what the writers give back to the readers, the colour
// models of Adobe's files, where an import's colours go, and a write that meets a full disk.
#include "GimpPalette.h"
#include "PaletteFile.h"
#include "RegistryTesting.h"
#include "SwatchExchange.h"
#include "TintPalette.h"

#include <QRandomGenerator>
#include <QtEndian>
#include <QtTest>

#include <bit>
#include <cmath>

#include <sys/stat.h>
#include <unistd.h>

using namespace colour;

namespace {

QByteArray U16(quint16 value)
{
    QByteArray bytes(2, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray U32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray F32(float value)
{
    return U32(std::bit_cast<quint32>(value));
}

QByteArray Name(const QString &name)
{
    QByteArray bytes = U16(quint16(name.size() + 1));
    for (QChar c : name)
        bytes += U16(c.unicode());
    return bytes + U16(0);
}

QByteArray ColourBlock(const QString &name, const QByteArray &model, const QList<float> &values)
{
    QByteArray body = Name(name) + model;
    for (float value : values)
        body += F32(value);
    body += U16(2);
    return U16(1) + U32(quint32(body.size())) + body;
}

QByteArray Ase(const QList<QByteArray> &blocks, int count = -1)
{
    return "ASEF" + U16(1) + U16(0) + U32(quint32(count < 0 ? blocks.size() : count)) + blocks.join();
}

Palette Seeded(int count)
{
    QRandomGenerator random(34);
    Palette palette{QStringLiteral("seeded"), {}, 0};
    for (const char *group : {"Slots", "Custom colors", "Recent colors"}) {
        palette.groups.append({QLatin1String(group), {}, {}});
        for (int i = 0; i < count / 3; ++i)
            palette.groups.last().entries.append(
                {QStringLiteral("Färg %1 \u263A").arg(i), Colour(random.bounded(0x1000000)), {}});
    }
    return palette;
}

} // namespace

class TestPalette : public QObject
{
    Q_OBJECT

private slots:
    void refusesDamagedFilesWithOneLine_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("gimp");
        QTest::addColumn<QString>("message");
        const QByteArray red = ColourBlock(QStringLiteral("red"), "RGB ", {1, 0, 0});
        QTest::newRow("gpl: another header") << QByteArray("GIMP Pal\n1 2 3\n") << true << "does not begin";
        QTest::newRow("gpl: above 255") << QByteArray("GIMP Palette\n300 0 0 x\n") << true << "line 2: '300'";
        QTest::newRow("gpl: negative") << QByteArray("GIMP Palette\n#\n0 -5 0\n") << true << "line 3: '-5'";
        QTest::newRow("gpl: not an integer") << QByteArray("GIMP Palette\n0 0 12abc\n") << true << "'12abc'";
        QTest::newRow("gpl: two numbers") << QByteArray("GIMP Palette\n1 2\n") << true << "is not a color";
        QTest::newRow("gpl: a long name")
            << "GIMP Palette\n1 2 3 " + QByteArray(100000, 'n') << true << "name longer than 1000 characters";
        QTest::newRow("gpl: a NUL in a number") << QByteArray("GIMP Palette\n1\0 2 3 x\n", 22) << true << "'1\\x00'";
        // Millions of words on one line under the size limit, read without splitting them.
        QTest::newRow("gpl: a line of words")
            << "GIMP Palette\n0 0 0" + QByteArray(" x").repeated(8000000) << true << "name longer than 1000";
        QTest::newRow("gpl: too many colours")
            << "GIMP Palette\n" + QByteArray("0 0 0\n").repeated(100001) << true << "more than 100000 colors";
        QTest::newRow("ase: another file") << QByteArray("PK\3\4 and more bytes") << false << "does not begin";
        QTest::newRow("ase: cut in the header") << QByteArray("ASEF\0\1", 6) << false << "does not begin";
        QTest::newRow("ase: count past the end") << Ase({red}, 0x7FFFFFFF) << false << "more than the file can hold";
        QTest::newRow("ase: too many blocks")
            << Ase({QByteArray(6 * 300001, '\0')}, 300001) << false << "300001 blocks, more than any palette";
        QTest::newRow("ase: length past the end") << Ase({red.left(red.size() - 3)}) << false << "past the end";
        QTest::newRow("ase: name past its block")
            << Ase({U16(1) + U32(4) + U16(500) + "ab"}) << false << "cut short in block 1";
        QTest::newRow("ase: a name of 60,000")
            << Ase({ColourBlock(QString(60000, u'n'), "RGB ", {1, 0, 0})}) << false << "name longer than 1000";
        QTest::newRow("ase: NaN") << Ase({ColourBlock(QStringLiteral("x"), "RGB ", {NAN, 0, 0})}) << false
                                  << "not a number";
        QTest::newRow("ase: beyond 1") << Ase({ColourBlock(QStringLiteral("x"), "RGB ", {2, 0, 0})}) << false
                                       << "outside 0 to 1";
        QTest::newRow("ase: unknown model")
            << Ase({ColourBlock(QStringLiteral("x"), "HSV\n", {1, 0, 0})}) << false << "unknown color model 'HSV?'";
    }
    void refusesDamagedFilesWithOneLine()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, gimp);
        QFETCH(QString, message);
        try {
            gimp ? ReadGimpPalette(bytes) : ReadSwatchExchange(bytes);
            QFAIL("read");
        } catch (const PaletteError &error) {
            QVERIFY2(error.message().contains(message), qPrintable(error.message()));
            QVERIFY(!error.message().contains(u'\n'));
        }
    }

    void readsEveryLineEnd()
    {
        for (const char *end : {"\n", "\r\n", "\r"}) {
            const Palette palette =
                ReadGimpPalette(QByteArray("GIMP Palette|Name: ends|#|255 128 0 Orange|").replace('|', end));
            QCOMPARE(palette.name, QStringLiteral("ends"));
            QCOMPARE(palette.colourCount(), 1);
            QCOMPARE(palette.groups[0].entries[0].name, QStringLiteral("Orange"));
            QCOMPARE(palette.groups[0].entries[0].colour, MakeColour(255, 128, 0));
        }
    }

    // What is no regular file, or too large to be a palette, is refused without reading it.
    void refusesWhatIsNoPaletteFile()
    {
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("fifo.gpl"));
        QCOMPARE(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
        QFile large(dir.filePath(QStringLiteral("large.ase")));
        QVERIFY(large.open(QIODevice::WriteOnly) && large.resize(qint64(2) << 30));
        QDir(dir.path()).mkdir(QStringLiteral("folder.gpl"));
        const QList<std::pair<QString, QString>> cases = {{fifo, "not a regular file"},
                                                          {large.fileName(), "larger than 16 MiB"},
                                                          {dir.filePath("folder.gpl"), "not a regular file"},
                                                          {dir.filePath("missing.gpl"), "No such file"},
                                                          {dir.filePath("a.css"), "read from .gpl and .ase"}};
        for (const auto &[path, message] : cases)
            try {
                LoadPaletteFile(path);
                QFAIL(qPrintable(path));
            } catch (const PaletteError &error) {
                QVERIFY2(error.message().contains(message), qPrintable(error.message()));
            }
    }

    void readsBackWhatItWrites()
    {
        QTemporaryDir dir;
        const Palette written = Seeded(999);
        for (const char *name : {"seeded.gpl", "seeded.ase"}) {
            SavePaletteFile(dir.filePath(QLatin1String(name)), written);
            const Palette read = LoadPaletteFile(dir.filePath(QLatin1String(name)));
            // A GIMP palette has no groups: its colours stand in one.
            QCOMPARE(read.groups.size(), QString(QLatin1String(name)).endsWith(u"gpl") ? 1 : 3);
            QCOMPARE(read.colourCount(), 999);
            qsizetype group = 0, entry = 0;
            for (const PaletteGroup &from : written.groups)
                for (const PaletteEntry &each : from.entries) {
                    if (entry == read.groups[group].entries.size()) group++, entry = 0;
                    const PaletteEntry &back = read.groups[group].entries[entry++];
                    QCOMPARE(back.name, each.name);
                    QCOMPARE(back.colour, each.colour);
                }
        }
    }

    // Lab by CSS Color 4's conversion (the red of sRGB is lab(54.29 80.82 69.91)), Gray, and CMYK counted; an
    // empty group start is a group without a name, and a group left open ends with the file.
    void readsOtherColourModels()
    {
        const Palette palette = ReadSwatchExchange(
            Ase({U16(0xC001) + U32(0), ColourBlock(QStringLiteral("red"), "LAB ", {0.5429f, 80.82f, 69.91f}),
                 ColourBlock(QStringLiteral("grey"), "Gray", {0.5f}),
                 ColourBlock(QStringLiteral("cyan"), "CMYK", {1, 0, 0, 0}), U16(0xC001) + U32(8) + Name("g!"),
                 ColourBlock(QStringLiteral("out of sRGB"), "LAB ", {0.9f, -120, 100})}));
        QCOMPARE(palette.skippedCmyk, 1);
        QCOMPARE(palette.groups.size(), 2);
        QCOMPARE(palette.groups[0].entries.size(), 2);
        QCOMPARE(palette.groups[0].entries[0].colour, MakeColour(255, 0, 0));
        QCOMPARE(palette.groups[0].entries[1].colour, MakeColour(128, 128, 128));
        QCOMPARE(palette.groups[1].name, QStringLiteral("g!"));
        // Mapped into sRGB by CSS's gamut mapping: colorjs.io's toGamut({method: "css"}) gives #00FF57.
        QCOMPARE(palette.groups[1].entries[0].colour, MakeColour(0x00, 0xFF, 0x57));
    }

    // Which colour lands where: a palette of the program's own goes back by its groups' names (in any case),
    // any other fills the slots, then the custom colours, in the file's order.
    void assignsColours_data()
    {
        QTest::addColumn<Palette>("palette");
        QTest::addColumn<QList<Colour>>("slotColours");
        QTest::addColumn<QList<Colour>>("customColours");
        QTest::addColumn<int>("unused");
        // A group of `count` colours numbered from `first`.
        const auto group = [](const QString &name, Colour first, int count) {
            PaletteGroup made{name, {}, {}};
            for (int i = 0; i < count; ++i)
                made.entries.append({{}, first + Colour(i), {}});
            return made;
        };
        const auto run = [](Colour first, int count) {
            QList<Colour> colours;
            for (int i = 0; i < count; ++i)
                colours.append(first + Colour(i));
            return colours;
        };
        QTest::newRow("ungrouped, 5") << Palette{{}, {group({}, 1, 5)}, 0} << run(1, 5) << QList<Colour>() << 0;
        QTest::newRow("ungrouped, 30") << Palette{{}, {group({}, 1, 30)}, 0} << run(1, 12) << run(13, 16) << 2;
        QTest::newRow("other groups, in order")
            << Palette{{}, {group("a", 1, 10), group("b", 101, 10)}, 0} << run(1, 10) + run(101, 2) << run(103, 8) << 0;
        QTest::newRow("the program's")
            << Palette{{}, {group("Brand", 1, 3), group("custom colors", 101, 20), group("Slots", 201, 4)}, 0}
            << run(201, 4) << run(101, 16) << 7;
    }
    void assignsColours()
    {
        QFETCH(Palette, palette);
        const PaletteAssignment assignment = AssignPalette(palette, 12, 16);
        QTEST(assignment.slotColours, "slotColours");
        QTEST(assignment.customColours, "customColours");
        QTEST(int(assignment.unused), "unused");
    }

    // A full disk: the file that stood under the name stays whole, whether the new one is larger than a write
    // buffer or small enough to fail only when it is flushed; a new file is not left behind empty.
    void keepsTheOldFileWhenTheDiskIsFull()
    {
        SmallDisk disk;
        if (!disk.isMounted()) QSKIP("mounting a small disk needs root");
        const auto contents = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
        };
        const QStringList names = {"old.gpl", "old.ase", "old.json", "old.css"};
        QList<QByteArray> before;
        for (const QString &name : names) {
            SavePaletteFile(disk.path() + u'/' + name, Seeded(30));
            before.append(contents(disk.path() + u'/' + name));
        }
        disk.fill();
        for (int size : {3, 3000})
            for (const QString &name : names + QStringList{"new.css"}) {
                QVERIFY_THROWS_EXCEPTION(PaletteError, SavePaletteFile(disk.path() + u'/' + name, Seeded(size)));
                QCOMPARE(contents(disk.path() + u'/' + name),
                         name == "new.css" ? "(none)" : before[names.indexOf(name)]);
            }
        QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden).size(), names.size() + 1); // and the filler
    }

    // A link is followed to a regular file; a device, a FIFO or a loop of links is refused and left as it was.
    void writesThroughLinksOnlyToRegularFiles()
    {
        QTemporaryDir dir;
        const auto at = [&](const char *name) { return dir.filePath(QLatin1String(name)); };
        QFile::link(at("real.gpl"), at("link.gpl"));
        SavePaletteFile(at("link.gpl"), Seeded(3));
        QVERIFY(QFileInfo(at("link.gpl")).isSymLink());
        QCOMPARE(LoadPaletteFile(at("real.gpl")).colourCount(), 3);
        QCOMPARE(mkfifo(at("fifo").toLocal8Bit().constData(), 0600), 0);
        QFile::link(at("fifo"), at("to-fifo.gpl"));
        QFile::link(QStringLiteral("/dev/null"), at("to-null.gpl"));
        QFile::link(at("loop-b.gpl"), at("loop-a.gpl"));
        QFile::link(at("loop-a.gpl"), at("loop-b.gpl"));
        for (const char *name : {"to-fifo.gpl", "to-null.gpl", "loop-a.gpl"}) {
            QVERIFY_THROWS_EXCEPTION(PaletteError, SavePaletteFile(at(name), Seeded(3)));
            QVERIFY(QFileInfo(at(name)).isSymLink());
        }
        struct stat null = {};
        QVERIFY(::stat("/dev/null", &null) == 0 && S_ISCHR(null.st_mode));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 7);

        // In a sticky folder that anyone may write, a link of a third user is not followed (the kernel's
        // protected_symlinks rule); the user's own is.
        if (geteuid() != 0) return;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("shared")) && ::chmod(at("shared").toLocal8Bit(), 01777) == 0);
        QFile::link(at("real.gpl"), at("shared/theirs.gpl"));
        QFile::link(at("real.gpl"), at("shared/mine.gpl"));
        QCOMPARE(::lchown(at("shared/theirs.gpl").toLocal8Bit(), 65534, 65534), 0);
        QVERIFY_THROWS_EXCEPTION(PaletteError, SavePaletteFile(at("shared/theirs.gpl"), Seeded(30)));
        QCOMPARE(LoadPaletteFile(at("real.gpl")).colourCount(), 3);
        SavePaletteFile(at("shared/mine.gpl"), Seeded(30));
        QCOMPARE(LoadPaletteFile(at("real.gpl")).colourCount(), 30);
    }
};

QTEST_GUILESS_MAIN(TestPalette)
#include "tst_palette.moc"
