// The commands of tintwell-reg, a command-line editor of the stored registry with reg.exe's syntax:
//   query KEY [/v NAME | /ve] [/s]
//   add KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]
//   delete KEY [/v NAME | /ve | /va] [/f]
//   export KEY FILE [/y]
//   import FILE
// KEY starts with a hive's name, long or short (HKEY_LOCAL_MACHINE or HKLM). Every failure is raised as
// an exception whose text is the one line the user sees.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

struct RegArguments
{
    QString command; // query, add, delete, export or import, in lower case
    QString key;
    QString file;
    std::optional<QString> valueName; // /v NAME, or an empty name for /ve
    std::optional<QString> type;
    std::optional<QString> data;
    bool allValues = false; // /va
    bool recurse = false;   // /s
    bool force = false;     // /f for add and delete, /y for export
};

RegArguments parseRegArguments(const QStringList &arguments);
QString regUsage();
void runRegCommand(const RegArguments &arguments, QTextStream &out);
