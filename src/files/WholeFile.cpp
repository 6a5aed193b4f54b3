#include "WholeFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>

#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

namespace {

constexpr int MostLinks = 40; // the kernel's own limit on links followed in one path

// Why the file could not be written; thrown inside this unit only.
struct Refusal
{
    QString reason;
};

Refusal SystemError(int error)
{
    return {QString::fromLocal8Bit(std::strerror(error))};
}

std::string FolderOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Whether following a link of this owner in this folder would break the protected_symlinks rule.
bool LinkIsProtected(uid_t linkOwner, const std::string &folder)
{
    struct stat status = {};
    if (::stat(folder.c_str(), &status) != 0) return false;
    const bool sharedSticky = (status.st_mode & S_ISVTX) && (status.st_mode & S_IWOTH);
    return sharedSticky && linkOwner != ::geteuid() && linkOwner != status.st_uid;
}

// The file a path finally names, and the permissions of the one there (none for a new file).
struct Target
{
    std::string path;
    std::optional<mode_t> permissions;
};

// The path's links followed one by one; throws a Refusal.
Target ResolveTarget(std::string path)
{
    for (int followed = 0;; ++followed) {
        struct stat status = {};
        if (::lstat(path.c_str(), &status) != 0) {
            if (errno == ENOENT) return {path, std::nullopt}; // a new file
            throw SystemError(errno);
        }
        if (!S_ISLNK(status.st_mode)) {
            if (!S_ISREG(status.st_mode)) throw Refusal{QStringLiteral("not a regular file")};
            return {path, status.st_mode & 07777};
        }
        if (followed == MostLinks) throw SystemError(ELOOP);
        const std::string folder = FolderOf(path);
        if (LinkIsProtected(status.st_uid, folder))
            throw Refusal{QStringLiteral("a link in a shared folder that belongs to another user")};
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), target, sizeof target - 1);
        if (length < 0) throw SystemError(errno);
        const std::string next(target, std::size_t(length));
        path = next.starts_with('/') ? next : folder + '/' + next;
    }
}

void WriteAll(int descriptor, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, data, std::size_t(left));
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) throw SystemError(errno);
        data += written;
        left -= written;
    }
}

// A new file beside the target, named after it, made as open() makes any file (the umask applies); its name
// is in draft.
int CreateDraft(const std::string &target, std::string &draft)
{
    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = target.substr(slash == std::string::npos ? 0 : slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        draft =
            folder + '.' + name + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36).toStdString();
        const int descriptor = ::open(draft.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

} // namespace

QString WriteWhole(const QString &path, const QByteArray &bytes)
{
    try {
        const auto [target, permissions] = ResolveTarget(QFile::encodeName(path).toStdString());
        std::string draft;
        const int descriptor = CreateDraft(target, draft);
        if (descriptor < 0) throw SystemError(errno);
        bool renamed = false;
        const auto cleanUp = qScopeGuard([&] {
            if (!renamed) ::unlink(draft.c_str());
        });
        {
            const auto closeIt = qScopeGuard([descriptor] { ::close(descriptor); });
            if (permissions && ::fchmod(descriptor, *permissions) != 0) throw SystemError(errno);
            WriteAll(descriptor, bytes);
            // A delayed allocation can still fail here; only a file known to be on the disk replaces the old.
            if (::fsync(descriptor) != 0) throw SystemError(errno);
        }
        if (::rename(draft.c_str(), target.c_str()) != 0) throw SystemError(errno);
        renamed = true;
        // The rename itself is made durable with the folder; a failure here loses nothing already there.
        const int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
        return {};
    } catch (const Refusal &refusal) {
        return refusal.reason;
    }
}

} // namespace files
