// TFormPlacement: a window's place and size, kept per screen resolution, and the store it writes through.
#include "FormPlacement.h"

#include "CVAppEvents.h"
#include "CVExceptions.h"
#include "CVRegUtils.h"
#include "CVStoreNotices.h"
#include "Registry.h"

#include <QGuiApplication>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <utility>

using namespace registry;

namespace {
QScreen *Screen()
{
    return QGuiApplication::primaryScreen();
}

int PixelsPerInch()
{
    return qRound(Screen()->logicalDotsPerInch() * Screen()->devicePixelRatio());
}

// Values saved on one screen size are told apart from those of another by this suffix.
QString ResolutionSuffix()
{
    const QSize pixels = Screen()->geometry().size() * Screen()->devicePixelRatio();
    return QStringLiteral("(%1x%2)").arg(pixels.width()).arg(pixels.height());
}

QString FormatEdges(int left, int top, int right, int bottom)
{
    return QStringLiteral("%1,%2,%3,%4").arg(left).arg(top).arg(right).arg(bottom);
}

// No screen layout comes near this far from the origin; a place beyond it is no place.
constexpr int FarthestEdge = 1 << 20;

// Left, top, right and bottom of the text; a missing or bad word keeps the edge of the present frame. Nothing
// when an edge lies beyond any screen layout (where the sums would overflow).
std::optional<QRect> ParseEdges(const QString &text, const QRect &present)
{
    static const QRegularExpression separators(QStringLiteral("[ ,]"));
    const QStringList words = text.split(separators, Qt::SkipEmptyParts);
    const int fallback[4] = {present.left(), present.top(), present.left() + present.width(),
                             present.top() + present.height()};
    int edges[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const qlonglong edge = i < words.size() ? words[i].toLongLong(&ok) : 0;
        if (ok && std::abs(edge) > FarthestEdge) return std::nullopt;
        edges[i] = ok ? int(edge) : fallback[i];
    }
    return QRect(QPoint(edges[0], edges[1]), QSize(edges[2] - edges[0], edges[3] - edges[1]));
}

// The frame the window has when neither minimised nor maximised.
QRect NormalFrame(const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    const QRect client = window.geometry();
    const QRect normal = window.normalGeometry();
    if (!normal.isValid() || normal == client) return frame;
    return normal.adjusted(frame.left() - client.left(), frame.top() - client.top(), frame.right() - client.right(),
                           frame.bottom() - client.bottom());
}

int ShowCommand(const QWidget &window)
{
    if (window.isMinimized()) return 2;
    return window.isMaximized() ? 3 : 1;
}

bool HasFixedSize(const QWidget &window)
{
    return window.minimumSize() == window.maximumSize();
}

// Whether enough of the frame's top lies on a screen for the user to take the window by its title bar.
bool MeetsAvailableScreens(const QRect &frame)
{
    const QRect top(frame.topLeft(), QSize(frame.width(), std::min(frame.height(), 24)));
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect shown = screen->availableGeometry().intersected(top);
        if (shown.width() >= std::min(frame.width(), 48) && shown.height() >= std::min(top.height(), 8)) return true;
    }
    return false;
}
} // namespace

TFormPlacement::TFormPlacement(QWidget *owner, HKEY hive, const QString &key, const QString &section)
    : QObject(owner), m_owner(owner), m_hive(hive), m_path(section.isEmpty() ? key : key + u'\\' + section)
{
}

TFormPlacement::~TFormPlacement() = default;

void TFormPlacement::WindowShown()
{
    if (std::exchange(m_shown, true) || !Active) return;
    Restore();
}

void TFormPlacement::WindowCloseRequested()
{
    if (Active) Save();
}

void TFormPlacement::WindowDestroying() noexcept
{
    m_destroying = true;
    if (!Active || m_savedSinceRestore) return;
    try {
        Save();
    } catch (const ECVException &error) {
        ReportError(error);
    } catch (const std::exception &error) {
        ReportError(ECVException(QString::fromLocal8Bit(error.what()), {}, TCVMessageKind::Warning));
    }
}

