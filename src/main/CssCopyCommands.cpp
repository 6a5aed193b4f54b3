#include "CssCopyCommands.h"

#include "CssColour.h"
#include "CVExceptions.h"
#include "uOptions.h"

#include <QAction>
#include <QHash>
#include <QMenu>

using namespace colour;

namespace {

std::span<const ColourFormat> CssFormats()
{
    return ColourFormats().subspan(FirstCssFormat);
}

// The format Copy As used last, as stored: one of CSS's, or else the default.
const ColourFormat &LastFormat()
{
    for (const ColourFormat &format : CssFormats())
        if (TintOptions->CopyAsFormat == QLatin1String(format.name.data(), qsizetype(format.name.size())))
            return format;
    return *FindColourFormat("oklch");
}

// As the menu shows each format, with its access key.
QString Caption(const ColourFormat &format)
{
    static const QHash<QString, QString> captions{
        {QStringLiteral("css-rgb"), QStringLiteral("CSS &rgb()")},
        {QStringLiteral("hsl"), QStringLiteral("CSS &hsl()")},
        {QStringLiteral("hwb"), QStringLiteral("CSS h&wb()")},
        {QStringLiteral("lab"), QStringLiteral("CSS l&ab()")},
        {QStringLiteral("lch"), QStringLiteral("CSS l&ch()")},
        {QStringLiteral("oklab"), QStringLiteral("CSS &oklab()")},
        {QStringLiteral("oklch"), QStringLiteral("CSS ok&lch()")},
        {QStringLiteral("display-p3"), QStringLiteral("CSS color(display-&p3 ...)")}};
    const QString name = QString::fromLatin1(format.name.data(), qsizetype(format.name.size()));
    return captions.value(name, name);
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

CssCopyCommands::CssCopyCommands(CopyText copyText, QMenu &menu, const AddCommand &addCommand, QObject *parent)
    : QObject(parent), m_copyText(std::move(copyText)), m_menu(menu)
{
    for (const ColourFormat &format : CssFormats())
        m_menu.addAction(addCommand(CommandName(format.name).constData(), Caption(format), {}, {},
                                    [this, &format] { copy(format); }));
    connect(&m_menu, &QMenu::aboutToShow, this, &CssCopyCommands::showTexts);
    m_again =
        addCommand("actEditCopyAsAgain", {}, {}, QKeySequence(Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_C),
                   [this] { copy(LastFormat()); });
    nameAgain();
}

void CssCopyCommands::nameAgain()
{
    const QString format = Caption(LastFormat()).remove(u'&');
    m_again->setText(QStringLiteral("Copy A&gain As %1").arg(format));
    const QString hint = QStringLiteral("Copy current color to the Clipboard as %1").arg(format);
    m_again->setToolTip(hint);
    m_again->setStatusTip(hint);
}

void CssCopyCommands::showTexts()
{
    const QList<QAction *> entries = m_menu.actions();
    for (qsizetype i = 0; i < entries.size(); ++i)
        entries[i]->setStatusTip(
            QString::fromStdString(CssFormats()[size_t(i)].write(m_colour).value_or(std::string())));
}

// A colour with no text is a warning, as a clipboard that cannot be used is; the program runs on.
void CssCopyCommands::copy(const ColourFormat &format)
{
    const std::optional<std::string> text = format.write(m_colour);
    if (!text)
        throw ECVException(QStringLiteral("The color could not be copied."),
                           QStringLiteral("No text in this format reads back as exactly %1.")
                               .arg(QString::fromStdString(ColourToHTMLText(m_colour))),
                           TCVMessageKind::Warning);
    m_copyText(*text);
    TintOptions->CopyAsFormat = QString::fromUtf8(format.name.data(), qsizetype(format.name.size()));
    nameAgain();
}
