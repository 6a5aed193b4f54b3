// The current colour leaving through the clipboard as text in a notation, in a format of the web or as a solid
// thumbnail image, and coming back from clipboard text.
#include "frmMain.h"

#include "Clipboard.h"
#include "CssCopyCommands.h"
#include "CVExceptions.h"
#include "PasteAnyCommand.h"
#include "QtColour.h"
#include "uOptions.h"

#include <QAction>
#include <QImage>
#include <QMenu>

using namespace colour;

namespace {

// A thumbnail side as stored, brought into the range the preferences dialog keeps.
int ThumbnailSide(int stored)
{
    return TTintOptions::ThumbnailSideRange.bound(stored);
}

} // namespace

// The idle-time rules only compare what is worked out here.
void TTintMain::ClipboardTextRead()
{
    const QString &clipText = clipboard->lastText();
    const std::string text = clipText.toLatin1().toStdString();
    clipHoldsRGB = IsRGBText(text);
    clipHoldsHEX = IsHEXText(text);
    clipHoldsHTML = IsHTMLText(text);
}

// Copy As, Copy Again and Paste Any Color: the colour in and out in the notations of the web.
void TTintMain::CreateWebCommands()
{
    auto *menu = new QMenu(this);
    actEditCopyAs =
        AddMenuCommand(menu, "actEditCopyAs", QStringLiteral("Copy current color to the Clipboard in a CSS format"));
    actEditCopyAs->setText(QStringLiteral("Copy &As"));
    copyAs = new CssCopyCommands([this](const std::string &text) { CopyText(text); }, *menu,
                                 [this](const char *name, const QString &caption, const QString &hint,
                                        const QKeySequence &shortcut, std::function<void()> run) {
                                     QAction *command = AddCommand(name, caption, "Edit", hint, shortcut);
                                     RunWhenAvailable(command, std::move(run));
                                     return command;
                                 },
                                 this);
    pasteAny = new PasteAnyCommand(*clipboard, this);
    actEditPasteAny = AddCommand("actEditPasteAny", QStringLiteral("Paste Any C&olor"), "Edit",
                                 QStringLiteral("Paste a color written in any CSS notation from the Clipboard"),
                                 QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_V));
    RunWhenAvailable(actEditPasteAny, [this] { pasteAny->paste(); });
    // The colour comes in through SetColour; what had to give way to make it one of ours is said in the status bar.
    connect(pasteAny, &PasteAnyCommand::pasted, this, [this](Colour colour, const QString &note) {
        TakeIn(colour);
        aeMainHint(note);
    });
}

// A clipboard that cannot be used is a warning; the program runs on.
void TTintMain::CopyText(const std::string &text)
{
    QString failure;
    if (!clipboard->setText(QString::fromLatin1(text.data(), qsizetype(text.size())), failure))
        throw ECVException(QStringLiteral("Cannot open clipboard"), failure, TCVMessageKind::Warning);
}

void TTintMain::actEditCopyRGBExecute()
{
    CopyText(ColourToRGBText(color));
}

void TTintMain::actEditCopyHEXExecute()
{
    CopyText(ColourToHEXText(color));
}

void TTintMain::actEditCopyHTMLExecute()
{
    CopyText(ColourToHTMLText(color));
}

void TTintMain::actEditCopyThumbnailExecute()
{
    QImage thumbnail(ThumbnailSide(TintOptions->ThumbnailWidth), ThumbnailSide(TintOptions->ThumbnailHeight),
                     QImage::Format_RGB32);
    thumbnail.fill(toQColor(color));
    QString failure;
    if (!clipboard->setImage(thumbnail, failure))
        throw ECVException(QStringLiteral("Cannot open clipboard"), failure, TCVMessageKind::Warning);
}

// The context menus' Copy runs the Edit command of its notation, and only when that one is available.
void TTintMain::actPopCopyRGBExecute()
{
    actEditCopyRGB->trigger();
}

void TTintMain::actPopCopyHEXExecute()
{
    actEditCopyHEX->trigger();
}

void TTintMain::actPopCopyHTMLExecute()
{
    actEditCopyHTML->trigger();
}

void TTintMain::actPopPasteRGBExecute()
{
    ApplyRGBText(clipboard->text());
}

void TTintMain::actPopPasteHEXExecute()
{
    ApplyHEXText(clipboard->text());
}

void TTintMain::actPopPasteHTMLExecute()
{
    ApplyHTMLText(clipboard->text());
}
