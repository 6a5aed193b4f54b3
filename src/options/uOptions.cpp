#include "uOptions.h"

#include "CVRegUtils.h"

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

void TTintOptions::Save() const
{
    RegWriteBool(m_root, m_key, QStringLiteral("SaveWindow"), SaveWindow);
    RegWriteInteger(m_root, m_key, QStringLiteral("ThumbnailWidth"), ThumbnailWidth);
    RegWriteInteger(m_root, m_key, QStringLiteral("ThumbnailHeight"), ThumbnailHeight);
    RegWriteInteger(m_root, m_key, QStringLiteral("CaptureDelay"), CaptureDelay);
    RegWriteInteger(m_root, m_key, QStringLiteral("CaptureZoom"), CaptureZoom);
    RegWriteBool(m_root, m_key, QStringLiteral("CaptureAllScreens"), CaptureAllScreens);
}
