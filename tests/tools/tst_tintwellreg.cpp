// tintwell-reg as a user runs it: reg.exe's query lines, add and delete, export and import through a
// .reg file, and one-line errors with exit code 1, also for a damaged hive, a bad import file, a target
// that is no regular file and a full disk, none of which changes anything it should not.
#include "Registry.h"
#include "RegistryTesting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <memory>

#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace registry;

Q_DECLARE_METATYPE(RegistryValue)

namespace {
const QString Key = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Corvane");

struct Run
{
    int exitCode;
    QString out;
    QString err;
};

Run RunTool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(TINTWELL_REG), arguments);
    tool.closeWriteChannel();
    if (!tool.waitForFinished(30000)) qFatal("tintwell-reg did not finish");
    return {tool.exitCode(), QString::fromUtf8(tool.readAllStandardOutput()),
            QString::fromUtf8(tool.readAllStandardError())};
}

// Runs a command that must succeed and gives its output.
QString Succeed(const QStringList &arguments)
{
    const Run run = RunTool(arguments);
    if (run.exitCode != 0) qFatal("tintwell-reg %s failed: %s", qPrintable(arguments.join(' ')), qPrintable(run.err));
    return run.out;
}

TRegistry Machine()
{
    TRegistry registry;
    registry.setRootKey(HKEY_LOCAL_MACHINE);
    return registry;
}

// Every key below path with its values, in a form that compares names, types and bytes.
QStringList Tree(TRegistry &registry, const QString &path)
{
    QStringList lines;
    registry.openKey(u'\\' + path, false);
    for (const QString &name : registry.valueNames()) {
        const RegistryValue value = *registry.readValue(name);
        lines << QStringLiteral("%1 | %2 | %3 | %4")
                     .arg(path, name)
                     .arg(value.type)
                     .arg(QString::fromLatin1(value.data.toHex()));
    }
    for (const QString &subkey : registry.keyNames())
        lines << Tree(registry, path + u'\\' + subkey);
    lines << path;
    return lines;
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// Fails with exit code 1 and an error that holds every one of the words.
void Refused(const QStringList &arguments, const QStringList &words)
{
    const Run run = RunTool(arguments);
    QCOMPARE(run.exitCode, 1);
    for (const QString &word : words)
        QVERIFY2(run.err.startsWith(QLatin1String("ERROR: ")) && run.err.contains(word), qPrintable(run.err));
}
} // namespace

class TestTintwellReg : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_registry = std::make_unique<TempRegistry>(); }
    void cleanup() { m_registry.reset(); }

    void queryPrintsOneLinePerValue_data();
    void queryPrintsOneLinePerValue();
    void queryListsSubkeysOrWalksThem();
    void exportImportedIntoAnEmptyHiveGivesTheSameValues();
    void importReadsRegeditFiles();
    void deleteRemovesAValueAllValuesOrTheKey();
    void failuresExitWithOneLine_data();
    void failuresExitWithOneLine();
    void unsoundHiveIsNamedAndLeftUntouched_data();
    void unsoundHiveIsNamedAndLeftUntouched();
    void exportNeverReplacesWhatIsNoRegularFile();
    void importOfABadFileWritesNothing_data();
    void importOfABadFileWritesNothing();
    void lostOutputIsAFailure();
    void aFullDiskLeavesEveryFileAsItWas();

private:
    std::unique_ptr<TempRegistry> m_registry;
};

