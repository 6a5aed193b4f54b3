// Version facts read back from real executables: both language editions, a program without a version
// block, and files that are truncated, garbage or not ELF at all.
#include "CVVerInf.h"
#include "VersionResource.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

class TestVerInf : public QObject
{
    Q_OBJECT

private slots:
    void editionsCarryTheirVersionBlock_data();
    void editionsCarryTheirVersionBlock();
    void programWithoutBlockGivesTheDefaults();
    void unreadableFilesGiveTheDefaults();
    void everyTruncationOfTheProgramGivesAnAnswer();
    void damagedBlockIsRejectedOrReadPartly();
    void missingCopyrightStringGivesEmptyText();

private:
    static QByteArray Contents(const QString &path);
    static qsizetype VersionSectionAt(const QByteArray &program);
    QString Write(const QByteArray &bytes);
    QTemporaryDir m_dir;
    int m_files = 0;
};

QByteArray TestVerInf::Contents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

// Where the version block starts in the file; the same strings may also stand in the program's own data.
qsizetype TestVerInf::VersionSectionAt(const QByteArray &program)
{
    const auto section = FindElfSection(
        std::span(reinterpret_cast<const std::uint8_t *>(program.constData()), std::size_t(program.size())),
        ".tintwell_version");
    return section ? reinterpret_cast<const char *>(section->data()) - program.constData() : -1;
}

QString TestVerInf::Write(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(QString::number(++m_files));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
    return path;
}

void TestVerInf::editionsCarryTheirVersionBlock_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("copyright");
    QTest::newRow("English") << ENGLISH_BUILD << true << "Copyright \u00A9 2024 Corvane. All rights reserved.";
    QTest::newRow("Portuguese") << PORTUGUESE_BUILD << false
                                << "Copyright \u00A9 2024 Corvane. Todos os direitos reservados.";
}

void TestVerInf::editionsCarryTheirVersionBlock()
{
    QFETCH(QString, path);
    QFETCH(bool, english);
    QFETCH(QString, copyright);
    QCOMPARE(GetVersionText(path), QStringLiteral("1.4.0 Build 26"));
    QCOMPARE(IsEnglishBuild(path), english);
    QCOMPARE(GetLegalCopyright(path), copyright);
}

void TestVerInf::programWithoutBlockGivesTheDefaults()
{
    QCOMPARE(GetVersionText("/bin/true"), QStringLiteral("0.0.0"));
    QVERIFY(IsEnglishBuild("/bin/true"));
    const QString notice = GetLegalCopyright("/bin/true");
    QVERIFY(notice.contains(QStringLiteral("Corvane")));
}

void TestVerInf::unreadableFilesGiveTheDefaults()
{
    const QString defaultNotice = GetLegalCopyright("/bin/true");
    for (const QString &path : {QStringLiteral("/no/such/file"), m_dir.path(), QStringLiteral("/dev/zero"), Write({}),
                                Write("\x7F"
                                      "ELF"),
                                Write(QByteArray(4096, '\xFF'))}) {
        QCOMPARE(GetVersionText(path), QStringLiteral("0.0.0"));
        QCOMPARE(GetLegalCopyright(path), defaultNotice);
        QVERIFY(IsEnglishBuild(path));
    }
}

void TestVerInf::everyTruncationOfTheProgramGivesAnAnswer()
{
    const QByteArray program = Contents(PORTUGUESE_BUILD);
    QVERIFY(!program.isEmpty());
    const auto bytes = [](const QByteArray &a) {
        return std::span(reinterpret_cast<const std::uint8_t *>(a.constData()), std::size_t(a.size()));
    };
    QVERIFY(VersionResourceOfImage(bytes(program)));
    // The section table sits at the end, so every shorter file loses it and reads as having no block.
    for (qsizetype length = 0; length < program.size(); length += 1 + length / 7)
        QVERIFY(!VersionResourceOfImage(bytes(program.left(length))));
    QCOMPARE(GetVersionText(Write(program.left(program.size() - 1))), QStringLiteral("0.0.0"));

    // Random damage anywhere must still give some answer.
    auto *random = QRandomGenerator::global();
    for (int round = 0; round < 200; ++round) {
        QByteArray damaged = program;
        // Damage past the ELF identity, so that the deeper checks are reached.
        for (int i = 0; i < 16; ++i)
            damaged[16 + random->bounded(int(damaged.size()) - 16)] = char(random->bounded(256));
        (void)VersionResourceOfImage(bytes(damaged));
    }
}

void TestVerInf::damagedBlockIsRejectedOrReadPartly()
{
    const QByteArray program = Contents(ENGLISH_BUILD);
    const auto bytes = [](const QByteArray &a) {
        return std::span(reinterpret_cast<const std::uint8_t *>(a.constData()), std::size_t(a.size()));
    };
    const auto section = FindElfSection(bytes(program), ".tintwell_version");
    QVERIFY(section);
    const qsizetype at = reinterpret_cast<const char *>(section->data()) - program.constData();

    QByteArray badSignature = program;
    badSignature[at + 4] = 0;
    QCOMPARE(GetVersionText(Write(badSignature)), QStringLiteral("0.0.0"));

    // A string table cut short keeps the version and the translation.
    QByteArray cut = program;
    cut.replace(at + qsizetype(section->size()) - 3, 3, QByteArray(3, 'x'));
    const QString path = Write(cut);
    QCOMPARE(GetVersionText(path), QStringLiteral("1.4.0 Build 26"));
    QVERIFY(IsEnglishBuild(path));
}

void TestVerInf::missingCopyrightStringGivesEmptyText()
{
    QByteArray program = Contents(ENGLISH_BUILD);
    const qsizetype at = VersionSectionAt(program);
    QVERIFY(at > 0);
    const qsizetype name = program.indexOf(QByteArray("LegalCopyright\0", 15), at);
    QVERIFY(name > 0);
    program.replace(name, 5, "Xegal");
    QCOMPARE(GetLegalCopyright(Write(program)), QString());

    // A translation naming a table that is not there gives empty text as well.
    program = Contents(ENGLISH_BUILD);
    program.replace(program.indexOf("040904E4", at), 8, "040904B0");
    QCOMPARE(GetLegalCopyright(Write(program)), QString());
}

QTEST_GUILESS_MAIN(TestVerInf)
#include "tst_verinf.moc"
