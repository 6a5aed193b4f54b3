#include "CVSysInfo.h"

#include "CVExceptions.h"
#include "Registry.h"

#include <QProcess>
#include <QStandardPaths>

using namespace registry;

namespace {
QString StoredSystemInfoPath()
{
    TRegistry registry(RegistryAccess::ReadWrite);
    registry.setRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.openKey(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), false)) return {};
    const QString name = QStringLiteral("Path");
    return registry.valueExists(name) ? registry.readString(name) : QString();
}

// The desktops' system information tools, the first found of which stands in for System Info.
constexpr const char *SystemInfoTools[] = {"hardinfo", "kinfocenter", "gnome-system-monitor", "xfce4-taskmanager"};

QString SystemInfoOnPath()
{
    for (const char *program : SystemInfoTools) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(program));
        if (!found.isEmpty()) return found;
    }
    return {};
}

void StartSystemInfo()
{
    QString path = StoredSystemInfoPath();
    if (path.isEmpty()) path = SystemInfoOnPath();
    if (path.isEmpty()) {
        QStringList tools;
        for (const char *program : SystemInfoTools)
            tools.append(QLatin1String(program));
        throw ECVException(QStringLiteral("No system information tool is installed: Tintwell looks for %1 and %2.")
                               .arg(tools.mid(0, tools.size() - 1).join(QStringLiteral(", ")), tools.last()),
                           {}, TCVMessageKind::Warning);
    }
    if (!QProcess::startDetached(path, {}))
        throw ECVException(QStringLiteral("An error was raised by the Operating System while running System Info."), {},
                           TCVMessageKind::Warning);
}
} // namespace

void RunSystemInfo()
{
    try {
        StartSystemInfo();
    } catch (const ECVException &error) {
        throw ECVException(QStringLiteral("Unable to run System Info at this time."), error.ErrorMessage,
                           TCVMessageKind::Warning);
    } catch (const ERegistryException &error) {
        throw ECVException(QStringLiteral("Unable to run System Info at this time."), error.message(),
                           TCVMessageKind::Warning);
    } catch (const std::exception &error) {
        throw ECVException(QStringLiteral("Unable to run System Info at this time."),
                           QString::fromStdString(error.what()), TCVMessageKind::Warning);
    }
}