void TestTintwellReg::queryPrintsOneLinePerValue_data()
{
    QTest::addColumn<QStringList>("add");
    QTest::addColumn<QString>("line");
    QTest::newRow("REG_SZ") << QStringList{"/v", "Location", "/d", "C:\\Tintwell dir"}
                            << "    Location    REG_SZ    C:\\Tintwell dir";
    QTest::newRow("default value") << QStringList{"/ve", "/d", "x"} << "    (Default)    REG_SZ    x";
    QTest::newRow("REG_DWORD decimal") << QStringList{"/v", "Width", "/t", "REG_DWORD", "/d", "255"}
                                       << "    Width    REG_DWORD    0xff";
    QTest::newRow("REG_DWORD hexadecimal")
        << QStringList{"/v", "W", "/t", "reg_dword", "/d", "0x00000020"} << "    W    REG_DWORD    0x20";
    QTest::newRow("REG_DWORD negative") << QStringList{"/v", "N", "/t", "REG_DWORD", "/d", "-1"}
                                        << "    N    REG_DWORD    0xffffffff";
    QTest::newRow("REG_DWORD zero") << QStringList{"/v", "Z", "/t", "REG_DWORD"} << "    Z    REG_DWORD    0x0";
    QTest::newRow("REG_BINARY") << QStringList{"/v", "B", "/t", "REG_BINARY", "/d", "00ff10"}
                                << "    B    REG_BINARY    00FF10";
    QTest::newRow("REG_QWORD") << QStringList{"/v", "Q", "/t", "REG_QWORD", "/d", "0x123456789A"}
                               << "    Q    REG_QWORD    0x123456789a";
    QTest::newRow("REG_MULTI_SZ") << QStringList{"/v", "M", "/t", "REG_MULTI_SZ", "/d", "a\\0b c"}
                                  << "    M    REG_MULTI_SZ    a\\0b c";
    QTest::newRow("REG_EXPAND_SZ") << QStringList{"/v", "E", "/t", "REG_EXPAND_SZ", "/d", "%HOME%"}
                                   << "    E    REG_EXPAND_SZ    %HOME%";
    QTest::newRow("REG_NONE") << QStringList{"/v", "None", "/t", "REG_NONE"} << "    None    REG_NONE    ";
    QTest::newRow("equals in the name") << QStringList{"/v", "ColorA=FFFFFF"} << "    ColorA=FFFFFF    REG_SZ    ";
}

void TestTintwellReg::queryPrintsOneLinePerValue()
{
    QFETCH(QStringList, add);
    QFETCH(QString, line);
    QCOMPARE(Succeed(QStringList{"add", "HKLM\\Software\\Corvane"} + add + QStringList{"/f"}),
             QStringLiteral("The operation completed successfully.\n"));
    const QString name = add[0] == QLatin1String("/ve") ? QString() : add[1];
    const QStringList select = name.isEmpty() ? QStringList{"/ve"} : QStringList{"/v", name};
    QCOMPARE(Succeed(QStringList{"query", "hklm\\Software\\Corvane\\"} + select),
             QStringLiteral("\nHKEY_LOCAL_MACHINE\\Software\\Corvane\n%1\n\n").arg(line));
}

void TestTintwellReg::queryListsSubkeysOrWalksThem()
{
    TRegistry registry = Machine();
    registry.openKey(QStringLiteral("Software\\Corvane"), true);
    registry.writeInteger(QStringLiteral("B"), 2);
    registry.writeInteger(QStringLiteral("A"), 1);
    registry.openKey(QStringLiteral("Zeta"), true);
    registry.writeString(QStringLiteral("Z"), QStringLiteral("z"));
    registry.openKey(QStringLiteral("\\Software\\Corvane\\alpha\\Deep"), true);

    QCOMPARE(Succeed({"query", Key}), QStringLiteral("\n%1\n"
                                                     "    B    REG_DWORD    0x2\n"
                                                     "    A    REG_DWORD    0x1\n"
                                                     "\n"
                                                     "%1\\alpha\n"
                                                     "%1\\Zeta\n")
                                          .arg(Key));
    QCOMPARE(Succeed({"query", Key, "/s"}), QStringLiteral("\n%1\n"
                                                           "    B    REG_DWORD    0x2\n"
                                                           "    A    REG_DWORD    0x1\n"
                                                           "\n"
                                                           "%1\\alpha\n"
                                                           "\n"
                                                           "%1\\alpha\\Deep\n"
                                                           "\n"
                                                           "%1\\Zeta\n"
                                                           "    Z    REG_SZ    z\n"
                                                           "\n")
                                                .arg(Key));
}

