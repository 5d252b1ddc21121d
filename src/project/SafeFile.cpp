#include "SafeFile.h"

#include "services/TabrixError.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// The text a save has always shown when its file cannot be opened for writing.
const char* const SaveOpenError = "Unable to open XML writer.";

namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

[[noreturn]] void ThrowWriteError(int error) {
    throw TabrixError(FormatMessage("Unable to write the file: %s", std::strerror(error)));
}

[[noreturn]] void ThrowOpenError() {
    throw TabrixError(SaveOpenError);
}

// As many links as the kernel follows in one path before it reports a loop.
constexpr int MaxLinksFollowed = 40;

// The folder of a path, up to and with its last slash, or "" for a bare name.
std::string FolderPrefixOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Symbolic links are followed to the file they name, whether it exists or not, so that
// the save writes there and the links stay links. A relative target is taken from the
// link's own folder; a loop is refused.
std::string FollowLinks(std::string path) {
    for (int followed = 0;; ++followed) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        if (followed == MaxLinksFollowed) {
            ThrowOpenError();
        }
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), target, sizeof target);
        if (length <= 0 || static_cast<size_t>(length) == sizeof target) {
            ThrowOpenError();
        }
        const std::string_view next(target, static_cast<size_t>(length));
        path = next.front() == '/' ? std::string(next) : FolderPrefixOf(path) + std::string(next);
    }
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void WriteAllAt(int fd, std::string_view bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowWriteError(errno);
        }
        if (written == 0) {
            ThrowWriteError(ENOSPC);
        }
        bytes.remove_prefix(static_cast<size_t>(written));
        offset += written;
    }
}

std::string ReadAllAt(int fd) {
    std::string bytes;
    std::vector<char> piece(64 * 1024);
    while (true) {
        const ssize_t got =
            ::pread(fd, piece.data(), piece.size(), static_cast<off_t>(bytes.size()));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowWriteError(errno);
        }
        if (got == 0) {
            return bytes;
        }
        bytes.append(piece.data(), static_cast<size_t>(got));
    }
}

// Temporary names are short whatever the target's name, so that a target whose name is
// as long as the system allows still gets one; every temporary file of ours starts so.
constexpr std::string_view TemporaryPrefix = ".tabrix-";
constexpr size_t TemporaryRandomLength = 12;
constexpr std::string_view TemporaryAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// Names already taken are passed over; this many in a row means something else is wrong.
constexpr int TemporaryNameAttempts = 100;
// A save writes its temporary file within seconds; one this old was left by a save that
// was killed, not by one that is still running.
constexpr time_t StaleTemporaryAge = 15 * 60;

std::string RandomTemporaryName(const std::string& folderPrefix) {
    unsigned char random[TemporaryRandomLength];
    if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
        // Uniqueness comes from O_EXCL and link's EEXIST; this only spreads the names.
        static unsigned counter = 0;
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        unsigned long long mix = static_cast<unsigned long long>(now.tv_nsec) ^
                                 (static_cast<unsigned long long>(::getpid()) << 32) ^ ++counter;
        for (unsigned char& byte : random) {
            mix = mix * 6364136223846793005ULL + 1442695040888963407ULL;
            byte = static_cast<unsigned char>(mix >> 56);
        }
    }
    std::string name = folderPrefix;
    name += TemporaryPrefix;
    for (const unsigned char byte : random) {
        name += TemporaryAlphabet[byte % TemporaryAlphabet.size()];
    }
    return name;
}

bool IsTemporaryName(std::string_view name) {
    if (name.size() != TemporaryPrefix.size() + TemporaryRandomLength ||
        name.substr(0, TemporaryPrefix.size()) != TemporaryPrefix) {
        return false;
    }
    name.remove_prefix(TemporaryPrefix.size());
    return name.find_first_not_of(TemporaryAlphabet) == std::string_view::npos;
}

