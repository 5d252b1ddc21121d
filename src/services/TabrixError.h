#pragma once

#include <stdexcept>
#include <string>

// The one error type of the core: it carries the finished message text that the
// nearest handler shows (or drops, as the cell validators do).
class TabrixError : public std::runtime_error {
  public:
    explicit TabrixError(const std::string& message) : std::runtime_error(message) {}
};

// printf-style formatting for the message texts, which are given as printf formats.
std::string FormatMessage(const char* format, ...) __attribute__((format(printf, 1, 2)));
