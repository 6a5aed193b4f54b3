#include "SessionType.h"

#include "X11Connection.h"

#include <QDir>
#include <QGuiApplication>
#include <QString>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace {
bool WaylandAnswers()
{
    const QString name = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    const QString path = QDir::isAbsolutePath(name) ? name : qEnvironmentVariable("XDG_RUNTIME_DIR") + u'/' + name;
    const QByteArray file = path.toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (file.size() >= qsizetype(sizeof address.sun_path)) return false;
    std::memcpy(address.sun_path, file.constData(), size_t(file.size()));
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) return false;
    const bool answers = ::connect(socket, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(socket);
    return answers;
}

bool XAnswers()
{
    return qEnvironmentVariableIsSet("DISPLAY") && X11Connection().isOpen();
}
} // namespace

bool isWaylandSession()
{
    return qEnvironmentVariableIsSet("WAYLAND_DISPLAY") || qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland";
}

bool isWaylandPlatform()
{
    return QGuiApplication::platformName().startsWith(u"wayland");
}

bool isDesktop(const char *name)
{
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':').contains(QLatin1String(name), Qt::CaseInsensitive);
}

bool isDisplayReachable()
{
    // Qt tries each platform of the list in turn; without one, Wayland in a Wayland session, then X.
    const QString platforms = qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("wayland;xcb"));
    for (const QString &platform : platforms.split(u';')) {
        const QString name = platform.section(u':', 0, 0);
        if (name == u"xcb" ? XAnswers() : name.startsWith(u"wayland") ? isWaylandSession() && WaylandAnswers() : true)
            return true;
    }
    return false;
}
