#pragma once

// Helpers shared by the fuzz targets: a scratch file per process for the
// readers that take a path, and a check that ends the run loudly.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <malloc.h>
#include <string>
#include <string_view>
#include <unistd.h>

namespace camini::fuzz {

inline std::string scratchPath(const char* name) {
    return "/tmp/camini-fuzz-" + std::to_string(::getpid()) + "-" + name;
}

inline void writeScratch(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

[[noreturn]] inline void fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

inline void require(bool ok, const char* what) {
    if (!ok)
        fail(what);
}

// Bytes the allocator holds for the program right now.
inline std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

} // namespace camini::fuzz