void TestTintwellReg::exportImportedIntoAnEmptyHiveGivesTheSameValues()
{
    TRegistry registry = Machine();
    registry.openKey(QStringLiteral("Software\\Corvane\\Tintwell\\Storage\\CustomColors"), true);
    for (const char *name : {"ColorA=FFFFFF", "ColorB=0000FF", ""})
        registry.writeString(QString::fromUtf8(name), {});
    registry.openKey(QStringLiteral("\\Software\\Corvane\\Tintwell"), true);
    registry.writeString(QStringLiteral("Location"), QStringLiteral("/opt/Tintwell \"x\"\\bin\nsecond line"));
    registry.writeInteger(QStringLiteral("Negative"), -2);
    registry.writeValue(QStringLiteral("Größe ✓"), RegistryValue{REG_BINARY, QByteArray(100, '\x80')});
    registry.writeValue(QStringLiteral("Big"), RegistryValue::fromDwordBigEndian(7));
    registry.writeValue(QStringLiteral("Q"), RegistryValue::fromQword(1));
    registry.writeValue(QStringLiteral("Multi"), RegistryValue::fromMultiString({"a", "b"}));
    registry.writeValue(QStringLiteral("Expand"), RegistryValue::fromString(QStringLiteral("%HOME%"), REG_EXPAND_SZ));
    registry.writeValue(QStringLiteral("None"), RegistryValue{REG_NONE, {}});
    registry.writeValue(QStringLiteral("Odd SZ"), RegistryValue{REG_SZ, QByteArray("abc", 3)});
    registry.openKey(QStringLiteral("Options"), true);
    registry.writeInteger(QStringLiteral("CaptureDelay"), 500);
    const QStringList exported = Tree(registry, QStringLiteral("Software\\Corvane"));

    const QString file = m_registry->path() + QStringLiteral("/backup.reg");
    Succeed({"export", Key, file});
    TempRegistry emptyHive;
    Succeed({"import", file});
    TRegistry imported = Machine();
    QCOMPARE(Tree(imported, QStringLiteral("Software\\Corvane")), exported);

    const QString again = emptyHive.path() + QStringLiteral("/again.reg");
    Succeed({"export", Key, again});
    QFile first(file), second(again);
    QVERIFY(first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly));
    const QByteArray text = first.readAll();
    QCOMPARE(second.readAll(), text);
    QVERIFY(text.startsWith("Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Corvane]\n"));
    QVERIFY(text.contains("\"Negative\"=dword:fffffffe\n"));
}

void TestTintwellReg::importReadsRegeditFiles()
{
    // As regedit writes it: UTF-16LE with a byte-order mark and CR LF line ends.
    const QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                        "[HKEY_CURRENT_USER\\Software\\Ünï]\r\n"
                                        "\"SaveWindow\"=dword:00000002\r\n"
                                        "\"Old\"=-\r\n\r\n"
                                        "[-HKEY_CURRENT_USER\\Software\\Gone]\r\n");
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : text)
        bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    const QString file = m_registry->path() + QStringLiteral("/regedit.reg");
    QFile output(file);
    QVERIFY(output.open(QIODevice::WriteOnly) && output.write(bytes) == bytes.size());
    output.close();
    Succeed({"add", "HKCU\\Software\\Ünï", "/v", "Old", "/f"});
    Succeed({"add", "HKCU\\Software\\Gone\\Deep"});

    Succeed({"import", file});
    QCOMPARE(Succeed({"query", "HKCU\\Software", "/s"}),
             QStringLiteral("\nHKEY_CURRENT_USER\\Software\n\n"
                            "HKEY_CURRENT_USER\\Software\\Ünï\n    SaveWindow    REG_DWORD    0x2\n\n"));
}

