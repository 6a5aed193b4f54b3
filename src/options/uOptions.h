// The user preferences, kept as REG_DWORD values (and two REG_SZ) under the application's key + "\Options". One
// store lives for the whole run; readers take a value at the moment they use it. The store checks no
// range: a stored value is loaded as it is, and each reader brings it into its range where it uses it.
#pragma once

#include "RegistryHive.h"
#include "RegistryStore.h"
#include "SaveBaseline.h"

#include <QString>

#include <algorithm>
#include <optional>

// The range the program keeps a number preference in. The store takes any value; the dialog offers this range,
// and every reader brings a stored value into it where it uses it.
struct PreferenceRange
{
    qint32 minimum;
    qint32 maximum;
    constexpr qint32 bound(qint32 value) const { return std::clamp(value, minimum, maximum); }
};

class TTintOptions
{
public:
    // Holds the defaults and touches no registry. regAppKey is the application's own key; the
    // preferences live in its subkey "Options".
    TTintOptions(registry::HKEY regRoot, const QString &regAppKey);
    virtual ~TTintOptions();
    TTintOptions(const TTintOptions &) = delete;
    TTintOptions &operator=(const TTintOptions &) = delete;

    // Each value missing or of another type than its field's (REG_DWORD, REG_SZ) leaves the field as it is.
    void Load();
    // Writes together the values changed since the load or the last save (all of them without a load), so that
    // what another run changed meanwhile stays; a value the store lacked is added where it still lacks it. A registry
    // that cannot be written loses them; what stopped it is noted for the user (CVStoreNotices), never raised.
    void Save();

    // Each preference's stored name is its field's name; the fields' initial values are the defaults.
    bool SaveWindow = true;
    qint32 ThumbnailWidth = 32; // ThumbnailSideRange, as the height
    qint32 ThumbnailHeight = 32;
    qint32 CaptureDelay = 500;      // milliseconds, CaptureDelayRange
    qint32 CaptureZoom = 9;         // the capture's magnifier, in snapshot pixels across
    qint32 CaptureSample = 1;       // the side of the square of device pixels a pick averages
    bool CaptureAllScreens = false; // capture every screen, not only the primary one
    bool CaptureSRGB = false;       // a pick gives the sRGB value where the screen's colour profile tells it
    QString CopyAsFormat = QStringLiteral("oklch"); // the CSS format of Copy As that Ctrl+Shift+C repeats
    qint32 ContrastBackground = 0x00FFFFFF; // the contrast bar's, a colour as every stored one: red in the low byte
    QString PaletteFolder;                  // where the last palette was exported or imported; at first the home folder

    static constexpr PreferenceRange ThumbnailSideRange{1, 1000};
    static constexpr PreferenceRange CaptureDelayRange{1, 2000};

private:
    registry::RegistryBatch Changes() const;

    registry::HKEY m_root;
    QString m_key;
    registry::SaveBaseline m_baseline; // what the store holds, as far as this run knows
};

// The one store of the run. Start-up creates and loads it; shutdown saves and frees it.
extern TTintOptions *TintOptions;
