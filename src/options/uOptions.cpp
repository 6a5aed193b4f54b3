#include "uOptions.h"

#include "CVRegUtils.h"
#include "RegistryStore.h"

TTintOptions *TintOptions = nullptr;

TTintOptions::TTintOptions(HKEY regRoot, const QString &regAppKey)
    : m_root(regRoot), m_key(regAppKey + QStringLiteral("\\Options"))
{
}

TTintOptions::~TTintOptions() = default;

void TTintOptions::Load()
{
    SaveWindow = RegReadBool(m_root, m_key, QStringLiteral("SaveWindow"), SaveWindow);
    ThumbnailWidth = RegReadInteger(m_root, m_key, QStringLiteral("ThumbnailWidth"), ThumbnailWidth);
    ThumbnailHeight = RegReadInteger(m_root, m_key, QStringLiteral("ThumbnailHeight"), ThumbnailHeight);
    CaptureDelay = RegReadInteger(m_root, m_key, QStringLiteral("CaptureDelay"), CaptureDelay);
    CaptureZoom = RegReadInteger(m_root, m_key, QStringLiteral("CaptureZoom"), CaptureZoom);
    CaptureAllScreens = RegReadBool(m_root, m_key, QStringLiteral("CaptureAllScreens"), CaptureAllScreens);
}

// One transaction, so that a crash never leaves some preferences of this save beside others of the last.
void TTintOptions::Save() const
{
    RegistryBatch batch;
    const auto write = [&](const char *name, qint32 number) {
        batch.setValue(m_key, QLatin1String(name), RegistryValue::fromDword(std::uint32_t(number)));
    };
    write("SaveWindow", SaveWindow ? 1 : 0);
    write("ThumbnailWidth", ThumbnailWidth);
    write("ThumbnailHeight", ThumbnailHeight);
    write("CaptureDelay", CaptureDelay);
    write("CaptureZoom", CaptureZoom);
    write("CaptureAllScreens", CaptureAllScreens ? 1 : 0);
    RegWriteBatch(m_root, batch);
}
