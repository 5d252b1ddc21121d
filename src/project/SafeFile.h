#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Replaces the file at path with bytes only once they are complete on disk: a temporary
// file in the same folder is written, flushed and renamed over the target, keeping the
// target's permissions. On failure throws TabrixError and leaves the target and the
// folder as they were.
void ReplaceFileContents(const std::string& path, std::string_view bytes);

// Reads a regular file whole. Throws TabrixError for anything else (a folder, a FIFO,
// a device), for an unreadable file and for one larger than maxBytes.
std::string ReadRegularFile(const std::string& path, std::size_t maxBytes);
