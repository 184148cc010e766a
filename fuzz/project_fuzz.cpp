// The project file reader on any bytes, in memory: no crash, material numbers
// always within the archive, parse, serialize, parse, serialize gives the same
// bytes the second time, and the memory it keeps follows the size of the input.
#include "FuzzSupport.h"
#include "common/Messages.h"
#include "engine/Worksheet.h"
#include "forms/ProjectFile.h"
#include "materials/MaterialArchive.h"

#include <string_view>

using namespace camini;
using namespace camini::fuzz;

namespace {
struct Quiet : Messages {
    void message(const std::string&) override {}
    void error(const std::string&) override {}
};
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    selfCheckMemoryCheck();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const MaterialArchive archive;
    static const Worksheet start = [] {
        Worksheet w;
        setStartProject(w);
        return w;
    }();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Quiet quiet;

    Worksheet sheet = start;
    const std::size_t heapBefore = heapInUse();
    const ProjectContent content = parseProject(input);
    requireHeapFollowsSize(heapBefore, size, 4, 64 * 1024,
                           "project memory beyond the input's size");
    for (int m : content.materials)
        require(m == 0 || MaterialArchive::validNumber(m), "a parsed material outside 1..100");
    applyProject(content, sheet, archive, quiet);
    for (auto m : sheet.materials)
        require(MaterialArchive::validNumber(m), "material number outside 1..100");

    const std::string first = serializeProject(sheet);
    Worksheet again = start;
    applyProject(parseProject(first), again, archive, quiet);
    require(serializeProject(again) == first,
            "parse, serialize, parse, serialize changed the bytes");
    require(again.materials == sheet.materials, "materials changed through a round");
    return 0;
}
