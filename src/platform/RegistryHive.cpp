#include "RegistryHive.h"

#include <QDir>

#include <array>

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
QString AbsoluteEnvPath(const char *variable)
{
    const QString path = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(path) ? path : QString();
}
} // namespace

QString HiveName(HKEY hive)
{
    for (const HiveNames &entry : Hives)
        if (entry.hive == hive) return QString::fromLatin1(entry.name);
    return QStringLiteral("HKEY_0x%1").arg(std::uint32_t(hive), 0, 16);
}

std::optional<HKEY> HiveFromName(const QString &name)
{
    for (const HiveNames &entry : Hives)
        if (name.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0 ||
            name.compare(QLatin1String(entry.shortName), Qt::CaseInsensitive) == 0)
            return entry.hive;
    return std::nullopt;
}

QString RegistryDirectory()
{
    if (const QString dir = qEnvironmentVariable("TINTWELL_REGISTRY_DIR"); !dir.isEmpty()) return dir;
    QString config = AbsoluteEnvPath("XDG_CONFIG_HOME");
    if (config.isEmpty()) config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/corvane/registry");
}

QString HiveFilePath(HKEY hive)
{
    return RegistryDirectory() + QLatin1Char('/') + HiveName(hive) + QStringLiteral(".db");
}
