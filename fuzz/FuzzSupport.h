#pragma once

// Helpers shared by the fuzz targets: a check that ends the run loudly, and
// the memory the program holds, measured by the allocator that serves it.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CAMINI_FUZZ_SANITIZER_ALLOCATOR 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) && !defined(CAMINI_FUZZ_SANITIZER_ALLOCATOR)
#define CAMINI_FUZZ_SANITIZER_ALLOCATOR 1
#endif
#if defined(CAMINI_FUZZ_SANITIZER_ALLOCATOR)
#include <sanitizer/allocator_interface.h>
#endif

namespace camini::fuzz {

[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

inline void require(bool ok, const char* what) {
    if (!ok)
        fail(what);
}

// Bytes the allocator holds for the program right now. Under the sanitizers
// every allocation goes to the sanitizer's own allocator, which mallinfo2
// does not see, so it is asked itself.
inline std::size_t heapInUse() {
#if defined(CAMINI_FUZZ_SANITIZER_ALLOCATOR)
    return __sanitizer_get_current_allocated_bytes();
#else
    // Large blocks are mapped on their own and counted apart.
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

// Whether the memory held now exceeds what was held before by more than
// `allowed` bytes.
inline bool heapGrewBeyond(std::size_t before, std::size_t allowed) {
    return heapInUse() > before + allowed;
}

// The memory check of a target: what a reader keeps may follow the size of
// its input (`perByte` bytes a byte) plus a fixed allowance, no more.
inline void requireHeapFollowsSize(std::size_t before, std::size_t size, std::size_t perByte,
                                   std::size_t fixed, const char* what) {
    require(!heapGrewBeyond(before, perByte * size + fixed), what);
}

// The memory check must be able to fail: a reader that keeps 16 MiB after a
// small input is caught. Run once, before the first input, by every target
// that measures memory.
inline void selfCheckMemoryCheck() {
    const std::size_t before = heapInUse();
    constexpr std::size_t kept = 16u << 20;
    auto* block = static_cast<char*>(std::malloc(kept));
    require(block != nullptr, "self-check: no memory");
    std::memset(block, 1, kept);
    const bool caught = heapGrewBeyond(before, 4 * 100 + 64 * 1024);
    // Keep the compiler from dropping the block before the measurement.
    volatile char last = block[kept - 1];
    (void)last;
    std::free(block);
    require(caught, "self-check: the memory check misses a kept allocation");
    require(!heapGrewBeyond(before, 64 * 1024), "self-check: a freed allocation still counts");
}

} // namespace camini::fuzz
