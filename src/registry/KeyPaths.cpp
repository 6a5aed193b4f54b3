#include "KeyPaths.h"

#include "StoreErrors.h" // the limits

#include <algorithm>

namespace registry {

KeyPath parseKeyPath(const QString &path)
{
    QStringView view(path);
    if (view.startsWith(u'\\')) view = view.mid(1);
    if (view.endsWith(u'\\')) view.chop(1);
    KeyPath result;
    if (view.isEmpty()) return result;
    for (const QStringView name : view.split(u'\\')) {
        if (name.isEmpty()) {
            result.problem = QStringLiteral("key path \"%1\" holds an empty key name").arg(path);
        } else if (name.size() > MaxKeyNameLength) {
            result.problem = QStringLiteral("key name longer than %1 characters").arg(MaxKeyNameLength);
        } else if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20; })) {
            result.problem = QStringLiteral("key name \"%1\" holds a control character").arg(name);
        }
        if (!result.problem.isEmpty()) return result;
        result.names.append(name.toString());
    }
    if (result.names.size() > MaxKeyDepth)
        result.problem = QStringLiteral("key path deeper than %1 levels").arg(MaxKeyDepth);
    return result;
}

QString valueNameProblem(const QString &name)
{
    if (name.size() > MaxValueNameLength)
        return QStringLiteral("value name longer than %1 characters").arg(MaxValueNameLength);
    if (name.contains(QChar(0))) return QStringLiteral("value name holds a NUL character");
    return {};
}

} // namespace registry
