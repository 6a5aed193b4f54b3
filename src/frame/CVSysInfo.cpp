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
            QStringLiteral("The Operating System registry contains an empty path definition for System Info."), {},
            TCVMessageKind::Warning);
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
