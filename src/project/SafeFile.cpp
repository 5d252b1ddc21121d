#include "SafeFile.h"

#include "services/TabrixError.h"
#include "xml/XmlWriter.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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
    // Closes now and reports whether the close succeeded (it can report a late write error).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

[[noreturn]] void ThrowWriteError(int error) {
    throw TabrixError(FormatMessage("Unable to write the file: %s", std::strerror(error)));
}

// A symbolic link is followed, so that the file it names is replaced, not the link.
std::string ResolveTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(path.c_str(), resolved)) {
            return resolved;
        }
    }
    return path;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
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
    }
}

} // namespace

void ReplaceFileContents(const std::string& requestedPath, std::string_view bytes) {
    const std::string path = ResolveTarget(requestedPath);
    struct stat target {};
    const bool exists = ::stat(path.c_str(), &target) == 0;
    if (exists && !S_ISREG(target.st_mode)) {
        throw TabrixError(XmlWriterOpenError);
    }
    // A file the user may not write stays as it is, though the folder would let the rename
    // replace it: writing in place would have been refused too.
    if (exists) {
        FileDescriptor probe(::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
        if (probe.get() < 0) {
            throw TabrixError(XmlWriterOpenError);
        }
    }
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporary = folder + (folder.back() == '/' ? "" : "/") + "." + name + ".XXXXXX";

    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        throw TabrixError(XmlWriterOpenError);
    }
    FileDescriptor file(fd);
    try {
        // The permissions are kept; set-id bits, which a write would have cleared, are not.
        if (::fchmod(file.get(), exists ? (target.st_mode & 0777) : NewFileMode()) != 0) {
            ThrowWriteError(errno);
        }
        WriteAll(file.get(), bytes);
        if (::fdatasync(file.get()) != 0) {
            ThrowWriteError(errno);
        }
        if (!file.Close()) {
            ThrowWriteError(errno);
        }
        if (::rename(temporary.c_str(), path.c_str()) != 0) {
            ThrowWriteError(errno);
        }
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
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
