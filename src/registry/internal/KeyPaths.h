// The checks of the names a store is asked for: a key path split into its names, and a value name.
#pragma once

#include <QString>
#include <QStringList>

namespace registry {

struct KeyPath
{
    QStringList names;
    QString problem; // empty when the path is sound
};

// One separator at either end is tolerated; an empty name inside the path is not.
KeyPath parseKeyPath(const QString &path);
// Why the value name cannot be stored; empty when it can.
QString valueNameProblem(const QString &name);

} // namespace registry
