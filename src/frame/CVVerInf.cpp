#include "CVVerInf.h"

#include "VersionResource.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace {
// The block of the file last asked for is kept while the file stays as it was: start-up asks for three of its
// texts, and each reading of an executable costs a few milliseconds.
const std::optional<VersionResource> &Load(const QString &path)
{
    static QString loadedPath;
    static std::pair<qint64, QDateTime> loadedStamp;
    static std::optional<VersionResource> loaded;
    const QFileInfo file(path);
    const std::pair<qint64, QDateTime> stamp{file.size(), file.lastModified()};
    if (path != loadedPath || stamp != loadedStamp || !file.exists()) {
        loaded = LoadVersionResource(QFile::encodeName(path).toStdString());
        loadedPath = path;
        loadedStamp = stamp;
    }
    return loaded;
}
} // namespace

QString GetVersionText(const QString &path)
{
    const auto resource = Load(path);
    if (!resource) return QStringLiteral("0.0.0");
    return QStringLiteral("%1.%2.%3 Build %4")
        .arg(resource->fileVersionMS >> 16)
        .arg(resource->fileVersionMS & 0xFFFF)
        .arg(resource->fileVersionLS >> 16)
        .arg(resource->fileVersionLS & 0xFFFF);
}

QString GetLegalCopyright(const QString &path)
{
    const auto resource = Load(path);
    if (!resource) return QStringLiteral("Copyright \u00A9 2024 Corvane. All rights reserved.");
    if (resource->translations.empty()) return {};
    const auto [language, codePage] = resource->translations.front();
    const QString key =
        QStringLiteral("%1%2").arg(language, 4, 16, QLatin1Char('0')).arg(codePage, 4, 16, QLatin1Char('0')).toUpper();
    const auto table = resource->stringTables.find(key.toStdString());
    if (table == resource->stringTables.end()) return {};
    const auto text = table->second.find("LegalCopyright");
    return text == table->second.end() ? QString() : QString::fromStdString(text->second);
}

bool IsEnglishBuild(const QString &path)
{
    const auto resource = Load(path);
    if (!resource || resource->translations.empty()) return true;
    const auto language = resource->translations.front().first;
    return language != 0x0416 && language != 0x0816;
}
