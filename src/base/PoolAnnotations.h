#pragma once
// Marks for the memory checkers in pools that recycle blocks: a block that is
// not handed out is poisoned, so that AddressSanitizer reports any use of it
// as a use after free. Without AddressSanitizer the marks compile to nothing.
// Header only, so that the C-style libraries can use it without linking base.

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define ORVELA_POOL_ANNOTATED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVELA_POOL_ANNOTATED 1
#endif
#endif

#if defined(ORVELA_POOL_ANNOTATED) && __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>
#else
#undef ORVELA_POOL_ANNOTATED
#endif

namespace orvela {

/// A pool block goes back to its pool: any access is an error until it is
/// handed out again.
inline void poisonPoolBlock([[maybe_unused]] const void* memory,
                            [[maybe_unused]] std::size_t bytes) {
#ifdef ORVELA_POOL_ANNOTATED
  ASAN_POISON_MEMORY_REGION(memory, bytes);
#endif
}

/// A pool block is handed out (or its pool frees it).
inline void unpoisonPoolBlock([[maybe_unused]] const void* memory,
                              [[maybe_unused]] std::size_t bytes) {
#ifdef ORVELA_POOL_ANNOTATED
  ASAN_UNPOISON_MEMORY_REGION(memory, bytes);
#endif
}

/// Whether `address` is poisoned (always false without AddressSanitizer).
inline bool poolBlockPoisoned([[maybe_unused]] const void* address) {
#ifdef ORVELA_POOL_ANNOTATED
  return __asan_address_is_poisoned(address) != 0;
#else
  return false;
#endif
}

} // namespace orvela
