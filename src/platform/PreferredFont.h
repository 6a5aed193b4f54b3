// The dialogs' preferred font: a named family when it is installed, else the platform's own font,
// always at the asked point size so that every layout is planned for one size.
#pragma once

#include <QFont>
#include <QString>

QFont PreferredFont(const QString &family, int pointSize);
