#include "DockToolBar.h"

#include "ToolBarState.h"

#include <QMainWindow>

#include <utility>

namespace {
struct Place
{
    qsizetype line = -1;
    qsizetype index = -1;
};

Place FindPlace(const ToolBarState &state, const QString &name)
{
    for (qsizetype line = 0; line < state.lines.size(); ++line) {
        const QList<ToolBarStateItem> &items = state.lines[line].items;
        for (qsizetype index = 0; index < items.size(); ++index)
            if (items[index].name == name) return {line, index};
    }
    return {};
}

int RowOf(const ToolBarState &state, qsizetype line)
{
    int row = 0;
    for (qsizetype i = 0; i < line; ++i)
        if (state.lines[i].dock == state.lines[line].dock) ++row;
    return row;
}

// Qt would keep an empty row as a gap. A row a toolbar leaves stays until the toolbar has its new place,
// so that the rows keep the numbers the caller counted with.
void DropEmptyRows(ToolBarState &state)
{
    state.lines.removeIf([](const ToolBarStateLine &line) { return line.items.isEmpty(); });
}

// Toolbars keep their order by offset; the one before the newcomer is widened to end where it begins.
void PutInLine(ToolBarStateLine &line, ToolBarStateItem item, int offset)
{
    qsizetype index = 0;
    while (index < line.items.size() && line.items[index].pos < offset)
        ++index;
    if (index > 0) {
        ToolBarStateItem &before = line.items[index - 1];
        before.preferredSize = offset - before.pos;
        item.pos = offset;
    } else {
        item.pos = 0;
    }
    line.items.insert(index, item);
}

ToolBarStateLine &LineOfRow(ToolBarState &state, qint32 dock, int row)
{
    int seen = 0;
    for (ToolBarStateLine &line : state.lines)
        if (line.dock == dock && seen++ == row) return line;
    state.lines.append(ToolBarStateLine{dock, {}});
    return state.lines.last();
}
} // namespace

QString DockName(Qt::ToolBarArea area)
{
    switch (area) {
    case Qt::TopToolBarArea:
        return QStringLiteral("DockTop");
    case Qt::BottomToolBarArea:
        return QStringLiteral("DockBottom");
    default:
        return {};
    }
}

Qt::ToolBarArea DockArea(const QString &name)
{
    for (Qt::ToolBarArea area : {Qt::TopToolBarArea, Qt::BottomToolBarArea})
        if (name.compare(DockName(area), Qt::CaseInsensitive) == 0) return area;
    return Qt::NoToolBarArea;
}

DockToolBar::DockToolBar(const QString &title, QWidget *parent) : QToolBar(title, parent) {}

QMainWindow *DockToolBar::mainWindow() const
{
    return qobject_cast<QMainWindow *>(parentWidget());
}

TDock DockToolBar::currentDock() const
{
    QMainWindow *window = mainWindow();
    // A floating toolbar still reports the area it came from.
    if (!window || isFloating()) return {};
    const Qt::ToolBarArea area = window->toolBarArea(this);
    if (area == Qt::NoToolBarArea) return {};
    return {window, area};
}

void DockToolBar::setCurrentDock(const TDock &dock)
{
    if (dock.window && dock.area != Qt::NoToolBarArea && dock != currentDock())
        dock.window->addToolBar(dock.area, this);
}

int DockToolBar::dockRow() const
{
    QMainWindow *window = mainWindow();
    const std::optional<ToolBarState> state = window ? ParseToolBarState(window->saveState()) : std::nullopt;
    if (!state) return 0;
    const Place place = FindPlace(*state, objectName());
    return place.line < 0 ? 0 : RowOf(*state, place.line);
}

void DockToolBar::setDockRow(int row)
{
    const std::optional<int> wantedPos = std::exchange(m_wantedPos, std::nullopt);
    changeLayout([&](ToolBarState &state, Place place) {
        const qint32 dock = state.lines[place.line].dock;
        if (RowOf(state, place.line) == row && !wantedPos) return;
        ToolBarStateItem item = state.lines[place.line].items.takeAt(place.index);
        PutInLine(LineOfRow(state, dock, qMax(0, row)), item, wantedPos.value_or(item.pos));
        DropEmptyRows(state);
    });
}

int DockToolBar::dockPos() const
{
    QMainWindow *window = mainWindow();
    const std::optional<ToolBarState> state = window ? ParseToolBarState(window->saveState()) : std::nullopt;
    if (!state) return 0;
    const Place place = FindPlace(*state, objectName());
    return place.line < 0 ? 0 : state->lines[place.line].items[place.index].pos;
}

void DockToolBar::setDockPos(int pos)
{
    m_wantedPos = pos;
    changeLayout([&](ToolBarState &state, Place place) {
        ToolBarStateLine &line = state.lines[place.line];
        ToolBarStateItem item = line.items.takeAt(place.index);
        PutInLine(line, item, pos);
    });
}

void DockToolBar::takeWholeRow()
{
    changeLayout([](ToolBarState &state, Place place) {
        ToolBarStateLine &line = state.lines[place.line];
        if (line.items.size() == 1) return;
        ToolBarStateItem item = line.items.takeAt(place.index);
        item.pos = 0;
        item.preferredSize = -1;
        state.lines.insert(place.line, ToolBarStateLine{line.dock, {item}});
    });
}

// Hands the main window its saved layout with this toolbar's entry changed, if that changed anything; a layout
// that cannot be read, or one without this toolbar, is left alone.
template <typename Change> void DockToolBar::changeLayout(Change change)
{
    QMainWindow *window = mainWindow();
    if (!window) return;
    const QByteArray saved = window->saveState();
    std::optional<ToolBarState> state = ParseToolBarState(saved);
    if (!state) return;
    const Place place = FindPlace(*state, objectName());
    if (place.line < 0) return;
    change(*state, place);
    const QByteArray changed = BuildToolBarState(*state);
    if (changed != saved) window->restoreState(changed);
}
