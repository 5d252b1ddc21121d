#pragma once

// True in a build with AddressSanitizer, whose own memory and slower code the bounds of
// time and memory in the tests must allow for.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TABRIX_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(TABRIX_SANITIZED)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif
