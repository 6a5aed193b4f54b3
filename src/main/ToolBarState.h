// The toolbar part of QMainWindow::saveState(): which toolbar sits in which row of which area, and where.
// Qt has no API for a toolbar's row or its offset along the row, so they are read from that block and set
// by handing a changed block back to restoreState().
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

struct ToolBarStateItem
{
    QString name; // the toolbar's objectName
    quint8 shownAndVertical = 1;
    qint32 pos = 0;            // offset along the row, as Qt last laid it out
    qint32 preferredSize = -1; // -1 while the user has not widened it
    quint32 geom0 = 0;         // both zero while docked
    quint32 geom1 = 0;
};

struct ToolBarStateLine
{
    qint32 dock = 0; // 0 left, 1 right, 2 top, 3 bottom
    QList<ToolBarStateItem> items;
};

struct ToolBarState
{
    QByteArray head; // everything before the toolbar part, handed back unchanged
    QList<ToolBarStateLine> lines;
};

// The state of a window without dock widgets, as saved with the default version 0; nothing for anything
// else, so that a layout this code does not understand is never rewritten.
std::optional<ToolBarState> ParseToolBarState(const QByteArray &saved);
QByteArray BuildToolBarState(const ToolBarState &state);
