#include "RegCommands.h"

#include "RegFile.h"
#include "Registry.h"
#include "ValueText.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace registry;

namespace {
const QString NotFound = QStringLiteral("The system was unable to find the specified registry key or value.");
const QString Done = QStringLiteral("The operation completed successfully.");

[[noreturn]] void Fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

struct KeyName
{
    HKEY hive;
    QString path;     // below the hive's root, without separators at either end
    QString fullName; // the hive's long name, then the path
};

KeyName parseKeyName(const QString &text)
{
    const qsizetype separator = text.indexOf(u'\\');
    const auto hive = hiveFromName(text.left(separator));
    if (!hive)
        Fail(QStringLiteral("Invalid key name: %1 (it must start with HKLM, HKCU, HKCR, HKU or HKCC)").arg(text));
    QString path = separator < 0 ? QString() : text.mid(separator + 1);
    while (path.endsWith(u'\\'))
        path.chop(1);
    return {*hive, path, path.isEmpty() ? hiveName(*hive) : hiveName(*hive) + u'\\' + path};
}

TRegistry openRegistry(const KeyName &key, RegistryAccess access)
{
    TRegistry registry(access);
    registry.setRootKey(key.hive);
    if (!registry.openKey(key.path, false)) Fail(NotFound);
    return registry;
}

// Asks on the terminal; without one, the user must have said /f (or /y) beforehand.
void confirm(const QString &question, const char *forceOption)
{
    if (!isatty(STDIN_FILENO))
        Fail(QStringLiteral("%1 Not asked without a terminal; add %2.").arg(question, QLatin1String(forceOption)));
    QTextStream(stdout) << question << ' ' << Qt::flush;
    const QString answer = QTextStream(stdin).readLine().trimmed();
    if (!answer.startsWith(u'y', Qt::CaseInsensitive)) Fail(QStringLiteral("The operation was cancelled."));
}

QString valueLine(const QString &name, const RegistryValue &value)
{
    return QStringLiteral("    %1    %2    %3\n")
        .arg(name.isEmpty() ? QStringLiteral("(Default)") : name, valueTypeText(value.type), valueDataText(value));
}

void queryKey(TRegistry &registry, const QString &fullName, bool recurse, QTextStream &out)
{
    out << fullName << '\n';
    for (const QString &name : registry.valueNames())
        if (const auto value = registry.readValue(name)) out << valueLine(name, *value);
    out << '\n';
    const QString path = registry.currentPath();
    for (const QString &subkey : registry.keyNames()) {
        if (!recurse) {
            out << fullName << '\\' << subkey << '\n';
        } else if (registry.openKey(subkey, false)) {
            queryKey(registry, fullName + u'\\' + subkey, true, out);
            registry.openKey(u'\\' + path, false);
        }
    }
}

void runQuery(const RegArguments &arguments, QTextStream &out)
{
    const KeyName key = parseKeyName(arguments.key);
    TRegistry registry = openRegistry(key, RegistryAccess::ReadOnly);
    out << '\n';
    if (!arguments.valueName) return queryKey(registry, key.fullName, arguments.recurse, out);
    const auto value = registry.readValue(*arguments.valueName);
    if (!value) Fail(NotFound);
    out << key.fullName << '\n' << valueLine(*arguments.valueName, *value) << '\n';
}

std::uint32_t typeOf(const RegArguments &arguments)
{
    const QString name = arguments.type.value_or(QStringLiteral("REG_SZ"));
    const auto type = regTypeFromName(name);
    if (!type) Fail(QStringLiteral("Invalid type: %1").arg(name));
    return *type;
}

void runAdd(const RegArguments &arguments, QTextStream &out)
{
    const KeyName key = parseKeyName(arguments.key);
    RegistryValue value;
    try {
        value = valueFromText(typeOf(arguments), arguments.data.value_or(QString()));
    } catch (const std::invalid_argument &error) {
        Fail(QString::fromUtf8(error.what()));
    }
    TRegistry registry;
    registry.setRootKey(key.hive);
    registry.createKey(key.path);
    if (arguments.valueName) {
        registry.openKey(key.path, false);
        if (!arguments.force && registry.valueExists(*arguments.valueName))
            confirm(QStringLiteral("Value %1 exists, overwrite(Yes/No)?").arg(*arguments.valueName), "/f");
        registry.writeValue(*arguments.valueName, value);
    }
    out << Done << '\n';
}

void runDelete(const RegArguments &arguments, QTextStream &out)
{
    const KeyName key = parseKeyName(arguments.key);
    TRegistry registry = openRegistry(key, RegistryAccess::ReadWrite);
    if (arguments.valueName) {
        if (!registry.valueExists(*arguments.valueName)) Fail(NotFound);
        if (!arguments.force)
            confirm(QStringLiteral("Delete the registry value %1 (Yes/No)?").arg(*arguments.valueName), "/f");
        registry.deleteValue(*arguments.valueName);
    } else if (arguments.allValues) {
        if (!arguments.force)
            confirm(QStringLiteral("Delete all values under the registry key %1 (Yes/No)?").arg(key.fullName), "/f");
        RegistryBatch batch;
        for (const QString &name : registry.valueNames())
            batch.deleteValue(key.path, name);
        registry.apply(batch);
    } else {
        if (key.path.isEmpty()) Fail(QStringLiteral("The root of a hive cannot be deleted."));
        if (!arguments.force) confirm(QStringLiteral("Delete the registry key %1 (Yes/No)?").arg(key.fullName), "/f");
        registry.closeKey();
        registry.deleteKey(key.path);
    }
    out << Done << '\n';
}

void exportKey(TRegistry &registry, const QString &fullName, RegFile &file)
{
    RegFileKey exported{fullName, false, {}};
    for (const QString &name : registry.valueNames())
        if (auto value = registry.readValue(name)) exported.values.append({name, std::move(value)});
    file.append(exported);
    const QString path = registry.currentPath();
    for (const QString &subkey : registry.keyNames()) {
        if (!registry.openKey(subkey, false)) continue; // deleted meanwhile by another program
        exportKey(registry, fullName + u'\\' + subkey, file);
        registry.openKey(u'\\' + path, false);
    }
}

void runExport(const RegArguments &arguments, QTextStream &out)
{
    const KeyName key = parseKeyName(arguments.key);
    TRegistry registry = openRegistry(key, RegistryAccess::ReadOnly);
    RegFile file;
    exportKey(registry, key.fullName, file);
    if (!arguments.force && QFile::exists(arguments.file))
        confirm(QStringLiteral("File %1 already exists. Overwrite (Yes/No)?").arg(arguments.file), "/y");
    if (const QString failure = files::WriteWhole(arguments.file, formatRegFile(file)); !failure.isEmpty())
        Fail(QStringLiteral("Cannot write %1: %2").arg(arguments.file, failure));
    out << Done << '\n';
}

// Each hive takes all of the file's changes to it in one transaction, and nothing is written unless every
// key path and value name of the whole file is one a hive can hold. Transactions of several hives cannot
// be made one: when a later hive fails, the message names those already written.
// The bytes of a file to import: a regular file no larger than an export of any store could be.
QByteArray readImportFile(const QString &path)
{
    constexpr qint64 Largest = 256 * 1024 * 1024;
    // Opened without waiting, as a FIFO's open would wait for a writer, and checked before anything is read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) Fail(QStringLiteral("Cannot read %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    QFile input;
    input.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat file = {};
    if (::fstat(fd, &file) != 0 || !S_ISREG(file.st_mode))
        Fail(QStringLiteral("Cannot import %1: not a regular file").arg(path));
    const QByteArray bytes = input.read(Largest + 1);
    if (bytes.size() > Largest)
        Fail(QStringLiteral("Cannot import %1: larger than %2 MiB, which no export of a store comes near")
                 .arg(path)
                 .arg(Largest / (1024 * 1024)));
    if (input.error() != QFileDevice::NoError)
        Fail(QStringLiteral("Cannot read %1: %2").arg(path, input.errorString()));
    return bytes;
}

void runImport(const RegArguments &arguments, QTextStream &out)
{
    const QByteArray bytes = readImportFile(arguments.file);
    RegFile file;
    try {
        file = parseRegFile(bytes);
    } catch (const RegFileError &error) {
        Fail(QStringLiteral("%1: %2").arg(arguments.file, QString::fromUtf8(error.what())));
    }
    QMap<HKEY, RegistryBatch> batches;
    for (const RegFileKey &fileKey : file) {
        const KeyName key = parseKeyName(fileKey.path);
        RegistryBatch &batch = batches[key.hive];
        if (fileKey.remove) {
            batch.deleteKey(key.path);
            continue;
        }
        batch.createKey(key.path);
        for (const RegFileValue &value : fileKey.values) {
            if (value.value) {
                batch.setValue(key.path, value.name, *value.value);
            } else {
                batch.deleteValue(key.path, value.name);
            }
        }
    }
    for (const RegistryBatch &batch : std::as_const(batches))
        if (const QString problem = batch.problem(); !problem.isEmpty())
            Fail(QStringLiteral("%1: %2; nothing was imported").arg(arguments.file, problem));
    QStringList written;
    for (auto batch = batches.cbegin(); batch != batches.cend(); ++batch) {
        try {
            openRegistryStore(batch.key(), RegistryAccess::ReadWrite)->apply(batch.value());
        } catch (const RegistryStoreError &error) {
            if (written.isEmpty()) throw;
            Fail(QStringLiteral("%1; already imported in full: %2").arg(error.message(), written.join(", ")));
        }
        written.append(hiveName(batch.key()));
    }
    out << Done << '\n';
}

QString takeOperand(const QStringList &arguments, qsizetype &index, const QString &option)
{
    if (++index >= arguments.size()) Fail(QStringLiteral("Invalid syntax: %1 needs a value.").arg(option));
    return arguments[index];
}
} // namespace

