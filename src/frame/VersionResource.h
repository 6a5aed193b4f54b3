// The version block that the build places in the executable's ".tintwell_version" ELF section (layout in
// cmake/TintwellVersion.cmake), and its reader. Plain C++ so that the fuzz build can take it alone. Every
// offset and length is checked: a truncated or malformed file reads as having no version block.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

struct VersionResource
{
    std::uint32_t fileVersionMS = 0;
    std::uint32_t fileVersionLS = 0;
    // (language identifier, code page), in the order of the block.
    std::vector<std::pair<std::uint16_t, std::uint16_t>> translations;
    // "040904E4" -> ("LegalCopyright" -> text, ...)
    std::map<std::string, std::map<std::string, std::string>> stringTables;
};

// The contents of the named section of a little-endian ELF image (32 or 64 bit), or nothing.
std::optional<std::span<const std::uint8_t>> FindElfSection(std::span<const std::uint8_t> image,
                                                            const std::string &name);
std::optional<VersionResource> ParseVersionBlock(std::span<const std::uint8_t> block);
// Both of the above on an image held in memory.
std::optional<VersionResource> VersionResourceOfImage(std::span<const std::uint8_t> image);
// Reads the file afresh; a file that cannot be read, is not a regular file or holds no valid block gives
// nothing.
std::optional<VersionResource> LoadVersionResource(const std::string &path);