void TFormPlacement::Restore()
{
    m_savedSinceRestore = false;
    OpenForReading();
    const auto closeKey = qScopeGuard([this] { m_openKey.reset(); });

    const bool current = ReadInteger(QStringLiteral("FormVersion"), 0) >= Version;
    if (current) {
        m_restored = true;
        RestoreProperties();
        if (OnRestorePlacement) OnRestorePlacement(*this);
        // The place last, with the size the restored properties gave (a bar shown adds height): a resize after
        // it would make Qt take the frame's point for the client area's, and the window would creep.
        if (Options & fpPosition) RestorePosition();
    }
    m_restored = true;
    // Values of an older layout are all written afresh by the first save.
    if (!current) return;
    // Otherwise a save writes only what changed in this run: what was read (or the defaults that stood in for
    // what could not be) is not written back over what another run of the program changed meanwhile, and a
    // value the store lacks is filled in only while it still does. What a save would write is taken as the
    // window first shows, framed by then: the stored place includes the frame.
    QStringList stored;
    try {
        if (m_openKey) stored = m_openKey->valueNames();
    } catch (const RegistryStoreError &error) {
        NoteUnread(error);
    }
    m_baseline.setStored(stored, m_unread);
    QWindow *handle = m_owner->windowHandle();
    if (handle && !handle->isExposed())
        handle->installEventFilter(this);
    else
        m_baseline.setFound(CollectChanges());
}

bool TFormPlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed()) {
        watched->removeEventFilter(this);
        if (!m_baseline.hasFound()) m_baseline.setFound(CollectChanges());
    }
    return QObject::eventFilter(watched, event);
}

// Without the key, or without a store that can be read, every value reads as missing and the restore runs
// on defaults.
void TFormPlacement::OpenForReading()
{
    try {
        auto registry = std::make_unique<TRegistry>(RegistryAccess::ReadOnly);
        registry->setRootKey(m_hive);
        if (registry->openKey(m_path, false)) m_openKey = std::move(registry);
    } catch (const RegistryStoreError &error) {
        NoteUnread(error);
    }
}

void TFormPlacement::NoteUnread(const RegistryStoreError &error) const
{
    NoteStoreFailure(error, StoreUse::Reading);
    m_unread = true;
}

void TFormPlacement::RestorePosition()
{
    const QString suffix = ResolutionSuffix();
    std::optional<QString> text = ReadText(QStringLiteral("NormPos") + suffix);
    if (!text || text->isEmpty()) text = ReadText(QStringLiteral("NormPos"));
    if (!text || text->isEmpty()) return;
    // A place saved at another pixel density would land somewhere else on this screen.
    if (ReadInteger(QStringLiteral("PixelsPerInch"), PixelsPerInch()) != PixelsPerInch()) return;

    QWidget &window = *m_owner;
    const QRect present = window.frameGeometry();
    const std::optional<QRect> stored = ParseEdges(*text, present);
    if (!stored) return;
    QRect frame = *stored;
    if (HasFixedSize(window)) frame.setSize(present.size());
    if (frame.width() <= 0) return;
    // A place from another screen layout could leave the window out of reach.
    if (!MeetsAvailableScreens(frame)) return;
    // The window is created by now but not yet framed by the window manager, so QWidget::move alone would
    // put the client area's corner where the frame's belongs, and the window would creep by its title bar
    // at every start. The native window is told that the point is the frame's; the widget is moved too,
    // or showing it would put its own idea of the place back.
    window.move(frame.topLeft());
    if (QWindow *handle = window.windowHandle()) handle->setFramePosition(frame.topLeft());
    if (!HasFixedSize(window)) window.resize(frame.size() - (present.size() - window.size()));
}

