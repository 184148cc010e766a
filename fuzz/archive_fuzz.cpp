// The materials archive reader on any file: it loads without a crash, what
// it loads saves to a file that loads and saves again to the same bytes,
// the lookups stay inside the archive, and the memory it keeps follows the
// size of the file.
#include "FuzzSupport.h"
#include "common/FileError.h"
#include "materials/MaterialArchive.h"

using namespace camini;
using namespace camini::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string in = scratchPath("materiali.TXT");
    static const std::string out = scratchPath("materiali-out.TXT");
    writeScratch(in, data, size);

    const std::size_t heapBefore = heapInUse();
    MaterialArchive archive(in);
    archive.load();
    require(heapInUse() <= heapBefore + 4 * size + 64 * 1024,
            "archive memory beyond the file's size");

    for (int m = 0; m <= MaxMaterials + 1; ++m) {
        const Material& mat = archive.material(m);
        require(mat.pointCount <= MaxPoints, "point count beyond 6");
        for (double t : {-1e9, 0.0, 20.0, 500.0, 1e9})
            (void)archive.conductivity(m, t);
        (void)archive.withinMaxTemperature(m, 100.0);
    }

    archive.setPath(out);
    archive.save();
    const std::string first = archive.fileText();
    MaterialArchive again(out);
    again.load();
    require(again.fileText() == first, "load, save, load, save changed the bytes");
    return 0;
}
