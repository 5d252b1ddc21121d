#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// The error text of a file that cannot be opened for writing.
extern const char* const SaveOpenError;

// Replaces the contents of the file at path with bytes; symbolic links, dangling ones
// too, are followed to the file they name, which is created if need be. The bytes are
// written to a temporary file in that file's folder (unnamed where the system allows, so
// that a killed save leaves nothing behind), flushed, and renamed over the file, which
// keeps its permissions (without set-id bits), owner and group. Where a new file could
// not be the same to its users (this user cannot give it the owner or group, the file
// has other hard links, or the folder takes no new file but the file may be written),
// the file is written in place instead, its old bytes put back if a step fails; only
// there can a crash in the middle leave the new bytes half written. A file this user
// may not write, and anything but a regular file, is refused. On failure throws
// TabrixError with the message to show and leaves the file's contents and the folder as
// they were.
void ReplaceFileContents(const std::string& path, std::string_view bytes);

// Hands a regular file to consume piece by piece, until the end or until consume says
// false. Throws TabrixError for anything but a regular file (a folder, a FIFO, a device)
// and for a file that cannot be read.
void ReadRegularFileInPieces(const std::string& path,
                             const std::function<bool(const char*, std::size_t)>& consume);

// Reads a regular file whole. Throws TabrixError for anything else (a folder, a FIFO,
// a device), for an unreadable file and for one larger than maxBytes.
std::string ReadRegularFile(const std::string& path, std::size_t maxBytes);
