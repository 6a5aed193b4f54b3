// The current colour leaving through the clipboard as text in a notation or as a solid thumbnail image,
// and coming back from clipboard text.
#include "frmMain.h"

#include "Clipboard.h"
#include "CVExceptions.h"
#include "QtColour.h"
#include "uOptions.h"

#include <QAction>
#include <QImage>

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
    const std::string text = clipboard->lastText().toLatin1().toStdString();
    clipHoldsRGB = IsRGBText(text);
    clipHoldsHEX = IsHEXText(text);
    clipHoldsHTML = IsHTMLText(text);
}

// A clipboard that cannot be used is a warning; the program runs on.
void TTintMain::CopyText(const std::string &text)
{
    QString failure;
    if (!clipboard->setText(QString::fromLatin1(text.data(), qsizetype(text.size())), failure))
        throw ECVException(QStringLiteral("Cannot open clipboard"), failure, 1);
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
        throw ECVException(QStringLiteral("Cannot open clipboard"), failure, 1);
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
