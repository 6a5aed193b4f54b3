// The colours the window takes in, kept as the recent colours, and its colours in and out of palette files.
#include "frmMain.h"

#include "ColourHistory.h"
#include "ColourSwatch.h"
#include "CustomColours.h"
#include "CVApp.h"
#include "CVExceptions.h"
#include "FormStorage.h"
#include "PaletteFile.h"
#include "PaletteImportDialog.h"
#include "QtColour.h"
#include "RecentColoursMenu.h"
#include "uOptions.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>

using namespace registry;

using namespace colour;

namespace {

QString StartFolder()
{
    const QString folder = TintOptions->PaletteFolder;
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

} // namespace

void TTintMain::CreatePaletteCommands()
{
    history = new ColourHistory(Application ? Application->RegRoot : HKEY_LOCAL_MACHINE,
                                Application ? Application->RegAppKey + QStringLiteral("\\History") : QString(), this);
    actEditClearRecent =
        AddCommand("actEditClearRecent", QStringLiteral("&Clear Recent Colors"), "Edit",
                   QStringLiteral("Clear the list of recent colors"), {}, -1, &TTintMain::actEditClearRecentExecute);
    auto *menu = new RecentColoursMenu(*history, actEditClearRecent, this);
    connect(menu, &RecentColoursMenu::colourChosen, this, &TTintMain::SetColour);
    actEditRecentColors =
        AddMenuCommand(menu, "actEditRecentColors", QStringLiteral("Make a recently taken color the current color"));
    actEditRecentColors->setText(QStringLiteral("Recent Co&lors"));

    actFileExportPalette =
        AddCommand("actFileExportPalette", QStringLiteral("&Export Palette..."), "File",
                   QStringLiteral("Save the slots, custom colors and recent colors to a palette file"), {}, -1,
                   &TTintMain::actFileExportPaletteExecute);
    actFileImportPalette = AddCommand("actFileImportPalette", QStringLiteral("&Import Palette..."), "File",
                                      QStringLiteral("Load the slots and custom colors from a palette file"), {}, -1,
                                      &TTintMain::actFileImportPaletteExecute);
}

void TTintMain::TakeIn(Colour value)
{
    SetColour(value);
    history->add(value);
}

void TTintMain::actEditClearRecentExecute()
{
    history->clear();
    ScheduleColourSave();
}

void TTintMain::RestoreHistory()
{
    try {
        history->restore();
    } catch (const RegistryStoreError &) {
        // The colour store, read from the same file just before, has told the user already.
    }
}

TintColours TTintMain::ColoursOfWindow() const
{
    TintColours colours;
    for (const ColourSwatch *slot : pSlots)
        colours.slotColours.append(slot->colour());
    for (const QColor &custom : CustomColoursFromList(customColours))
        colours.customColours.append(fromQColor(custom));
    colours.recentColours = history->colours();
    return colours;
}

void TTintMain::actFileExportPaletteExecute()
{
    // A name typed without an extension gets the chosen filter's, before the dialog asks about replacing a file.
    QFileDialog dialog(this, QStringLiteral("Export Palette"), StartFolder());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(PaletteFilters(false));
    dialog.setDefaultSuffix(ExtensionOfFilter(PaletteFilters(false).constFirst()));
    connect(&dialog, &QFileDialog::filterSelected, &dialog,
            [&dialog](const QString &filter) { dialog.setDefaultSuffix(ExtensionOfFilter(filter)); });
    const bool chosen = dialog.exec() == QDialog::Accepted;
    activateWindow();
    if (!chosen || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().constFirst();
    TintOptions->PaletteFolder = QFileInfo(path).absolutePath();
    try {
        SavePaletteFile(path, MakePalette(ColoursOfWindow(), QFileInfo(path).completeBaseName()));
    } catch (const PaletteError &error) {
        throw ECVException(
            QStringLiteral("%1 could not be exported: %2.").arg(QFileInfo(path).fileName(), error.message()), {},
            TCVMessageKind::Warning);
    }
    aeMainHint(QStringLiteral("Palette exported to %1").arg(QFileInfo(path).fileName()));
}

void TTintMain::actFileImportPaletteExecute()
{
    const QString path =
        QFileDialog::getOpenFileName(this, QStringLiteral("Import Palette"), StartFolder(),
                                     QStringLiteral("Palettes (*.gpl *.ase);;") + PaletteFilters(true).join(u";;"));
    activateWindow();
    if (path.isEmpty()) return;
    TintOptions->PaletteFolder = QFileInfo(path).absolutePath();
    const QString fileName = QFileInfo(path).fileName();
    // What is wrong with the file is the message itself, not hidden among its details.
    const auto refuse = [&fileName](const QString &problem) {
        return ECVException(QStringLiteral("%1 could not be imported: %2.").arg(fileName, problem), {},
                            TCVMessageKind::Warning);
    };
    Palette palette;
    try {
        palette = LoadPaletteFile(path);
    } catch (const PaletteError &error) {
        throw refuse(error.message());
    }
    if (palette.colourCount() == 0)
        throw refuse(palette.skippedCmyk > 0 ? QStringLiteral("it holds only CMYK colors")
                                             : QStringLiteral("it holds no colors"));

    const PaletteAssignment assignment = AssignPalette(palette, pSlots.size(), CustomColourCount);
    PaletteImportDialog dialog(fileName, assignment, palette.skippedCmyk, pSlots.size(), CustomColourCount, this);
    const bool confirmed = dialog.exec() == QDialog::Accepted;
    activateWindow();
    if (!confirmed) return;

    for (qsizetype position = 0; position < assignment.slotColours.size(); ++position)
        pSlots[position]->setColour(assignment.slotColours[position]);
    QList<QColor> custom = CustomColoursFromList(customColours);
    for (qsizetype position = 0; position < assignment.customColours.size(); ++position)
        custom[position] = toQColor(assignment.customColours[position]);
    UpdateCustomColourList(customColours, custom);
    // All of it in the store at once, as one change.
    colourSave->stop();
    ColorStorage->Save();
}
