#include "QuotedText.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr std::size_t QuotedAtMost = 60; // bytes of a text quoted in a message
} // namespace

std::string Quoted(std::string_view text)
{
    std::size_t cut = std::min(text.size(), QuotedAtMost);
    while (cut < text.size() && cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    std::string quoted;
    for (std::size_t i = 0; i < cut; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < cut ? static_cast<unsigned char>(text[i + 1]) : 0;
        char escaped[8];
        if (byte < 0x20 || byte == 0x7F) {
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            quoted += escaped;
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            std::snprintf(escaped, sizeof escaped, "\\u%04X", next);
            quoted += escaped;
            ++i;
        } else {
            quoted += char(byte);
        }
    }
    return "'" + quoted + (cut < text.size() ? "'..." : "'");
}
