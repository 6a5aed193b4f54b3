#include "ConvertCommand.h"

#include "QuotedText.h"

#include <cerrno>
#include <cstring>
#include <string>

using namespace colour;

namespace {

// No colour's text comes near this; a longer line is refused after reading only this much of it.
constexpr std::size_t LongestLine = 16 * 1024;

void Answer(const std::optional<std::string> &written, std::FILE *output)
{
    std::string line = written.value_or(std::string());
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), output);
}

// The colour of one text in the format, or an empty line and the reason on `errors`.
bool ConvertOne(std::string_view text, const ColourFormat &format, const std::string &where, std::FILE *output,
                std::FILE *errors)
{
    const std::optional<AnyColour> colour = ReadAnyColour(text);
    const std::optional<std::string> written = colour ? format.write(colour->colour) : std::nullopt;
    Answer(written, output);
    if (!colour)
        std::fprintf(errors, "tintwell: %s%s is not a color\n", where.c_str(), Quoted(text).c_str());
    else if (!written)
        std::fprintf(errors, "tintwell: %s%s has no %s text that reads back as the same color\n", where.c_str(),
                     Quoted(text).c_str(), std::string(format.name).c_str());
    return written.has_value();
}

enum class LineRead { Line, TooLong, End };

// The next line of `input` without its end, at most LongestLine bytes of it kept; the rest of a longer line is
// read past.
LineRead ReadLine(std::FILE *input, std::string &line)
{
    line.clear();
    int c;
    bool any = false, tooLong = false;
    while ((c = getc_unlocked(input)) != EOF) {
        any = true;
        if (c == '\n') break;
        if (line.size() < LongestLine)
            line += char(c);
        else
            tooLong = true;
    }
    if (!any) return LineRead::End;
    if (!tooLong && line.ends_with('\r')) line.pop_back();
    return tooLong ? LineRead::TooLong : LineRead::Line;
}

} // namespace

int RunConvert(std::string_view text, const ColourFormat &format, std::FILE *input, std::FILE *output,
               std::FILE *errors)
{
    bool allColours = true;
    if (text != "-") {
        allColours = ConvertOne(text, format, {}, output, errors);
    } else {
        std::string line;
        LineRead read;
        for (unsigned long number = 1; (read = ReadLine(input, line)) != LineRead::End; ++number) {
            const std::string where = "line " + std::to_string(number) + ": ";
            if (read == LineRead::Line) {
                allColours &= ConvertOne(line, format, where, output, errors);
                continue;
            }
            Answer(std::nullopt, output);
            std::fprintf(errors, "tintwell: %s%s is longer than %zu KiB: not a color\n", where.c_str(),
                         Quoted(line).c_str(), LongestLine / 1024);
            allColours = false;
        }
        if (std::ferror(input)) {
            std::fprintf(errors, "tintwell: standard input could not be read: %s\n", std::strerror(errno));
            std::fflush(output);
            return 2;
        }
    }
    if (std::fflush(output) != 0 || std::ferror(output)) {
        std::fputs("tintwell: the converted colors could not be written\n", errors);
        return 2;
    }
    return allColours ? 0 : 1;
}
