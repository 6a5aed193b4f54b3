// The .reg text format: every data form and encoding it is read in, the errors it reports with their
// line, and the text it is written as.
#include "RegFile.h"

#include <QTest>

using namespace registry;

Q_DECLARE_METATYPE(RegFile)
Q_DECLARE_METATYPE(RegistryValue)

namespace {
RegFileValue Set(const QString &name, const RegistryValue &value)
{
    return {name, value};
}

QByteArray Utf16LeWithBom(const QString &text)
{
    QByteArray bytes("\xFF\xFE");
    for (const QChar c : text)
        bytes.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return bytes;
}
} // namespace

class TestRegFile : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryForm();
    void readsEachEncoding_data();
    void readsEachEncoding();
    void reportsErrorsWithTheirLine_data();
    void reportsErrorsWithTheirLine();
    void writesRegeditText();
};

void TestRegFile::readsEveryForm()
{
    const QByteArray text = "\r\nWindows Registry Editor Version 5.00\r\n"
                            "; a comment\r\n"
                            "\r\n"
                            "[HKEY_LOCAL_MACHINE\\Software\\Corvane]\r\n"
                            "@=\"default\"\r\n"
                            "\"ColorA=FFFFFF\"=\"\"\r\n"
                            "\"Path\"=\"C:\\\\Tintwell \\\"x\\\"\"\r\n"
                            "  \"Width\" = dword:00000020\r\n"
                            "\"Negative\"=dword:FFFFFFFF\r\n"
                            "\"Bin\"=hex:00,ff,\\\r\n"
                            "  10\r\n"
                            "\"Empty\"=hex:\r\n"
                            "\"Expand\"=hex(2):25,00,00,00\r\n"
                            "\"Q\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                            "\"Gone\"=-\r\n"
                            "[-HKEY_LOCAL_MACHINE\\Software\\Old]\r\n"
                            "[HKCU\\a]b]\r\n";
    const RegFile expected{
        {QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Corvane"),
         false,
         {Set({}, RegistryValue::fromString("default")), Set("ColorA=FFFFFF", RegistryValue::fromString({})),
          Set("Path", RegistryValue::fromString("C:\\Tintwell \"x\"")), Set("Width", RegistryValue::fromDword(32)),
          Set("Negative", RegistryValue::fromDword(0xFFFFFFFF)),
          Set("Bin", RegistryValue{REG_BINARY, QByteArray("\x00\xFF\x10", 3)}),
          Set("Empty", RegistryValue{REG_BINARY, {}}), Set("Expand", RegistryValue::fromString("%", REG_EXPAND_SZ)),
          Set("Q", RegistryValue::fromQword(1)), RegFileValue{QStringLiteral("Gone"), std::nullopt}}},
        {QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Old"), true, {}},
        {QStringLiteral("HKCU\\a]b"), false, {}},
    };
    QCOMPARE(parseRegFile(text), expected);
}

void TestRegFile::readsEachEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<RegistryValue>("value");
    const QString text =
        QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n[HKCU\\Grün]\r\n\"Größe\"=\"✓\"\r\n");
    const RegistryValue tick = RegistryValue::fromString(QStringLiteral("✓"));
    QTest::newRow("UTF-8") << text.toUtf8() << tick;
    QTest::newRow("UTF-8 with a byte-order mark") << QByteArray("\xEF\xBB\xBF") + text.toUtf8() << tick;
    QTest::newRow("UTF-16LE as regedit writes it") << Utf16LeWithBom(text) << tick;
    // REGEDIT4 files hold 8-bit text, so their expandable strings are 8-bit data.
    QTest::newRow("REGEDIT4") << QByteArray("REGEDIT4\n\n[HKCU\\Gr\xC3\xBCn]\n\"Gr\xC3\xB6\xC3\x9F"
                                            "e\"=hex(2):25,41,25,00\n")
                              << RegistryValue::fromString(QStringLiteral("%A%"), REG_EXPAND_SZ);
}

void TestRegFile::readsEachEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(RegistryValue, value);
    const RegFile file = parseRegFile(bytes);
    QCOMPARE(file, RegFile({{QStringLiteral("HKCU\\Grün"), false, {Set(QStringLiteral("Größe"), value)}}}));
}

void TestRegFile::reportsErrorsWithTheirLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    const QByteArray header = "Windows Registry Editor Version 5.00\n[HKCU\\A]\n";
    QTest::newRow("no header") << QByteArray("[HKCU\\A]\n")
                               << "line 1: expected \"Windows Registry Editor Version 5.00\" or \"REGEDIT4\"";
    QTest::newRow("value before a key") << QByteArray("REGEDIT4\n\"a\"=\"b\"\n")
                                        << "line 2: a value before the first key";
    QTest::newRow("unclosed key") << header + "[HKCU\\B\n"
                                  << "line 3: a key line must end with ]";
    QTest::newRow("unclosed quote") << header + "\"a=\"b\n"
                                    << "line 3: expected = after the value name";
    QTest::newRow("unclosed data") << header + "\"a\"=\"b\n"
                                   << "line 3: a quoted text without its closing quote";
    QTest::newRow("unknown escape") << header + "\"a\"=\"\\t\"\n"
                                    << "line 3: unknown escape \\t in a quoted text";
    QTest::newRow("dword of nine digits") << header + "\"a\"=dword:000000001\n"
                                          << "line 3: dword data must be 1 to 8 hexadecimal digits";
    QTest::newRow("bad byte") << header + "\"a\"=hex:01,100\n"
                              << "line 3: expected bytes as hexadecimal pairs separated by commas";
    QTest::newRow("bad type") << header + "\"a\"=hex(x):01\n"
                              << "line 3: expected hex: or hex(type):";
    QTest::newRow("continued past the end") << header + "\"a\"=hex:01,\\\n"
                                            << "line 3: the data goes on past the end of the file";
    QTest::newRow("value under a deleted key") << header + "[-HKCU\\B]\n\"a\"=-\n"
                                               << "line 4: a value under a key that is being deleted";
    QTest::newRow("NUL character") << header + QByteArray("\"a\0\"=-\n", 7) << "line 3: holds a NUL character";
    QTest::newRow("not UTF-8") << header + "\"\xFF\"=-\n"
                               << "not valid UTF-8 text";
    QTest::newRow("half a UTF-16 character")
        << QByteArray("\xFF\xFE\x41", 3) << "the UTF-16 text ends in half a character";
}

void TestRegFile::reportsErrorsWithTheirLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    try {
        parseRegFile(bytes);
        QFAIL("the file was read");
    } catch (const RegFileError &raised) {
        QCOMPARE(QString::fromUtf8(raised.what()), error);
    }
}

void TestRegFile::writesRegeditText()
{
    const RegFile file{
        {QStringLiteral("HKEY_LOCAL_MACHINE\\Software"),
         false,
         {Set({}, RegistryValue::fromString("d")), Set("Say \"hi\"\\\n", RegistryValue::fromString("a\\b\r")),
          Set("Width", RegistryValue::fromDword(32)), Set("Bin", RegistryValue{REG_BINARY, QByteArray(30, '\xAB')}),
          Set("Multi", RegistryValue::fromMultiString({"x"})),
          Set("Not plain", RegistryValue{REG_SZ, QByteArray("a", 1)}),
          RegFileValue{QStringLiteral("Gone"), std::nullopt}}},
        {QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Old"), true, {}},
    };
    QCOMPARE(QString::fromUtf8(formatRegFile(file)),
             QStringLiteral("Windows Registry Editor Version 5.00\n\n"
                            "[HKEY_LOCAL_MACHINE\\Software]\n"
                            "@=\"d\"\n"
                            "\"Say \\\"hi\\\"\\\\\\n\"=\"a\\\\b\\r\"\n"
                            "\"Width\"=dword:00000020\n"
                            "\"Bin\"=hex:ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,\\\n"
                            "  ab,ab,ab,ab,ab,ab,ab,ab\n"
                            "\"Multi\"=hex(7):78,00,00,00,00,00\n"
                            "\"Not plain\"=hex(1):61\n"
                            "\"Gone\"=-\n"
                            "\n"
                            "[-HKEY_LOCAL_MACHINE\\Software\\Old]\n"
                            "\n"));
}

QTEST_GUILESS_MAIN(TestRegFile)
#include "tst_regfile.moc"