// Named temporary files outlive a save that is killed; the next save in the folder
// removes those of ours that are old enough to belong to no running save.
void RemoveStaleTemporaries(const std::string& folder) {
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) {
        return;
    }
    const time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(listing)) {
        struct stat info {};
        if (IsTemporaryName(entry->d_name) &&
            ::fstatat(::dirfd(listing), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
            info.st_mtime < now - StaleTemporaryAge) {
            ::unlinkat(::dirfd(listing), entry->d_name, 0);
        }
    }
    ::closedir(listing);
}

// The temporary file that becomes the target; while it has a name that is not yet the
// target's, the name goes with it.
class TemporaryFile {
  public:
    TemporaryFile() = default;
    ~TemporaryFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        if (!name_.empty()) {
            ::unlink(name_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Unnamed where the system allows, so that a killed save leaves nothing behind. False,
    // with errno set, when no temporary file can be had.
    bool Create(const std::string& folderPrefix) {
        const std::string folder = folderPrefix.empty() ? "." : folderPrefix;
        // An unnamed file is named through /proc: linking by descriptor alone needs a
        // privilege.
        if (::access("/proc/self/fd", F_OK) == 0) {
            fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
            if (fd_ >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) {
                return fd_ >= 0;
            }
        }
        RemoveStaleTemporaries(folder);
        for (int attempt = 0; attempt < TemporaryNameAttempts; ++attempt) {
            std::string name = RandomTemporaryName(folderPrefix);
            fd_ = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, 0600);
            if (fd_ >= 0) {
                name_ = std::move(name);
                return true;
            }
            if (errno != EEXIST) {
                return false;
            }
        }
        return false;
    }

    int Fd() const { return fd_; }

    // An unnamed file gets its name last, just before it replaces the target.
    void Name(const std::string& folderPrefix) {
        if (!name_.empty()) {
            return;
        }
        const std::string self = "/proc/self/fd/" + std::to_string(fd_);
        for (int attempt = 0; attempt < TemporaryNameAttempts; ++attempt) {
            std::string name = RandomTemporaryName(folderPrefix);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                name_ = std::move(name);
                return;
            }
            if (errno != EEXIST) {
                ThrowWriteError(errno);
            }
        }
        ThrowWriteError(EEXIST);
    }

    // Closing can report a late write error.
    void Close() {
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) {
            ThrowWriteError(errno);
        }
    }

    void RenameTo(const std::string& path) {
        if (::rename(name_.c_str(), path.c_str()) != 0) {
            ThrowWriteError(errno);
        }
        name_.clear();
    }

  private:
    int fd_ = -1;
    std::string name_;
};

// False where this user may not give the file's owner and group to the replacement
// (another user owns it, or its group is not one of ours; EINVAL for an owner this user
// namespace cannot name): the file is then written in place, to keep them.
bool GiveOwnerAndGroup(int fd, const struct stat& target) {
    struct stat made {};
    if (::fstat(fd, &made) != 0) {
        ThrowWriteError(errno);
    }
    const uid_t owner = made.st_uid == target.st_uid ? static_cast<uid_t>(-1) : target.st_uid;
    const gid_t group = made.st_gid == target.st_gid ? static_cast<gid_t>(-1) : target.st_gid;
    if ((owner == static_cast<uid_t>(-1) && group == static_cast<gid_t>(-1)) ||
        ::fchown(fd, owner, group) == 0) {
        return true;
    }
    if (errno == EPERM || errno == EINVAL) {
        return false;
    }
    ThrowWriteError(errno);
}

