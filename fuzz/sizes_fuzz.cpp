// The size catalogue reader on any bytes, in memory: no crash, 8 entries, the
// same entries when parsed twice, parse, serialize, parse, serialize gives the
// same bytes the second time and the same values, and memory that does not
// follow the size of the input at all (the catalogue keeps numbers only).
#include "FuzzSupport.h"
#include "materials/SizeCatalogue.h"

#include <cstring>
#include <string_view>

using namespace camini;
using namespace camini::fuzz;

namespace {
bool sameBits(const SizeEntries& a, const SizeEntries& b) {
    return std::memcmp(a.data(), b.data(), sizeof(SizeEntry) * a.size()) == 0;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    selfCheckMemoryCheck();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t heapBefore = heapInUse();
    const SizeEntries a = parseSizeCatalogue(input);
    require(!heapGrewBeyond(heapBefore, 64 * 1024), "the catalogue keeps memory");
    const SizeEntries b = parseSizeCatalogue(input);
    require(sameBits(a, b), "two parses differ");

    const std::string first = serializeSizeCatalogue(a);
    const SizeEntries again = parseSizeCatalogue(first);
    require(sameBits(again, a), "a serialized catalogue reads other values");
    require(serializeSizeCatalogue(again) == first,
            "parse, serialize, parse, serialize changed the bytes");
    return 0;
}