void TFormPlacement::Save()
{
    // A run that never restored, or never showed what it could not read, would overwrite the stored values
    // with defaults.
    if (!m_restored || (m_unread && !m_baseline.hasFound())) return;
    const RegistryBatch values = CollectChanges();
    const RegistryBatch changes = m_baseline.changesIn(values);
    MergedValues *merged = MergeWith && MergeWith->hasChanges() ? MergeWith : nullptr;
    if ((changes.changes().isEmpty() && !merged) || ApplyChanges(changes, merged)) {
        m_baseline.saved(values);
        m_savedSinceRestore = true;
    }
}

RegistryBatch TFormPlacement::CollectChanges()
{
    m_changes.emplace();
    const auto forgetChanges = qScopeGuard([this] { m_changes.reset(); });
    WriteInteger(QStringLiteral("FormVersion"), Version);
    if (Options & fpPosition) {
        WritePlacement();
        WriteString(QStringLiteral("Visible"), m_destroying ? QStringLiteral("1") : QStringLiteral("0"));
    }
    SaveProperties();
    if (OnSavePlacement) OnSavePlacement(*this);
    return *m_changes;
}

// A store that has already cost the user a warning in this run fails quietly; the in-memory state stands.
bool TFormPlacement::ApplyChanges(const RegistryBatch &changes, MergedValues *merged)
{
    try {
        openRegistryStore(m_hive, RegistryAccess::ReadWrite)->apply(changes, merged);
        return true;
    } catch (const RegistryStoreError &error) {
        NoteStoreFailure(error);
    }
    if (std::optional<ECVException> warning = TakeStoreWarning()) throw *warning;
    return false;
}

void TFormPlacement::WritePlacement()
{
    const QString suffix = ResolutionSuffix();
    const QRect frame = NormalFrame(*m_owner);
    const QString minMaxPos = FormatEdges(-1, -1, -1, -1); // Qt keeps no minimised or maximised place
    const QString normPos =
        FormatEdges(frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height());
    WriteInteger(QStringLiteral("Flags"), 0);
    WriteInteger(QStringLiteral("ShowCmd"), ShowCommand(*m_owner));
    WriteInteger(QStringLiteral("PixelsPerInch"), PixelsPerInch());
    WriteString(QStringLiteral("MinMaxPos") + suffix, minMaxPos);
    WriteString(QStringLiteral("MinMaxPos"), minMaxPos);
    WriteString(QStringLiteral("NormPos") + suffix, normPos);
    WriteString(QStringLiteral("NormPos"), normPos);
}

std::optional<RegistryValue> TFormPlacement::ReadValue(const QString &name) const
{
    if (!m_openKey) return std::nullopt;
    try {
        return m_openKey->readValue(name);
    } catch (const RegistryStoreError &error) {
        NoteUnread(error);
        return std::nullopt;
    }
}

// A value of another type, say a REG_DWORD written by hand, counts as missing.
std::optional<QString> TFormPlacement::ReadText(const QString &name) const
{
    const std::optional<RegistryValue> value = ReadValue(name);
    return value ? decodeRegText(*value) : std::nullopt;
}

QString TFormPlacement::ReadString(const QString &name, const QString &defaultValue) const
{
    return ReadText(name).value_or(defaultValue);
}

qint32 TFormPlacement::ReadInteger(const QString &name, qint32 defaultValue) const
{
    const std::optional<RegistryValue> value = ReadValue(name);
    return (value ? decodeRegInteger(*value) : std::nullopt).value_or(defaultValue);
}

void TFormPlacement::WriteString(const QString &name, const QString &text)
{
    if (!m_changes) throw std::logic_error("a form-state store writes only while it saves");
    m_changes->setValue(m_path, name, RegistryValue::fromString(text));
}

void TFormPlacement::WriteInteger(const QString &name, qint32 value)
{
    WriteString(name, QString::number(value));
}

void TFormPlacement::WriteValueNames(const QString &subkey, const QStringList &names)
{
    if (!m_changes) throw std::logic_error("a form-state store writes only while it saves");
    if (!subkey.isEmpty()) AddValueNameList(*m_changes, m_path + u'\\' + subkey, names);
}