QString regUsage()
{
    return QStringLiteral("Usage:\n"
                          "  tintwell-reg query KEY [/v NAME | /ve] [/s]\n"
                          "  tintwell-reg add KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]\n"
                          "  tintwell-reg delete KEY [/v NAME | /ve | /va] [/f]\n"
                          "  tintwell-reg export KEY FILE [/y]\n"
                          "  tintwell-reg import FILE\n"
                          "KEY starts with HKLM, HKCU, HKCR, HKU or HKCC (or the long names, HKEY_LOCAL_MACHINE ...).\n"
                          "TYPE is REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_DWORD_BIG_ENDIAN, REG_QWORD,\n"
                          "REG_BINARY or REG_NONE. The store lives in $TINTWELL_REGISTRY_DIR when it is set.\n");
}

RegArguments parseRegArguments(const QStringList &arguments)
{
    RegArguments parsed;
    QStringList operands;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        // Options are short; anything longer with a leading slash is an absolute path.
        const bool isOption = argument.size() > 1 && argument.size() <= 3 &&
                              (argument.startsWith(u'/') || argument.startsWith(u'-')) &&
                              !argument.mid(1).contains(u'/');
        const QString option = isOption ? argument.mid(1).toLower() : QString();
        if (!isOption) {
            operands.append(argument);
        } else if (option == QLatin1String("v")) {
            parsed.valueName = takeOperand(arguments, i, argument);
        } else if (option == QLatin1String("ve")) {
            parsed.valueName = QString();
        } else if (option == QLatin1String("va")) {
            parsed.allValues = true;
        } else if (option == QLatin1String("t")) {
            parsed.type = takeOperand(arguments, i, argument);
        } else if (option == QLatin1String("d")) {
            parsed.data = takeOperand(arguments, i, argument);
        } else if (option == QLatin1String("s")) {
            parsed.recurse = true;
        } else if (option == QLatin1String("f") || option == QLatin1String("y")) {
            parsed.force = true;
        } else {
            Fail(QStringLiteral("Invalid syntax: unknown option %1.").arg(argument));
        }
    }
    if (operands.isEmpty()) Fail(QStringLiteral("Invalid syntax: no command given; try /?."));
    parsed.command = operands.takeFirst().toLower();
    const qsizetype wanted = parsed.command == QLatin1String("export") ? 2 : 1;
    if (operands.size() != wanted) Fail(QStringLiteral("Invalid syntax for %1; try /?.").arg(parsed.command));
    if (parsed.command == QLatin1String("import")) {
        parsed.file = operands[0];
    } else {
        parsed.key = operands[0];
        if (wanted == 2) parsed.file = operands[1];
    }
    return parsed;
}

void runRegCommand(const RegArguments &arguments, QTextStream &out)
{
    const QMap<QString, void (*)(const RegArguments &, QTextStream &)> commands{
        {QStringLiteral("query"), runQuery},   {QStringLiteral("add"), runAdd},
        {QStringLiteral("delete"), runDelete}, {QStringLiteral("export"), runExport},
        {QStringLiteral("import"), runImport},
    };
    const auto command = commands.value(arguments.command);
    if (!command) Fail(QStringLiteral("Invalid syntax: unknown command %1; try /?.").arg(arguments.command));
    command(arguments, out);
}
