// The size catalogue reader on any file: no crash, 8 entries, the same
// entries when read twice, memory that follows the size of what is read.
#include "FuzzSupport.h"
#include "materials/SizeCatalogue.h"

#include <cstring>

using namespace camini;
using namespace camini::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = scratchPath("stabile1.txt");
    writeScratch(path, data, size);
    const std::size_t heapBefore = heapInUse();
    SizeCatalogue a(path), b(path);
    a.load();
    b.load();
    require(heapInUse() <= heapBefore + 64 * 1024, "the catalogue keeps memory");
    for (int i = 0; i <= SizeCount + 1; ++i) {
        const SizeEntry& x = a.entry(i);
        const SizeEntry& y = b.entry(i);
        require(std::memcmp(&x, &y, sizeof x) == 0, "two reads differ");
        (void)a.insulationThickness(i);
    }
    return 0;
}
