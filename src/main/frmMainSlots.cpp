// The twelve colour slots with their menu, and the colour dialog with the window's sixteen custom colours.
#include "frmMain.h"

#include "ColourSwatch.h"
#include "ContrastBar.h"
#include "CustomColours.h"
#include "DialogPlacement.h"
#include "QtColour.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QMenu>
#include <QScreen>

#include <utility>

namespace {

QList<QColor> DialogCustomColours()
{
    QList<QColor> colours;
    for (int i = 0; i < CustomColourCount; ++i)
        colours.append(QColorDialog::customColor(i));
    return colours;
}

void SetDialogCustomColours(const QList<QColor> &colours)
{
    for (int i = 0; i < CustomColourCount; ++i)
        QColorDialog::setCustomColor(i, colours.at(i));
}

} // namespace

void TTintMain::CreateSlotMenu()
{
    popSlot = new QMenu(this);
    popSlot->setObjectName(QStringLiteral("popSlot"));
    popSlot->setAccessibleName(QStringLiteral("Color slot menu"));
    QAction *load = popSlot->addAction(QStringLiteral("Load Color"), this, &TTintMain::popSlotLoadClick);
    load->setObjectName(QStringLiteral("popSlotLoad"));
    popSlot->addSeparator();
    QAction *save = popSlot->addAction(QStringLiteral("Save Color"), this, &TTintMain::popSlotSaveClick);
    save->setObjectName(QStringLiteral("popSlotSave"));
    popSlot->addSeparator();
    QAction *contrast =
        popSlot->addAction(QStringLiteral("Use as Contrast Background"), this, &TTintMain::popSlotContrastClick);
    contrast->setObjectName(QStringLiteral("popSlotContrast"));

    for (ColourSwatch *slot : std::as_const(pSlots)) {
        connect(slot, &ColourSwatch::released, this,
                [this, slot](Qt::MouseButton button, const QPoint &pos) { ShowPopup(slot, button, pos); });
        connect(slot, &ColourSwatch::doubleClicked, this, [this, slot] { ForcePopup(slot); });
    }
}

void TTintMain::ShowPopup(ColourSwatch *slot, Qt::MouseButton button, const QPoint &pos)
{
    if (button != Qt::RightButton) return;
    pickedSlot = slot;
    popSlot->popup(slot->mapToGlobal(pos));
}

void TTintMain::ForcePopup(ColourSwatch *slot)
{
    pickedSlot = slot;
    popSlotLoadClick();
}

void TTintMain::popSlotLoadClick()
{
    // Without a field being typed in, the refresh rewrites all three number fields, even with no slot picked.
    typingField = nullptr;
    if (!pickedSlot) return;
    SetColour(std::exchange(pickedSlot, nullptr)->colour());
}

void TTintMain::popSlotSaveClick()
{
    if (!pickedSlot) return;
    std::exchange(pickedSlot, nullptr)->setColour(color);
    ScheduleColourSave();
}

// The bar shows, so that the user sees what the slot's colour was taken for.
void TTintMain::popSlotContrastClick()
{
    if (!pickedSlot) return;
    pContrast->setBackground(std::exchange(pickedSlot, nullptr)->colour());
    pContrast->show();
}

void TTintMain::actEditColorDialogExecute()
{
    // Qt keeps one table of custom colours for every dialog and every Qt program: the window's own list is
    // pushed into it each time, and taken back only from an OK.
    const QList<QColor> listed = CustomColoursFromList(customColours);
    SetDialogCustomColours(listed);

    QColorDialog dialog(this);
    dialog.setOption(QColorDialog::DontUseNativeDialog); // a desktop's own chooser could be neither placed nor read
    dialog.setCurrentColor(toQColor(color));
    // Qt's buttons carry the style's icons; the program's other dialogs have plain buttons.
    for (QAbstractButton *button : dialog.findChild<QDialogButtonBox *>()->buttons())
        button->setIcon({});
    PlaceColourDialog(dialog);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    activateWindow(); // without a window manager nothing gives the window back its keys

    if (!confirmed) {
        SetDialogCustomColours(listed); // "Add to Custom Colors" has already changed Qt's table
        return;
    }
    UpdateCustomColourList(customColours, DialogCustomColours());
    const QColor chosen = dialog.selectedColor();
    TakeIn(fromQColor(chosen));
}

void TTintMain::PlaceColourDialog(QDialog &dialog) const
{
    const QWidget *active = QApplication::activeWindow();
    const QWidget *reference = active ? active : this;
    const QScreen *screen = reference->screen() ? reference->screen() : QGuiApplication::primaryScreen();
    const QRect monitor = screen->geometry();
    dialog.adjustSize();
    const QSize outer = FramedSize(dialog, *this);
    dialog.move(monitor.left() + (monitor.width() - outer.width()) / 2,
                monitor.top() + (monitor.height() - outer.height()) / 3);
}
