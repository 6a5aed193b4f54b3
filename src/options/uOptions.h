// The user preferences, kept as REG_DWORD values under the application's key + "\Options". One
// store lives for the whole run; readers take a value at the moment they use it. The store checks no
// range: a stored value is loaded as it is, and each reader brings it into its range where it uses it.
#pragma once

#include "RegistryHive.h"

#include <QString>

class TTintOptions
{
public:
    // Holds the defaults and touches no registry. regAppKey is the application's own key; the
    // preferences live in its subkey "Options".
    TTintOptions(HKEY regRoot, const QString &regAppKey);
    virtual ~TTintOptions();
    TTintOptions(const TTintOptions &) = delete;
    TTintOptions &operator=(const TTintOptions &) = delete;

    // Each value missing or of another type than REG_DWORD leaves its field as it is.
    void Load();
    // Rewrites every value, changed or not, together. A registry that cannot be written loses them; what
    // stopped it is noted for the user (CVStoreNotices), never raised.
    void Save() const;

    bool SaveWindow = true;
    qint32 ThumbnailWidth = 32;
    qint32 ThumbnailHeight = 32;
    qint32 CaptureDelay = 500;
    qint32 CaptureZoom = 9;         // the capture's magnifier, in snapshot pixels across
    bool CaptureAllScreens = false; // capture every screen, not only the primary one

private:
    HKEY m_root;
    QString m_key;
};

// The one store of the run. Start-up creates and loads it; shutdown saves and frees it.
extern TTintOptions *TintOptions;