void TestTintwellReg::deleteRemovesAValueAllValuesOrTheKey()
{
    for (const char *name : {"A", "B"})
        Succeed({"add", Key + "\\Sub", "/v", name, "/f"});
    Succeed({"add", Key, "/ve", "/d", "default"});
    Succeed({"add", Key, "/v", "Kept"});

    Succeed({"delete", Key, "/ve", "/f"});
    QCOMPARE(Succeed({"query", Key}), QStringLiteral("\n%1\n    Kept    REG_SZ    \n\n%1\\Sub\n").arg(Key));
    Succeed({"delete", Key + "\\Sub", "/va", "/f"});
    QCOMPARE(Succeed({"query", Key + "\\Sub"}), QStringLiteral("\n%1\\Sub\n\n").arg(Key));
    Succeed({"delete", Key + "\\SUB", "/f"});
    QCOMPARE(Succeed({"query", Key, "/s"}), QStringLiteral("\n%1\n    Kept    REG_SZ    \n\n").arg(Key));
    Succeed({"delete", Key, "/v", "kept", "/f"});
    QCOMPARE(Succeed({"query", Key}), QStringLiteral("\n%1\n\n").arg(Key));
}

void TestTintwellReg::failuresExitWithOneLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    const QString notFound =
        QStringLiteral("ERROR: The system was unable to find the specified registry key or value.");
    QTest::newRow("missing key") << QStringList{"query", "HKLM\\Software\\Missing"} << notFound;
    QTest::newRow("unknown hive")
        << QStringList{"query", "HKXX\\Software"}
        << "ERROR: Invalid key name: HKXX\\Software (it must start with HKLM, HKCU, HKCR, HKU or HKCC)";
    QTest::newRow("unknown option") << QStringList{"query", "HKLM", "/x"}
                                    << "ERROR: Invalid syntax: unknown option /x.";
    QTest::newRow("unknown type") << QStringList{"add", "HKLM\\S", "/v", "a", "/t", "REG_FLOAT"}
                                  << "ERROR: Invalid type: REG_FLOAT";
    QTest::newRow("DWORD too large") << QStringList{"add", "HKLM\\S", "/v", "a", "/t", "REG_DWORD", "/d", "4294967296"}
                                     << "ERROR: Invalid REG_DWORD data: 4294967296";
    QTest::newRow("overwrite without /f")
        << QStringList{"add", "HKLM\\Software", "/v", "Present"}
        << "ERROR: Value Present exists, overwrite(Yes/No)? Not asked without a terminal; add /f.";
    QTest::newRow("delete without /f")
        << QStringList{"delete", "HKLM\\Software"}
        << "ERROR: Delete the registry key HKEY_LOCAL_MACHINE\\Software (Yes/No)? Not asked without a "
           "terminal; add /f.";
    QTest::newRow("missing file") << QStringList{"import", "/nonexistent/x.reg"}
                                  << "ERROR: Cannot read /nonexistent/x.reg: No such file or directory";
}

void TestTintwellReg::failuresExitWithOneLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    Succeed({"add", "HKLM\\Software", "/v", "Present", "/f"});
    const Run run = RunTool(arguments);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.err, error + u'\n');
}

void TestTintwellReg::unsoundHiveIsNamedAndLeftUntouched_data()
{
    QTest::addColumn<QByteArray>("contents"); // or, between angle brackets, what stands there instead of a file
    QTest::addColumn<QString>("named");
    QTest::newRow("text") << QByteArray("not a registry hive, just text\n") << "not a database";
    QTest::newRow("empty file") << QByteArray() << "empty file";
    QTest::newRow("a folder") << QByteArray("<folder>") << "a folder, not";
    QTest::newRow("a FIFO") << QByteArray("<fifo>") << "a FIFO, not";
    QTest::newRow("a link to nothing") << QByteArray("<link>") << "a link to nothing";
    // A real hive of several pages, cut in half.
    for (int i = 0; i < 60; ++i)
        Succeed({"add", "HKCU\\Filler", "/v", QString::number(i), "/d", QString(200, u'x'), "/f"});
    const QByteArray hive = ReadFile(hiveFilePath(HKEY_CURRENT_USER));
    QTest::newRow("cut short") << hive.left(hive.size() / 2) << "";
}

