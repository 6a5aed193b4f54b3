#include "PasteAnyCommand.h"

#include "Clipboard.h"
#include "CssColour.h"

using namespace colour;

PasteAnyCommand::PasteAnyCommand(Clipboard &clipboard, QObject *parent) : QObject(parent), m_clipboard(clipboard)
{
    connect(&clipboard, &Clipboard::textRead, this, &PasteAnyCommand::clipboardRead);
    clipboardRead();
}

void PasteAnyCommand::clipboardRead()
{
    m_available = ReadAnyColour(m_clipboard.lastText().toStdString()).has_value();
}

void PasteAnyCommand::paste()
{
    const std::optional<AnyColour> colour = ReadAnyColour(m_clipboard.text().toStdString());
    if (!colour) return;
    const QString html = QString::fromStdString(ColourToHTMLText(colour->colour));
    // Short enough for the status bar at the window's width; empty, a word of an earlier paste would speak of
    // another colour.
    QString note;
    if (colour->mapped && colour->alphaDropped)
        note = QStringLiteral("Outside sRGB, alpha dropped: %1").arg(html);
    else if (colour->mapped)
        note = QStringLiteral("Outside sRGB: mapped to %1").arg(html);
    else if (colour->alphaDropped)
        note = QStringLiteral("Transparency dropped: %1").arg(html);
    emit pasted(colour->colour, note);
}
