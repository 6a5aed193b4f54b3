// TTintMain, the editor window. It owns the one current colour and keeps every control in step with it:
// whatever control the user works, the colour changes through SetColour (or SetRed, SetGreen, SetBlue),
// which stores it and refreshes every other control under the updating guard. What the user orders from the
// menu bar, the toolbar, the fields' context menus and the keys is a named command of alMain, which those only
// point at; the colour slots' own menu (Load, Save) acts on the slot it was opened on.
#pragma once

#include "uFunctions.h"

#include <QIcon>
#include <QList>
#include <QMainWindow>
#include <QStringList>

#include <functional>
#include <memory>

class Clipboard;
class ColourHistory;
class TCaptureWindows;
class ColourSwatch;
class HintLabel;
class ComponentSlider;
class ComponentSpin;
class ContrastBar;
class CssCopyCommands;
class PasteAnyCommand;
class DockToolBar;
class NotationEdit;
class QAction;
class QDialog;
class QMenu;
class QTimer;
class TFormPlacement;
class TFormStorage;
struct Notation;
struct TintColours;

class TTintMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit TTintMain(QWidget *parent = nullptr);
    ~TTintMain() override;

    colour::Colour currentColour() const { return color; }
    bool isCapturing() const { return capturing; }
    // The colour dialog's custom colours, lines "ColorA=0000FF" .. "ColorP=...", possibly among others.
    const QStringList &customColourList() const { return customColours; }

    void SetColour(colour::Colour value);
    void SetRed(int value);
    void SetGreen(int value);
    void SetBlue(int value);
    void ApplyRGBText(const QString &text);
    void ApplyHEXText(const QString &text);
    void ApplyHTMLText(const QString &text);

    // Saves what the window remembers, both stores, now, as its close does; raises the first store's warning.
    // The session manager asks for this before a logout that may end the program without closing its window.
    void SaveStoredState();

    // The toolbar areas offer no menu of their own: it would let the user hide the menu bar.
    QMenu *createPopupMenu() override { return nullptr; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    using Handler = void (TTintMain::*)();
    static constexpr int ClientWidth = 300;
    static constexpr int ClientHeight = 405; // the contrast bar adds its own
    static constexpr int ContrastBarRow = 2; // below the colour and slot panels
    enum Glyph { PinSide, PinFront, HelpPage, ColourGrid, Pipette, ClipThumbnail, ClipHex, ClipHtml, ClipRgb };

    // Editor
    void FormCreate();
    QWidget *CreateColourPanel();
    QWidget *CreateSlotPanel();
    QWidget *CreateSettingsPanel();
    void StoreColour(colour::Colour value);
    void RefreshControls();
    void RefreshComponent(ComponentSpin *field, ComponentSlider *slider, int value);
    void ApplyText(const Notation &notation, const QString &text);
    void ValidateNumber(ComponentSpin *field);
    void IsEmpty(ComponentSpin *field);
    void SliderMoved(void (TTintMain::*setComponent)(int), int position);
    void slRedChange(int position);
    void slGreenChange(int position);
    void slBlueChange(int position);
    void NotationExit(NotationEdit *field, const Notation &notation);
    void txtRGBExit();
    void txtHexExit();
    void txtHTMLExit();

    // Commands
    void CreateCommands();
    QAction *AddCommand(const char *name, const QString &caption, const char *category, const QString &hint,
                        const QKeySequence &shortcut = {}, int glyph = -1, Handler handler = nullptr);
    QAction *AddMenuCommand(QMenu *menu, const char *name, const QString &hint);
    void RunWhenAvailable(QAction *command, std::function<void()> run);
    void CreateWebCommands();
    void CreateBars();
    QMenu *CreatePopup(const char *name, NotationEdit *field, QAction *copy, QAction *paste);
    void alMainUpdate();
    void RouteClipboardKey(QObject *control, bool paste);
    void NullHandler() {}
    void actFileExitExecute();

    // Clipboard exchange
    void ClipboardTextRead();
    void CopyText(const std::string &text);
    void actEditCopyRGBExecute();
    void actEditCopyHEXExecute();
    void actEditCopyHTMLExecute();
    void actEditCopyThumbnailExecute();
    void actPopCopyRGBExecute();
    void actPopCopyHEXExecute();
    void actPopCopyHTMLExecute();
    void actPopPasteRGBExecute();
    void actPopPasteHEXExecute();
    void actPopPasteHTMLExecute();

    // Screen capture
    void actEditCaptureExecute();

    // Help and preferences
    void actHelpContentsExecute();
    void actHelpOnTheWebExecute();
    void actHelpSendEmailExecute();
    void actHelpAboutExecute();
    void actFilePreferencesExecute();
    void PreferencesChanged();

    // Colour slots and the colour dialog
    void CreateSlotMenu();
    void ShowPopup(ColourSwatch *slot, Qt::MouseButton button, const QPoint &pos);
    void ForcePopup(ColourSwatch *slot);
    void popSlotLoadClick();
    void popSlotSaveClick();
    void actEditColorDialogExecute();
    void PlaceColourDialog(QDialog &dialog) const;
    void popSlotContrastClick();

    // Recent colours and palette files
    void CreatePaletteCommands();
    // A colour the user brings in from outside the editor: it becomes the current colour and a recent one.
    void TakeIn(colour::Colour value);
    void actEditClearRecentExecute();
    void RestoreHistory();
    TintColours ColoursOfWindow() const;
    void actFileExportPaletteExecute();
    void actFileImportPaletteExecute();

    // Views
    enum FormStyle { fsNormal = 0, fsStayOnTop = 3 };
    FormStyle formStyle() const;
    void actViewToolbarExecute();
    void actViewStatusBarExecute();
    void actViewAlwaysOnTopExecute();
    void CreateContrastBar();
    void actViewContrastExecute();
    void FitSizeToBars();
    bool RoomBelowForBar(int barHeight) const;
    void SetFormStyle(FormStyle style);
    void tSetFormStyleTimer();
    void aeMainHint(const QString &hint);

    // Stored state
    void CreateStores();
    QString CustomColoursKey() const;
    void StorageRestorePlacement(TFormPlacement &sender);
    void StorageSavePlacement(TFormPlacement &sender);
    void ColorStorageRestorePlacement(TFormPlacement &sender);
    void ColorStorageSavePlacement(TFormPlacement &sender);
    void ScheduleColourSave();

    colour::Colour color = colour::White;
    bool updating = false;
    bool capturing = false;
    ComponentSpin *typingField = nullptr;

    ColourSwatch *pCurrentColor = nullptr;
    HintLabel *lblHint = nullptr; // the status bar's hint
    ComponentSpin *txtRed = nullptr;
    ComponentSpin *txtGreen = nullptr;
    ComponentSpin *txtBlue = nullptr;
    ComponentSlider *slRed = nullptr;
    ComponentSlider *slGreen = nullptr;
    ComponentSlider *slBlue = nullptr;
    NotationEdit *txtRGB = nullptr;
    NotationEdit *txtHex = nullptr;
    NotationEdit *txtHTML = nullptr;
    QWidget *pClient = nullptr; // the editor's panels, one below the other
    ContrastBar *pContrast = nullptr;
    bool placingContrastBar = false; // moving it below the slots or beside the editor

    QList<ColourSwatch *> pSlots;
    ColourSwatch *pickedSlot = nullptr;
    QMenu *popSlot = nullptr;
    QStringList customColours;
    ColourHistory *history = nullptr;

    FormStyle wantedFormStyle = fsNormal;
    QTimer *tSetFormStyle = nullptr;
    TFormStorage *Storage = nullptr;
    TFormStorage *ColorStorage = nullptr;
    // The colour store also saves itself a moment after its last change, so that a session whose display
    // goes away first (the program then ends at once, without closing its window) loses at most that moment.
    QTimer *colourSave = nullptr;

    QList<QAction *> alMain;
    QList<QIcon> imlMenus;
    DockToolBar *tbMenu = nullptr;
    DockToolBar *tbMain = nullptr;
    Clipboard *clipboard = nullptr;
    // Which Paste the clipboard's text allows, worked out once per change of the clipboard.
    bool clipHoldsRGB = false;
    bool clipHoldsHEX = false;
    bool clipHoldsHTML = false;
    std::unique_ptr<TCaptureWindows> captureWindows;
    bool inUpdate = false;
    Glyph shownPinGlyph = PinSide;

    QAction *actFile = nullptr;
    QAction *actEdit = nullptr;
    QAction *actView = nullptr;
    QAction *actHelp = nullptr;
    QAction *actHelpContents = nullptr;
    QAction *actHelpOnTheWeb = nullptr;
    QAction *actHelpSendEmail = nullptr;
    QAction *actHelpAbout = nullptr;
    QAction *actViewToolbar = nullptr;
    QAction *actViewStatusBar = nullptr;
    QAction *actViewAlwaysOnTop = nullptr;
    QAction *actViewContrast = nullptr;
    QAction *actFilePreferences = nullptr;
    QAction *actFileExit = nullptr;
    QAction *actEditCopyRGB = nullptr;
    QAction *actEditCopyHEX = nullptr;
    QAction *actEditCopyHTML = nullptr;
    QAction *actEditCopyThumbnail = nullptr;
    QAction *actEditCopyAs = nullptr; // the submenu of CSS's formats, one command each
    QAction *actEditPasteAny = nullptr;
    CssCopyCommands *copyAs = nullptr;
    PasteAnyCommand *pasteAny = nullptr;
    QAction *actEditColorDialog = nullptr;
    QAction *actEditCapture = nullptr;
    QAction *actEditRecentColors = nullptr; // the submenu of the recent colours
    QAction *actEditClearRecent = nullptr;
    QAction *actFileExportPalette = nullptr;
    QAction *actFileImportPalette = nullptr;
    QAction *actPopCopyRGB = nullptr;
    QAction *actPopPasteRGB = nullptr;
    QAction *actPopCopyHEX = nullptr;
    QAction *actPopPasteHEX = nullptr;
    QAction *actPopCopyHTML = nullptr;
    QAction *actPopPasteHTML = nullptr;
};
