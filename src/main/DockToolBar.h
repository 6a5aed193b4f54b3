// A toolbar whose place can be read and set by name: the dock it sits in (CurrentDock), its row in that
// dock counted from 0 (DockRow) and its offset along the row in pixels (DockPos). The docks are the toolbar
// areas of a main window, "DockTop" and "DockBottom".
#pragma once

#include <QString>
#include <QToolBar>

#include <optional>

class QMainWindow;

// One toolbar area of one main window; a default-made TDock is no dock at all (the toolbar floats).
struct TDock
{
    QMainWindow *window = nullptr;
    Qt::ToolBarArea area = Qt::NoToolBarArea;

    bool operator==(const TDock &) const = default;
};

// "DockTop" and "DockBottom"; an empty text for any other area.
QString DockName(Qt::ToolBarArea area);
// The area a dock name stands for, ignoring case; NoToolBarArea for a name of no dock.
Qt::ToolBarArea DockArea(const QString &name);

class DockToolBar : public QToolBar
{
    Q_OBJECT
    Q_PROPERTY(TDock CurrentDock READ currentDock WRITE setCurrentDock)
    Q_PROPERTY(int DockRow READ dockRow WRITE setDockRow)
    Q_PROPERTY(int DockPos READ dockPos WRITE setDockPos)

public:
    explicit DockToolBar(const QString &title, QWidget *parent = nullptr);

    TDock currentDock() const;
    // Docks the toolbar in that area of that window; no dock leaves it where it is (the user detaches it).
    void setCurrentDock(const TDock &dock);

    // Row and offset hold while the toolbar floats too: they are where it docks again.
    int dockRow() const;
    // A row past the dock's last one opens a new row below them.
    void setDockRow(int row);
    int dockPos() const;
    // Qt lays a row out from the toolbars' widths, so an offset is reached by widening the toolbar before;
    // the first toolbar of a row always sits at 0. The offset asked for is kept for the next change of row,
    // so that setting the offset and then the row puts the toolbar where both say.
    void setDockPos(int pos);
    // Moves any other toolbar of this one's row to a row of its own just below, so that this one fills its row.
    void takeWholeRow();

private:
    QMainWindow *mainWindow() const;
    template <typename Change> void changeLayout(Change change);

    std::optional<int> m_wantedPos;
};