// Writes a complete file beside the target and renames it over the target: the target
// holds the old bytes or the new ones, never a mix. False, with nothing written, where
// the replacement could not be the same file to its users (see GiveOwnerAndGroup) or
// the folder takes no new file; target is null for a new file.
bool ReplaceThroughTemporary(const std::string& path, const struct stat* target,
                             std::string_view bytes) {
    const std::string folderPrefix = FolderPrefixOf(path);
    TemporaryFile temporary;
    if (!temporary.Create(folderPrefix)) {
        if (target && (errno == EACCES || errno == EPERM)) {
            return false;
        }
        ThrowOpenError();
    }
    // Before the mode: a change of owner clears set-id bits, which are not kept anyway.
    if (target && !GiveOwnerAndGroup(temporary.Fd(), *target)) {
        return false;
    }
    // The permissions are kept; set-id bits, which a write would have cleared, are not.
    if (::fchmod(temporary.Fd(), target ? (target->st_mode & 0777) : NewFileMode()) != 0) {
        ThrowWriteError(errno);
    }
    WriteAllAt(temporary.Fd(), bytes, 0);
    if (::fdatasync(temporary.Fd()) != 0) {
        ThrowWriteError(errno);
    }
    temporary.Name(folderPrefix);
    temporary.Close();
    temporary.RenameTo(path);
    return true;
}

// Writes the new bytes over the file itself, which keeps everything the file is (its
// owner, group, links). The old bytes are read first and written back if a step fails;
// they fit where they were, so putting them back needs no new room on the disk.
void OverwriteInPlace(int fd, const struct stat& target, std::string_view bytes) {
    const std::string previous = ReadAllAt(fd);
    try {
        WriteAllAt(fd, bytes, 0);
        if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
            ThrowWriteError(errno);
        }
        if (::fdatasync(fd) != 0) {
            ThrowWriteError(errno);
        }
    } catch (const TabrixError&) {
        try {
            WriteAllAt(fd, previous, 0);
        } catch (const TabrixError&) {
            // The save's own error is the one to report.
        }
        if (::ftruncate(fd, static_cast<off_t>(previous.size())) == 0) {
            ::fdatasync(fd);
        }
        throw;
    }
    // A write clears set-id bits except for root; a replaced file would have lost them.
    if ((target.st_mode & (S_ISUID | S_ISGID)) != 0) {
        ::fchmod(fd, target.st_mode & 0777);
    }
}

} // namespace

void ReplaceFileContents(const std::string& requestedPath, std::string_view bytes) {
    const std::string path = FollowLinks(requestedPath);
    struct stat target {};
    if (::lstat(path.c_str(), &target) != 0) {
        ReplaceThroughTemporary(path, nullptr, bytes);
        return;
    }
    if (!S_ISREG(target.st_mode)) {
        ThrowOpenError();
    }
    // A file the user may not write stays as it is, though the folder would let the rename
    // replace it: writing in place would have been refused too. It is opened for reading
    // as well, so that a save in place can put the old bytes back.
    int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    const bool readable = fd >= 0;
    if (fd < 0 && errno == EACCES) {
        fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW);
    }
    FileDescriptor file(fd);
    if (file.get() < 0 || ::fstat(file.get(), &target) != 0 || !S_ISREG(target.st_mode)) {
        ThrowOpenError();
    }
    // A new file under this name would leave the other hard links with the old one.
    if (target.st_nlink <= 1 && ReplaceThroughTemporary(path, &target, bytes)) {
        return;
    }
    if (!readable) {
        ThrowOpenError(); // the old bytes could not be put back
    }
    OverwriteInPlace(file.get(), target, bytes);
}

void ReadRegularFileInPieces(const std::string& path,
                             const std::function<bool(const char*, std::size_t)>& consume) {
    // Non-blocking, so that opening a FIFO cannot hang; it is refused just after.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.get() < 0) {
        throw TabrixError(std::strerror(errno));
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        throw TabrixError("not a regular file");
    }
    std::vector<char> piece(256 * 1024);
    while (true) {
        const ssize_t got = ::read(file.get(), piece.data(), piece.size());
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw TabrixError(std::strerror(errno));
        }
        if (got == 0 || !consume(piece.data(), static_cast<std::size_t>(got))) {
            return;
        }
    }
}

std::string ReadRegularFile(const std::string& path, std::size_t maxBytes) {
    std::string bytes;
    ReadRegularFileInPieces(path, [&](const char* data, std::size_t size) {
        if (size > maxBytes - bytes.size()) {
            throw TabrixError("file too large");
        }
        bytes.append(data, size);
        return true;
    });
    return bytes;
}
