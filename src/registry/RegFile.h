// The text form of registry exports: a "Windows Registry Editor Version 5.00" (or, when reading, "REGEDIT4")
// line, then [key] sections of "name"=data lines, [-key] to delete a key and "name"=- to delete a value.
// Files are written as UTF-8 without a byte-order mark and read as UTF-8, or as UTF-16LE when they start
// with its byte-order mark, as regedit writes them.
#pragma once

#include "RegistryValue.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <stdexcept>

namespace registry {

struct RegFileValue
{
    QString name;                       // empty for the key's default value, written as @
    std::optional<RegistryValue> value; // nothing: delete the value

    bool operator==(const RegFileValue &) const = default;
};

struct RegFileKey
{
    QString path; // with the hive's name first, as it stands in the file
    bool remove = false;
    QList<RegFileValue> values;

    bool operator==(const RegFileKey &) const = default;
};

using RegFile = QList<RegFileKey>;

class RegFileError : public std::runtime_error
{
public:
    RegFileError(int line, const QString &problem);
};

RegFile parseRegFile(const QByteArray &bytes);
QByteArray formatRegFile(const RegFile &file);

} // namespace registry
