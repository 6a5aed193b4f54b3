#include "uOptions.h"

#include "CVRegUtils.h"
#include "Registry.h"

#include <type_traits>
#include <variant>

using namespace registry;

TTintOptions *TintOptions = nullptr;

TTintOptions::TTintOptions(HKEY regRoot, const QString &regAppKey)
    : m_root(regRoot), m_key(regAppKey + QStringLiteral("\\Options"))
{
}

TTintOptions::~TTintOptions() = default;

namespace {

// Every preference, by its stored name and its field (whose type is the value's).
struct Preference
{
    const char *name;
    std::variant<bool TTintOptions::*, qint32 TTintOptions::*, QString TTintOptions::*> field;
};

const Preference Preferences[] = {
    {"SaveWindow", &TTintOptions::SaveWindow},
    {"ThumbnailWidth", &TTintOptions::ThumbnailWidth},
    {"ThumbnailHeight", &TTintOptions::ThumbnailHeight},
    {"CaptureDelay", &TTintOptions::CaptureDelay},
    {"CaptureZoom", &TTintOptions::CaptureZoom},
    {"CaptureSample", &TTintOptions::CaptureSample},
    {"CaptureAllScreens", &TTintOptions::CaptureAllScreens},
    {"CaptureSRGB", &TTintOptions::CaptureSRGB},
    {"CopyAsFormat", &TTintOptions::CopyAsFormat},
    {"PaletteFolder", &TTintOptions::PaletteFolder},
    {"ContrastBackground", &TTintOptions::ContrastBackground},
};

// Calls the one of the three that takes the preference's field in `options`.
template <typename Options, typename OnFlag, typename OnNumber, typename OnText>
void VisitField(Options &options, const Preference &preference, OnFlag onFlag, OnNumber onNumber, OnText onText)
{
    std::visit(
        [&](auto member) {
            if constexpr (std::is_same_v<decltype(member), bool TTintOptions::*>)
                onFlag(options.*member);
            else if constexpr (std::is_same_v<decltype(member), qint32 TTintOptions::*>)
                onNumber(options.*member);
            else
                onText(options.*member);
        },
        preference.field);
}

} // namespace

// All over one opening of the store: each opening costs start-up more than the read itself.
void TTintOptions::Load()
{
    TRegKeyReader reader(m_root, m_key);
    for (const Preference &preference : Preferences) {
        const QString name = QLatin1String(preference.name);
        VisitField(
            *this, preference, [&](bool &flag) { flag = reader.readBool(name, flag); },
            [&](qint32 &number) { number = reader.readInteger(name, number); },
            [&](QString &text) { text = reader.readString(name, text); });
    }
    // What this run found (or, where it could not read, the defaults that stood in) is not written back: a
    // save writes only what changed since, and another run's changes meanwhile stay. A preference the store
    // lacks is filled in while it still does.
    const QStringList stored = reader.valueNames();
    m_baseline.setStored(stored, reader.unread());
    m_baseline.setFound(Changes());
}

// One transaction, so that a crash never leaves some preferences of this save beside others of the last.
void TTintOptions::Save()
{
    const RegistryBatch values = Changes();
    const RegistryBatch changes = m_baseline.changesIn(values);
    if (!changes.changes().isEmpty() && RegWriteBatch(m_root, changes)) m_baseline.saved(values);
}

RegistryBatch TTintOptions::Changes() const
{
    RegistryBatch batch;
    for (const Preference &preference : Preferences) {
        const auto write = [&](qint32 number) {
            batch.setValue(m_key, QLatin1String(preference.name), RegistryValue::fromDword(std::uint32_t(number)));
        };
        VisitField(
            *this, preference, [&](bool flag) { write(flag ? 1 : 0); }, write,
            [&](const QString &text) {
                batch.setValue(m_key, QLatin1String(preference.name), RegistryValue::fromString(text));
            });
    }
    return batch;
}
