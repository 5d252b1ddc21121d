#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// Replaces the file at path with bytes only once they are complete on disk: a temporary
// file in the same folder is written, flushed and renamed over the target, keeping the
// target's permissions. On failure throws TabrixError and leaves the target and the
// folder as they were.
void ReplaceFileContents(const std::string& path, std::string_view bytes);

// Hands a regular file to consume piece by piece, until the end or until consume says
// false. Throws TabrixError for anything but a regular file (a folder, a FIFO, a device)
// and for a file that cannot be read.
void ReadRegularFileInPieces(const std::string& path,
                             const std::function<bool(const char*, std::size_t)>& consume);

// Reads a regular file whole. Throws TabrixError for anything else (a folder, a FIFO,
// a device), for an unreadable file and for one larger than maxBytes.
std::string ReadRegularFile(const std::string& path, std::size_t maxBytes);