void TestTintwellReg::unsoundHiveIsNamedAndLeftUntouched()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, named);
    const QString hive = hiveFilePath(HKEY_CURRENT_USER);
    const QByteArray hiveName = QFile::encodeName(hive);
    QFile::remove(hive);
    if (contents == "<folder>")
        QVERIFY(QDir().mkpath(hive));
    else if (contents == "<fifo>")
        QCOMPARE(mkfifo(hiveName.constData(), 0600), 0);
    else if (contents == "<link>")
        QVERIFY(QFile::link(hive + QStringLiteral(".gone"), hive));
    else
        WriteFile(hive, contents);
    struct stat before = {};
    QCOMPARE(lstat(hiveName.constData(), &before), 0);
    Refused({"query", "HKCU\\Filler"}, {hive, named});
    Refused({"add", "HKCU\\S", "/v", "a", "/f"}, {hive, named});
    Refused({"delete", "HKCU\\Filler", "/f"}, {hive, named});
    struct stat after = {};
    QCOMPARE(lstat(hiveName.constData(), &after), 0);
    QCOMPARE(after.st_mode, before.st_mode);
    if (!contents.startsWith('<')) QCOMPARE(ReadFile(hive), contents);
}

void TestTintwellReg::exportNeverReplacesWhatIsNoRegularFile()
{
    Succeed({"add", Key, "/v", "A", "/f"});
    // A device node as root can make one, a named pipe otherwise.
    const QString node = m_registry->path() + QStringLiteral("/node");
    const QByteArray name = QFile::encodeName(node);
    QCOMPARE(geteuid() == 0 ? mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) : mkfifo(name.constData(), 0666),
             0);
    Refused({"export", Key, node, "/y"}, {node, "not a regular file"});
    struct stat after = {};
    QCOMPARE(stat(name.constData(), &after), 0);
    QVERIFY(S_ISCHR(after.st_mode) || S_ISFIFO(after.st_mode));
    QCOMPARE(QDir(m_registry->path()).entryList({".node*"}, QDir::Files | QDir::Hidden), QStringList());
    // Two links that lead to each other: both stay links.
    const QString loop = m_registry->path() + QStringLiteral("/loop");
    QVERIFY(QFile::link(loop + u'2', loop) && QFile::link(loop, loop + u'2'));
    Refused({"export", Key, loop, "/y"}, {loop, "symbolic links"});
    QVERIFY(QFileInfo(loop).isSymLink() && QFileInfo(loop + u'2').isSymLink());
}

void TestTintwellReg::importOfABadFileWritesNothing_data()
{
    QTest::addColumn<QByteArray>("contents"); // empty: the path is /dev/zero
    QTest::addColumn<QStringList>("words");
    const QByteArray good =
        "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Good]\n\"A\"=\"1\"\n\n";
    QTest::newRow("an empty key name") << good + "[HKEY_LOCAL_MACHINE\\Software\\\\Empty name]\n\"B\"=\"2\"\n"
                                       << QStringList{"empty key name", "nothing was imported"};
    QTest::newRow("cut inside a number") << good + "[HKEY_LOCAL_MACHINE\\Software\\Cut]\n\"D\"=dword:000"
                                         << QStringList{"line 7", "cut short"};
    QTest::newRow("cut inside wrapped data") << good + "[HKEY_LOCAL_MACHINE\\Software\\Cut]\n\"B\"=hex:01,02,\\\n  03,0"
                                             << QStringList{"line 8", "cut short"};
    QTest::newRow("a device without end") << QByteArray() << QStringList{"/dev/zero", "not a regular file"};
    QTest::newRow("a FIFO without a writer") << QByteArray("<fifo>") << QStringList{"not a regular file"};
}

void TestTintwellReg::importOfABadFileWritesNothing()
{
    QFETCH(QByteArray, contents);
    QFETCH(QStringList, words);
    QString file = QStringLiteral("/dev/zero");
    if (contents == "<fifo>") {
        file = m_registry->path() + QStringLiteral("/fifo.reg");
        QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    } else if (!contents.isEmpty()) {
        file = m_registry->path() + QStringLiteral("/bad.reg");
        WriteFile(file, contents);
    }
    Refused({"import", file}, QStringList{file} + words);
    QVERIFY(!QFile::exists(hiveFilePath(HKEY_CURRENT_USER)));
    QVERIFY(!QFile::exists(hiveFilePath(HKEY_LOCAL_MACHINE)));
}

