// The materials archive reader on any bytes, in memory: it parses without a
// crash; what it parses serializes to a text that parses and serializes again
// to the same bytes; the lookups stay inside the archive; the memory it keeps
// follows the size of the input.
#include "FuzzSupport.h"
#include "materials/MaterialArchive.h"

#include <string>
#include <string_view>

using namespace camini;
using namespace camini::fuzz;

namespace {

// The first serialization may write a negative value that rounds to zero
// ("-0", "-0.0000"), which reads back as zero and is then written without its
// sign: the only change a second round may make. This gives the text the
// second round must give, the sign of those number fields dropped.
std::string withZeroSignsDropped(std::string text) {
    std::size_t start = 0;
    for (std::size_t line = 0; start < text.size(); ++line) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const bool numberLine = line % 13 != 0;
        if (numberLine) {
            std::string_view field(text.data() + start, end - start);
            if (!field.empty() && field.back() == '\r')
                field.remove_suffix(1);
            const auto minus = field.find('-');
            if (minus != std::string_view::npos &&
                field.find_first_not_of("0.", minus + 1) == std::string_view::npos)
                text[start + minus] = ' ';
        }
        start = end + 1;
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    selfCheckMemoryCheck();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // Kept from input to input: the slots' strings and the texts keep their
    // storage, so a run costs the parsing and writing, not the allocations.
    static MaterialArchive archive;
    static ArchiveSlots reparsed;
    static std::string first;
    static std::string second;

    const std::size_t heapBefore = heapInUse();
    archive.parse(input);
    requireHeapFollowsSize(heapBefore, size, 4, 64 * 1024,
                           "archive memory beyond the input's size");
    serializeMaterialArchive(archive.allMaterials(), first);
    parseMaterialArchive(first, reparsed);
    serializeMaterialArchive(reparsed, second);
    require(second == first || second == withZeroSignsDropped(first),
            "parse, serialize, parse, serialize changed the bytes");

    for (int m = 0; m <= MaxMaterials + 1; ++m) {
        const Material& mat = archive.material(m);
        require(mat.pointCount <= MaxPoints, "point count beyond 6");
        for (double t : {-1e9, 0.0, 20.0, 500.0, 1e9})
            (void)archive.conductivity(m, t);
        (void)archive.withinMaxTemperature(m, 100.0);
    }
    return 0;
}
