// Files written whole or not at all, for the program's exports and tintwell-reg's.
#pragma once

#include <QByteArray>
#include <QString>

namespace files {

// Writes bytes under path whole or not at all: into a new file beside the target, synced and renamed over it
// only once every byte is on the disk, so that a full disk or any other failure leaves what stood there as it
// was. A link is followed to a regular file (the file is replaced, its permissions kept), but never one in a
// sticky, world-writable folder owned by neither the user nor the folder's owner, as the kernel's
// protected_symlinks rule has it. A target that is no regular file (a device, a FIFO, a folder) or a loop of
// links is refused and nothing is touched. Returns an empty string on success, else the reason in one line.
[[nodiscard]] QString WriteWhole(const QString &path, const QByteArray &bytes);

} // namespace files
