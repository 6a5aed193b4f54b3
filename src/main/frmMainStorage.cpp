// What the window remembers between runs: its place, bars and style in the store Storage (when the user
// wants that), its colours and recent colours in ColorStorage (always). Both keep their values in one
// registry key; the recent colours have their own.
#include "frmMain.h"

#include "CaptureSession.h"
#include "ColourHistory.h"
#include "ColourSwatch.h"
#include "CustomColours.h"
#include "CVApp.h"
#include "CVAppEvents.h"
#include "DockToolBar.h"
#include "FormStorage.h"
#include "uOptions.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include <exception>

using namespace registry;

namespace {

const QString StoreSection = QStringLiteral("Storage");
constexpr QPoint DesignedPlace(60, 61);
constexpr int FormStyleDelay = 100;   // ms
constexpr int ColourSaveDelay = 1000; // ms after the last change of a colour

} // namespace

void TTintMain::CreateStores()
{
    const HKEY hive = Application->RegRoot;
    const QString key = Application->RegAppKey;

    Storage = new TFormStorage(this, hive, key, StoreSection);
    Storage->setObjectName(QStringLiteral("Storage"));
    Storage->Options = fpPosition;
    Storage->SetStoredProps({"pContrast.Visible", "sbMain.Visible", "tbMain.CurrentDock", "tbMain.DockPos",
                             "tbMain.DockRow", "tbMain.Visible", "tbMenu.CurrentDock", "tbMenu.DockPos",
                             "tbMenu.DockRow"});
    Storage->OnRestorePlacement = [this](TFormPlacement &sender) { StorageRestorePlacement(sender); };
    Storage->OnSavePlacement = [this](TFormPlacement &sender) { StorageSavePlacement(sender); };
    Storage->Active = TintOptions->SaveWindow;

    ColorStorage = new TFormStorage(this, hive, key, StoreSection);
    ColorStorage->setObjectName(QStringLiteral("ColorStorage"));
    ColorStorage->Options = {};
    ColorStorage->SetStoredProps({"pCurrentColor.Color", "pSlot1.Color", "pSlot10.Color", "pSlot11.Color",
                                  "pSlot12.Color", "pSlot2.Color", "pSlot3.Color", "pSlot4.Color", "pSlot5.Color",
                                  "pSlot6.Color", "pSlot7.Color", "pSlot8.Color", "pSlot9.Color"});
    ColorStorage->OnRestorePlacement = [this](TFormPlacement &sender) { ColorStorageRestorePlacement(sender); };
    ColorStorage->OnSavePlacement = [this](TFormPlacement &sender) { ColorStorageSavePlacement(sender); };
    ColorStorage->Active = Application != nullptr;
    ColorStorage->MergeWith = history; // the recent colours are saved with the colours, in their transaction

    if (Storage->Active) {
        move(DesignedPlace);
    } else {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        move(screen.center() - QPoint(width() / 2, height() / 2));
    }

    tSetFormStyle = new QTimer(this);
    tSetFormStyle->setObjectName(QStringLiteral("tSetFormStyle"));
    tSetFormStyle->setInterval(FormStyleDelay);
    connect(tSetFormStyle, &QTimer::timeout, this, &TTintMain::tSetFormStyleTimer);
    tSetFormStyle->start();

    colourSave = new QTimer(this);
    colourSave->setSingleShot(true);
    colourSave->setInterval(ColourSaveDelay);
    connect(colourSave, &QTimer::timeout, ColorStorage, &TFormStorage::Save);
}

TTintMain::~TTintMain()
{
    // The stores read the controls, and the colour store the application's key: both save here, while the
    // controls exist and before ShutDown releases the application object.
    ColorStorage->WindowDestroying();
    Storage->WindowDestroying();
}

void TTintMain::showEvent(QShowEvent *event)
{
    ColorStorage->WindowShown();
    Storage->WindowShown();
    QMainWindow::showEvent(event);
}

// Both stores save whatever the other meets; the first warning is raised after.
void TTintMain::SaveStoredState()
{
    colourSave->stop();
    std::exception_ptr refused;
    for (TFormStorage *store : {Storage, ColorStorage}) {
        try {
            store->WindowCloseRequested();
        } catch (...) {
            if (!refused) refused = std::current_exception();
        }
    }
    if (refused) std::rethrow_exception(refused);
}

// The window closes whatever the stores meet. What they meet goes to the application's handler from here, not
// thrown on through Qt's frames (a menu's key handling, the window system's close), whose temporaries an
// exception would skip.
void TTintMain::closeEvent(QCloseEvent *event)
{
    std::exception_ptr refused;
    try {
        SaveStoredState();
    } catch (...) {
        refused = std::current_exception();
    }
    QMainWindow::closeEvent(event);
    if (refused) aeMainException(this, refused);
}

void TTintMain::ScheduleColourSave()
{
    if (colourSave) colourSave->start(); // the window's first colour is set before its stores exist
}

QString TTintMain::CustomColoursKey() const
{
    return Application->RegAppKey + u'\\' + StoreSection;
}

void TTintMain::StorageRestorePlacement(TFormPlacement &sender)
{
    // A style this program never writes ends up normal.
    wantedFormStyle =
        sender.ReadInteger(QStringLiteral("FormStyle"), formStyle()) == fsStayOnTop ? fsStayOnTop : fsNormal;
    // A layout stored before the menu bar kept its row to itself.
    tbMenu->takeWholeRow();
}

// The style the window is to have: the one restored is taken a moment after the window first shows, and a
// save must not take the moment before for a change.
void TTintMain::StorageSavePlacement(TFormPlacement &sender)
{
    sender.WriteInteger(QStringLiteral("FormStyle"), wantedFormStyle);
}

void TTintMain::ColorStorageRestorePlacement(TFormPlacement &)
{
    // The store has put the stored colour into the swatch only; every other control follows it from here.
    SetColour(pCurrentColor->colour());
    customColours = RestoreCustomColours(Application->RegRoot, CustomColoursKey(), customColours);
    RestoreHistory();
    // What the store holds needs no saving. (Only here: the window shows again after each capture on Wayland,
    // and the colour picked there must still save itself.)
    colourSave->stop();
}

void TTintMain::ColorStorageSavePlacement(TFormPlacement &sender)
{
    SaveCustomColours(sender, customColours);
}
