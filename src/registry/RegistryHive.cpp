#include "RegistryHive.h"

#include <QDir>
#include <QFile>

#include <array>

#include <pwd.h>
#include <unistd.h>

namespace registry {

namespace {
struct HiveNames
{
    HKEY hive;
    const char *name;
    const char *shortName;
};

constexpr std::array<HiveNames, 5> Hives{{
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT", "HKCR"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "HKCU"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "HKLM"},
    {HKEY_USERS, "HKEY_USERS", "HKU"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG", "HKCC"},
}};

// Only absolute paths count, as the XDG base directory rules say.
QString absoluteEnvPath(const char *variable)
{
    const QString path = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(path) ? path : QString();
}

// Without HOME, the user's home from the password database, as other desktop programs do.
QString homeFolder()
{
    if (const QString home = absoluteEnvPath("HOME"); !home.isEmpty()) return home;
    const passwd *user = ::getpwuid(::getuid());
    const QString home = user && user->pw_dir ? QFile::decodeName(user->pw_dir) : QString();
    return QDir::isAbsolutePath(home) ? home : QString();
}
} // namespace

QString hiveName(HKEY hive)
{
    for (const HiveNames &entry : Hives)
        if (entry.hive == hive) return QString::fromLatin1(entry.name);
    return QStringLiteral("HKEY_0x%1").arg(std::uint32_t(hive), 0, 16);
}

std::optional<HKEY> hiveFromName(const QString &name)
{
    for (const HiveNames &entry : Hives)
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String(entry.shortName), Qt::CaseInsensitive) == 0)
            return entry.hive;
    return std::nullopt;
}

QString registryDirectory()
{
    if (const QString dir = qEnvironmentVariable("TINTWELL_REGISTRY_DIR"); !dir.isEmpty()) return dir;
    QString config = absoluteEnvPath("XDG_CONFIG_HOME");
    if (config.isEmpty()) {
        const QString home = homeFolder();
        if (home.isEmpty()) return {};
        config = home + QStringLiteral("/.config");
    }
    return config + QStringLiteral("/corvane/registry");
}

QString hiveFilePath(HKEY hive)
{
    const QString folder = registryDirectory();
    const QString name = hiveName(hive) + QStringLiteral(".db");
    return folder.isEmpty() ? name : folder + QLatin1Char('/') + name;
}

} // namespace registry
