#include "CVWeb.h"

#include <QDesktopServices>
#include <QRegularExpression>
#include <QUrl>

void OpenWebAddress(const QString &address)
{
    if (address.isEmpty()) return;
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    const QString full = scheme.match(address).hasMatch() ? address : QStringLiteral("http://") + address;
    QDesktopServices::openUrl(QUrl(full));
}
