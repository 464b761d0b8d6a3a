#pragma once
// Hints to the system about large arrays the program is about to fill.
#include <malloc.h>
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>

namespace quorvin {

// Asks for the whole pages inside [data, data + bytes) to be backed by large
// pages when first touched: a 100 MB array then costs tens of page faults
// instead of tens of thousands. Only a hint: nothing changes where the system
// cannot or will not.
inline void AdviseLargePages(const void* data, std::size_t bytes) {
  constexpr std::uintptr_t kLarge = std::uintptr_t{2} << 20;
  if (bytes < 2 * kLarge) return;
  std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(data) + kLarge - 1) & ~(kLarge - 1);
  std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(kLarge - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

// Keeps large blocks the program frees for its next large arrays instead of
// handing them back to the system at once: a day's import, sorts and files
// each fill arrays of tens of megabytes, and memory fresh from the system
// must first be cleared page by page. Up to this much stays held.
inline void KeepFreedMemoryForReuse() {
  constexpr int kHeld = 512 << 20;
  ::mallopt(M_MMAP_THRESHOLD, kHeld);
  ::mallopt(M_TRIM_THRESHOLD, kHeld);
}

}  // namespace quorvin
