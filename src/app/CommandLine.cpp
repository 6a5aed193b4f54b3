#include "CommandLine.h"

#include "CaptureSession.h"
#include "Clipboard.h"
#include "ClipboardHolder.h"
#include "ColourHistory.h"
#include "ContrastCommand.h"
#include "ConvertCommand.h"
#include "CVApp.h"
#include "CVExceptions.h"
#include "CVVerInf.h"
#include "PaletteFile.h"
#include "RegistryStore.h"
#include "ScreenBackend.h"
#include "StoredColours.h"
#include "uOptions.h"
#include "uRes.h"
#include "WaylandWorkarounds.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QScopeGuard>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

using namespace registry;

using namespace colour;

namespace {

const char *const Usage = "Usage: tintwell [--pick [--format FORMAT] [--space device|srgb] [--sample N] [--verbose]\n"
                          "                       [--remember]]\n"
                          "       tintwell --convert TEXT|- [--format FORMAT]\n"
                          "       tintwell --export-palette FILE\n"
                          "       tintwell --contrast FOREGROUND BACKGROUND [--suggest]\n"
                          "       tintwell --help | --version\n";

const char *const Help =
    "Corvane Tintwell, a small color editor. Without options it opens the editor.\n"
    "\n"
    "  --pick             pick a color from the screen without opening the editor: click a pixel, or move\n"
    "                     to it with the arrow keys (Shift: ten at a time) and press Enter or Space; Escape\n"
    "                     or the right button cancels. The color is printed and left on the clipboard.\n"
    "  --convert TEXT     print the color TEXT gives in another format: TEXT is any color of CSS Color 4\n"
    "                     (a name, #rgb to #rrggbbaa, rgb() hsl() hwb() lab() lch() oklab() oklch() color()),\n"
    "                     RGB(255, 128, 0), 0x00FF8000 or six hexadecimal digits. A color outside sRGB is\n"
    "                     brought in by CSS's gamut mapping; an alpha is dropped. No display is needed.\n"
    "  --convert -        the same for each line of standard input, one line out for each; a line that is\n"
    "                     no color gives an empty line, is named on standard error and makes the exit\n"
    "                     status 1\n"
    "  --format FORMAT    how --pick and --convert print the color: rgb (RGB(255, 128, 0)), hex\n"
    "                     (0x00FF8000), html (#FF8000, the default), css-rgb (rgb(255 128 0)), hsl, hwb,\n"
    "                     lab, lch, oklab, oklch or display-p3 (color(display-p3 0.936 0.529 0.199))\n"
    "  --space SPACE      which value --pick gives: device, the value the screen is sent, or srgb, what it\n"
    "                     means in sRGB by the color profile the desktop publishes for the screen (X11);\n"
    "                     without a usable profile the device value, said on standard error. The default\n"
    "                     is the preference \"Convert picked colors to sRGB\".\n"
    "  --sample N         --pick takes the mean of the N by N square of device pixels around the one picked\n"
    "                     (N is 1, 3, 5, 9, 15 or 25); the default is the last chosen in a capture\n"
    "  --verbose          --pick also tells on standard error both values and the profile's name\n"
    "  --remember         --pick also adds the color to the editor's recent colors; without it a pick\n"
    "                     writes nothing\n"
    "  --export-palette FILE  write the editor's color slots, custom colors and recent colors to FILE,\n"
    "                     a GIMP palette (.gpl), Adobe Swatch Exchange (.ase), CSS custom properties (.css)\n"
    "                     or design tokens (.json), by its extension. No display is needed.\n"
    "  --contrast FOREGROUND BACKGROUND  print the WCAG 2 contrast ratio of the two colors (any that --convert\n"
    "                     reads) and whether it passes AA and AAA for normal and large text and for non-text;\n"
    "                     a foreground with an alpha is drawn over the background first. No display is needed.\n"
    "  --suggest          --contrast also names the nearest color to the foreground (same hue and chroma)\n"
    "                     that passes AA for normal text\n"
    "  --help             this text\n"
    "  --version          the program's version\n"
    "\n"
    "Exit status of --pick: 0 picked, 1 cancelled, 2 an error (told on standard error). Of --convert: 0\n"
    "converted, 1 a text that is no color, 2 an error. Of --export-palette and --contrast: 0 done, 2 an\n"
    "error.\n";

enum ExitStatus { Done = 0, Cancelled = 1, Failed = 2 };

// Whether the whole text was written.
bool Print(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    const bool written =
        std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream) == std::size_t(bytes.size());
    return std::fflush(stream) == 0 && written;
}

