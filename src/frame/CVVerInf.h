// The program's version facts read from an executable file's version block: each call reads the file
// afresh. A file without a block gives "0.0.0", the maker's default notice and English.
#pragma once

#include <QString>

QString GetVersionText(const QString &path);
// The "LegalCopyright" text of the first translation's string table; empty when the block has no such
// text or no translation.
QString GetLegalCopyright(const QString &path);
// False only when the first translation is one of the two Portuguese locales (0x0416, 0x0816).
bool IsEnglishBuild(const QString &path);
