#pragma once
// The few low-level helpers the day's speed rests on, and the only place in
// the program that uses a prefetch, a processor intrinsic or an allocator
// setting. Each stayed because it pays on the 1,000,000-line day (the
// figures are in bench/README.md); the rules that use them read as rules.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__linux__)
#include <malloc.h>
#include <sys/mman.h>
#endif

// A helper that must disappear into its caller: a prefetch in a call of its
// own is a call without effect.
#if defined(__GNUC__)
#define QUORVIN_ALWAYS_INLINE [[gnu::always_inline]] inline
#else
#define QUORVIN_ALWAYS_INLINE inline
#endif

namespace quorvin {

// Starts fetching the memory at p, to be read shortly; only a hint.
QUORVIN_ALWAYS_INLINE void FetchAhead(const void* p) {
#if defined(__GNUC__)
  __builtin_prefetch(p);
#else
  (void)p;
#endif
}

// For a walk down the rows, now at `row`: the cells point to texts all over
// the pool, so the strings of `columns` are asked for `ahead` rows on, and
// the characters of `longColumns`, which lie apart from their strings, half
// as far on, once their strings have come. The walk then does not wait on
// each text in turn.
// (Any grid with Rows() and CellAt(); the Grid's own header needs this one.)
template <typename Grid, typename Columns, typename LongColumns>
QUORVIN_ALWAYS_INLINE void FetchRowsAhead(const Grid& grid, int row, int ahead,
                                          const Columns& columns, const LongColumns& longColumns) {
  if (row + ahead < grid.Rows())
    for (int c : columns) FetchAhead(grid.CellAt(row + ahead, c));
  if (row + ahead / 2 < grid.Rows())
    for (int c : longColumns) FetchAhead(grid.CellAt(row + ahead / 2, c)->data());
}

// A hash of a short text, cheap enough to take for every window of a line:
// whole words of 8 bytes (the last one overlapping), never reading past the end.
QUORVIN_ALWAYS_INLINE std::uint64_t HashShortText(const char* p, std::size_t n) {
  auto load64 = [](const char* at) {
    std::uint64_t v;
    std::memcpy(&v, at, sizeof v);
    return v;
  };
  auto load32 = [](const char* at) {
    std::uint32_t v;
    std::memcpy(&v, at, sizeof v);
    return std::uint64_t{v};
  };
  std::uint64_t h = 0x9e3779b97f4a7c15ULL * (n + 1);
  if (n >= 8) {
    for (std::size_t i = 0; i + 8 < n; i += 8) h = (h ^ load64(p + i)) * 0xff51afd7ed558ccdULL;
    h ^= load64(p + n - 8);
  } else if (n >= 4) {
    h ^= (load32(p) << 32) | load32(p + n - 4);
  } else if (n > 0) {
    h ^= (std::uint64_t{static_cast<unsigned char>(p[0])} << 16) |
         (std::uint64_t{static_cast<unsigned char>(p[n / 2])} << 8) |
         static_cast<unsigned char>(p[n - 1]);
  }
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  h *= 0xc4ceb9fe1a85ec53ULL;
  h ^= h >> 33;
  return h;
}

// The bytes of p[0..16) that equal c: bit i for byte i.
inline unsigned EqualBytes16(const char* p, char c) {
#if defined(__SSE2__)
  const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8(c))));
#else
  unsigned bits = 0;
  for (int i = 0; i < 16; ++i) bits |= static_cast<unsigned>(p[i] == c) << i;
  return bits;
#endif
}

// Scanning a line for its words, eight characters at a time where the
// machine keeps bytes in that order.
inline std::uint64_t NonSpaceBytes8(const char* p) {  // the top bit of each non-space byte
  constexpr std::uint64_t kSpaces = 0x2020202020202020ULL, kLow7 = 0x7f7f7f7f7f7f7f7fULL,
                          kHigh = 0x8080808080808080ULL;
  std::uint64_t w;
  std::memcpy(&w, p, sizeof w);
  const std::uint64_t x = w ^ kSpaces;
  return (((x & kLow7) + kLow7) | x) & kHigh;
}

// The first position from i on (up to n) that is not a space.
inline std::size_t NextNonSpace(const char* p, std::size_t i, std::size_t n) {
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + 8 <= n; i += 8)
      if (std::uint64_t m = NonSpaceBytes8(p + i)) return i + std::countr_zero(m) / 8;
  }
  while (i < n && p[i] == ' ') ++i;
  return i;
}

// The first space from i on, or n.
inline std::size_t NextSpace(const char* p, std::size_t i, std::size_t n) {
  if constexpr (std::endian::native == std::endian::little) {
    for (; i + 8 <= n; i += 8)
      if (std::uint64_t m = ~NonSpaceBytes8(p + i) & 0x8080808080808080ULL)
        return i + std::countr_zero(m) / 8;
  }
  while (i < n && p[i] != ' ') ++i;
  return i;
}

#if defined(__SIZEOF_INT128__)
// A line of up to 128 characters as bits, where the compiler has such numbers.
#define QUORVIN_WIDE_BITS 1
using WideBits = unsigned __int128;

// Those characters of p[0..n) (n <= 128) that are not spaces: bit i for character i.
inline WideBits NonSpaceBits(const char* p, std::size_t n) {
  WideBits bits = 0;
  std::size_t i = 0;
  for (; i + 16 <= n; i += 16)
    bits |= static_cast<WideBits>(~EqualBytes16(p + i, ' ') & 0xffffu) << i;
  for (; i < n; ++i)
    if (p[i] != ' ') bits |= static_cast<WideBits>(1) << i;
  return bits;
}
#endif

// Eight bytes as one number in their own order, so that comparing numbers
// compares the bytes.
inline std::uint64_t BigEndianWord(const char* bytes) {
  std::uint64_t word;
  std::memcpy(&word, bytes, 8);
#if defined(__GNUC__)
  return __builtin_bswap64(word);
#else
  std::uint64_t swapped = 0;
  for (int i = 0; i < 8; ++i) swapped = (swapped << 8) | ((word >> (8 * i)) & 0xff);
  return swapped;
#endif
}

// Asks for the whole pages inside [data, data + bytes) to be backed by large
// pages when first touched: a 100 MB array then costs tens of page faults
// instead of tens of thousands. Only a hint: nothing changes where the system
// cannot or will not.
inline void AdviseLargePages(const void* data, std::size_t bytes) {
  constexpr std::uintptr_t kLarge = std::uintptr_t{2} << 20;
  if (bytes < 2 * kLarge) return;
  std::uintptr_t begin = (reinterpret_cast<std::uintptr_t>(data) + kLarge - 1) & ~(kLarge - 1);
  std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(kLarge - 1);
#if defined(__linux__)
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)begin, (void)end;
#endif
}

// Keeps large blocks the program frees for its next large arrays instead of
// handing them back to the system at once: a day's import, sorts and files
// each fill arrays of tens of megabytes, and memory fresh from the system
// must first be cleared page by page. Up to this much stays held.
inline void KeepFreedMemoryForReuse() {
#if defined(__linux__)
  constexpr int kHeld = 512 << 20;
  ::mallopt(M_MMAP_THRESHOLD, kHeld);
  ::mallopt(M_TRIM_THRESHOLD, kHeld);
#endif
}

}  // namespace quorvin
