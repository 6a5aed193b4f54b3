#include "CommandLine.h"

#include "Clipboard.h"
#include "ClipboardHolder.h"
#include "CVApp.h"
#include "CVExceptions.h"
#include "CVVerInf.h"
#include "frmCapture.h"
#include "ScreenBackend.h"
#include "uOptions.h"
#include "uRes.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QScopeGuard>

#include <cstdio>
#include <memory>

namespace {

const char *const Usage = "Usage: tintwell [--pick [--format rgb|hex|html]] | --help | --version\n";

const char *const Help =
    "Corvane Tintwell, a small colour editor. Without options it opens the editor.\n"
    "\n"
    "  --pick             pick a colour from the screen without opening the editor: click a pixel, or move\n"
    "                     to it with the arrow keys (Shift: ten at a time) and press Enter or Space; Escape\n"
    "                     or the right button cancels. The colour is printed and left on the clipboard.\n"
    "  --format NOTATION  how --pick prints the colour: rgb (RGB(255, 128, 0)), hex (0x00FF8000) or html\n"
    "                     (#FF8000, the default)\n"
    "  --help             this text\n"
    "  --version          the program's version\n"
    "\n"
    "Exit status of --pick: 0 picked, 1 cancelled, 2 an error (told on standard error).\n";

enum ExitStatus { Done = 0, Cancelled = 1, Failed = 2 };

void Print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

// One line, so that a script's log shows the whole of it.
int Refuse(const QString &message)
{
    Print(stderr, QStringLiteral("tintwell: %1 See tintwell --help.\n").arg(message));
    return Failed;
}

std::optional<std::string (*)(Colour)> Formatter(const QString &notation)
{
    if (notation == u"rgb") return ColourToRGBText;
    if (notation == u"hex") return ColourToHEXText;
    if (notation == u"html") return ColourToHTMLText;
    return std::nullopt;
}

} // namespace

std::variant<int, DisplayRequest> ReadCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption pick(QStringLiteral("pick"));
    const QCommandLineOption format(QStringLiteral("format"), {}, QStringLiteral("notation"), QStringLiteral("html"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions({pick, format, help, version});
    if (!parser.parse(arguments)) return Refuse(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return Refuse(QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(help)) {
        Print(stdout, QLatin1String(Usage) + QLatin1String(Help));
        return Done;
    }
    if (parser.isSet(version)) {
        Print(stdout, QStringLiteral("Corvane Tintwell %1\n")
                          .arg(GetVersionText(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath())));
        return Done;
    }
    if (parser.isSet(format) && !parser.isSet(pick)) return Refuse(QStringLiteral("--format goes with --pick."));
    if (!parser.isSet(pick)) return DisplayRequest{};
    const auto formatter = Formatter(parser.value(format).toLower());
    if (!formatter) return Refuse(QStringLiteral("Unknown notation '%1'.").arg(parser.value(format)));
    return DisplayRequest{DisplayRequest::Pick, *formatter};
}

int RefuseWithoutDisplay()
{
    Print(stderr, QStringLiteral("tintwell: No display to open: neither DISPLAY nor WAYLAND_DISPLAY names one that "
                                 "answers.\n"));
    return Failed;
}

int RunPick(const DisplayRequest &request)
{
    StartUpQuietly();
    const auto release = qScopeGuard([] { ReleaseStartUp(); });
    const std::unique_ptr<ScreenService> screen(createScreenService(nullptr));
    TCaptureWindows windows;
    int zoom = TintOptions->CaptureZoom; // a zoom changed here is not kept
    try {
        const std::optional<Colour> colour = CaptureColour(*screen, windows, TintOptions->CaptureAllScreens, zoom);
        if (!colour) return Cancelled;
        const QString text = QString::fromStdString(request.format(*colour));
        Clipboard clipboard;
        QString failure;
        if (!clipboard.setText(text, failure))
            throw ECVException(QStringLiteral("The colour could not be put on the clipboard."), failure, 1);
        Print(stdout, text + u'\n');
        keepClipboardAfterExit();
        return Done;
    } catch (const ECVException &error) {
        const QString details = error.Details.simplified();
        Print(
            stderr,
            QStringLiteral("tintwell: %1%2\n").arg(error.ErrorMessage, details.isEmpty() ? QString() : u' ' + details));
        return Failed;
    }
}
