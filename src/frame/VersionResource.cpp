#include "VersionResource.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {
constexpr std::uint32_t FixedInfoSignature = 0xFEEF04BD;
// Far above any executable of ours; keeps a stray path from reading a huge file into memory.
constexpr std::uintmax_t LargestImage = 256u << 20;
constexpr std::uint32_t SectionWithoutData = 8; // SHT_NOBITS

// A bounds-checked little-endian reader over a byte range.
class Reader
{
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    bool has(std::uint64_t offset, std::uint64_t size) const
    {
        return offset <= m_bytes.size() && size <= m_bytes.size() - offset;
    }
    std::uint64_t number(std::uint64_t offset, unsigned width) const
    {
        std::uint64_t value = 0;
        for (unsigned i = 0; i < width; ++i)
            value |= std::uint64_t(m_bytes[offset + i]) << (8 * i);
        return value;
    }
    std::optional<std::uint64_t> field(std::uint64_t offset, unsigned width) const
    {
        if (!has(offset, width)) return std::nullopt;
        return number(offset, width);
    }
    // A NUL-terminated text starting at offset; advances offset past the NUL.
    std::optional<std::string> text(std::uint64_t &offset) const
    {
        if (offset >= m_bytes.size()) return std::nullopt;
        const auto *start = m_bytes.data() + offset;
        const auto *end = static_cast<const std::uint8_t *>(std::memchr(start, 0, m_bytes.size() - offset));
        if (!end) return std::nullopt;
        offset += std::uint64_t(end - start) + 1;
        return std::string(reinterpret_cast<const char *>(start), std::size_t(end - start));
    }
    std::span<const std::uint8_t> range(std::uint64_t offset, std::uint64_t size) const
    {
        return m_bytes.subspan(std::size_t(offset), std::size_t(size));
    }

private:
    std::span<const std::uint8_t> m_bytes;
};

struct ElfLayout
{
    unsigned word;                                  // 4 or 8
    std::uint64_t sectionTable;                     // e_shoff
    std::uint64_t entrySize;                        // e_shentsize
    std::uint64_t count;                            // e_shnum
    std::uint64_t namesIndex;                       // e_shstrndx
    std::uint64_t nameAt, typeAt, offsetAt, sizeAt; // fields of a section header
};

std::optional<ElfLayout> ReadElfHeader(const Reader &image)
{
    if (!image.has(0, 16) || image.number(0, 4) != 0x464C457F) return std::nullopt; // "\x7FELF"
    if (image.number(5, 1) != 1) return std::nullopt;                               // little-endian only
    const auto elfClass = image.number(4, 1);
    if (elfClass != 1 && elfClass != 2) return std::nullopt;
    const bool wide = elfClass == 2;
    ElfLayout layout{};
    layout.word = wide ? 8 : 4;
    const auto table = image.field(wide ? 0x28 : 0x20, layout.word);
    const auto entrySize = image.field(wide ? 0x3A : 0x2E, 2);
    const auto count = image.field(wide ? 0x3C : 0x30, 2);
    const auto names = image.field(wide ? 0x3E : 0x32, 2);
    if (!table || !entrySize || !count || !names) return std::nullopt;
    layout.sectionTable = *table;
    layout.entrySize = *entrySize;
    layout.count = *count;
    layout.namesIndex = *names;
    layout.nameAt = 0;
    layout.typeAt = 4;
    layout.offsetAt = wide ? 0x18 : 0x10;
    layout.sizeAt = wide ? 0x20 : 0x14;
    if (layout.entrySize < layout.sizeAt + layout.word) return std::nullopt;
    if (!image.has(layout.sectionTable, layout.entrySize * layout.count)) return std::nullopt;
    return layout;
}

struct Section
{
    std::uint64_t name, type, offset, size;
};

Section SectionAt(const Reader &image, const ElfLayout &layout, std::uint64_t index)
{
    const std::uint64_t at = layout.sectionTable + index * layout.entrySize;
    return {image.number(at + layout.nameAt, 4), image.number(at + layout.typeAt, 4),
            image.number(at + layout.offsetAt, layout.word), image.number(at + layout.sizeAt, layout.word)};
}

std::optional<std::span<const std::uint8_t>> Contents(const Reader &image, const Section &section)
{
    if (section.type == SectionWithoutData || !image.has(section.offset, section.size)) return std::nullopt;
    return image.range(section.offset, section.size);
}
} // namespace

std::optional<std::span<const std::uint8_t>> FindElfSection(std::span<const std::uint8_t> bytes,
                                                            const std::string &name)
{
    const Reader image(bytes);
    const auto layout = ReadElfHeader(image);
    if (!layout || layout->namesIndex >= layout->count) return std::nullopt;
    const auto names = Contents(image, SectionAt(image, *layout, layout->namesIndex));
    if (!names) return std::nullopt;
    const Reader nameTable(*names);
    for (std::uint64_t i = 0; i < layout->count; ++i) {
        const Section section = SectionAt(image, *layout, i);
        std::uint64_t at = section.name;
        if (nameTable.text(at) == name) return Contents(image, section);
    }
    return std::nullopt;
}

std::optional<VersionResource> ParseVersionBlock(std::span<const std::uint8_t> bytes)
{
    const Reader block(bytes);
    if (!block.has(0, 32) || std::memcmp(bytes.data(), "TWVI", 4) != 0) return std::nullopt;
    if (block.number(4, 4) != FixedInfoSignature) return std::nullopt;
    VersionResource resource;
    resource.fileVersionMS = std::uint32_t(block.number(12, 4));
    resource.fileVersionLS = std::uint32_t(block.number(16, 4));
    const std::uint64_t count = block.number(28, 2);
    std::uint64_t at = 32;
    if (!block.has(at, count * 4)) return std::nullopt;
    for (std::uint64_t i = 0; i < count; ++i, at += 4)
        resource.translations.emplace_back(std::uint16_t(block.number(at, 2)), std::uint16_t(block.number(at + 2, 2)));
    // The string tables are optional; a damaged one keeps what was read before the damage.
    while (auto key = block.text(at)) {
        if (key->empty()) break;
        auto &table = resource.stringTables[*key];
        while (auto valueName = block.text(at)) {
            if (valueName->empty()) break;
            auto value = block.text(at);
            if (!value) return resource;
            table[*valueName] = *value;
        }
    }
    return resource;
}

std::optional<VersionResource> VersionResourceOfImage(std::span<const std::uint8_t> image)
{
    const auto section = FindElfSection(image, ".tintwell_version");
    if (!section) return std::nullopt;
    return ParseVersionBlock(*section);
}

std::optional<VersionResource> LoadVersionResource(const std::string &path)
{
    std::error_code error;
    const std::filesystem::path file(path);
    if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
    const auto size = std::filesystem::file_size(file, error);
    if (error || size > LargestImage) return std::nullopt;
    std::vector<std::uint8_t> image(size);
    std::ifstream in(file, std::ios::binary);
    if (!in.read(reinterpret_cast<char *>(image.data()), std::streamsize(size))) return std::nullopt;
    return VersionResourceOfImage(image);
}
