#include "ConvertCommand.h"

#include <cstdlib>
#include <string>

namespace {

constexpr std::size_t QuotedAtMost = 60; // characters of a refused text quoted in its message

// The colour of one text in the format, or an empty line and the reason on `errors`.
bool ConvertOne(std::string_view text, const ColourFormat &format, const std::string &where, std::FILE *output,
                std::FILE *errors)
{
    const std::optional<AnyColour> colour = ReadAnyColour(text);
    std::string line = colour ? format.write(colour->colour) : std::string();
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), output);
    if (!colour) {
        const std::string quoted(text.substr(0, QuotedAtMost));
        std::fprintf(errors, "tintwell: %s'%s%s' is not a colour\n", where.c_str(), quoted.c_str(),
                     text.size() > QuotedAtMost ? "..." : "");
    }
    return colour.has_value();
}

} // namespace

int RunConvert(std::string_view text, const ColourFormat &format, std::FILE *input, std::FILE *output,
               std::FILE *errors)
{
    bool allColours = true;
    if (text != "-") {
        allColours = ConvertOne(text, format, {}, output, errors);
    } else {
        char *buffer = nullptr;
        std::size_t capacity = 0;
        ssize_t length;
        for (unsigned long number = 1; (length = getline(&buffer, &capacity, input)) >= 0; ++number) {
            std::string_view line(buffer, std::size_t(length));
            if (line.ends_with('\n')) line.remove_suffix(1);
            if (line.ends_with('\r')) line.remove_suffix(1);
            allColours &= ConvertOne(line, format, "line " + std::to_string(number) + ": ", output, errors);
        }
        std::free(buffer);
    }
    if (std::fflush(output) != 0 || std::ferror(output)) {
        std::fputs("tintwell: the converted colours could not be written\n", errors);
        return 2;
    }
    return allColours ? 0 : 1;
}
