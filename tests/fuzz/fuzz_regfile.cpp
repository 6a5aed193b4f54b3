// Any bytes through the .reg file reader: no crash, no sanitizer report, only RegFileError for what it
// refuses; and whatever it reads is written as text that reads back to the same keys and values.
#include "RegFile.h"

#include <cstdint>
#include <cstdlib>

using namespace registry;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    RegFile file;
    try {
        file = parseRegFile(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    } catch (const RegFileError &) {
        return 0;
    }
    const QByteArray text = formatRegFile(file);
    if (parseRegFile(text) != file) std::abort();
    return 0;
}
