#include "ToolBarState.h"

#include <QDataStream>
#include <QIODevice>
#include <QSize>

namespace {
constexpr qint32 VersionMarker = 0xff;
constexpr quint8 DockWidgetStateMarker = 0xfd;
constexpr quint8 ToolBarStateMarkerEx = 0xfc;

QDataStream &operator>>(QDataStream &stream, ToolBarStateItem &item)
{
    return stream >> item.name >> item.shownAndVertical >> item.pos >> item.preferredSize >> item.geom0 >> item.geom1;
}

QDataStream &operator<<(QDataStream &stream, const ToolBarStateItem &item)
{
    return stream << item.name << item.shownAndVertical << item.pos << item.preferredSize << item.geom0 << item.geom1;
}

// The header, then the dock-widget part, which for a window without dock widgets has a fixed shape.
bool SkipHead(QDataStream &stream)
{
    qint32 marker = 0, version = -1, dockAreas = -1;
    quint8 dockMarker = 0;
    stream >> marker >> version >> dockMarker >> dockAreas;
    if (marker != VersionMarker || version != 0 || dockMarker != DockWidgetStateMarker || dockAreas != 0) return false;
    QSize central;
    qint32 corner = 0;
    stream >> central >> corner >> corner >> corner >> corner;
    return stream.status() == QDataStream::Ok;
}
} // namespace

std::optional<ToolBarState> ParseToolBarState(const QByteArray &saved)
{
    QDataStream stream(saved);
    stream.setVersion(QDataStream::Qt_5_0);
    if (!SkipHead(stream)) return std::nullopt;
    ToolBarState state;
    state.head = saved.left(stream.device()->pos());
    quint8 marker = 0;
    qint32 lineCount = 0;
    stream >> marker >> lineCount;
    if (marker != ToolBarStateMarkerEx || lineCount < 0) return std::nullopt;
    for (qint32 i = 0; i < lineCount && stream.status() == QDataStream::Ok; ++i) {
        ToolBarStateLine line;
        qint32 itemCount = 0;
        stream >> line.dock >> itemCount;
        for (qint32 k = 0; k < itemCount && stream.status() == QDataStream::Ok; ++k) {
            ToolBarStateItem item;
            stream >> item;
            line.items.append(item);
        }
        state.lines.append(line);
    }
    if (stream.status() != QDataStream::Ok || !stream.atEnd()) return std::nullopt;
    return state;
}

QByteArray BuildToolBarState(const ToolBarState &state)
{
    QByteArray built = state.head;
    QDataStream stream(&built, QIODevice::Append);
    stream.setVersion(QDataStream::Qt_5_0);
    stream << ToolBarStateMarkerEx << qint32(state.lines.size());
    for (const ToolBarStateLine &line : state.lines) {
        stream << line.dock << qint32(line.items.size());
        for (const ToolBarStateItem &item : line.items)
            stream << item;
    }
    return built;
}
