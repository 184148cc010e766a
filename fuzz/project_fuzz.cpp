// The project file reader on any file: no crash, material numbers always
// within the archive, and load, save, load, save gives the same bytes.
#include "FuzzSupport.h"
#include "common/Messages.h"
#include "common/TextFile.h"
#include "engine/Worksheet.h"
#include "forms/ProjectFile.h"
#include "materials/MaterialArchive.h"

using namespace camini;
using namespace camini::fuzz;

namespace {
struct Quiet : Messages {
    void message(const std::string&) override {}
    void error(const std::string&) override {}
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string in = scratchPath("progetto.cam");
    static const std::string out = scratchPath("progetto-out.CAM");
    static const MaterialArchive archive;
    writeScratch(in, data, size);
    Quiet quiet;

    Worksheet sheet;
    setStartProject(sheet);
    const std::size_t heapBefore = heapInUse();
    loadProject(in, sheet, archive, quiet);
    require(heapInUse() <= heapBefore + 4 * size + 64 * 1024,
            "project memory beyond the file's size");
    for (auto m : sheet.materials)
        require(MaterialArchive::validNumber(m), "material number outside 1..100");

    saveProject(sheet, out);
    const std::string first = readWholeFile(out);
    Worksheet again;
    setStartProject(again);
    loadProject(out, again, archive, quiet);
    saveProject(again, out);
    require(readWholeFile(out) == first, "load, save, load, save changed the bytes");
    require(again.materials == sheet.materials, "materials changed through a save");
    return 0;
}
