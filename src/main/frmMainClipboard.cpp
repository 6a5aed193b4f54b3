// The current colour leaving through the clipboard as text in a notation, in a format of the web or as a solid
// thumbnail image, and coming back from clipboard text.
#include "frmMain.h"

#include "Clipboard.h"
#include "CssColour.h"
#include "CVExceptions.h"
#include "QtColour.h"
#include "uOptions.h"

#include <QAction>
#include <QImage>
#include <QMenu>

namespace {

// A thumbnail side as stored, brought into the range the preferences dialog keeps.
int ThumbnailSide(int stored)
{
    return TTintOptions::ThumbnailSideRange.bound(stored);
}

std::span<const ColourFormat> CssFormats()
{
    return ColourFormats().subspan(FirstCssFormat);
}

// The format Copy As used last, as stored: one of CSS's, or else the default.
const ColourFormat &LastCopyAsFormat()
{
    for (const ColourFormat &format : CssFormats())
        if (TintOptions->CopyAsFormat == QLatin1String(format.name.data(), qsizetype(format.name.size())))
            return format;
    return *FindColourFormat("oklch");
}

QString Caption(const ColourFormat &format)
{
    return QString::fromUtf8(format.caption.data(), qsizetype(format.caption.size()));
}

// "display-p3" as in "actEditCopyAsDisplayP3".
QByteArray CommandName(std::string_view formatName)
{
    QByteArray name("actEditCopyAs");
    bool upper = true;
    for (const char c : formatName) {
        if (c == '-') {
            upper = true;
            continue;
        }
        name += upper ? UpperCaseChar(c) : c;
        upper = false;
    }
    return name;
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
    clipHoldsAnyColour = ReadAnyColour(clipText.toStdString()).has_value();
}

void TTintMain::CreateCopyAsCommands()
{
    auto *menu = new QMenu(this);
    actEditCopyAs =
        AddMenuCommand(menu, "actEditCopyAs", QStringLiteral("Copy current color to the Clipboard in a CSS format"));
    actEditCopyAs->setText(QStringLiteral("Copy &As"));
    for (const ColourFormat &format : CssFormats()) {
        QAction *command = AddCommand(CommandName(format.name).constData(), Caption(format), "Edit", {});
        RunWhenAvailable(command, [this, &format] { CopyAs(format); });
        menu->addAction(command);
        actEditCopyAsFormats.append(command);
    }
    // Each entry's hint is its text for the colour as it is when the menu opens.
    connect(menu, &QMenu::aboutToShow, this, &TTintMain::ShowCopyAsTexts);
    actEditCopyAsAgain = AddCommand("actEditCopyAsAgain", {}, "Edit", {},
                                    QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_C), -1,
                                    &TTintMain::actEditCopyAsAgainExecute);
    actEditPasteAny = AddCommand("actEditPasteAny", QStringLiteral("Paste Any C&olor"), "Edit",
                                 QStringLiteral("Paste a color written in any CSS notation from the Clipboard"),
                                 QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_V), -1,
                                 &TTintMain::actEditPasteAnyExecute);
    CopyAsAgainNamesItsFormat();
}

void TTintMain::CopyAsAgainNamesItsFormat()
{
    const QString format = Caption(LastCopyAsFormat()).remove(u'&');
    actEditCopyAsAgain->setText(QStringLiteral("Copy A&gain As %1").arg(format));
    const QString hint = QStringLiteral("Copy current color to the Clipboard as %1").arg(format);
    actEditCopyAsAgain->setToolTip(hint);
    actEditCopyAsAgain->setStatusTip(hint);
}

void TTintMain::ShowCopyAsTexts()
{
    for (qsizetype i = 0; i < actEditCopyAsFormats.size(); ++i)
        actEditCopyAsFormats[i]->setStatusTip(
            QString::fromStdString(CssFormats()[size_t(i)].write(color).value_or(std::string())));
}

void TTintMain::CopyAs(const ColourFormat &format)
{
    const std::optional<std::string> text = format.write(color);
    if (!text)
        throw ECVException(QStringLiteral("The color could not be copied."),
                           QStringLiteral("No text in this format reads back as exactly %1.")
                               .arg(QString::fromStdString(ColourToHTMLText(color))),
                           TCVMessageKind::Warning);
    CopyText(*text);
    TintOptions->CopyAsFormat = QString::fromUtf8(format.name.data(), qsizetype(format.name.size()));
    CopyAsAgainNamesItsFormat();
}

void TTintMain::actEditCopyAsAgainExecute()
{
    CopyAs(LastCopyAsFormat());
}

// The colour comes in through SetColour; what had to give way to make it one of ours is said in the status bar.
void TTintMain::actEditPasteAnyExecute()
{
    const std::optional<AnyColour> pasted = ReadAnyColour(clipboard->text().toStdString());
    if (!pasted) return;
    TakeIn(pasted->colour);
    const QString html = QString::fromStdString(ColourToHTMLText(pasted->colour));
    // Short enough for the status bar at the window's width.
    if (pasted->mapped && pasted->alphaDropped)
        aeMainHint(QStringLiteral("Outside sRGB, alpha dropped: %1").arg(html));
    else if (pasted->mapped)
        aeMainHint(QStringLiteral("Outside sRGB: mapped to %1").arg(html));
    else if (pasted->alphaDropped)
        aeMainHint(QStringLiteral("Transparency dropped: %1").arg(html));
    else
        aeMainHint({}); // a word of an earlier paste would speak of another colour
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
