// The store under stress from outside: a writer killed in the middle of its writes, two writers at once,
// and hive files that are not sound stores.
#include "Registry.h"
#include "RegistryTesting.h"

#include <QFile>
#include <QProcess>
#include <QTest>

#include <sqlite3.h>

#include <memory>

using namespace registry;

namespace {
const QString Key = QStringLiteral("Software\\Corvane\\Tintwell\\Stress");

QProcess *StartWriter(QObject *parent, const QString &prefix, int count)
{
    auto *writer = new QProcess(parent);
    writer->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    writer->start(QStringLiteral(REGISTRY_WRITER), {Key, prefix, QString::number(count)});
    return writer;
}

// The indexes the writer reported as written, that is, whose write had returned.
QList<int> ReportedIndexes(QProcess &writer)
{
    QList<int> indexes;
    for (const QByteArray &line : writer.readAllStandardOutput().split('\n'))
        if (!line.isEmpty()) indexes.append(line.toInt());
    return indexes;
}

void VerifyValues(const QString &prefix, int count)
{
    TRegistry registry(RegistryAccess::ReadOnly);
    registry.setRootKey(HKEY_LOCAL_MACHINE);
    QVERIFY(registry.openKey(Key, false));
    for (int i = 0; i < count; ++i) {
        const QString name = prefix + QString::number(i);
        QVERIFY2(registry.valueExists(name), qPrintable(name + QStringLiteral(" is lost")));
        QCOMPARE(registry.readInteger(name), i);
    }
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A sound hive of several pages, cut in half.
QByteArray TruncatedHive()
{
    const TempRegistry scratch;
    {
        TRegistry registry;
        registry.setRootKey(HKEY_LOCAL_MACHINE);
        registry.openKey(Key, true);
        for (int i = 0; i < 200; ++i)
            registry.writeString(QString::number(i), QString(100, u'x'));
    }
    const QByteArray hive = ReadFile(hiveFilePath(HKEY_LOCAL_MACHINE));
    return hive.left(hive.size() / 2);
}

QByteArray AnotherProgramsDatabase()
{
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("other.db"));
    sqlite3 *db = nullptr;
    sqlite3_open(path.toLocal8Bit().constData(), &db);
    sqlite3_exec(db, "CREATE TABLE notes(text); INSERT INTO notes VALUES('mine');", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return ReadFile(path);
}
} // namespace

class TestRegistryReliability : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_registry = std::make_unique<TempRegistry>(); }
    void cleanup() { m_registry.reset(); }

    void killedWriterLeavesEveryCommittedValue();
    void twoWritersAtOnceLoseNothing();
    void unsoundHiveFileIsLeftUntouched_data();
    void unsoundHiveFileIsLeftUntouched();

private:
    std::unique_ptr<TempRegistry> m_registry;
};

void TestRegistryReliability::killedWriterLeavesEveryCommittedValue()
{
    for (const int killAfter : {1, 40, 150}) {
        const QString prefix = QStringLiteral("k%1_").arg(killAfter);
        QProcess *writer = StartWriter(this, prefix, 1000000);
        QList<int> written;
        while (written.size() < killAfter && writer->waitForReadyRead(30000))
            written += ReportedIndexes(*writer);
        writer->kill(); // SIGKILL: no chance to finish a write or close the store
        QVERIFY(writer->waitForFinished(30000));
        written += ReportedIndexes(*writer);
        QVERIFY(written.size() >= killAfter);
        QCOMPARE(written.last(), written.size() - 1);
        VerifyValues(prefix, int(written.size()));
    }
    // And the hive takes writes again.
    TRegistry registry;
    registry.setRootKey(HKEY_LOCAL_MACHINE);
    QVERIFY(registry.openKey(Key, false));
    registry.writeInteger(QStringLiteral("After"), 1);
    QCOMPARE(registry.readInteger(QStringLiteral("After")), 1);
}

void TestRegistryReliability::twoWritersAtOnceLoseNothing()
{
    // Both start on a hive that does not exist yet, so they also race to create it.
    constexpr int Count = 300;
    QProcess *first = StartWriter(this, QStringLiteral("a"), Count);
    QProcess *second = StartWriter(this, QStringLiteral("b"), Count);
    for (QProcess *writer : {first, second}) {
        QVERIFY(writer->waitForFinished(120000));
        QCOMPARE(writer->exitStatus(), QProcess::NormalExit);
        QCOMPARE(writer->exitCode(), 0); // no "database is locked"
    }
    VerifyValues(QStringLiteral("a"), Count);
    VerifyValues(QStringLiteral("b"), Count);
}

void TestRegistryReliability::unsoundHiveFileIsLeftUntouched_data()
{
    QTest::addColumn<QByteArray>("contents");
    QByteArray garbage;
    for (int i = 0; i < 10000; ++i)
        garbage.append(char(i * 7919 % 251));
    QTest::newRow("garbage") << garbage;
    QTest::newRow("text") << QByteArray("HKEY_LOCAL_MACHINE\nThis is not a database.\n");
    QTest::newRow("truncated hive") << TruncatedHive();
    QTest::newRow("another program's database") << AnotherProgramsDatabase();
}

void TestRegistryReliability::unsoundHiveFileIsLeftUntouched()
{
    QFETCH(QByteArray, contents);
    const QString hiveFile = hiveFilePath(HKEY_LOCAL_MACHINE);
    WriteFile(hiveFile, contents);

    TRegistry registry;
    registry.setRootKey(HKEY_LOCAL_MACHINE);
    try {
        registry.writeInteger(QStringLiteral("SaveWindow"), 1);
        QFAIL("a write to an unsound hive succeeded");
    } catch (const ERegistryException &error) {
        QCOMPARE(error.message(), QStringLiteral("Failed to set data for 'SaveWindow'"));
        QVERIFY2(error.details().contains(hiveFile), qPrintable(error.details()));
    }
    RegistryBatch batch;
    batch.deleteKey(QStringLiteral("Software"));
    QVERIFY_THROWS_EXCEPTION(RegistryStoreError, registry.apply(batch));
    try {
        registry.openKey(Key, true);
    } catch (const RegistryStoreError &) {
        // Reading a damaged file may fail before the write is tried; either way nothing is written.
    }
    QCOMPARE(ReadFile(hiveFile), contents);
}

QTEST_GUILESS_MAIN(TestRegistryReliability)
#include "tst_registry_reliability.moc"