// Standard output's text, or exit status 2 with a word when it cannot be written (a full disk, a closed pipe).
int PrintResult(const QString &text)
{
    if (Print(stdout, text)) return 0;
    Print(stderr, QStringLiteral("tintwell: the output could not be written: %1\n")
                      .arg(QString::fromLocal8Bit(std::strerror(errno))));
    return 2;
}

// The option that the parser did not know, as the user typed it ("--bogus=1" is named "--bogus").
QString UnknownOption(const QCommandLineParser &parser, const QStringList &arguments)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty()) return {};
    for (const QString &argument : arguments.mid(1)) {
        if (argument == u"--") break;
        const QString name = argument.section(u'=', 0, 0);
        if (name.startsWith(u'-') && name.mid(name.startsWith(u"--") ? 2 : 1) == unknown.first()) return name;
    }
    return unknown.first();
}

// One line, so that a script's log shows the whole of it.
int Refuse(const QString &message)
{
    Print(stderr, QStringLiteral("tintwell: %1 See tintwell --help.\n").arg(message));
    return Failed;
}

// Both values a pick took, and by which profile: "device #EE8533, sRGB #FF8000 via "Wide P3 display"".
QString Explained(const PickedColour &picked)
{
    const QString device = QStringLiteral("device %1").arg(QString::fromStdString(ColourToHTMLText(picked.device)));
    const QString profile = QString::fromStdString(picked.profile);
    if (picked.srgb)
        return QStringLiteral("%1, sRGB %2%3 via \"%4\"")
            .arg(device, QString::fromStdString(ColourToHTMLText(picked.srgb->colour)),
                 picked.srgb->clipped ? QStringLiteral(" (clipped: outside sRGB)") : QString(), profile);
    if (!profile.isEmpty())
        return QStringLiteral("%1; the screen's color profile can't be used: %2").arg(device, profile);
    return QStringLiteral("%1; no color profile for this screen").arg(device);
}

// A command's failure in one line on standard error.
int Fail(const QString &message)
{
    Print(stderr, QStringLiteral("tintwell: %1\n").arg(message));
    return Failed;
}

int RunExportPalette(const QString &path)
{
    try {
        SavePaletteFile(path,
                        MakePalette(ReadStoredColours(StoreHive, StoreAppKey()), QFileInfo(path).completeBaseName()));
        return Done;
    } catch (const RegistryStoreError &error) {
        return Fail(error.message());
    } catch (const PaletteError &error) {
        return Fail(QStringLiteral("%1: %2").arg(path, error.message()));
    }
}

} // namespace