// Output that is lost, to a full disk or a closed standard output, is a failure: the status of add and export
// too.
void TestTintwellReg::lostOutputIsAFailure()
{
    const QString exported = m_registry->path() + QStringLiteral("/out.reg");
    Succeed({"add", "HKLM\\Software", "/f"});
    for (const QString &redirect : {QStringLiteral(">/dev/full"), QStringLiteral(">&-")}) {
        for (const QString &command :
             {QStringLiteral("query 'HKLM\\Software'"), QStringLiteral("add 'HKLM\\Software' /v A /f"),
              QStringLiteral("export 'HKLM\\Software' '%1' /y").arg(exported)}) {
            QProcess shell;
            shell.start(QStringLiteral("sh"),
                        {QStringLiteral("-c"),
                         QStringLiteral("'%1' %2 %3").arg(QStringLiteral(TINTWELL_REG), command, redirect)});
            QVERIFY(shell.waitForFinished(30000));
            QCOMPARE(shell.exitCode(), 1);
            QVERIFY2(shell.readAllStandardError().startsWith("ERROR: Cannot write the output"), qPrintable(command));
        }
    }
}

void TestTintwellReg::aFullDiskLeavesEveryFileAsItWas()
{
    SmallDisk disk;
    if (!disk.isMounted()) QSKIP("only root can mount the small disk");
    const QString folder = disk.path() + QStringLiteral("/registry");
    qputenv("TINTWELL_REGISTRY_DIR", folder.toLocal8Bit());
    const auto files = [&](const QString &path) { return QDir(path).entryList(QDir::Files | QDir::Hidden); };

    // A new hive that does not fit is never linked into place, nor left behind half-written.
    disk.fill(16 * 1024);
    Refused({"add", Key, "/v", "A", "/f"}, {hiveFilePath(HKEY_LOCAL_MACHINE), "full"});
    QCOMPARE(files(folder), QStringList());
    disk.clear();
    Succeed({"add", Key, "/v", "Big", "/t", "REG_BINARY", "/d", QString(20000, u'a'), "/f"});

    // An export that does not fit leaves the old file as it was, and no draft beside it.
    const QString backup = disk.path() + QStringLiteral("/backup.reg");
    WriteFile(backup, "the old backup\n");
    Succeed({"add", "HKCU\\Software\\Tiny", "/v", "A", "/f"});
    disk.fill(8 * 1024);
    Refused({"export", Key, backup, "/y"}, {backup, "No space left on device"});
    // One small enough to fail only when it is flushed.
    disk.fill();
    Refused({"export", "HKCU\\Software\\Tiny", backup, "/y"}, {backup, "No space left on device"});
    QCOMPARE(ReadFile(backup), QByteArray("the old backup\n"));
    QCOMPARE(files(disk.path()), QStringList({"backup.reg", "filler"}));
    disk.clear();

    // An import whose second hive does not fit names the first, which it wrote in full.
    const QString file = m_registry->path() + QStringLiteral("/two hives.reg");
    WriteFile(file, "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software\\Small]\n\"A\"=\"1\"\n\n"
                    "[HKEY_LOCAL_MACHINE\\Software\\Large]\n\"B\"=hex:" +
                        QByteArray(300 * 1024, '\0').toHex(',') + "\n");
    Refused({"import", file}, {"full", "already imported in full: HKEY_CURRENT_USER"});
    QCOMPARE(Succeed({"query", "HKCU\\Software\\Small", "/v", "A"}),
             "\nHKEY_CURRENT_USER\\Software\\Small\n    A    REG_SZ    1\n\n");
    QCOMPARE(RunTool({"query", "HKLM\\Software\\Large"}).exitCode, 1);
}

QTEST_GUILESS_MAIN(TestTintwellReg)
#include "tst_tintwellreg.moc"
