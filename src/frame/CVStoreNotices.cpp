#include "CVStoreNotices.h"

#include "CVAppEvents.h"
#include "DamagedHive.h"
#include "RegistryStore.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QTimer>
#include <QWidget>
#include <QWindow>

using namespace registry;

namespace {
struct StoreTrouble
{
    RegistryFault fault;
    QString place; // the folder of the store, or the file a damaged one was kept as
    QString details;
    bool keptAside = false;
    StoreUse use = StoreUse::Writing;
    bool told = false;
};

QList<StoreTrouble> &Troubles()
{
    static QList<StoreTrouble> troubles;
    return troubles;
}

// One trouble is told once. Met in reading too before it is told, it is told as the reading's: what the user
// sees then is the defaults, not a save that failed.
void Note(StoreTrouble trouble)
{
    for (StoreTrouble &noted : Troubles()) {
        if (noted.fault != trouble.fault || noted.place != trouble.place) continue;
        if (!noted.told && trouble.use == StoreUse::Reading) noted.use = StoreUse::Reading;
        return;
    }
    Troubles().append(std::move(trouble));
}

QString Native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

ECVException WarningAbout(const StoreTrouble &trouble)
{
    const QString place = Native(trouble.place);
    QString message;
    switch (trouble.fault) {
    case RegistryFault::Damaged:
        // The dialog's message is narrow: the name's ending here, the whole path in the details.
        message = trouble.keptAside
                      ? QStringLiteral("The settings file was damaged and is kept in its folder, its name now "
                                       "ending in %1. The program starts with its default settings.")
                            .arg(trouble.place.mid(trouble.place.lastIndexOf(QLatin1String(".damaged-"))))
                      : QStringLiteral("The settings file %1 is damaged; nothing is saved to it.").arg(place);
        break;
    case RegistryFault::ReadOnly:
        message =
            trouble.use == StoreUse::Reading
                ? QStringLiteral("The settings in %1 cannot be read: another user's, or closed to you. The "
                                 "program starts with its defaults and saves nothing there.")
                      .arg(place)
                : QStringLiteral("The settings in %1 may only be read; changes to them are not saved.").arg(place);
        break;
    case RegistryFault::DiskFull:
        message = QStringLiteral("The disk that holds the settings is full; they were not saved.");
        break;
    case RegistryFault::Busy:
        message = trouble.use == StoreUse::Reading
                      ? QStringLiteral("Another program is holding the settings, so they could not be read: the "
                                       "window shows the defaults, and only what you change is saved.")
                      : QStringLiteral("Another program is using the settings; they were not saved.");
        break;
    case RegistryFault::NoFolder:
        message = QStringLiteral("The settings are neither read nor saved: TINTWELL_REGISTRY_DIR is not an "
                                 "absolute path.");
        break;
    case RegistryFault::NotAHive:
        message = QStringLiteral("The settings cannot be saved: %1 is a database of another program.").arg(place);
        break;
    case RegistryFault::Other:
        message = QStringLiteral("The settings in %1 could not be saved.").arg(place);
        break;
    }
    return ECVException(message, trouble.details, TCVMessageKind::Warning);
}

// A warning's details: where, then the store's own words.
QString Details(const QString &place, const QString &problem)
{
    return place.isEmpty() ? problem : Native(place) + QStringLiteral("\n\n") + problem;
}

void ShowStoreWarnings()
{
    while (const std::optional<ECVException> warning = TakeStoreWarning())
        ReportError(*warning);
}

// Waits for the window's first exposure, so that a warning never stands over a window not yet there.
class ShowOnExposure : public QObject
{
public:
    explicit ShowOnExposure(QWindow *window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                ShowStoreWarnings();
                deleteLater();
            });
        }
        return false;
    }
};
} // namespace

void NoteStoreFailure(const RegistryStoreError &error, StoreUse use)
{
    const QString file = error.filePath();
    const QString folder = file.isEmpty() ? QString() : QFileInfo(file).absolutePath();
    switch (error.fault()) {
    case RegistryFault::Damaged:
    case RegistryFault::NotAHive:
        Note({error.fault(), file, Details(file, error.message()), false, use});
        break;
    case RegistryFault::NoFolder:
        Note({error.fault(), QFileInfo(file).path(), error.message(), false, use});
        break;
    default:
        Note({error.fault(), folder, Details(folder, error.message()), false, use});
    }
}

void KeepDamagedStoreAside(HKEY hive)
{
    const QString file = hiveFilePath(hive);
    if (!QDir::isAbsolutePath(file)) return; // nothing is read or written there; the first write says why
    try {
        if (const std::optional<DamagedHive> kept = setDamagedHiveAside(file))
            Note({RegistryFault::Damaged, kept->keptAs,
                  Details(kept->keptAs, QStringLiteral("%1 was damaged: %2.").arg(Native(file), kept->damage)), true});
    } catch (const RegistryStoreError &error) {
        NoteStoreFailure(error);
    }
}

std::optional<ECVException> TakeStoreWarning()
{
    for (StoreTrouble &trouble : Troubles()) {
        if (std::exchange(trouble.told, true)) continue;
        return WarningAbout(trouble);
    }
    return std::nullopt;
}

void ShowStoreWarningsWhenShown(QWidget &window)
{
    QWindow *handle = window.windowHandle();
    if (!handle || handle->isExposed()) {
        QTimer::singleShot(0, &window, ShowStoreWarnings);
        return;
    }
    new ShowOnExposure(handle);
}
