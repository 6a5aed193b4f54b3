#include "CVSysInfo.h"

#include "CVExceptions.h"
#include "Registry.h"

#include <QProcess>
#include <QStandardPaths>

namespace {
QString StoredSystemInfoPath()
{
    TRegistry registry(RegistryAccess::ReadWrite);
    registry.setRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.openKey(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), false)) return {};
    const QString name = QStringLiteral("Path");
    return registry.valueExists(name) ? registry.readString(name) : QString();
}

QString SystemInfoOnPath()
{
    for (const char *program : {"hardinfo", "kinfocenter", "gnome-system-monitor", "xfce4-taskmanager"}) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(program));
        if (!found.isEmpty()) return found;
    }
    return {};
}

void StartSystemInfo()
{
    QString path = StoredSystemInfoPath();
    if (path.isEmpty()) path = SystemInfoOnPath();
    if (path.isEmpty())
        throw ECVException(
            QStringLiteral("The Operating System registry contains an empty path definition for System Info."), {}, 1);
    if (!QProcess::startDetached(path, {}))
        throw ECVException(QStringLiteral("An error was raised by the Operating System while running System Info."), {},
                           1);
}
} // namespace

void RunSystemInfo()
{
    try {
        StartSystemInfo();
    } catch (const ECVException &error) {
        throw ECVException(QStringLiteral("Unable to run System Info at this time."), error.ErrorMessage, 1);
    } catch (const ERegistryException &error) {
        throw ECVException(QStringLiteral("Unable to run System Info at this time."), error.message(), 1);
    } catch (const std::exception &error) {
        throw ECVException(QStringLiteral("Unable to run System Info at this time."),
                           QString::fromStdString(error.what()), 1);
    }
}