std::variant<int, DisplayRequest> ReadCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption pick(QStringLiteral("pick"));
    const QCommandLineOption format(QStringLiteral("format"), {}, QStringLiteral("format"), QStringLiteral("html"));
    const QCommandLineOption convert(QStringLiteral("convert"), {}, QStringLiteral("text"));
    const QCommandLineOption space(QStringLiteral("space"), {}, QStringLiteral("space"));
    const QCommandLineOption verbose(QStringLiteral("verbose"));
    const QCommandLineOption remember(QStringLiteral("remember"));
    const QCommandLineOption sample(QStringLiteral("sample"), {}, QStringLiteral("side"));
    const QCommandLineOption exportPalette(QStringLiteral("export-palette"), {}, QStringLiteral("file"));
    const QCommandLineOption contrast(QStringLiteral("contrast"), {}, QStringLiteral("foreground"));
    const QCommandLineOption suggest(QStringLiteral("suggest"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions(
        {pick, convert, format, space, verbose, remember, sample, exportPalette, contrast, suggest, help, version});
    if (!parser.parse(arguments)) {
        const QString unknown = UnknownOption(parser, arguments);
        return Refuse(unknown.isEmpty() ? parser.errorText() : QStringLiteral("Unknown option '%1'.").arg(unknown));
    }
    if (parser.isSet(contrast)) {
        const QStringList background = parser.positionalArguments();
        if (background.size() != 1) return Refuse(QStringLiteral("--contrast takes a foreground and a background."));
        if (parser.optionNames().size() > (parser.isSet(suggest) ? 2 : 1))
            return Refuse(QStringLiteral("--contrast takes no other option but --suggest."));
        return RunContrast(parser.value(contrast).toStdString(), background.constFirst().toStdString(),
                           parser.isSet(suggest));
    }
    if (parser.isSet(suggest)) return Refuse(QStringLiteral("--suggest goes with --contrast."));
    if (!parser.positionalArguments().isEmpty())
        return Refuse(QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(help)) return PrintResult(QLatin1String(Usage) + QLatin1String(Help));
    if (parser.isSet(version))
        return PrintResult(QStringLiteral("Corvane Tintwell %1\n")
                               .arg(GetVersionText(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath())));
    if (parser.isSet(exportPalette)) {
        if (parser.optionNames().size() > 1) return Refuse(QStringLiteral("--export-palette takes no other option."));
        const QString path = parser.value(exportPalette);
        if (!IsPaletteFileName(path))
            return Refuse(QStringLiteral("'%1': a palette file's name ends in .gpl, .ase, .css or .json.").arg(path));
        return RunExportPalette(path);
    }
    if (parser.isSet(pick) && parser.isSet(convert)) return Refuse(QStringLiteral("--pick or --convert, not both."));
    if (parser.isSet(format) && !parser.isSet(pick) && !parser.isSet(convert))
        return Refuse(QStringLiteral("--format goes with --pick or --convert."));
    for (const QCommandLineOption *pickOption : {&space, &verbose, &remember, &sample})
        if (parser.isSet(*pickOption) && !parser.isSet(pick))
            return Refuse(QStringLiteral("--%1 goes with --pick.").arg(pickOption->names().constFirst()));
    const ColourFormat *colourFormat = FindColourFormat(parser.value(format).toStdString());
    if (!colourFormat) return Refuse(QStringLiteral("Unknown format '%1'.").arg(parser.value(format)));
    if (parser.isSet(convert)) return RunConvert(parser.value(convert).toStdString(), *colourFormat);
    if (!parser.isSet(pick)) return DisplayRequest{};
    DisplayRequest request;
    request.kind = DisplayRequest::Pick;
    request.format = colourFormat->write;
    if (parser.isSet(space)) {
        const QString name = parser.value(space).toLower();
        if (name != u"device" && name != u"srgb") return Refuse(QStringLiteral("Unknown space '%1'.").arg(name));
        request.srgb = name == u"srgb";
    }
    request.verbose = parser.isSet(verbose);
    request.remember = parser.isSet(remember);
    if (parser.isSet(sample)) {
        bool number = false;
        const int side = parser.value(sample).toInt(&number);
        if (!number || NearestCaptureSample(side) != side)
            return Refuse(QStringLiteral("--sample takes 1, 3, 5, 9, 15 or 25, not '%1'.").arg(parser.value(sample)));
        request.sample = side;
    }
    return request;
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
    auto windowsOwner = std::make_unique<TCaptureWindows>();
    TCaptureWindows &windows = *windowsOwner;
    const auto keep = qScopeGuard([&windowsOwner] { keepToProcessEnd(windowsOwner); });
    // What is changed here is not kept.
    CaptureChoices choices{TintOptions->CaptureZoom, request.sample.value_or(TintOptions->CaptureSample)};
    try {
        const std::optional<PickedColour> picked =
            CaptureColour(*screen, windows, TintOptions->CaptureAllScreens, choices);
        if (!picked) return Cancelled;
        const bool srgb = request.srgb.value_or(TintOptions->CaptureSRGB);
        if (request.verbose)
            Print(stderr, QStringLiteral("tintwell: %1\n").arg(Explained(*picked)));
        else if (srgb && !picked->srgb)
            Print(stderr, QStringLiteral("tintwell: no usable color profile for this screen: the device value\n"));
        const Colour colour = srgb && picked->srgb ? picked->srgb->colour : picked->device;
        const std::optional<std::string> written = request.format(colour);
        if (!written)
            throw ECVException(QStringLiteral("The color %1 has no text in that format that reads back as the same "
                                              "color.")
                                   .arg(QString::fromStdString(ColourToHTMLText(colour))),
                               {}, TCVMessageKind::Warning);
        const QString text = QString::fromStdString(*written);
        Clipboard clipboard;
        QString failure;
        if (!clipboard.setText(text, failure))
            throw ECVException(QStringLiteral("The color could not be put on the clipboard."), failure,
                               TCVMessageKind::Warning);
        keepClipboardAfterExit();
        const int printed = PrintResult(text + u'\n');
        if (request.remember) {
            try {
                ColourHistory history(Application->RegRoot, Application->RegAppKey + QStringLiteral("\\History"));
                history.add(colour);
                history.save();
            } catch (const RegistryStoreError &error) {
                return Fail(QStringLiteral("the color could not be remembered: %1").arg(error.message()));
            }
        }
        return printed;
    } catch (const ECVException &error) {
        const QString details = error.Details.simplified();
        Print(
            stderr,
            QStringLiteral("tintwell: %1%2\n").arg(error.ErrorMessage, details.isEmpty() ? QString() : u' ' + details));
        return Failed;
    }
}
