// The file a desktop portal saved its screenshot to, taken in with care: the portal's answer names it, and
// nothing but that answer vouches for it. It is read only if it is a regular file (not a link, a FIFO or a
// device, so that nothing can hang the read), and removed afterwards only if it decoded as a picture, was
// written for this request by this user, and lies in a folder where desktops put their screenshots. Anything
// else the answer names is left alone.
#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>
#include <QStringList>

struct PortalSnapshot
{
    QImage image;    // null when the file could not be read or decoded
    QString problem; // why not, for the user's details
};

// `requested` is when the screenshot was asked for; `folders` those in which a snapshot may be removed.
PortalSnapshot TakePortalSnapshot(const QString &path, const QDateTime &requested, const QStringList &folders);

// Where the desktops' portals put their screenshots: the Pictures folder and its Screenshots folder (GNOME,
// KDE), the home folder (GNOME without a Pictures folder) and /tmp (wlroots' portal).
QStringList ScreenshotFolders();
