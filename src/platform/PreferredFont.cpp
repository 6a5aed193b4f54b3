#include "PreferredFont.h"

#include <QApplication>
#include <QFontDatabase>

QFont PreferredFont(const QString &family, int pointSize)
{
    QFont font = QApplication::font();
    if (!family.isEmpty() && QFontDatabase::families().contains(family, Qt::CaseInsensitive)) font.setFamily(family);
    font.setPointSize(pointSize);
    return font;
}
